#include "core/analysis/LastDigitTrendAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"

#include <array>

namespace {
constexpr int kColumns = 11; // 回数, digits 0..9
constexpr int kTitleHeight = 20;

// Back colour of a digit cell by how many of the draw's nine numbers end in that digit.
Rgb lastDigitCountColour(int count) {
    if (count <= 1)
        return Palette::White;
    if (count == 2)
        return Palette::LightCyan;
    if (count == 3)
        return Palette::LightGreen;
    return Palette::LightPink;
}

// The two header rows; at the bottom the digit row sits above the title row.
void writeHeader(ResultGrid &grid, int titleRow, int digitRow) {
    grid.block(2, titleRow, kColumns, titleRow).fore(Palette::Blue).back(Palette::LightPink);
    grid.block(2, digitRow, kColumns, digitRow).fore(Palette::Blue).back(Palette::LightPink);

    grid.setText(1, titleRow, QStringLiteral("回数"));
    grid.cellBlock(1, titleRow).outline();
    // One block for the title: no lines between the digit columns.
    grid.block(2, titleRow, kColumns, titleRow).noBorder().outline();
    grid.cellBlock(2, titleRow).align(Align::Left);
    grid.setText(2, titleRow, lastDigitBandText());

    for (int d = 0; d <= 9; ++d)
        grid.setText(d + 2, digitRow, d);
}
} // namespace

ResultGrid buildLastDigitTrend(const DrawHistory &history) {
    const int latest = history.latestDrawNumber();
    ResultGrid grid(kColumns, latest + 4);
    grid.setOverflow(true);
    GridSetUp{.visibleColumns = 29,
              .visibleRows = 52,
              .frozenRows = 2,
              .rowHeight = 10,
              .rowHeights = {{1, kTitleHeight}, {latest + 4, kTitleHeight}},
              .columnWidth = 5}
        .applyTo(grid);

    grid.block(1, 2, kColumns, -1).border(AllSides);
    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);

    writeHeader(grid, 1, 2);
    // Mirrored at the bottom, below the last possible draw row.
    writeHeader(grid, latest + 4, latest + 3);

    std::array<QString, 10> digitStrings;
    int row = 3;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        for (QString &s : digitStrings)
            s.clear();
        grid.setText(1, row, draw.drawNumber);
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
            const int d = lastDigit(draw.number(k));
            digitStrings[std::size_t(d)] += QChar(u'0' + d);
        }
        for (int d = 0; d <= 9; ++d) {
            const QString &s = digitStrings[std::size_t(d)];
            grid.setText(d + 2, row, s);
            grid.cellBlock(d + 2, row).back(lastDigitCountColour(int(s.size())));
        }
        ++row;
    }

    grid.parkCursor();
    return grid;
}
