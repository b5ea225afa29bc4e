#include "gui/shell/HistoryController.h"

#include "core/history/DrawStore.h"
#include "core/settings/AppPaths.h"
#include "gui/history/ExportDialog.h"
#include "gui/history/ImportDialog.h"
#include "gui/window/ChildWindow.h"
#include "gui/window/Question.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>

namespace {
const QString kErrorTitle = QStringLiteral("メッセ－ジ");
const QString kApplicationTitle = QStringLiteral("ナナズバリオ");
const QString kWindowsOpen = QStringLiteral("表示中のウィンドウを閉じないと実行できません。");

// The file of a drag, when it is one local CSV file.
QString droppedCsv(const QMimeData *data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return QString();
    return url.toLocalFile();
}
} // namespace

HistoryController::HistoryController(QWidget *frame, FrameState &state)
    : QObject(frame), m_frame(frame), m_state(state) {
    m_frame->setAcceptDrops(true);
    m_frame->installEventFilter(this);
    m_confirm = [this](const QString &text) {
        return Question::ask(m_frame, kApplicationTitle, text);
    };
}

bool HistoryController::startUp(const QString &databasePath, QString *failure, std::future<HistoryLoad> preloaded) {
    m_connection = ConnectionString::forDatabase(databasePath);
    StoreError error;
    QString skipped;
    if (loadHistory(error, skipped, std::move(preloaded))) {
        if (!skipped.isEmpty()) {
            if (failure)
                qWarning("%s", qPrintable(skipped));
            else
                showError(skipped);
        }
        return true;
    }

    const QString text = error.message + QStringLiteral("\nプログラムを終了します。");
    if (failure)
        *failure = text;
    else
        showError(text);
    return false;
}

// Start-up from the hourglass on; a reload runs it again. The snapshot is replaced in place, so
// that what holds it (the windows read it only while they load) never holds a dangling one.
bool HistoryController::loadHistory(StoreError &error, QString &skipped, std::future<HistoryLoad> preloaded) {
    WaitCursor wait;
    QCoreApplication::processEvents();
    m_state.endAllowed = true;
    std::optional<DrawHistory> loaded;
    if (preloaded.valid()) {
        HistoryLoad load = preloaded.get();
        loaded = std::move(load.history);
        error = load.error;
        skipped = load.skipped;
    } else {
        loaded = loadDrawHistory(m_connection, error, &skipped);
    }
    if (!loaded)
        return false;
    m_history = std::move(loaded);
    return true;
}

const DrawHistory &HistoryController::history() const {
    static const DrawHistory none;
    return m_history ? *m_history : none;
}

bool HistoryController::reloadHistory() {
    StoreError error;
    QString skipped;
    if (loadHistory(error, skipped)) {
        if (!skipped.isEmpty())
            showError(skipped);
        return true;
    }
    showError(error.message + QStringLiteral("\n分析には今までの当選データを使います。"));
    return false;
}

void HistoryController::reloadFromMenu() {
    if (!allowedWithoutWindows())
        return;
    if (windowShowsHistory())
        showError(kWindowsOpen);
    else
        reloadHistory();
}

// EndAllowed is a flag, set when any one window closes; a new snapshot must not be taken under
// a window still showing the old one, or its numbers would silently disagree with the others.
bool HistoryController::windowShowsHistory() const {
    const QList<ChildWindow *> windows = m_frame->findChildren<ChildWindow *>();
    return std::any_of(windows.cbegin(), windows.cend(), [](const ChildWindow *w) { return w->isVisible(); });
}

QString HistoryController::reloadQuestion() {
    return QStringLiteral("新しい当選データを分析に反映しますか？");
}

void HistoryController::offerReload() {
    if (m_state.exited)
        return;
    if (windowShowsHistory())
        showError(QStringLiteral("新しい当選データは、表示中のウィンドウを閉じてから「当選データの再読み込み」で分析に反映されます。"));
    else if (m_confirm(reloadQuestion()))
        reloadHistory();
}

std::optional<std::vector<DrawRecord>> HistoryController::storedHistory() const {
    StoreError error;
    auto store = DrawStore::open(m_connection, error);
    if (!store)
        return std::nullopt;
    std::vector<DrawRecord> records = store->readAll(error);
    if (error)
        return std::nullopt;
    return records;
}

void HistoryController::offerReloadAfter(ChildWindow &dataEntry) {
    // Whether the window stored changes: the draws it read on opening against those stored
    // after it has gone.
    const std::optional<std::vector<DrawRecord>> before = dataEntry.takeDrawsAtOpen();
    if (!before)
        return;
    connect(&dataEntry, &QObject::destroyed, this, [this, before] {
        // After the window has gone, not while it goes.
        QTimer::singleShot(0, this, [this, before] {
            if (m_state.exited)
                return;
            const std::optional<std::vector<DrawRecord>> after = storedHistory();
            if (after && *after != *before)
                offerReload();
        });
    });
}

bool HistoryController::allowedWithoutWindows() {
    if (m_state.endAllowed)
        return true;
    showError(kWindowsOpen);
    return false;
}

void HistoryController::chooseCsvToImport() {
    if (m_state.opening || !allowedWithoutWindows())
        return;
    // Installed, the dialog offers the history of the package, which may have newer draws.
    const QString path = QFileDialog::getOpenFileName(m_frame, ImportDialog::title(), AppPaths().shippedHistory(),
                                                      QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)"));
    if (!path.isEmpty())
        importCsv(path);
}

void HistoryController::importCsv(const QString &path) {
    if (m_state.opening || m_state.exited || !allowedWithoutWindows())
        return;
    // Windows opened meanwhile would see a snapshot being replaced: none may open until done.
    QScopedValueRollback<bool> opening(m_state.opening, true);
    const ImportDialog::Outcome outcome = ImportDialog::importFile(m_frame, m_connection, path);
    if (outcome.stored)
        offerReload();
}

void HistoryController::chooseCsvToExport() {
    if (!m_state.opening && allowedWithoutWindows())
        ExportDialog::chooseAndExport(m_frame, m_connection);
}

bool HistoryController::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_frame)
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (droppedCsv(enter->mimeData()).isEmpty())
            return false;
        enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedCsv(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        // The program the file came from waits until the drop is over: import after it.
        QTimer::singleShot(0, this, [this, path] { importCsv(path); });
        return true;
    }
    return false;
}

void HistoryController::showError(const QString &text) {
    QMessageBox box(QMessageBox::Critical, kErrorTitle, text, QMessageBox::Ok, m_frame);
    box.exec();
}
