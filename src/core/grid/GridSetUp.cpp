#include "core/grid/GridSetUp.h"

void GridSetUp::applyTo(ResultGrid &grid) const {
    grid.setVisibleArea(visibleColumns, visibleRows);
    grid.freezeRows(frozenRows);
    grid.freezeColumns(frozenColumns);
    grid.setRowHeight(-1, rowHeight);
    for (const auto &[row, height] : rowHeights)
        grid.setRowHeight(row, height);
    grid.setColumnWidth(-1, columnWidth);
    for (const auto &[column, width] : columnWidths)
        grid.setColumnWidth(column, width);
    grid.all().align(Align::Center);
}
