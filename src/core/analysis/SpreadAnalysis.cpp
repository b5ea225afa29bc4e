#include "core/analysis/Builders.h"

#include "core/grid/GridSetUp.h"

namespace {
constexpr int kLastNumber = DrawRules::kMaxNumber;
constexpr int kColumns = kLastNumber + 2; // 回, the numbers, 回
constexpr int kFirstDrawRow = 3;
constexpr int kTitleColumn = 19;

constexpr int numberColumn(int number) {
    return number + 1;
}

// The column-header row: 回, the numbers, 回 again.
void writeColumnHeader(ResultGrid &grid, int row) {
    grid.setText(1, row, QStringLiteral("回"));
    for (int n = 1; n <= kLastNumber; ++n)
        grid.setText(numberColumn(n), row, n);
    grid.setText(kColumns, row, QStringLiteral("回"));
    grid.block(2, row, kColumns - 1, row).fore(Palette::Blue).back(Palette::PaleCyan);
}
} // namespace

// バラツキ分析: a dot chart, one row per complete draw and one column per number, with a
// "●" in the colour of the field's kind (main, bonus 1, bonus 2) wherever the number was drawn.
// The colour key above the grid belongs to the window.
ResultGrid buildSpread(const DrawHistory &history) {
    const int latest = history.latestDrawNumber();
    const int lastRow = latest + 3; // title band and column headers, then the draws, then the bottom header

    ResultGrid grid(kColumns, lastRow);
    GridSetUp{.visibleColumns = grid.columns(),
              .visibleRows = 47,
              .frozenRows = 2,
              .frozenColumns = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 15}, {2, 15}},
              .columnWidth = 2,
              .columnWidths = {{1, 5}, {kColumns, 5}}}
        .applyTo(grid);

    // Title band: the number columns outlined as one wide cell, the title centred across them.
    grid.block(2, 1, kColumns - 1, 1).outline(Palette::LightBlue);
    grid.cellBlock(1, 1).border(Right, Palette::LightBlue);
    grid.setOverflow(true);
    grid.cellBlock(kTitleColumn, 1).fore(Palette::Blue).align(Align::Center);
    grid.setText(kTitleColumn, 1, QStringLiteral("数　　　　　　　字"));
    grid.block(2, 1, kColumns - 1, 1).back(Palette::PaleCyan);

    grid.block(1, 1, 1, lastRow).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(kColumns, 1, kColumns, lastRow).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(-1, 2, -1, lastRow).border(AllSides, Palette::LightBlue);

    // With no draw at all, row 2 stays empty and the bottom header takes row 3.
    if (latest >= 1)
        writeColumnHeader(grid, 2);
    writeColumnHeader(grid, lastRow);

    // Complete draws follow each other without gaps; the rows they leave over stay empty.
    int row = kFirstDrawRow;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        grid.setText(kColumns, row, draw.drawNumber);
        // A value that is not a number has no column; it must not land on a draw-number column.
        auto hasColumn = [](int v) { return DrawRules::isNumber(v); };
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            if (hasColumn(draw.number(k)))
                grid.setText(numberColumn(draw.number(k)), row, QStringLiteral("●"));
        // Coloured in field order after all dots are down, so a repeated number shows the later field's colour.
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            if (hasColumn(draw.number(k)))
                grid.cellBlock(numberColumn(draw.number(k)), row).fore(Palette::markColour(k));
        ++row;
    }

    grid.parkCursor();
    return grid;
}
