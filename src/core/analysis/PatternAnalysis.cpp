#include "core/analysis/PatternAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"

namespace PatternAnalysis {
namespace {
// Whether a main number belongs to the first class: the one counted in column 11.
bool inFirstClass(Classing classing, int number) {
    return classing == Classing::LowHigh ? number <= 18 : number % 2 == 0;
}

void setUpGrid(ResultGrid &grid) {
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = kVisibleRows,
              .frozenRows = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 20}},
              .columnWidth = 5,
              .columnWidths = {{1, 6}, {13, 7}}}
        .applyTo(grid);

    grid.all().border(AllSides);
    // Data rows; on a sheet with the heading row only these blocks select nothing.
    grid.block(1, 2, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(9, 2, 10, -1).back(Palette::LightYellow);
    grid.block(11, 2, 11, -1).fore(Palette::Blue).back(Palette::LightCyan);
    grid.block(12, 2, 12, -1).fore(Palette::Blue).back(Palette::White);
}

void writeHeader(ResultGrid &grid, Classing classing) {
    grid.block(1, 1, kColumns, 1).fore(Palette::Blue).back(Palette::LightPink);
    grid.block(2, 1, 8, 1).noBorder().outline();

    const bool lowHigh = classing == Classing::LowHigh;
    grid.setText(1, 1, QStringLiteral("回数"));
    grid.cellBlock(5, 1).align(Align::Left);
    grid.setOverflow(true);
    grid.setText(5, 1, QStringLiteral("本 数 字"));
    grid.setText(9, 1, QStringLiteral("ボ数1"));
    grid.setText(10, 1, QStringLiteral("ボ数2"));
    grid.setText(11, 1, lowHigh ? QStringLiteral("低数字") : QStringLiteral("偶数"));
    grid.setText(12, 1, lowHigh ? QStringLiteral("高数字") : QStringLiteral("奇数"));
    grid.setText(13, 1, QStringLiteral("パターン"));
}
} // namespace

Pattern pattern(int index) {
    switch (index) {
    case 0:
        return {QStringLiteral("A"), std::nullopt};
    case 1:
        return {QStringLiteral("B"), Palette::LightCyan};
    case 2:
        return {QStringLiteral("C"), Palette::LightGreen};
    case 3:
        return {QStringLiteral("D"), Palette::LightYellow};
    case 4:
        return {QStringLiteral("E"), Palette::White};
    case 5:
        return {QStringLiteral("F"), Palette::LightMagenta};
    case 6:
        return {QStringLiteral("G"), Palette::LightPink};
    case 7:
        return {QStringLiteral("H"), Palette::Red};
    default:
        return {QString(), std::nullopt};
    }
}

ResultGrid build(const DrawHistory &history, Classing classing) {
    // One row per draw number up to the latest complete draw, so every complete draw has a row.
    ResultGrid grid(kColumns, history.latestDrawNumber() + 1);
    setUpGrid(grid);
    writeHeader(grid, classing);

    int row = 2;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        grid.setText(1, row, draw.drawNumber);
        int firstClass = 0;
        for (int k = 1; k <= DrawRecord::kMainCount; ++k) {
            const int number = draw.number(k);
            const bool first = inFirstClass(classing, number);
            grid.setText(1 + k, row, number);
            // A high number keeps its cell as it was; an odd one is painted white.
            if (first)
                grid.cellBlock(1 + k, row).back(Palette::LightCyan);
            else if (classing == Classing::EvenOdd)
                grid.cellBlock(1 + k, row).back(Palette::White);
            firstClass += first;
        }
        grid.setText(9, row, draw.number(8));
        grid.setText(10, row, draw.number(9));

        const int secondClass = DrawRecord::kMainCount - firstClass;
        grid.setText(11, row, firstClass);
        grid.setText(12, row, secondClass);
        const Pattern p = pattern(classing == Classing::LowHigh ? firstClass : secondClass);
        grid.setText(13, row, p.letter);
        if (p.back)
            grid.cellBlock(13, row).back(*p.back);
        ++row;
    }

    grid.parkCursor();
    return grid;
}
} // namespace PatternAnalysis

ResultGrid buildLowHighPattern(const DrawHistory &history) {
    return PatternAnalysis::build(history, PatternAnalysis::Classing::LowHigh);
}

ResultGrid buildEvenOddPattern(const DrawHistory &history) {
    return PatternAnalysis::build(history, PatternAnalysis::Classing::EvenOdd);
}
