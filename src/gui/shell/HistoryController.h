#pragma once

#include "core/history/ConnectionString.h"
#include "core/history/DrawHistory.h"

#include <QObject>

#include <functional>
#include <future>
#include <optional>
#include <vector>

class ChildWindow;
class QWidget;

// What the main frame and its history controller both go by.
struct FrameState {
    // EndAllowed: no child window is open, so the history may change.
    bool endAllowed = false;
    // A window is loading or a file is being imported: no window opens meanwhile.
    bool opening = false;
    // The program is ending: nothing is imported or reloaded any more.
    bool exited = false;
};

// The draw history behind the main frame: the start-up load and the reload, the import and
// export of CSV files (from データ管理 or a file dropped on the frame) and the question whether
// stored draws should reach the analyses. The frame owns it; its dialogs and messages belong to
// the frame.
class HistoryController : public QObject {
    Q_OBJECT
public:
    HistoryController(QWidget *frame, FrameState &state);

    // A Yes/No question (true: はい). The default asks in a message box.
    using Confirm = std::function<bool(const QString &text)>;
    void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
    static QString reloadQuestion();

    // The history's part of the start-up: EndAllowed, the connection and the snapshot with its
    // aggregates. When the database cannot be opened the reason goes to failure when given,
    // otherwise into a message box, and false is returned. A load already begun for the same
    // database is waited for instead of opening the database again.
    bool startUp(const QString &databasePath, QString *failure, std::future<HistoryLoad> preloaded);
    // The snapshot; empty before start-up and after release().
    const DrawHistory &history() const;
    const ConnectionString &connection() const { return m_connection; }
    // At exit, after the windows have gone.
    void release() { m_history.reset(); }

    // EndAllowed, or the message that the open windows have to be closed first.
    bool allowedWithoutWindows();
    // Once the data entry window has gone, offers the reload if the stored draws are no longer
    // those it read on opening.
    void offerReloadAfter(ChildWindow &dataEntry);

public slots:
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

protected:
    // A CSV file dropped on the frame is imported.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // skipped receives the sentence about rows of the database that were left out, if any.
    bool loadHistory(StoreError &error, QString &skipped, std::future<HistoryLoad> preloaded = {});
    // Every stored draw with its date, or nullopt when the database cannot be read.
    std::optional<std::vector<DrawRecord>> storedHistory() const;
    void offerReload();
    bool windowShowsHistory() const;
    void showError(const QString &text);

    QWidget *m_frame;
    FrameState &m_state;
    std::optional<DrawHistory> m_history;
    ConnectionString m_connection;
    Confirm m_confirm;
};
