#pragma once

#include "core/grid/ResultGrid.h"

#include <utility>
#include <vector>

// The sheet settings an analysis grid makes before it writes anything: the visible area, the
// frozen panes, the row heights and column widths, and every cell centred. Colours, lines and
// texts come after, in each builder's own order.
struct GridSetUp {
    int visibleColumns = 0;
    int visibleRows = 0;
    int frozenRows = 0;
    int frozenColumns = 0;
    int rowHeight = ResultGrid::kDefaultRowHeight;     // every row first,
    std::vector<std::pair<int, int>> rowHeights;       // then {row, height} in this order
    int columnWidth = ResultGrid::kDefaultColumnWidth; // every column first,
    std::vector<std::pair<int, int>> columnWidths;     // then {column, width} in this order

    void applyTo(ResultGrid &grid) const;
};
