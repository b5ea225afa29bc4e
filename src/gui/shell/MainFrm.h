#pragma once

#include "core/history/ConnectionString.h"
#include "core/history/DrawHistory.h"
#include "core/prediction/PredictionEngine.h"
#include "core/settings/PredictionOptions.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>

class AboutWindow;
class ChildWindow;
class HelpWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;
struct CatalogEntry;

// The program's main window: a multiple-document area for the child windows, the menus that
// open them, the start-up load and the exit. It owns EndAllowed, which is cleared whenever a
// child window loads and set whenever one unloads; the items of データ管理 look at it.
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

    // The program's texts are Japanese: a Japanese Gothic face as the application font, so
    // that no Chinese glyph variants are chosen; the platform font when it is not installed.
    static void useJapaneseFont();
    // Qt's own texts (はい, いいえ, キャンセル and the standard dialogs) in Japanese too; false
    // when Qt's Japanese translation is not installed.
    static bool useJapaneseQtTexts();

    // A Yes/No question (true: はい). The default asks in a message box.
    using Confirm = std::function<bool(const QString &text)>;
    void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
    static QString reloadQuestion();

    bool EndAllowed() const { return m_endAllowed; }
    void setEndAllowed(bool allowed) { m_endAllowed = allowed; }

    const DrawHistory &history() const;
    const ConnectionString &connection() const { return m_connection; }
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
    // CSVファイルから取り込み: asks for a file, then importCsv.
    void chooseCsvToImport();
    // Imports the file after the user has seen the plan; offers a reload when draws were stored.
    // Refused while child windows are open.
    void importCsv(const QString &path);
    // CSVファイルへ書き出し: asks for a file and an encoding, then writes every stored draw.
    void chooseCsvToExport();
    // 当選データの再読み込み: the start-up load again, refused while child windows are open.
    void reloadFromMenu();
    // The start-up load again: the snapshot and its aggregates. A failure keeps the snapshot
    // there was and says so. Windows opened afterwards show the new snapshot.
    bool reloadHistory();
    void tileHorizontally();
    void tileVertically();
    void cascade();
    void arrangeIcons();
    // The help file at the topic about the program.
    void showHelp();
    void showAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    // EndAllowed, or the message that the open windows have to be closed first.
    bool allowedWithoutWindows();
    // skipped receives the sentence about rows of the database that were left out, if any.
    bool loadHistory(StoreError &error, QString &skipped, std::future<HistoryLoad> preloaded = {});
    // Every stored draw with its date, or nullopt when the database cannot be read.
    std::optional<std::vector<DrawRecord>> storedHistory() const;
    void offerReload();
    QMdiSubWindow *showChild(const CatalogEntry &entry);
    ChildWindow *createChild(const CatalogEntry &entry);
    void showError(const QString &text);
    void updateMenuBar(QMdiSubWindow *active);
    void focusWindowChanged(QWindow *window);
    // The main window has become the active window of the program.
    void activated();
    void tile(Qt::Orientation orientation);

    // Where the focus was before it came back to the main window.
    enum class FocusFrom { Elsewhere, OwnWindow };

    QMdiArea *m_mdi;
    QString m_settingsPath = defaultSettingsPath();
    std::optional<DrawHistory> m_history;
    ConnectionString m_connection;
    PredictionEngine m_prediction;
    bool m_endAllowed = false;
    QHash<QString, QPointer<QMdiSubWindow>> m_open;
    QList<QAction *> m_mainMenus;
    QPointer<QMenu> m_childMenu;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
    Confirm m_confirm;
    bool m_opening = false;
    bool m_exited = false;
    bool m_predictionOnActivation = true;
    bool m_displayed = false;
    FocusFrom m_focusFrom = FocusFrom::Elsewhere;
};
