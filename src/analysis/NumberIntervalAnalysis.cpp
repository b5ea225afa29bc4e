#include "analysis/NumberIntervalAnalysis.h"

#include <array>

namespace {
constexpr int kColumns = 19;
constexpr int kFirstDrawRow = 3;
constexpr int kBonus1Column = 16;
constexpr int kBonus2Column = 18;

// Column of number field k (1..9): main numbers in 2, 4, .., 14, the bonus numbers in 16 and 18.
// Its difference goes into the column to its right.
constexpr int numberColumn(int field) {
    return 2 * field;
}

// The two header rows, written above the draws (band row first) and mirrored below them.
void writeHeader(ResultGrid &grid, int startRow, bool bottom) {
    const int bandRow = bottom ? startRow + 1 : startRow;
    const int nameRow = bottom ? startRow : startRow + 1;

    // The band row reads as two wide cells: the main numbers, then the bonus numbers.
    grid.block(2, bandRow, 15, bandRow).noBorder();
    grid.block(15, bandRow, 19, bandRow).noBorder();
    grid.cellBlock(15, bandRow).border(Left);
    grid.cellBlock(19, bandRow).border(Right);

    grid.block(2, startRow, kColumns, startRow + 1).fore(Palette::Black).back(Palette::LightPink);
    grid.setOverflow(true);

    grid.cellBlock(8, bandRow).align(Align::Left);
    grid.setText(8, bandRow, QStringLiteral("本 数 字"));
    grid.cellBlock(kBonus1Column, bandRow).align(Align::Left);
    grid.setText(kBonus1Column, bandRow, QStringLiteral("　　　ボーナス数字"));

    grid.setText(1, nameRow, QStringLiteral("回数"));
    for (int k = 1; k <= DrawRecord::kMainCount; ++k) {
        grid.setText(numberColumn(k), nameRow, QStringLiteral("第%1数字").arg(k));
        grid.setText(numberColumn(k) + 1, nameRow, QStringLiteral("差分"));
    }
    grid.setText(kBonus1Column, nameRow, QStringLiteral("ボ数字1"));
    grid.setText(kBonus1Column + 1, nameRow, QStringLiteral("差分"));
    grid.setText(kBonus2Column, nameRow, QStringLiteral("ボ数字2"));
    grid.setText(kBonus2Column + 1, nameRow, QStringLiteral("差分"));
}
} // namespace

QString numberDifferenceText(int difference) {
    if (difference > 0)
        return QLatin1Char('+') + QString::number(difference);
    return QString::number(difference); // "0", or the hyphen-minus and the digits
}

ResultGrid buildNumberInterval(const DrawHistory &history) {
    const int latest = history.latestDrawNumber();
    const int lastRow = latest + 4; // two header rows above the draws, two below

    ResultGrid grid(kColumns, lastRow);
    grid.setVisibleArea(kColumns, 52);
    grid.freezeRows(2);
    grid.setRowHeight(-1, 10);
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 12);
    grid.setColumnWidth(-1, 5);
    grid.all().align(Align::Center);

    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        grid.block(numberColumn(k), kFirstDrawRow, numberColumn(k), lastRow).back(Palette::LightCyan);
    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.all().border(AllSides);

    writeHeader(grid, 1, false);
    writeHeader(grid, latest + 3, true);

    // Every record has its own row, so an incomplete draw leaves its row empty; the next
    // complete draw is still compared with the last complete one.
    std::array<int, DrawRecord::kFieldCount + 1> previous{}; // index = field 1..9
    int row = kFirstDrawRow;
    for (const DrawRecord &draw : history.records()) {
        if (draw.isComplete()) {
            grid.setText(1, row, draw.drawNumber);
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                grid.setText(numberColumn(k), row, draw.number(k));
            // The first record's row has nothing to compare with; a later first complete draw
            // is compared with zeros.
            if (row > kFirstDrawRow) {
                for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
                    const int difference = draw.number(k) - previous[k];
                    if (difference < 0)
                        grid.cellBlock(numberColumn(k) + 1, row).back(Palette::LightMagenta);
                    grid.setText(numberColumn(k) + 1, row, numberDifferenceText(difference));
                }
            }
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                previous[k] = draw.number(k);
        }
        ++row;
    }

    grid.parkCursor();
    return grid;
}
