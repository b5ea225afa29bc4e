#include "gui/shell/MainFrm.h"

#include "core/catalog/AnalysisCatalog.h"
#include "core/help/HelpIndex.h"
#include "core/settings/AppPaths.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/WindowArrangement.h"
#include "gui/shell/WindowFactory.h"
#include "gui/window/ChildWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QWindow>

namespace {
const QString kErrorTitle = QStringLiteral("メッセ－ジ");

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

MainFrm::MainFrm(QWidget *parent)
    : QMainWindow(parent), m_mdi(new QMdiArea(this)), m_historyController(new HistoryController(this, m_state)) {
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("ナナズバリオTessel"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    buildMenus();
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
        if (sub->widget()) {
            sub->widget()->disconnect(this);
            sub->widget()->disconnect(m_historyController);
        }
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
        if (!entry.inAnalysisMenu())
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
    for (const CatalogEntry &entry : AnalysisCatalog::entries()) {
        if (!entry.inDataMenu())
            continue;
        QAction *action = maintenance->addAction(entry.menuText);
        action->setObjectName(entry.menuItem);
        connect(action, &QAction::triggered, this, [this, &entry] { showChild(entry); });
    }
    const struct {
        const char *text, *objectName;
        void (HistoryController::*slot)();
    } dataItems[] = {
        {"CSVファイルから取り込み(&O)...", "mnuImportCsv", &HistoryController::chooseCsvToImport},
        {"CSVファイルへ書き出し(&E)...", "mnuExportCsv", &HistoryController::chooseCsvToExport},
        {"当選データの再読み込み(&R)", "mnuReload", &HistoryController::reloadFromMenu},
    };
    for (const auto &item : dataItems) {
        QAction *action = maintenance->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.objectName));
        connect(action, &QAction::triggered, m_historyController, item.slot);
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
    WindowArrangement::fillMenu(*windows, *m_mdi);

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

bool MainFrm::startUp(const QString &databasePath, QString *failure, std::future<HistoryLoad> preloaded) {
    // The options come first, before the database is touched.
    const SettingsResult settings = ReadInitFile(m_settingsPath, options());
    if (!settings.ok) {
        if (failure)
            qWarning("%s", qPrintable(settings.message));
        else
            showError(settings.message);
    }

    return m_historyController->startUp(databasePath, failure, std::move(preloaded));
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
    if (m_state.opening)
        return;
    if (!m_historyController->allowedWithoutWindows())
        return;
    QMdiSubWindow *sub = showChild(AnalysisCatalog::dataEntry());
    if (auto *child = sub ? qobject_cast<ChildWindow *>(sub->widget()) : nullptr)
        m_historyController->offerReloadAfter(*child);
}

ChildWindow *MainFrm::createChild(const CatalogEntry &entry) {
    switch (entry.kind) {
    case WindowKind::Prediction:
        return WindowFactory::createPredictionWindow(*this);
    case WindowKind::DataEntry:
        return WindowFactory::createDataEntryWindow(*this);
    case WindowKind::PrizeList:
        return WindowFactory::createPrizeListWindow(*this, entry);
    case WindowKind::Backtest:
        return WindowFactory::createBacktestWindow(*this, entry);
    case WindowKind::TicketCheck:
        return WindowFactory::createCheckWindow(*this);
    case WindowKind::Wheel:
        return WindowFactory::createWheelWindow(*this, entry);
    case WindowKind::TheoryComparison:
        return WindowFactory::createTheoryWindow(*this, entry);
    case WindowKind::PairAnalysis:
        return WindowFactory::createPairWindow(*this, entry);
    case WindowKind::Analysis:
        break;
    }
    return new AnalysisWindow(entry, history());
}

QMdiSubWindow *MainFrm::showChild(const CatalogEntry &entry) {
    // A window that is still loading ignores the menu until it is shown.
    if (m_state.opening || m_state.exited)
        return nullptr;
    if (QMdiSubWindow *open = subWindow(entry.formName)) {
        if (open->isMinimized())
            open->showNormal();
        m_mdi->setActiveSubWindow(open);
        open->raise();
        return open;
    }

    QScopedValueRollback<bool> opening(m_state.opening, true);
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
    // main window allows; it never opens smaller than designed, unless it asks to be as wide as
    // its content.
    if (const QSize content = child->contentSize(); content.isValid()) {
        const QMargins frame = sub->contentsMargins();
        const QSize needed = content.grownBy(frame).boundedTo(m_mdi->viewport()->size());
        QSize size = designed.expandedTo(needed);
        if (child->widthFollowsContent())
            size.setWidth(needed.width());
        sub->resize(size);
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
    if (m_predictionOnActivation && !m_state.exited)
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

void MainFrm::closeEvent(QCloseEvent *event) {
    // Exit is never refused: whatever is open is told, then unloaded.
    if (!m_state.exited) {
        m_state.exited = true;
        const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
        for (QMdiSubWindow *sub : windows)
            if (auto *child = qobject_cast<ChildWindow *>(sub->widget()))
                child->prepareForExit();
        for (QMdiSubWindow *sub : windows)
            delete sub;

        const SettingsResult written = WriteInitFile(m_settingsPath, options());
        if (!written.ok)
            showError(written.message);
        m_historyController->release();

        WaitCursor wait;
        QCoreApplication::processEvents();
    }
    event->accept();
}
