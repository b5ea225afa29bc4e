#include "gui/history/ExportDialog.h"

#include "core/history/DrawStore.h"
#include "gui/window/ChildWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {
const QString kUtf8Filter = QStringLiteral("CSV UTF-8 BOM付き (*.csv)");
const QString kCp932Filter = QStringLiteral("CSV シフトJIS（CP932） (*.csv)");
} // namespace

namespace ExportDialog {

void chooseAndExport(QWidget *parent, const ConnectionString &connection) {
    QFileDialog dialog(parent, QStringLiteral("CSVファイルへ書き出し"));
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({kUtf8Filter, kCp932Filter});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("当選データ.csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    exportTo(parent, connection, dialog.selectedFiles().front(),
             dialog.selectedNameFilter() == kCp932Filter ? DrawCsv::Encoding::Cp932 : DrawCsv::Encoding::Utf8WithBom);
}

bool exportTo(QWidget *parent, const ConnectionString &connection, const QString &path, DrawCsv::Encoding encoding) {
    QString message;
    int count = 0;
    bool written = false;
    {
        WaitCursor wait;
        StoreError error;
        auto store = DrawStore::open(connection, error);
        message = error.message;
        written = store && DrawCsv::exportDraws(*store, path, encoding, count, message);
    }
    if (written) {
        QMessageBox box(
            QMessageBox::Information, QStringLiteral("ナナズバリオ"),
            QStringLiteral("%1 件の当選データを %2 に書き出しました。").arg(count).arg(QDir::toNativeSeparators(path)) +
                (message.isEmpty() ? QString() : QLatin1Char('\n') + message),
            QMessageBox::Ok, parent);
        box.exec();
    } else {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("メッセ－ジ"), message, QMessageBox::Ok, parent);
        box.exec();
    }
    return written;
}

} // namespace ExportDialog
