#include "core/analysis/NumbersByCountAnalysis.h"

#include "core/grid/GridSetUp.h"

using namespace NumbersByCount;

ResultGrid buildNumbersByCount(const DrawHistory &history) {
    const StartupAggregates &agg = history.aggregates();
    // An empty draw table has no count groups at all: only the heading row is shown.
    const int rows = std::max(agg.CountGroupTotal, 1);

    ResultGrid grid(2, rows);
    GridSetUp{.visibleColumns = 2,
              .visibleRows = rows,
              .frozenRows = 1,
              .rowHeight = 10,
              .columnWidth = kCountColumnWidth,
              .columnWidths = {{2, kNumbersColumnWidth}}}
        .applyTo(grid);
    grid.all().border(AllSides);
    grid.block(1, 2, 1, rows).back(Palette::LightYellow);

    grid.setText(1, 1, QStringLiteral("出 現"));
    grid.setText(2, 1, QStringLiteral("数 字"));
    grid.block(1, 1, 2, 1).back(Palette::LightPink);
    grid.block(2, 2, 2, rows).fore(Palette::Blue).align(Align::Left);
    grid.setOverflow(true);

    int row = 1;
    for (int c = agg.MinAppearance; c <= agg.MaxAppearance && c < agg.NumbersByCount.size(); ++c) {
        if (agg.NumbersByCount[c].isEmpty())
            continue;
        ++row;
        grid.setText(1, row, QString::number(c) + QStringLiteral("回"));
        grid.setText(2, row, agg.NumbersByCount[c]);
    }

    grid.parkCursor();
    return grid;
}
