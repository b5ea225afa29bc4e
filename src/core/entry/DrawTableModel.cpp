#include "core/entry/DrawTableModel.h"

DrawTableModel::DrawTableModel(QObject *parent) : QAbstractTableModel(parent) {}

DrawTableModel::~DrawTableModel() = default;

bool DrawTableModel::isCell(const QModelIndex &index) const {
    return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < kColumnCount;
}

int DrawTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int DrawTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DrawTableModel::data(const QModelIndex &index, int role) const {
    if (!isCell(index))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

QString DrawTableModel::columnName(int column) {
    // The stored draw view has ten fields; 抽せん日 is the model's own eleventh column.
    if (column == DrawRow::kDateColumn)
        return QStringLiteral("抽せん日");
    return drawColumnNames().at(std::size_t(column));
}

ResultGrid DrawTableModel::toGrid() const {
    ResultGrid grid(kColumnCount, rowCount() + 1);
    grid.freezeRows(1);
    grid.setColumnWidth(1, 6);
    grid.setColumnWidth(9, 10);
    grid.setColumnWidth(10, 10);
    for (int c = 0; c < kColumnCount; ++c)
        grid.setText(c + 1, 1, columnName(c));
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < kColumnCount; ++c)
            grid.setText(c + 1, r + 2, text(r, c));
    grid.block(-1, 1, -1, 1).back(Palette::LightPink);
    grid.all().border(AllSides);
    return grid;
}

int DrawTableModel::latestDrawNumber() const {
    int latest = 0;
    for (int r = 0; r < rowCount(); ++r)
        latest = std::max(latest, text(r, 0).toInt());
    return latest;
}

QVariant DrawTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kColumnCount ? QVariant(columnName(section)) : QVariant();
    return section >= 0 && section < rowCount() ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags DrawTableModel::flags(const QModelIndex &index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DrawTableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !isCell(index))
        return false;
    if (m_rows.setText(index.row(), index.column(), value.toString()))
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QString DrawTableModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount)
        return {};
    return DrawRowCheck::shownText(m_rows.rows()[row].texts[column], column);
}

void DrawTableModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1), {Qt::DisplayRole, Qt::EditRole});
}
