#pragma once

#include "core/grid/ResultGrid.h"

#include <QString>

// The sheet of the windows that show each of a draw's nine fields beside a value of their own
// (出現間隔分析, 数字間隔分析): 回数 in column 1, field k in column 2k with its value in column
// 2k + 1, two header rows above the draws and the same two mirrored below them.
namespace FieldPairGrid {
inline constexpr int kColumns = 19;
inline constexpr int kFirstDrawRow = 3;

constexpr int numberColumn(int field) {
    return 2 * field;
}
constexpr int valueColumn(int field) {
    return 2 * field + 1;
}

// The header's band row: the first of its two rows at the top, the second at the bottom.
constexpr int bandRow(int startRow, bool bottom) {
    return bottom ? startRow + 1 : startRow;
}

// The sheet for draws up to latestDraw, with its sizes, colours and lines, before any header.
ResultGrid makeGrid(int latestDraw);

// The header's colours and texts over startRow and the row after; the value columns are headed
// valueHeading. The band row's lines differ between the windows: each draws them first.
void writeHeader(ResultGrid &grid, int startRow, bool bottom, const QString &valueHeading);
} // namespace FieldPairGrid
