#include "gui/shell/MainFrm.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/analysis/AnalysisWindow.h"
#include "core/history/DrawStore.h"
#include "gui/history/ExportDialog.h"
#include "gui/history/ImportDialog.h"
#include "core/settings/AppPaths.h"
#include "gui/shell/AboutWindow.h"
#include "gui/window/ChildWindow.h"
#include "core/help/HelpIndex.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/WindowFactory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLibraryInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTranslator>
#include <QTimer>
#include <QWindow>

namespace {
// The size a window had before a tiling changed it; cascading gives it back.
const char *const kSizeBeforeTiling = "sizeBeforeTiling";

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

// Child windows carry no icon of their own in their title bars.
QIcon blankIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

void name(QMenu *menu, const QString &objectName) {
    menu->setObjectName(objectName);
    menu->menuAction()->setObjectName(objectName);
}
} // namespace

MainFrm::MainFrm(QWidget *parent) : QMainWindow(parent), m_mdi(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("ナナズバリオTessel"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    buildMenus();
    setAcceptDrops(true);
    m_confirm = [this](const QString &text) {
        QMessageBox box(QMessageBox::Question, kApplicationTitle, text, QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainFrm::updateMenuBar);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainFrm::focusWindowChanged);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_focusFrom = FocusFrom::Elsewhere;
    });
}

MainFrm::~MainFrm() {
    // The children go after this destructor has run; they must not call back into it.
    disconnect(qApp, nullptr, this, nullptr);
    m_mdi->disconnect(this);
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (sub->widget())
            sub->widget()->disconnect(this);
}

void MainFrm::buildMenus() {
    QMenuBar *bar = menuBar();
    QAction *end = bar->addAction(QStringLiteral("終了(&X)"));
    end->setObjectName(QStringLiteral("mnuEnd"));
    connect(end, &QAction::triggered, this, &MainFrm::close);

    const CatalogEntry &prediction = AnalysisCatalog::prediction();
    QAction *yoso = bar->addAction(prediction.menuText);
    yoso->setObjectName(prediction.menuItem);
    connect(yoso, &QAction::triggered, this, &MainFrm::showPredictionWindow);

    QMenu *analyses = bar->addMenu(QStringLiteral("データ分析(&S)"));
    name(analyses, QStringLiteral("mnuMain"));
    QHash<QString, QMenu *> submenus;
    for (const CatalogEntry &entry : AnalysisCatalog::entries()) {
        if (entry.kind != WindowKind::Analysis)
            continue;
        QMenu *menu = analyses;
        if (!entry.submenuName.isEmpty()) {
            QMenu *&submenu = submenus[entry.submenuName];
            if (!submenu) {
                submenu = analyses->addMenu(entry.submenuText);
                name(submenu, entry.submenuName);
            }
            menu = submenu;
        }
        QAction *action = menu->addAction(entry.menuText);
        action->setObjectName(entry.menuItem);
        connect(action, &QAction::triggered, this, [this, &entry] { showChild(entry); });
    }

    QMenu *maintenance = bar->addMenu(QStringLiteral("データ管理(&M)"));
    name(maintenance, QStringLiteral("mnuHosyu"));
    const CatalogEntry &dataEntry = AnalysisCatalog::dataEntry();
    QAction *input = maintenance->addAction(dataEntry.menuText);
    input->setObjectName(dataEntry.menuItem);
    connect(input, &QAction::triggered, this, &MainFrm::openDataEntry);
    const struct {
        const char *text, *objectName;
        void (MainFrm::*slot)();
    } dataItems[] = {
        {"CSVファイルから取り込み(&O)...", "mnuImportCsv", &MainFrm::chooseCsvToImport},
        {"CSVファイルへ書き出し(&E)...", "mnuExportCsv", &MainFrm::chooseCsvToExport},
        {"当選データの再読み込み(&R)", "mnuReload", &MainFrm::reloadFromMenu},
    };
    for (const auto &item : dataItems) {
        QAction *action = maintenance->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.objectName));
        connect(action, &QAction::triggered, this, item.slot);
    }

    // The windows that check what was played, in catalog order.
    QMenu *checks = bar->addMenu(QStringLiteral("検証(&K)"));
    name(checks, QStringLiteral("mnuKensyou"));
    for (const CatalogEntry &entry : AnalysisCatalog::entries()) {
        if (!entry.inCheckMenu())
            continue;
        QAction *action = checks->addAction(entry.menuText);
        action->setObjectName(entry.menuItem);
        connect(action, &QAction::triggered, this, [this, &entry] { showChild(entry); });
    }

    QMenu *windows = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    name(windows, QStringLiteral("mnuWindow"));
    const struct {
        const char *text, *objectName;
        void (MainFrm::*slot)();
    } arrangements[] = {
        {"上下に並べて表示(&H)", "mnuWindowHorizontal", &MainFrm::tileHorizontally},
        {"左右に並べて表示(&V)", "mnuWindowVertical", &MainFrm::tileVertically},
        {"重ねて表示(&C)", "mnuWindowCascade", &MainFrm::cascade},
        {"アイコンの整列(&A)", "mnuWindowArrangeIcon", &MainFrm::arrangeIcons},
    };
    for (const auto &item : arrangements) {
        QAction *action = windows->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.objectName));
        connect(action, &QAction::triggered, this, item.slot);
    }

    QMenu *help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    name(help, QStringLiteral("mnuHelp"));
    QAction *helpFile = help->addAction(QStringLiteral("ヘルプ(&H)"));
    helpFile->setObjectName(QStringLiteral("mnuHelpFile"));
    connect(helpFile, &QAction::triggered, this, &MainFrm::showHelp);
    QAction *about = help->addAction(QStringLiteral("バージョン情報(&A)"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &MainFrm::showAbout);

    m_mainMenus = bar->actions();
}

void MainFrm::useJapaneseFont() {
    // Listing the installed families costs more than the rest of start-up; a family that is
    // not installed simply falls back to the next one.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAGothic"), font.family()});
    font.setPointSize(9);
    QApplication::setFont(font);
}

bool MainFrm::useJapaneseQtTexts() {
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    auto *loaded = new QTranslator(qApp);
    if (!loaded->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

bool MainFrm::startUp(const QString &databasePath, QString *failure, std::future<HistoryLoad> preloaded) {
    // The options come first, before the database is touched.
    const SettingsResult settings = ReadInitFile(m_settingsPath, options());
    if (!settings.ok) {
        if (failure)
            qWarning("%s", qPrintable(settings.message));
        else
            showError(settings.message);
    }

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
bool MainFrm::loadHistory(StoreError &error, QString &skipped, std::future<HistoryLoad> preloaded) {
    WaitCursor wait;
    QCoreApplication::processEvents();
    setEndAllowed(true);
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

bool MainFrm::reloadHistory() {
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

void MainFrm::reloadFromMenu() {
    if (allowedWithoutWindows())
        reloadHistory();
}

QString MainFrm::reloadQuestion() {
    return QStringLiteral("新しい当選データを分析に反映しますか？");
}

void MainFrm::offerReload() {
    if (!m_exited && m_confirm(reloadQuestion()))
        reloadHistory();
}

std::optional<std::vector<DrawRecord>> MainFrm::storedHistory() const {
    StoreError error;
    auto store = DrawStore::open(m_connection, error);
    if (!store)
        return std::nullopt;
    std::vector<DrawRecord> records = store->readAll(error);
    if (error)
        return std::nullopt;
    return records;
}

bool MainFrm::allowedWithoutWindows() {
    if (m_endAllowed)
        return true;
    showError(kWindowsOpen);
    return false;
}

void MainFrm::chooseCsvToImport() {
    if (m_opening || !allowedWithoutWindows())
        return;
    // Installed, the dialog offers the history of the package, which may have newer draws.
    const QString path = QFileDialog::getOpenFileName(this, ImportDialog::title(), AppPaths().shippedHistory(),
                                                      QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)"));
    if (!path.isEmpty())
        importCsv(path);
}

void MainFrm::importCsv(const QString &path) {
    if (m_opening || m_exited || !allowedWithoutWindows())
        return;
    // Windows opened meanwhile would see a snapshot being replaced: none may open until done.
    QScopedValueRollback<bool> opening(m_opening, true);
    const ImportDialog::Outcome outcome = ImportDialog::importFile(this, m_connection, path);
    if (outcome.stored)
        offerReload();
}

void MainFrm::chooseCsvToExport() {
    if (!m_opening && allowedWithoutWindows())
        ExportDialog::chooseAndExport(this, m_connection);
}

void MainFrm::dragEnterEvent(QDragEnterEvent *event) {
    if (!droppedCsv(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainFrm::dropEvent(QDropEvent *event) {
    const QString path = droppedCsv(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The program the file came from waits until the drop is over: import after it.
    QTimer::singleShot(0, this, [this, path] { importCsv(path); });
}

const DrawHistory &MainFrm::history() const {
    static const DrawHistory none;
    return m_history ? *m_history : none;
}

QMdiSubWindow *MainFrm::openWindow(const QString &name) {
    const CatalogEntry *entry = AnalysisCatalog::find(name);
    if (!entry)
        return nullptr;
    if (entry->kind == WindowKind::DataEntry)
        openDataEntry();
    else
        showChild(*entry);
    return subWindow(entry->formName);
}

QMdiSubWindow *MainFrm::subWindow(const QString &formName) const {
    return m_open.value(formName).data();
}

void MainFrm::showPredictionWindow() {
    showChild(AnalysisCatalog::prediction());
}

void MainFrm::openDataEntry() {
    if (m_opening)
        return;
    if (!allowedWithoutWindows())
        return;
    QMdiSubWindow *sub = showChild(AnalysisCatalog::dataEntry());
    auto *child = sub ? qobject_cast<ChildWindow *>(sub->widget()) : nullptr;
    if (!child)
        return;
    // Whether the window stored changes: the draws it read on opening against those stored
    // after it has gone.
    const std::optional<std::vector<DrawRecord>> before = child->takeDrawsAtOpen();
    if (!before)
        return;
    connect(sub->widget(), &QObject::destroyed, this, [this, before] {
        // After the window has gone, not while it goes.
        QTimer::singleShot(0, this, [this, before] {
            if (m_exited)
                return;
            const std::optional<std::vector<DrawRecord>> after = storedHistory();
            if (after && *after != *before)
                offerReload();
        });
    });
}

ChildWindow *MainFrm::createChild(const CatalogEntry &entry) {
    switch (entry.kind) {
    case WindowKind::Prediction:
        return WindowFactory::createPredictionWindow(*this);
    case WindowKind::DataEntry:
        return WindowFactory::createDataEntryWindow(*this);
    case WindowKind::Backtest:
        return WindowFactory::createBacktestWindow(*this, entry);
    case WindowKind::TicketCheck:
        return WindowFactory::createCheckWindow(*this);
    case WindowKind::Analysis:
        break;
    }
    return new AnalysisWindow(entry, history());
}

QMdiSubWindow *MainFrm::showChild(const CatalogEntry &entry) {
    // A window that is still loading ignores the menu until it is shown.
    if (m_opening || m_exited)
        return nullptr;
    if (QMdiSubWindow *open = subWindow(entry.formName)) {
        if (open->isMinimized())
            open->showNormal();
        m_mdi->setActiveSubWindow(open);
        open->raise();
        return open;
    }

    QScopedValueRollback<bool> opening(m_opening, true);
    WaitCursor wait;
    QCoreApplication::processEvents();

    ChildWindow *child = createChild(entry);
    QMdiSubWindow *sub = m_mdi->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(blankIcon());
    m_open.insert(entry.formName, sub);
    setEndAllowed(false);
    connect(child, &QObject::destroyed, this, [this] { setEndAllowed(true); });

    const QSize designed(ChildWindow::twipsToPixels(entry.widthTwips, this),
                         ChildWindow::twipsToPixels(entry.heightTwips, this));
    sub->move(0, 0);
    sub->resize(designed);
    child->load();
    // A window whose content needs more room than it was designed with grows, as far as the
    // main window allows; it never opens smaller than designed.
    if (const QSize content = child->contentSize(); content.isValid()) {
        const QMargins frame = sub->contentsMargins();
        const QSize needed = content.grownBy(frame).boundedTo(m_mdi->viewport()->size());
        sub->resize(designed.expandedTo(needed));
    }
    sub->show();
    m_mdi->setActiveSubWindow(sub);
    return sub;
}

void MainFrm::showError(const QString &text) {
    QMessageBox box(QMessageBox::Critical, kErrorTitle, text, QMessageBox::Ok, this);
    box.exec();
}

void MainFrm::updateMenuBar(QMdiSubWindow *active) {
    auto *child = active ? qobject_cast<ChildWindow *>(active->widget()) : nullptr;
    QMenu *menu = child ? child->windowMenu() : nullptr;
    if (m_childMenu && m_childMenu != menu)
        menuBar()->removeAction(m_childMenu->menuAction());
    for (QAction *action : std::as_const(m_mainMenus))
        action->setVisible(!menu);
    if (menu && m_childMenu != menu)
        menuBar()->addAction(menu->menuAction());
    m_childMenu = menu;
}

void MainFrm::focusWindowChanged(QWindow *window) {
    if (!window)
        return;
    if (window != windowHandle()) {
        // Message boxes, dialogs and menus hand the focus back without activating the main
        // window as a window of its own.
        const bool passing =
            window->modality() != Qt::NonModal || window->type() == Qt::Popup || window->type() == Qt::ToolTip;
        m_focusFrom = passing ? FocusFrom::Elsewhere : FocusFrom::OwnWindow;
        return;
    }
    const bool fromOwnWindow = m_focusFrom == FocusFrom::OwnWindow;
    m_focusFrom = FocusFrom::Elsewhere;
    if (fromOwnWindow)
        activated();
}

void MainFrm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The first display counts as the first activation, whether or not the window system
    // hands the focus over at once.
    if (!m_displayed) {
        m_displayed = true;
        activated();
    }
}

void MainFrm::activated() {
    if (m_predictionOnActivation && !m_exited)
        QMetaObject::invokeMethod(this, &MainFrm::showPredictionWindow, Qt::QueuedConnection);
}

void MainFrm::showOffscreen() {
    setPredictionOnActivation(false);
    setAttribute(Qt::WA_DontShowOnScreen);
    resize(1600, 1200);
    show();
}

void MainFrm::showHelp() {
    const QString path = AppPaths().help();
    if (!m_help) {
        m_help = new HelpWindow(this);
        m_help->setAttribute(Qt::WA_DontShowOnScreen, testAttribute(Qt::WA_DontShowOnScreen));
    }
    if (!m_help->openFile(path)) {
        showError(QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(path));
        return;
    }
    // As the help viewer is asked: the index at the keyword, then the topic indexed under it.
    const QString keyword = QString::fromUtf8(HelpIndex::kAboutKeyword);
    m_help->showIndex(keyword);
    m_help->showKeyword(keyword);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainFrm::showAbout() {
    WaitCursor wait;
    QCoreApplication::processEvents();
    if (!m_about) {
        m_about = new AboutWindow(this);
        m_about->setAttribute(Qt::WA_DontShowOnScreen, testAttribute(Qt::WA_DontShowOnScreen));
        m_about->move(AboutWindow::placement(frameGeometry()));
        // Back from About, the main window is active again and its activation rule applies.
        connect(m_about, &AboutWindow::closed, this, [this] {
            activateWindow();
            activated();
        });
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainFrm::tileHorizontally() {
    tile(Qt::Vertical);
}
void MainFrm::tileVertically() {
    tile(Qt::Horizontal);
}

// Lays the open windows out side by side (Horizontal) or one above the other (Vertical),
// leaving the row of minimised windows free.
void MainFrm::tile(Qt::Orientation orientation) {
    QList<QMdiSubWindow *> windows;
    int iconRow = 0;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->isMinimized())
            iconRow = std::max(iconRow, sub->height());
        else if (sub->isVisible())
            windows << sub;
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect().adjusted(0, 0, 0, -iconRow);
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        if (!sub->property(kSizeBeforeTiling).isValid())
            sub->setProperty(kSizeBeforeTiling, sub->size());
        if (orientation == Qt::Horizontal) {
            const int x1 = area.width() * i / n, x2 = area.width() * (i + 1) / n;
            sub->setGeometry(x1, 0, x2 - x1, area.height());
        } else {
            const int y1 = area.height() * i / n, y2 = area.height() * (i + 1) / n;
            sub->setGeometry(0, y1, area.width(), y2 - y1);
        }
    }
    arrangeIcons();
}

// Steps the open windows diagonally from the top left corner by the height of a title bar, in
// their stacking order, so the front one stays in front. Each keeps its size (the one it had
// before a tiling), shrunk only as far as it must to stay inside the area; once a window would
// lose more than a quarter of its size the steps start again at the corner.
void MainFrm::cascade() {
    QList<QMdiSubWindow *> windows;
    int iconRow = 0;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isMinimized())
            iconRow = std::max(iconRow, sub->height());
        else if (sub->isVisible())
            windows << sub;
    }
    const QRect area = m_mdi->viewport()->rect().adjusted(0, 0, 0, -iconRow);
    QPoint at;
    for (QMdiSubWindow *sub : std::as_const(windows)) {
        if (sub->isMaximized())
            sub->showNormal();
        QSize size = sub->size();
        if (const QVariant before = sub->property(kSizeBeforeTiling); before.isValid())
            size = before.toSize();
        sub->setProperty(kSizeBeforeTiling, QVariant());
        size = size.boundedTo(area.size());
        const QSize room = area.size() - QSize(at.x(), at.y());
        if (room.width() * 4 < size.width() * 3 || room.height() * 4 < size.height() * 3)
            at = QPoint();
        sub->setGeometry(QRect(at, size.boundedTo(area.size() - QSize(at.x(), at.y()))));
        const int step = std::max(sub->contentsMargins().top(), 1);
        at += QPoint(step, step);
    }
    arrangeIcons();
}

void MainFrm::arrangeIcons() {
    const QRect area = m_mdi->viewport()->rect();
    int x = 0, y = area.height();
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        if (x > 0 && x + sub->width() > area.width()) {
            x = 0;
            y -= sub->height();
        }
        sub->move(x, y - sub->height());
        x += sub->width();
    }
}

void MainFrm::closeEvent(QCloseEvent *event) {
    // Exit is never refused: whatever is open is told, then unloaded.
    if (!m_exited) {
        m_exited = true;
        const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
        for (QMdiSubWindow *sub : windows)
            if (auto *child = qobject_cast<ChildWindow *>(sub->widget()))
                child->prepareForExit();
        for (QMdiSubWindow *sub : windows)
            delete sub;

        const SettingsResult written = WriteInitFile(m_settingsPath, options());
        if (!written.ok)
            showError(written.message);
        m_history.reset();

        WaitCursor wait;
        QCoreApplication::processEvents();
    }
    event->accept();
}
