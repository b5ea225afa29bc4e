#pragma once

#include "core/entry/DrawRowCheck.h"
#include "core/history/ConnectionString.h"
#include "core/history/DrawStore.h"

#include <QHash>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The first cell the user has to correct before the data entry window may close.
struct DrawFault {
    int row = -1;
    int column = -1; // 0 = 回数, 1..9 = the nine number fields, 10 = 抽せん日
    QString message;
};

// A row that was not stored as the user typed it, described for the user.
struct StoreProblem {
    enum class Kind {
        Invalid,  // a faulty cell; only reported when every row has to be stored
        Blocked,  // its draw number still belongs to another row's draw that could not be stored
        Conflict, // another program changed the draw since it was read; the row now shows the stored draw
        Refused,  // the database refused the write and is unchanged; the row keeps what was typed
    };
    Kind kind;
    int row = -1; // the row the problem was found in (0-based, at that moment)
    QString message;
};

// Hears of the rows the write protocol changes, inserts or removes, before and after.
class DrawRowListener {
public:
    virtual ~DrawRowListener() = default;
    virtual void rowChanged(int row) = 0;
    virtual void beginInsertRow(int row) = 0;
    virtual void endInsertRow() = 0;
    virtual void beginRemoveRow(int row) = 0;
    virtual void endRemoveRow() = 0;
    virtual void beginReset() = 0;
    virtual void endReset() = 0;
};

// The rows of the data entry table and how they reach the database: a row is written only
// when it is valid, through this table's own connection, each write one transaction. A row
// remembers the draw it was read as, so a draw that another program changed in the meantime
// is never overwritten without the user being told.
// Reading and editing the rows is in DrawRowStore.cpp, their faults and what the user is told
// in DrawRowFaults.cpp, writing them in DrawRowWrite.cpp.
class DrawRowStore {
public:
    static QString numberFaultMessage();
    static QString numberFaultMessage(const DrawRow::Texts &texts, int column);
    static QString dateFaultMessage();
    static QString drawNumberFaultMessage(DrawRowCheck::DrawNumberFault fault);

    explicit DrawRowStore(DrawRowListener &listener);
    ~DrawRowStore();

    // Opens the connection and reads every draw. False, with the reason, when it cannot.
    bool open(const ConnectionString &connection, StoreError &error);
    bool isOpen() const { return m_store != nullptr; }
    // The draws as open() read them, handed over once (empty afterwards): whoever wants to know
    // later whether the stored draws changed need not read them a second time.
    std::vector<DrawRecord> takeDrawsAtOpen() { return std::exchange(m_drawsAtOpen, {}); }

    const std::vector<DrawRow> &rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    // Sets a cell to the text as typed, normalised; false when that is what it holds already.
    bool setText(int row, int column, const QString &text);

    // An empty row directly below afterRow (-1: above the first row). Returns the new row.
    int insertEmptyRow(int afterRow);
    // Removes the row and its stored draw. False with the problem when the draw has to stay:
    // the database refused, or another program changed the draw (the row then shows it).
    bool deleteRow(int row, std::optional<StoreProblem> &problem);

    // The first faulty cell in row-then-column order, if any.
    std::optional<DrawFault> firstFault() const;
    bool isPending(int row) const;
    bool hasPendingRows() const;

    // The user is now on currentRow: every other pending row that is valid is written. Rows
    // with faults or waiting for another row stay pending without a word; conflicts and
    // refusals are reported. A refused row is not tried again here until it is edited.
    std::vector<StoreProblem> storeRowsLeft(int currentRow);
    // Every pending row that is valid is written; every row that could not be is reported.
    std::vector<StoreProblem> storeAll();

private:
    enum class Outcome { Written, Blocked, Conflict, Refused };
    enum class ConflictKind { Changed, Deleted, Added };
    struct Attempt {
        Outcome outcome = Outcome::Written;
        int row = -1;
        ConflictKind conflict = ConflictKind::Changed;
        std::optional<DrawRecord> found;
        StoreError error;
    };
    // Where each row is and which rows are duplicates: they hold until a conflict moves rows.
    struct Layout {
        QHash<quint64, int> position;
        std::vector<bool> duplicates;
    };

    // How the user finds the row again: its position and, when there is one, its draw number.
    static QString rowName(int row, const QString &drawNumberText);
    // What the user typed, so that nothing is lost when the row shows something else.
    static QString typedText(const DrawRow::Texts &texts);

    DrawRow makeRow(const std::optional<DrawRecord> &record);
    Layout layout() const;
    bool heldByRowOutside(int drawNumber, const std::vector<int> &group) const;
    Attempt write(const std::vector<int> &rows, const std::vector<bool> &duplicates);
    StoreProblem resolveConflict(const Attempt &attempt);
    void showRecord(int row, const std::optional<DrawRecord> &record);
    void insertRow(int at, DrawRow row);
    void removeRow(int row);
    std::vector<StoreProblem> storeRows(const std::vector<quint64> &ids, bool reportUnstored);

    DrawRowListener &m_listener;
    std::unique_ptr<DrawStore> m_store;
    std::vector<DrawRecord> m_drawsAtOpen;
    std::vector<DrawRow> m_rows;
    quint64 m_nextId = 1;
};
