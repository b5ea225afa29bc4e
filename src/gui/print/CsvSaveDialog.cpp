#include "gui/print/CsvSaveDialog.h"

#include <QDir>
#include <QFileDialog>

namespace {
const QString kWithMark = QStringLiteral("CSV UTF-8 BOM付き (*.csv)");
const QString kPlain = QStringLiteral("CSV UTF-8 (*.csv)");
} // namespace

std::optional<CsvSaveDialog::Choice> CsvSaveDialog::ask(QWidget *parent, const QString &baseName) {
    // The next save starts in the folder of the last one.
    static QString folder = QDir::homePath();
    QFileDialog dialog(parent, QStringLiteral("CSVで保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kWithMark, kPlain});
    dialog.selectNameFilter(kWithMark);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(folder);
    dialog.selectFile(baseName + QStringLiteral(".csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().first();
    folder = QFileInfo(path).absolutePath();
    return Choice{path, dialog.selectedNameFilter() != kPlain};
}
