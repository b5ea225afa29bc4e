#include "gui/history/ImportDialog.h"

#include "core/history/DrawStore.h"
#include "gui/window/ChildWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kErrorTitle = QStringLiteral("メッセ－ジ");

// Runs work on a thread of its own while the event loop keeps the windows painted; a busy
// progress bar shows when it takes longer than a moment. The user's input waits meanwhile.
template <typename Work> void runWithProgress(QWidget *parent, const QString &label, Work work) {
    WaitCursor wait;
    QProgressDialog progress(label, QString(), 0, 0, parent);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowTitle(ImportDialog::title());
    progress.setCancelButton(nullptr);
    progress.setMinimumWidth(360); // room for the title
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ImportDialog::kProgressDelay);
    progress.setValue(0);
    QThread *thread = QThread::create(std::move(work));
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
}

void tellFailure(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Critical, kErrorTitle, text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace

QString ImportDialog::title() {
    return QStringLiteral("CSVファイルから取り込み");
}

ImportDialog::ImportDialog(const ImportPlan &plan, const QString &path, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(title());
    auto *layout = new QVBoxLayout(this);

    auto *file = new QLabel(QStringLiteral("ファイル: %1").arg(QDir::toNativeSeparators(path)), this);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);
    auto *summary = new QLabel(plan.summaryLines().join(QLatin1Char('\n')), this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    if (!plan.differences().empty()) {
        auto *group = new QGroupBox(QStringLiteral("登録済みと異なる当選データ"), this);
        auto *inner = new QVBoxLayout(group);
        auto *table = new QTableWidget(int(plan.differences().size()), 4, group);
        table->setObjectName(QStringLiteral("differences"));
        table->setHorizontalHeaderLabels({QStringLiteral("回数"), QStringLiteral("登録済み"),
                                          QStringLiteral("ファイル"), QStringLiteral("異なる項目")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        int row = 0;
        for (const ImportPlan::Difference &d : plan.differences()) {
            const QString texts[] = {QString::number(d.stored.drawNumber), ImportPlan::describe(d.stored),
                                     ImportPlan::describe(d.file), ImportPlan::differingFields(d)};
            for (int c = 0; c < 4; ++c) {
                auto *item = new QTableWidgetItem(texts[c]);
                item->setTextAlignment(c == 3 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
                if (c == 3)
                    item->setToolTip(texts[c]);
                table->setItem(row, c, item);
            }
            ++row;
        }
        // Every column as wide as its texts, and the table as wide as its columns, so that the
        // list of fields is never cut; a screen too narrow for it wraps the list instead.
        table->resizeColumnsToContents();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setWordWrap(true);
        const int whole = table->horizontalHeader()->length() + 2 * table->frameWidth() +
                          table->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        const int room = screen ? screen->availableGeometry().width() * 9 / 10 : whole;
        table->setMinimumWidth(std::min(whole, room));
        if (whole > room)
            table->setColumnWidth(3, std::max(80, table->columnWidth(3) - (whole - room)));
        table->resizeRowsToContents();
        inner->addWidget(table);
        inner->addWidget(new QLabel(QStringLiteral("異なる当選データは、すべて次のとおりにします。"), group));
        m_keepStored = new QRadioButton(QStringLiteral("登録済みのデータを残す"), group);
        m_keepStored->setObjectName(QStringLiteral("keepStored"));
        m_keepStored->setChecked(true);
        m_takeFile = new QRadioButton(QStringLiteral("ファイルのデータで置き換える"), group);
        m_takeFile->setObjectName(QStringLiteral("takeFile"));
        inner->addWidget(m_keepStored);
        inner->addWidget(m_takeFile);
        layout->addWidget(group, 1);
    }

    if (!plan.unreadable().empty()) {
        auto *group = new QGroupBox(QStringLiteral("読めない行"), this);
        auto *inner = new QVBoxLayout(group);
        auto *lines = new QPlainTextEdit(plan.unreadableLines().join(QLatin1Char('\n')), group);
        lines->setObjectName(QStringLiteral("unreadable"));
        lines->setReadOnly(true);
        lines->setLineWrapMode(QPlainTextEdit::NoWrap);
        inner->addWidget(lines);
        layout->addWidget(group, 1);
    }

    auto *buttons = new QDialogButtonBox(this);
    // With nothing to take, or a file that cannot be taken, there is only 閉じる.
    if (hasWork(plan)) {
        m_import = buttons->addButton(QStringLiteral("取り込む"), QDialogButtonBox::AcceptRole);
        m_import->setObjectName(QStringLiteral("importButton"));
        m_import->setDefault(true);
        QPushButton *cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
        cancel->setObjectName(QStringLiteral("cancelButton"));
    } else {
        if (plan.canImport()) {
            auto *nothing = new QLabel(nothingToImport(), this);
            nothing->setObjectName(QStringLiteral("nothing"));
            layout->addWidget(nothing);
        }
        QPushButton *close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
        close->setObjectName(QStringLiteral("closeButton"));
        close->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    if (plan.differences().empty() && plan.unreadable().empty()) {
        // Only texts: as tall as they are, no empty band below them.
        layout->setSizeConstraint(QLayout::SetFixedSize);
        setMinimumWidth(480);
    } else {
        resize(std::max(840, sizeHint().width()), 480);
    }
}

bool ImportDialog::hasWork(const ImportPlan &plan) {
    return plan.canImport() && (!plan.added().empty() || !plan.differences().empty());
}

QString ImportDialog::nothingToImport() {
    return QStringLiteral("取り込む当選データはありません。");
}

QString ImportDialog::writtenMessage(const ImportPlan::Summary &summary) {
    return QStringLiteral("追加 %1 件、置換 %2 件を書き込みました。").arg(summary.added).arg(summary.replaced);
}

ImportPlan::Choice ImportDialog::choice() const {
    return m_takeFile && m_takeFile->isChecked() ? ImportPlan::Choice::TakeFile : ImportPlan::Choice::KeepStored;
}

ImportDialog::Outcome ImportDialog::importFile(QWidget *parent, const ConnectionString &connection,
                                               const QString &path) {
    Outcome outcome;
    ImportPlan plan;
    StoreError error;
    runWithProgress(parent, QStringLiteral("ファイルを読んでいます…"),
                    [&] { plan = ImportPlan::forFile(path, connection, error); });
    if (error || !plan.fileProblem().isEmpty()) {
        tellFailure(parent, error ? error.message : plan.fileProblem());
        return outcome;
    }

    ImportDialog dialog(plan, path, parent);
    if (dialog.exec() != QDialog::Accepted || !hasWork(plan))
        return outcome;

    const ImportPlan::Choice choice = dialog.choice();
    bool written = false;
    runWithProgress(parent, QStringLiteral("当選データを書き込んでいます…"),
                    [&] { written = plan.apply(connection, choice, outcome.summary, error); });
    if (!written) {
        tellFailure(parent, error.message + QStringLiteral("\n何も取り込んでいません。"));
        return outcome;
    }
    outcome.stored = outcome.summary.added + outcome.summary.replaced > 0;
    QMessageBox told(QMessageBox::Information, title(), writtenMessage(outcome.summary), QMessageBox::Ok, parent);
    told.setObjectName(QStringLiteral("importWritten"));
    told.exec();
    return outcome;
}
