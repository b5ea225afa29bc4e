#include "core/analysis/NumberSumAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"

namespace NumberSumAnalysis {
int mainNumberSum(const DrawRecord &draw) {
    int sum = 0;
    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        sum += draw.number(k);
    return sum;
}
} // namespace NumberSumAnalysis

namespace {
using namespace NumberSumAnalysis;

// Runs across columns 2-8; the leading blanks (23 spaces and an ideographic space) and the
// trailing 30 spaces place the words in the middle of the band.
const QString kMainBand = QStringLiteral("                       　本 数 字                              ");

void setUpGrid(ResultGrid &grid) {
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = kVisibleRows,
              .frozenRows = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 20}},
              .columnWidth = 5,
              .columnWidths = {{9, 8}, {10, 6}, {11, 6}, {12, 10}}}
        .applyTo(grid);

    grid.all().border(AllSides);
    // Data rows; on a sheet with the heading row only these blocks select nothing.
    grid.block(1, 2, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(9, 2, 9, -1).fore(Palette::Blue).back(Palette::LightCyan);
    grid.block(12, 2, 12, -1).fore(Palette::Blue).back(Palette::LightCyan);
}

void writeHeader(ResultGrid &grid) {
    grid.block(1, 1, kColumns, 1).fore(Palette::Black).back(Palette::LightPink);
    grid.block(2, 1, 8, 1).noBorder().outline();

    grid.setText(1, 1, QStringLiteral("回数"));
    grid.cellBlock(2, 1).align(Align::Left);
    grid.setOverflow(true);
    grid.setText(2, 1, kMainBand);
    grid.setText(9, 1, QStringLiteral("本数字合計"));
    grid.setText(10, 1, QStringLiteral("ボ数字1"));
    grid.setText(11, 1, QStringLiteral("ボ数字2"));
    grid.setText(12, 1, QStringLiteral("本数字+ボ数字"));
}
} // namespace

ResultGrid buildNumberSum(const DrawHistory &history) {
    // One row per draw number up to the latest complete draw, so every complete draw has a row;
    // the rows of skipped draws are left over at the bottom.
    ResultGrid grid(kColumns, history.latestDrawNumber() + 1);
    setUpGrid(grid);
    writeHeader(grid);

    int row = 2;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        for (int k = 1; k <= DrawRecord::kMainCount; ++k)
            grid.setText(1 + k, row, draw.number(k));
        const int mainSum = mainNumberSum(draw);
        grid.setText(9, row, mainSum);
        grid.setText(10, row, draw.number(8));
        grid.setText(11, row, draw.number(9));
        grid.setText(12, row, mainSum + draw.number(8) + draw.number(9));
        ++row;
    }

    grid.parkCursor();
    return grid;
}
