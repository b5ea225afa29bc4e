#pragma once

#include "history/ConnectionString.h"
#include "history/DrawRecord.h"
#include "history/DrawStore.h"

#include "analysis/ResultGrid.h"

#include <QAbstractTableModel>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// The first cell the user has to correct before the data entry window may close.
struct DrawFault {
    int row = -1;
    int column = -1; // 0 = 回数, 1..9 = the nine number fields
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

// The draws of the data entry window: one row per draw in ascending 回数 as read, ten text
// columns named after the fields of the draw view. The user edits texts; a row is written to
// the database only when it is valid, through the model's own connection, each write one
// transaction. A row remembers the draw it was read as, so a draw that another program
// changed in the meantime is never overwritten without the user being told.
class DrawTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 10;
    static QString numberFaultMessage();
    static QString drawNumberFaultMessage();

    explicit DrawTableModel(QObject *parent = nullptr);
    ~DrawTableModel() override;

    // Opens the connection and reads every draw. False, with the reason, when it cannot.
    bool open(const ConnectionString &connection, StoreError &error);
    bool isOpen() const { return m_store != nullptr; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Full-width digits become ASCII and surrounding spaces go; anything else is kept as typed
    // so that the validation can point at it.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    QString text(int row, int column) const;
    // The rows as the user sees them, for printing: a heading row with the column names, then
    // one row per line, every cell centred and lined.
    ResultGrid toGrid() const;
    // The highest draw number in the rows (0 when none).
    int latestDrawNumber() const;

    // An empty row directly below afterRow (-1: above the first row). Returns the new row.
    int insertEmptyRow(int afterRow);
    // Removes the row and its stored draw. False with the problem when the draw has to stay:
    // the database refused, or another program changed the draw (the row then shows it).
    bool deleteRow(int row, std::optional<StoreProblem> &problem);

    // The first faulty cell in row-then-column order, if any.
    std::optional<DrawFault> firstFault() const;
    // The row differs from the draw it was read as (a new row: it holds any text).
    bool isPending(int row) const;
    bool hasPendingRows() const;

    // The user is now on currentRow: every other pending row that is valid is written. Rows
    // with faults or waiting for another row stay pending without a word; conflicts and
    // refusals are reported. A refused row is not tried again here until it is edited.
    std::vector<StoreProblem> storeRowsLeft(int currentRow);
    // Every pending row that is valid is written; every row that could not be is reported.
    std::vector<StoreProblem> storeAll();

private:
    struct Row {
        quint64 id = 0;
        std::array<QString, kColumnCount> texts;
        std::optional<DrawRecord> stored; // the draw as this model last read or wrote it
        bool refused = false;
    };
    enum class Outcome { Written, Blocked, Conflict, Refused };
    enum class ConflictKind { Changed, Deleted, Added };
    struct Attempt {
        Outcome outcome = Outcome::Written;
        int row = -1;
        ConflictKind conflict = ConflictKind::Changed;
        std::optional<DrawRecord> found;
        StoreError error;
    };

    bool isCell(const QModelIndex &index) const;
    Row makeRow(const std::optional<DrawRecord> &record);
    int indexOf(quint64 id) const;
    std::vector<bool> duplicateRows() const;
    int faultColumn(int row, const std::vector<bool> &duplicates) const;
    bool heldByRowOutside(int drawNumber, const std::vector<int> &group) const;
    Attempt write(const std::vector<int> &rows);
    StoreProblem resolveConflict(const Attempt &attempt);
    void showRecord(int row, const std::optional<DrawRecord> &record);
    std::vector<StoreProblem> storeRows(const std::vector<quint64> &ids, bool reportUnstored);

    std::unique_ptr<DrawStore> m_store;
    std::vector<Row> m_rows;
    quint64 m_nextId = 1;
};
