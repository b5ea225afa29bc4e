#include "core/analysis/Builders.h"

#include "core/grid/GridSetUp.h"

namespace {
constexpr int kColumns = 16;
constexpr int kConsecutiveDrawColumn = 1; // then the main numbers in 2..8
constexpr int kSkipDrawColumn = 9;        // then the main numbers in 10..16

// A heading block over the seven number columns after drawColumn, its text running across it.
void writeBlockHeading(ResultGrid &grid, int drawColumn, Rgb back, int textColumn, const QString &text) {
    GridBlock block = grid.block(drawColumn + 1, 1, drawColumn + DrawRecord::kMainCount, 1);
    block.noBorder().outline().back(back);
    grid.cellBlock(textColumn, 1).align(Align::Left);
    grid.setOverflow(true);
    grid.setText(textColumn, 1, text);
}

// Writes the draw into the block that starts at drawColumn and marks every neighbouring pair of
// main numbers that are `step` apart; the draw number turns grey when there is none.
void writePairs(ResultGrid &grid, int row, int drawColumn, const DrawRecord &draw, int step, Rgb mark) {
    grid.setText(drawColumn, row, draw.drawNumber);
    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        grid.setText(drawColumn + k, row, draw.number(k));
    int pairs = 0;
    for (int k = 1; k < DrawRecord::kMainCount; ++k) {
        if (draw.number(k + 1) == draw.number(k) + step) {
            ++pairs;
            grid.block(drawColumn + k, row, drawColumn + k + 1, row).back(mark);
        }
    }
    if (pairs == 0)
        grid.cellBlock(drawColumn, row).back(Palette::Grey225);
}
} // namespace

// 連番飛び石分析: for every complete draw, the neighbouring main numbers (in stored order) that
// differ by 1 (連番, left block) and by 2 (飛び石, right block). Bonus numbers only decide
// whether a draw is complete.
ResultGrid buildConsecutiveSkip(const DrawHistory &history) {
    ResultGrid grid(kColumns, history.latestDrawNumber() + 1);
    GridSetUp{.visibleColumns = kColumns, .visibleRows = 51, .frozenRows = 1, .rowHeight = 10, .columnWidth = 4}
        .applyTo(grid);

    grid.block(kConsecutiveDrawColumn, -1, kConsecutiveDrawColumn, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(kSkipDrawColumn, -1, kSkipDrawColumn, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.all().border(AllSides);

    grid.setText(kConsecutiveDrawColumn, 1, QStringLiteral("回数"));
    writeBlockHeading(grid, kConsecutiveDrawColumn, Palette::LightMagenta, 4, QStringLiteral("　連番(本数字)"));
    grid.setText(kSkipDrawColumn, 1, QStringLiteral("回数"));
    writeBlockHeading(grid, kSkipDrawColumn, Palette::LightPink, 12, QStringLiteral("　飛び石(本数字)"));

    // One row per complete draw, without gaps; the rows left over at the end stay empty.
    int row = 2;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        writePairs(grid, row, kConsecutiveDrawColumn, draw, 1, Palette::LightCyan);
        writePairs(grid, row, kSkipDrawColumn, draw, 2, Palette::LightGreen);
        ++row;
    }

    grid.parkCursor();
    return grid;
}
