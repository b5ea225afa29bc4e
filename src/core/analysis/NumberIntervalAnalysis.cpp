#include "core/analysis/NumberIntervalAnalysis.h"

#include "core/grid/FieldPairGrid.h"

#include <array>

namespace {
using FieldPairGrid::kFirstDrawRow;
using FieldPairGrid::numberColumn;
using FieldPairGrid::valueColumn;

// The two header rows, written above the draws (band row first) and mirrored below them.
void writeHeader(ResultGrid &grid, int startRow, bool bottom) {
    const int bandRow = FieldPairGrid::bandRow(startRow, bottom);

    // The band row reads as two wide cells: the main numbers, then the bonus numbers.
    grid.block(2, bandRow, 15, bandRow).noBorder();
    grid.block(15, bandRow, 19, bandRow).noBorder();
    grid.cellBlock(15, bandRow).border(Left);
    grid.cellBlock(19, bandRow).border(Right);

    FieldPairGrid::writeHeader(grid, startRow, bottom, QStringLiteral("差分"));
}
} // namespace

QString numberDifferenceText(int difference) {
    if (difference > 0)
        return QLatin1Char('+') + QString::number(difference);
    return QString::number(difference); // "0", or the hyphen-minus and the digits
}

ResultGrid buildNumberInterval(const DrawHistory &history) {
    const int latest = history.latestDrawNumber();
    ResultGrid grid = FieldPairGrid::makeGrid(latest);

    writeHeader(grid, 1, false);
    writeHeader(grid, latest + 3, true);

    // Every record has its own row, so an incomplete draw leaves its row empty; the next
    // complete draw is still compared with the last complete one.
    std::array<int, DrawRecord::kFieldCount + 1> previous{}; // index = field 1..9
    int row = kFirstDrawRow;
    for (const DrawRecord &draw : history.records()) {
        if (draw.isComplete()) {
            grid.setText(1, row, draw.drawNumber);
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                grid.setText(numberColumn(k), row, draw.number(k));
            // The first record's row has nothing to compare with; a later first complete draw
            // is compared with zeros.
            if (row > kFirstDrawRow) {
                for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
                    const int difference = draw.number(k) - previous[k];
                    if (difference < 0)
                        grid.cellBlock(valueColumn(k), row).back(Palette::LightMagenta);
                    grid.setText(valueColumn(k), row, numberDifferenceText(difference));
                }
            }
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                previous[k] = draw.number(k);
        }
        ++row;
    }

    grid.parkCursor();
    return grid;
}
