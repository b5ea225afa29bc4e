#include "core/analysis/Builders.h"

#include "core/grid/GridSetUp.h"

#include <algorithm>
#include <array>

namespace {
constexpr int kColumns = 10; // 回数, 第1数字..第7数字, ボーナス数字1, ボーナス数字2

void writeHeading(ResultGrid &grid) {
    grid.block(1, 1, kColumns, 1).fore(Palette::Black).back(Palette::LightPink);
    // The seven main-number columns read as one heading cell.
    grid.block(2, 1, 8, 1).noBorder();
    grid.block(2, 1, 8, 1).border(Bottom);
    grid.setOverflow(true);

    grid.setText(1, 1, QStringLiteral("回数"));
    grid.cellBlock(5, 1).align(Align::Left);
    grid.setText(5, 1, QStringLiteral(" 本 数 字"));
    grid.setText(9, 1, QStringLiteral("ボーナス数字1"));
    grid.setText(10, 1, QStringLiteral("ボーナス数字2"));
}
} // namespace

// 引っ張り分析: every complete draw with its nine numbers; a number that was also one of the
// previous complete draw's nine numbers (main or bonus, any position) is highlighted.
// The colour key beside the description belongs to the window.
ResultGrid buildCarryOver(const DrawHistory &history) {
    ResultGrid grid(kColumns, history.latestDrawNumber() + 1);
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = 51,
              .frozenRows = 1,
              .frozenColumns = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 15}},
              .columnWidth = 7,
              .columnWidths = {{9, 10}, {10, 10}}}
        .applyTo(grid);

    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.all().border(AllSides, Palette::LightBlue);

    writeHeading(grid);

    // The memory starts at zeros, which match no number, and only complete draws replace it.
    std::array<int, DrawRecord::kFieldCount> previous{};
    int row = 2;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            grid.setText(k + 1, row, draw.number(k));
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int v = draw.number(k);
            if (std::find(previous.begin(), previous.end(), v) != previous.end())
                grid.cellBlock(k + 1, row).back(Palette::LightCyan);
        }
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            previous[k - 1] = draw.number(k);
        ++row;
    }

    grid.parkCursor();
    return grid;
}
