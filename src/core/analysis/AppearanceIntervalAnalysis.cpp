#include "core/analysis/AppearanceIntervalAnalysis.h"

#include "core/grid/FieldPairGrid.h"

#include <unordered_map>

using namespace AppearanceInterval;

namespace {
using FieldPairGrid::numberColumn;
using FieldPairGrid::valueColumn;

// The header is written twice: above the data with its band row first, and below it mirrored,
// with the column names first and the band row last.
void writeHeader(ResultGrid &grid, int startRow, bool bottom) {
    const int bandRow = FieldPairGrid::bandRow(startRow, bottom);

    // The order matters: each step overrides sides the previous one left on column 15.
    grid.block(2, bandRow, 15, bandRow).noBorder();
    grid.block(2, bandRow, 15, bandRow).outline();
    grid.block(15, bandRow, 19, bandRow).noBorder();
    grid.block(15, bandRow, 19, bandRow).outline();
    grid.cellBlock(15, bandRow).border(Left);
    grid.cellBlock(19, bandRow).border(Right);

    FieldPairGrid::writeHeader(grid, startRow, bottom, QStringLiteral("出現"));
}

void writeInterval(ResultGrid &grid, int interval, int col, int row) {
    if (interval >= 0)
        grid.setText(col, row, intervalText(interval));
}
} // namespace

QString AppearanceInterval::intervalText(int interval) {
    if (interval < 0)
        return QString();
    if (interval == 0)
        return QStringLiteral("初回");
    return QString::number(interval) + QStringLiteral("回前");
}

ResultGrid buildAppearanceInterval(const DrawHistory &history) {
    const int latestDraw = history.latestDrawNumber();
    ResultGrid grid = FieldPairGrid::makeGrid(latestDraw);
    writeHeader(grid, 1, false);
    writeHeader(grid, latestDraw + 3, true);

    // The interval is measured in draw numbers back to the latest earlier complete draw that held
    // the number. Remembering each number's last such draw gives the same answer as searching
    // the earlier draws backwards, without the search. Draw numbers below 1 are never searched.
    std::unordered_map<int, int> lastDraw;
    int row = FieldPairGrid::kFirstDrawRow;
    for (const DrawRecord &draw : history.records()) {
        if (draw.isComplete()) {
            const int current = draw.drawNumber;
            grid.setText(1, row, current);
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
                const int n = draw.number(k);
                grid.setText(numberColumn(k), row, n);
                const auto it = lastDraw.find(n);
                writeInterval(grid, it == lastDraw.end() ? 0 : current - it->second, valueColumn(k), row);
            }
            // Only after all nine lookups: a draw never counts as its own earlier appearance.
            if (current >= 1)
                for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                    lastDraw[draw.number(k)] = current;
        }
        // An incomplete draw keeps its row, empty.
        ++row;
    }

    grid.parkCursor();
    return grid;
}
