#include "analysis/AppearanceIntervalAnalysis.h"

#include <unordered_map>

using namespace AppearanceInterval;

namespace {
// Field k (1..9) sits in column 2k, its interval right of it in column 2k + 1.
int numberColumn(int k) {
    return 2 * k;
}
int intervalColumn(int k) {
    return 2 * k + 1;
}

const QString &columnName(int col) {
    static const QString names[kColumns] = {
        QStringLiteral("回数"), QStringLiteral("第1数字"), QStringLiteral("出現"), QStringLiteral("第2数字"),
        QStringLiteral("出現"), QStringLiteral("第3数字"), QStringLiteral("出現"), QStringLiteral("第4数字"),
        QStringLiteral("出現"), QStringLiteral("第5数字"), QStringLiteral("出現"), QStringLiteral("第6数字"),
        QStringLiteral("出現"), QStringLiteral("第7数字"), QStringLiteral("出現"), QStringLiteral("ボ数字1"),
        QStringLiteral("出現"), QStringLiteral("ボ数字2"), QStringLiteral("出現")};
    return names[col - 1];
}

void setUpGrid(ResultGrid &grid, int latestDraw) {
    grid.setSize(kColumns, latestDraw + 2 + 2);
    grid.setVisibleArea(kColumns, 52);
    grid.freezeRows(2);
    grid.setRowHeight(-1, 10);
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 12);
    grid.setColumnWidth(-1, 5);
    grid.all().align(Align::Center);
    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        grid.block(numberColumn(k), kFirstDataRow, numberColumn(k), -1).back(Palette::LightCyan);
    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.all().border(AllSides);
}

// The header is written twice: above the data with its band row first, and below it mirrored,
// with the column names first and the band row last.
void writeHeader(ResultGrid &grid, int startRow, bool bottom) {
    const int bandRow = bottom ? startRow + 1 : startRow;
    const int nameRow = bottom ? startRow : startRow + 1;

    // The order matters: each step overrides sides the previous one left on column 15.
    grid.block(2, bandRow, 15, bandRow).noBorder();
    grid.block(2, bandRow, 15, bandRow).outline();
    grid.block(15, bandRow, 19, bandRow).noBorder();
    grid.block(15, bandRow, 19, bandRow).outline();
    grid.cellBlock(15, bandRow).border(Left);
    grid.cellBlock(19, bandRow).border(Right);

    grid.block(2, startRow, kColumns, startRow + 1).fore(Palette::Black).back(Palette::LightPink);
    grid.setOverflow(true);

    grid.cellBlock(8, bandRow).align(Align::Left);
    grid.setText(8, bandRow, QStringLiteral("本 数 字"));
    grid.cellBlock(16, bandRow).align(Align::Left);
    grid.setText(16, bandRow, QStringLiteral("\u3000\u3000\u3000ボーナス数字"));
    for (int col = 1; col <= kColumns; ++col)
        grid.setText(col, nameRow, columnName(col));
}

void writeInterval(ResultGrid &grid, int interval, int col, int row) {
    if (interval >= 0)
        grid.setText(col, row, intervalText(interval));
}
} // namespace

QString AppearanceInterval::intervalText(int interval) {
    if (interval < 0)
        return QString();
    if (interval == 0)
        return QStringLiteral("初回");
    return QString::number(interval) + QStringLiteral("回前");
}

ResultGrid buildAppearanceInterval(const DrawHistory &history) {
    const int latestDraw = history.latestDrawNumber();
    ResultGrid grid;
    setUpGrid(grid, latestDraw);
    writeHeader(grid, 1, false);
    writeHeader(grid, latestDraw + 3, true);

    // The interval is measured in draw numbers back to the latest earlier complete draw that held
    // the number. Remembering each number's last such draw gives the same answer as searching
    // the earlier draws backwards, without the search. Draw numbers below 1 are never searched.
    std::unordered_map<int, int> lastDraw;
    int row = kFirstDataRow;
    for (const DrawRecord &draw : history.records()) {
        if (draw.isComplete()) {
            const int current = draw.drawNumber;
            grid.setText(1, row, current);
            for (int k = 1; k <= DrawRecord::kFieldCount; ++k) {
                const int n = draw.number(k);
                grid.setText(numberColumn(k), row, n);
                const auto it = lastDraw.find(n);
                writeInterval(grid, it == lastDraw.end() ? 0 : current - it->second, intervalColumn(k), row);
            }
            // Only after all nine lookups: a draw never counts as its own earlier appearance.
            if (current >= 1)
                for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
                    lastDraw[draw.number(k)] = current;
        }
        // An incomplete draw keeps its row, empty.
        ++row;
    }

    grid.parkCursor();
    return grid;
}
