#include "core/analysis/AppearanceCountAnalysis.h"

#include "core/grid/GridSetUp.h"

#include <unordered_map>

using namespace AppearanceCount;

namespace {
const QString &fieldHeading(int k) {
    static const QString headings[DrawRecord::kFieldCount] = {
        QStringLiteral("第1数字"), QStringLiteral("第2数字"), QStringLiteral("第3数字"),
        QStringLiteral("第4数字"), QStringLiteral("第5数字"), QStringLiteral("第6数字"),
        QStringLiteral("第7数字"), QStringLiteral("ボ数字1"), QStringLiteral("ボ数字2")};
    return headings[k - 1];
}
} // namespace

ResultGrid buildAppearanceCount(const DrawHistory &history) {
    const int rows = history.latestDrawNumber() + 2;

    ResultGrid grid(kColumns, rows);
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = 52,
              .frozenRows = 2,
              .rowHeight = 10,
              .rowHeights = {{1, 20}, {2, 12}},
              .columnWidth = 5}
        .applyTo(grid);

    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(2, 1, 10, 2).fore(Palette::Blue).back(Palette::LightCyan);
    grid.block(11, 1, 19, 2).fore(Palette::Red).back(Palette::LightGreen);
    // Row 1 shows two wide heading cells: inner lines removed, each closed on its right.
    grid.all().border(AllSides);
    grid.block(2, 1, 10, 1).noBorder();
    grid.cellBlock(10, 1).border(Right);
    grid.block(11, 1, 19, 1).noBorder();
    grid.cellBlock(19, 1).border(Right);

    grid.setOverflow(true);
    grid.cellBlock(5, 1).align(Align::Left);
    grid.setText(5, 1, QStringLiteral("       当 選 数 字"));
    grid.cellBlock(15, 1).align(Align::Left);
    grid.setText(15, 1, QStringLiteral("前回までの出現回数合計(回)"));
    grid.setText(1, 2, QStringLiteral("回数"));
    for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
        grid.setText(1 + k, 2, fieldHeading(k));
        grid.setText(10 + k, 2, fieldHeading(k));
    }

    // Main and bonus appearances share one count per number.
    std::unordered_map<int, int> counts;
    int row = kFirstDataRow;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int n = draw.number(k);
            grid.setText(1 + k, row, n);
            const auto it = counts.find(n);
            grid.setText(10 + k, row, it == counts.end() ? 0 : it->second);
        }
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            ++counts[draw.number(k)];
        ++row;
    }

    grid.parkCursor();
    return grid;
}
