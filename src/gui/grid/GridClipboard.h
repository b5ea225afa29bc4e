#pragma once

#include "core/grid/ResultGrid.h"

#include <QRect>
#include <QString>

// What a copy of grid cells puts on the clipboard. cells is (column, row, width, height).
namespace GridClipboard {
// Tab-separated, one line a row: for a text editor.
QString text(const ResultGrid &grid, const QRect &cells);
// A table with the cells' colours and alignment: for a spreadsheet.
QString html(const ResultGrid &grid, const QRect &cells);
} // namespace GridClipboard
