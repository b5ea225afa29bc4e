#include "core/analysis/FourGroupTrendAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"

#include <array>

namespace FourGroupTrendAnalysis {
int groupOf(int number) {
    if (number >= 1 && number <= 9)
        return 1;
    if (number >= 10 && number <= 19)
        return 2;
    if (number >= 20 && number <= 29)
        return 3;
    return 4;
}

Rgb groupColour(int group) {
    static constexpr std::array<Rgb, kGroups> colours = {Palette::White, Palette::LightCyan, Palette::LightGreen,
                                                         Palette::LightYellow};
    return colours[group - 1];
}

QString groupHeading(int group) {
    static const std::array<QString, kGroups> headings = {QStringLiteral("01～09"), QStringLiteral("10～19"),
                                                          QStringLiteral("20～29"), QStringLiteral("30～%1").arg(DrawRules::kMaxNumber)};
    return headings[group - 1];
}
} // namespace FourGroupTrendAnalysis

namespace {
using namespace FourGroupTrendAnalysis;

// The count of group g sits in column 10 + g.
constexpr int kFirstCountColumn = 11;

void setUpGrid(ResultGrid &grid) {
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = kVisibleRows,
              .frozenRows = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 20}, {grid.rows(), 20}},
              .columnWidth = 5,
              .columnWidths = {{1, 6}}}
        .applyTo(grid);

    grid.all().border(AllSides);
    // Separates the nine numbers from the group counts.
    grid.block(kFirstCountColumn, -1, kFirstCountColumn, -1).border(Left, Palette::Red);

    // Data rows down to the end; the bottom heading row paints over its part.
    grid.block(1, 2, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(9, 2, 10, -1).back(Palette::LightYellow);
    grid.block(12, 2, 12, -1).back(Palette::LightCyan);
    grid.block(13, 2, 13, -1).back(Palette::LightGreen);
    grid.block(14, 2, 14, -1).back(Palette::LightYellow);
}

// The heading row; written at the top and again in the grid's last row.
void writeHeader(ResultGrid &grid, int row) {
    grid.block(1, row, 10, row).fore(Palette::Black).back(Palette::LightPink);
    grid.block(kFirstCountColumn, row, kColumns, row).fore(Palette::Blue).back(Palette::LightViolet);
    grid.block(2, row, 8, row).noBorder().border(Bottom);

    grid.setText(1, row, QStringLiteral("回数"));
    grid.cellBlock(5, row).align(Align::Left);
    grid.setOverflow(true);
    grid.setText(5, row, QStringLiteral("本 数 字"));
    grid.setText(9, row, QStringLiteral("ボ数1"));
    grid.setText(10, row, QStringLiteral("ボ数2"));
    for (int g = 1; g <= kGroups; ++g)
        grid.setText(10 + g, row, groupHeading(g));
}
} // namespace

ResultGrid buildFourGroupTrend(const DrawHistory &history) {
    // One row per draw number up to the latest complete draw plus the bottom heading row; that
    // row stays at the bottom, below any rows left over by skipped draws.
    ResultGrid grid(kColumns, history.latestDrawNumber() + 2);
    setUpGrid(grid);
    writeHeader(grid, 1);
    writeHeader(grid, grid.rows());

    int row = 2;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        std::array<int, kGroups + 1> counts{};
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int group = groupOf(draw.number(k));
            grid.setText(1 + k, row, draw.number(k));
            grid.cellBlock(1 + k, row).back(groupColour(group));
            ++counts[group];
        }
        for (int g = 1; g <= kGroups; ++g)
            grid.setText(10 + g, row, counts[g]);
        ++row;
    }

    grid.parkCursor();
    return grid;
}
