#include "core/grid/FieldPairGrid.h"

#include "core/grid/GridSetUp.h"
#include "core/history/DrawRecord.h"

namespace FieldPairGrid {
ResultGrid makeGrid(int latestDraw) {
    const int lastRow = latestDraw + 4; // two header rows above the draws, two below
    ResultGrid grid(kColumns, lastRow);
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = 52,
              .frozenRows = 2,
              .rowHeight = 10,
              .rowHeights = {{1, 15}, {2, 12}},
              .columnWidth = 5}
        .applyTo(grid);
    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        grid.block(numberColumn(k), kFirstDrawRow, numberColumn(k), lastRow).back(Palette::LightCyan);
    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.all().border(AllSides);
    return grid;
}

void writeHeader(ResultGrid &grid, int startRow, bool bottom, const QString &valueHeading) {
    const int band = bandRow(startRow, bottom);
    const int nameRow = bottom ? startRow : startRow + 1;

    grid.block(2, startRow, kColumns, startRow + 1).fore(Palette::Black).back(Palette::LightPink);
    grid.setOverflow(true);

    grid.cellBlock(8, band).align(Align::Left);
    grid.setText(8, band, QStringLiteral("本 数 字"));
    grid.cellBlock(numberColumn(8), band).align(Align::Left);
    grid.setText(numberColumn(8), band, QStringLiteral("\u3000\u3000\u3000ボーナス数字"));

    grid.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
        const QString name = k <= DrawRecord::kMainCount ? QStringLiteral("第%1数字").arg(k)
                                                         : QStringLiteral("ボ数字%1").arg(k - DrawRecord::kMainCount);
        grid.setText(numberColumn(k), nameRow, name);
        grid.setText(valueColumn(k), nameRow, valueHeading);
    }
}
} // namespace FieldPairGrid
