#include "core/analysis/AppearanceFrequencyAnalysis.h"

#include "core/grid/GridSetUp.h"

#include <array>
#include <cmath>

using namespace AppearanceFrequency;

namespace {
bool countable(int n) {
    return DrawRules::isNumber(n);
}
} // namespace

ResultGrid buildAppearanceFrequency(const DrawHistory &history) {
    const StartupAggregates &agg = history.aggregates();
    int maxCount = 0; // M: the longest row of marks
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
        maxCount = std::max(maxCount, agg.AppearanceCount[n]);
    const int last = maxCount + 2; // column L: the number labels again, right after the longest row

    ResultGrid grid(last, kRows);
    GridSetUp{.visibleColumns = kVisibleColumns,
              .visibleRows = kRows,
              .frozenRows = 2,
              .frozenColumns = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 15}, {2, 15}},
              .columnWidth = 2,
              .columnWidths = {{1, 5}, {last, 5}}}
        .applyTo(grid);

    // Settings are applied in this order on purpose: later ones override earlier ones on shared cells.
    grid.block(2, 1, last, 1).outline(Palette::LightBlue).back(Palette::LightYellow);
    grid.cellBlock(1, 1).border(Right, Palette::LightBlue);
    grid.cellBlock(maxCount + 1, 1).border(Right, Palette::LightBlue);

    grid.setOverflow(true);
    // A third of the way across; L / 3 never ends in .5, so the rounding rule does not matter.
    const int titleColumn = int(std::lround(last / 3.0));
    grid.cellBlock(titleColumn, 1).fore(Palette::Red).align(Align::Left);
    grid.setText(titleColumn, 1, QStringLiteral("  出 現 頻 度（回）"));
    // The title stands over the whole yellow band, far beyond the first screen.
    grid.setBandHeading({.column = titleColumn, .row = 1, .firstColumn = 2, .lastColumn = last - 1});

    grid.block(1, 1, 1, kRows).fore(Palette::Blue).back(Palette::PaleCyan);
    grid.block(last, 1, last, kRows).fore(Palette::Blue).back(Palette::PaleCyan);
    grid.block(-1, 2, -1, kRows).border(AllSides);
    grid.block(2, 2, maxCount + 1, 2).fore(Palette::Red).back(Palette::LightYellow);

    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n) {
        grid.setText(1, n + kRowOffset, n);
        grid.setText(last, n + kRowOffset, n);
    }
    grid.setText(1, 2, QStringLiteral("数字"));
    grid.setText(last, 2, QStringLiteral("数字"));

    // Every mark of a draw is placed with the counts as they stood before that draw, so a number
    // that somehow occurs twice in one draw gets one mark cell for both.
    std::array<int, DrawRules::kNumberSlots> running{};
    const QString mark = QStringLiteral("●");
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int n = draw.number(k);
            // Only numbers are counted at start-up either; anything else has no row and no count.
            if (countable(n))
                grid.setText(running[n] + 2, 2, running[n] + 1);
        }
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int n = draw.number(k);
            if (!countable(n))
                continue;
            const int col = running[n] + 2;
            grid.setText(col, n + kRowOffset, mark);
            grid.cellBlock(col, n + kRowOffset).fore(Palette::markColour(k));
        }
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int n = draw.number(k);
            if (countable(n))
                ++running[n];
        }
    }

    grid.parkCursor();
    return grid;
}
