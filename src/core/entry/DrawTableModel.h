#pragma once

#include "core/entry/DrawRowStore.h"

#include "core/grid/ResultGrid.h"

#include <QAbstractTableModel>

// The draws of the data entry window as a Qt table: one row per draw in ascending 回数 as
// read, ten text columns named after the fields of the draw view and 抽せん日 after them. The rows and how they reach
// the database are DrawRowStore's; this class shows them and passes the user's edits on.
class DrawTableModel : public QAbstractTableModel, private DrawRowListener {
    Q_OBJECT
public:
    static constexpr int kColumnCount = DrawRow::kColumnCount;
    static QString numberFaultMessage() { return DrawRowStore::numberFaultMessage(); }
    static QString dateFaultMessage() { return DrawRowStore::dateFaultMessage(); }
    static QString drawNumberFaultMessage(DrawRowCheck::DrawNumberFault fault) {
        return DrawRowStore::drawNumberFaultMessage(fault);
    }

    explicit DrawTableModel(QObject *parent = nullptr);
    ~DrawTableModel() override;

    // Opens the connection and reads every draw. False, with the reason, when it cannot.
    bool open(const ConnectionString &connection, StoreError &error) { return m_rows.open(connection, error); }
    bool isOpen() const { return m_rows.isOpen(); }
    std::vector<DrawRecord> takeDrawsAtOpen() { return m_rows.takeDrawsAtOpen(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // 回数, the nine number fields, 抽せん日 (column 0..kColumnCount-1).
    static QString columnName(int column);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Full-width digits become ASCII and surrounding spaces go, a real date takes one form;
    // anything else is kept as typed so that the validation can point at it.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The cell as the user sees it.
    QString text(int row, int column) const;
    // The rows as the user sees them, for printing: a heading row with the column names, then
    // one row per line, every cell centred and lined.
    ResultGrid toGrid() const;
    // The highest draw number in the rows (0 when none).
    int latestDrawNumber() const;

    int insertEmptyRow(int afterRow) { return m_rows.insertEmptyRow(afterRow); }
    bool deleteRow(int row, std::optional<StoreProblem> &problem) { return m_rows.deleteRow(row, problem); }
    std::optional<DrawFault> firstFault() const { return m_rows.firstFault(); }
    bool isPending(int row) const { return m_rows.isPending(row); }
    bool hasPendingRows() const { return m_rows.hasPendingRows(); }
    std::vector<StoreProblem> storeRowsLeft(int currentRow) { return m_rows.storeRowsLeft(currentRow); }
    std::vector<StoreProblem> storeAll() { return m_rows.storeAll(); }

private:
    bool isCell(const QModelIndex &index) const;

    void rowChanged(int row) override;
    void beginInsertRow(int row) override { beginInsertRows(QModelIndex(), row, row); }
    void endInsertRow() override { endInsertRows(); }
    void beginRemoveRow(int row) override { beginRemoveRows(QModelIndex(), row, row); }
    void endRemoveRow() override { endRemoveRows(); }
    void beginReset() override { beginResetModel(); }
    void endReset() override { endResetModel(); }

    DrawRowStore m_rows{*this};
};
