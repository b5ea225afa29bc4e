#pragma once

#include "core/prediction/PredictionEngine.h"
#include "core/settings/PredictionOptions.h"
#include "gui/shell/HistoryController.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <future>

class AboutWindow;
class ChildWindow;
class HelpWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;
struct CatalogEntry;

// The program's main window: a multiple-document area for the child windows, the menus that
// open them, help, the start-up and the exit. It owns EndAllowed, which is cleared whenever a
// child window loads and set whenever one unloads; the items of データ管理, carried out by its
// HistoryController, look at it.
class MainFrm : public QMainWindow {
    Q_OBJECT
    Q_PROPERTY(bool EndAllowed READ EndAllowed WRITE setEndAllowed)
public:
    explicit MainFrm(QWidget *parent = nullptr);
    ~MainFrm() override;

    // The start-up load, before the window is shown: the settings file first, then EndAllowed,
    // the connection and the snapshot with its aggregates. When the database cannot be opened
    // the reason goes to failure when given, otherwise into a message box; then false is
    // returned and the program must end. A load already begun for the same database
    // (loadDrawHistoryAsync) is waited for instead of opening the database again.
    bool startUp(const QString &databasePath, QString *failure = nullptr, std::future<HistoryLoad> preloaded = {});
    // The settings file read at start-up and written at exit (by default the usual one).
    void setSettingsPath(const QString &path) { m_settingsPath = path; }

    // The question whether stored draws should reach the analyses (true: はい).
    using Confirm = HistoryController::Confirm;
    void setConfirm(Confirm confirm) { m_historyController->setConfirm(std::move(confirm)); }
    static QString reloadQuestion() { return HistoryController::reloadQuestion(); }

    bool EndAllowed() const { return m_state.endAllowed; }
    void setEndAllowed(bool allowed) { m_state.endAllowed = allowed; }

    HistoryController *historyController() const { return m_historyController; }
    const DrawHistory &history() const { return m_historyController->history(); }
    const ConnectionString &connection() const { return m_historyController->connection(); }
    // The prediction window's lasting state: its options and tables, kept from start-up to
    // exit whether or not the window is open.
    PredictionEngine &prediction() { return m_prediction; }
    PredictionOptions &options() { return m_prediction.options(); }

    QMdiArea *mdiArea() const { return m_mdi; }
    // Opens a child window as its menu item does (form name or menu item name); nullptr when
    // the name is unknown or the window was not opened.
    QMdiSubWindow *openWindow(const QString &name);
    // The open window with that form name, or nullptr.
    QMdiSubWindow *subWindow(const QString &formName) const;

    // Whether activating the main window shows the prediction window (off for rendering).
    void setPredictionOnActivation(bool on) { m_predictionOnActivation = on; }
    // Shows the started window without putting it on a screen, for rendering and measuring
    // windows; the prediction window then opens only when asked for.
    void showOffscreen();

public slots:
    void showPredictionWindow();
    void openDataEntry();
    // Imports the file after the user has seen the plan, as HistoryController::importCsv.
    void importCsv(const QString &path) { m_historyController->importCsv(path); }
    // The help file at the topic about the program.
    void showHelp();
    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    QMdiSubWindow *showChild(const CatalogEntry &entry);
    ChildWindow *createChild(const CatalogEntry &entry);
    void showError(const QString &text);
    void updateMenuBar(QMdiSubWindow *active);
    void focusWindowChanged(QWindow *window);
    // The main window has become the active window of the program.
    void activated();

    // Where the focus was before it came back to the main window.
    enum class FocusFrom { Elsewhere, OwnWindow };

    FrameState m_state;
    QMdiArea *m_mdi;
    HistoryController *m_historyController;
    QString m_settingsPath = defaultSettingsPath();
    PredictionEngine m_prediction;
    QHash<QString, QPointer<QMdiSubWindow>> m_open;
    QList<QAction *> m_mainMenus;
    QPointer<QMenu> m_childMenu;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
    bool m_predictionOnActivation = true;
    bool m_displayed = false;
    FocusFrom m_focusFrom = FocusFrom::Elsewhere;
};
