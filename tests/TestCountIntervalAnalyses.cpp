#include "core/analysis/AppearanceCountAnalysis.h"
#include "core/analysis/AppearanceIntervalAnalysis.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
// 5 is a main number of draws 1 and 3 and bonus 2 of draw 2; draw 4 (holding 5) lacks a field.
// Draw 6 is missing, so the sheet ends with an empty row.
DrawHistory countHistory() {
    return makeHistory({
        {1, {5, 10, 11, 12, 13, 14, 15, 16, 17}},
        {2, {1, 2, 3, 4, 6, 7, 8, 9, 5}},
        {3, {20, 5, 21, 22, 23, 24, 25, 26, 10}},
        {4, {5, 1, 2, 3, 4, 6, 7, 0, 8}},
        {5, {1, 5, 9, 30, 31, 32, 33, 34, 35}},
        {7, {36, 37, 30, 31, 1, 2, 3, 0, 4}},
        {8, {36, 37, 30, 31, 1, 2, 3, 4, 6}},
    });
}

// Draw 3 lacks a field and draw 5 is missing. 9 is bonus 2 of draw 1, 10 a main number of
// draw 2 and (not counting) of draw 3, 23 bonus 2 of draw 4, 16 bonus 1 of draw 2.
DrawHistory intervalHistory() {
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {2, {1, 10, 11, 12, 13, 14, 15, 16, 17}},
        {3, {10, 20, 27, 28, 29, 0, 26, 24, 25}},
        {4, {9, 20, 2, 18, 19, 21, 22, 10, 23}},
        {6, {16, 23, 30, 31, 32, 33, 34, 35, 20}},
    });
}

const HistoryTable &histories() {
    static const HistoryTable table = {
        {QStringLiteral("count"), countHistory()},
        {QStringLiteral("interval"), intervalHistory()},
        {QStringLiteral("empty"), DrawHistory()},
    };
    return table;
}

// The interval as the window defines it, searched the long way: back from the draw before,
// through the complete draws processed so far, to draw 1.
std::vector<std::vector<QString>> intervalsBySearch(const DrawHistory &history) {
    std::map<int, std::array<int, 9>> byDraw;
    std::vector<std::vector<QString>> rows;
    for (const DrawRecord &draw : history.records()) {
        std::vector<QString> texts(9);
        if (draw.isComplete()) {
            const int r = draw.drawNumber;
            for (int k = 1; k <= 9; ++k) {
                int interval = 0;
                for (int d = r - 1; d >= 1 && interval == 0; --d) {
                    const auto it = byDraw.find(d);
                    if (it != byDraw.end() &&
                        std::find(it->second.begin(), it->second.end(), draw.number(k)) != it->second.end())
                        interval = r - d;
                }
                texts[k - 1] =
                    interval == 0 ? QStringLiteral("初回") : QString::number(interval) + QStringLiteral("回前");
            }
            std::array<int, 9> numbers{};
            for (int k = 1; k <= 9; ++k)
                numbers[k - 1] = draw.number(k);
            byDraw[r] = numbers;
        }
        rows.push_back(texts);
    }
    return rows;
}

const QString kWinning = QStringLiteral("       当 選 数 字");
const QString kTotals = QStringLiteral("前回までの出現回数合計(回)");
const QString kMainBand = QStringLiteral("本 数 字");
const QString kBonusBand = QStringLiteral("\u3000\u3000\u3000ボーナス数字");
} // namespace

class TestCountIntervalAnalyses : public QObject {
    Q_OBJECT
private slots:
    void countCells_data() {
        addCellColumns();
        const QString c = QStringLiteral("count");

        QTest::newRow("corner") << c << 1 << 1 << "|red|yellow|center|LRTB";
        QTest::newRow("wide heading 1 text") << c << 5 << 1 << kWinning + "|blue|cyan|left|";
        QTest::newRow("wide heading 1 closed right") << c << 10 << 1 << "|blue|cyan|center|R";
        QTest::newRow("wide heading 2 starts open") << c << 11 << 1 << "|red|green|center|";
        QTest::newRow("wide heading 2 text") << c << 15 << 1 << kTotals + "|red|green|left|";
        QTest::newRow("wide heading 2 closed right") << c << 19 << 1 << "|red|green|center|R";
        QTest::newRow("name 回数") << c << 1 << 2 << "回数|red|yellow|center|LRTB";
        QTest::newRow("name first number") << c << 2 << 2 << "第1数字|blue|cyan|center|LRTB";
        QTest::newRow("name bonus 2") << c << 10 << 2 << "ボ数字2|blue|cyan|center|LRTB";
        QTest::newRow("name first count") << c << 11 << 2 << "第1数字|red|green|center|LRTB";
        QTest::newRow("name last count") << c << 19 << 2 << "ボ数字2|red|green|center|LRTB";

        QTest::newRow("draw 1 number") << c << 1 << 3 << "1|red|yellow|center|LRTB";
        QTest::newRow("first draw counts 0") << c << 11 << 3 << "0|black|white|center|LRTB";
        QTest::newRow("5 as bonus 2 after one main") << c << 19 << 4 << "1|black|white|center|LRTB";
        QTest::newRow("5 in draw 3: main and bonus count alike") << c << 12 << 5 << "2|black|white|center|LRTB";
        QTest::newRow("10 as bonus 2 in draw 3") << c << 19 << 5 << "1|black|white|center|LRTB";
        // The incomplete draw 4 takes no row and adds nothing: draw 5 follows directly.
        QTest::newRow("draw 5 right after draw 3") << c << 1 << 6 << "5|red|yellow|center|LRTB";
        QTest::newRow("5 in draw 5 ignores draw 4") << c << 12 << 6 << "3|black|white|center|LRTB";
        QTest::newRow("draw 8 after incomplete 7") << c << 1 << 7 << "8|red|yellow|center|LRTB";
        QTest::newRow("1 in draw 8") << c << 15 << 7 << "2|black|white|center|LRTB";
        QTest::newRow("6 in draw 8") << c << 19 << 7 << "1|black|white|center|LRTB";
        QTest::newRow("leftover row empty") << c << 1 << 10 << "|red|yellow|center|LRTB";

        QTest::newRow("empty: heading only") << "empty" << 2 << 2 << "第1数字|blue|cyan|center|LRTB";

        // Second real draw: 20 24 29 31 33 34 35, bonus 12 and 32; draw 1 had 34 and 12.
        QTest::newRow("real: 34 once before") << "real" << 16 << 4 << "1|black|white|center|LRTB";
        QTest::newRow("real: 20 new") << "real" << 11 << 4 << "0|black|white|center|LRTB";
        QTest::newRow("real: bonus 12 once before") << "real" << 18 << 4 << "1|black|white|center|LRTB";
        QTest::newRow("real: last row") << "real" << 1 << 690 << "688|red|yellow|center|LRTB";
    }
    void countCells() { checkCell(buildAppearanceCount, histories()); }

    void countSizes_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("latest complete draw 8") << "count" << 10;
        QTest::newRow("empty") << "empty" << 2;
        QTest::newRow("real") << "real" << 690;
    }
    void countSizes() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &grid = builtGrid(buildAppearanceCount, histories(), history);
        QCOMPARE(describeSheet(grid),
                 QStringLiteral("19x%1 visible 19x52 frozen rows 2 columns 0 overflow parked").arg(rows));
        QCOMPARE(grid.columnWidths(), std::vector<int>(19, 5));
        std::vector<int> heights(rows, 10);
        heights[0] = 20;
        heights[1] = 12;
        QCOMPARE(grid.rowHeights(), heights);
    }

    void intervalCells_data() {
        addCellColumns();
        const QString i = QStringLiteral("interval"), e = QStringLiteral("empty");

        // Band row: two outlined blocks sharing column 15.
        QTest::newRow("band: column 1 untouched") << i << 1 << 1 << "|red|yellow|center|LRTB";
        QTest::newRow("band: main block start") << i << 2 << 1 << "|black|pink|center|LTB";
        QTest::newRow("band: main text") << i << 8 << 1 << kMainBand + "|black|pink|left|TB";
        QTest::newRow("band: shared column") << i << 15 << 1 << "|black|pink|center|LTB";
        QTest::newRow("band: bonus text") << i << 16 << 1 << kBonusBand + "|black|pink|left|TB";
        QTest::newRow("band: bonus block end") << i << 19 << 1 << "|black|pink|center|RTB";
        QTest::newRow("names: 回数") << i << 1 << 2 << "回数|red|yellow|center|LRTB";
        QTest::newRow("names: first") << i << 2 << 2 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("names: interval") << i << 3 << 2 << "出現|black|pink|center|LRTB";
        QTest::newRow("names: bonus 2") << i << 18 << 2 << "ボ数字2|black|pink|center|LRTB";

        QTest::newRow("main number on cyan") << i << 2 << 3 << "1|black|cyan|center|LRTB";
        QTest::newRow("first draw: 初回") << i << 3 << 3 << "初回|black|white|center|LRTB";
        QTest::newRow("bonus 1 number, plain") << i << 16 << 3 << "8|black|white|center|LRTB";
        QTest::newRow("successive draws: 1回前") << i << 3 << 4 << "1回前|black|white|center|LRTB";
        QTest::newRow("new number: 初回") << i << 5 << 4 << "初回|black|white|center|LRTB";
        QTest::newRow("incomplete draw: empty row") << i << 1 << 5 << "|red|yellow|center|LRTB";
        QTest::newRow("incomplete draw: empty number") << i << 2 << 5 << "|black|cyan|center|LRTB";
        QTest::newRow("after bonus 2 of draw 1") << i << 3 << 6 << "3回前|black|white|center|LRTB";
        QTest::newRow("incomplete draw does not count") << i << 5 << 6 << "初回|black|white|center|LRTB";
        QTest::newRow("main of draw 1") << i << 7 << 6 << "3回前|black|white|center|LRTB";
        QTest::newRow("bonus 1 measured from draw 2") << i << 17 << 6 << "2回前|black|white|center|LRTB";
        // Draw 6 follows draw 4 in the next row; intervals count draw numbers across the gap.
        QTest::newRow("draw 6 in the next row") << i << 1 << 7 << "6|red|yellow|center|LRTB";
        QTest::newRow("after bonus 1 of draw 2") << i << 3 << 7 << "4回前|black|white|center|LRTB";
        QTest::newRow("main after bonus of R - 2") << i << 5 << 7 << "2回前|black|white|center|LRTB";
        QTest::newRow("bonus 2 across the gap") << i << 19 << 7 << "2回前|black|white|center|LRTB";
        QTest::newRow("unreached row stays empty") << i << 2 << 8 << "|black|cyan|center|LRTB";
        // Bottom header at G + 3 = 9, mirrored: names first, band last.
        QTest::newRow("bottom names: 回数") << i << 1 << 9 << "回数|red|yellow|center|LRTB";
        QTest::newRow("bottom names: first") << i << 2 << 9 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("bottom band: start") << i << 2 << 10 << "|black|pink|center|LTB";
        QTest::newRow("bottom band: main text") << i << 8 << 10 << kMainBand + "|black|pink|left|TB";
        QTest::newRow("bottom band: bonus text") << i << 16 << 10 << kBonusBand + "|black|pink|left|TB";
        QTest::newRow("bottom band: end") << i << 19 << 10 << "|black|pink|center|RTB";

        // No draws: the two header blocks back to back.
        QTest::newRow("empty: top names") << e << 2 << 2 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("empty: bottom names") << e << 1 << 3 << "回数|red|yellow|center|LRTB";
        QTest::newRow("empty: bottom band") << e << 16 << 4 << kBonusBand + "|black|pink|left|TB";

        // Second real draw: 20 24 29 31 33 34 35, bonus 12 and 32; draw 1 had 34 and 12.
        QTest::newRow("real: 20 初回") << "real" << 3 << 4 << "初回|black|white|center|LRTB";
        QTest::newRow("real: 34 1回前") << "real" << 13 << 4 << "1回前|black|white|center|LRTB";
        QTest::newRow("real: bonus 12 1回前") << "real" << 17 << 4 << "1回前|black|white|center|LRTB";
        QTest::newRow("real: last draw") << "real" << 1 << 690 << "688|red|yellow|center|LRTB";
    }
    void intervalCells() { checkCell(buildAppearanceInterval, histories()); }

    void intervalSizes_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("latest complete draw 6") << "interval" << 10;
        QTest::newRow("empty") << "empty" << 4;
        QTest::newRow("real") << "real" << 692;
    }
    void intervalSizes() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &grid = builtGrid(buildAppearanceInterval, histories(), history);
        QCOMPARE(describeSheet(grid),
                 QStringLiteral("19x%1 visible 19x52 frozen rows 2 columns 0 overflow parked").arg(rows));
        QCOMPARE(grid.columnWidths(), std::vector<int>(19, 5));
        std::vector<int> heights(rows, 10);
        heights[0] = 15;
        heights[1] = 12;
        QCOMPARE(grid.rowHeights(), heights);
    }

    // The window remembers each number's last draw instead of searching backwards; both must
    // agree everywhere, across gaps, incomplete draws and numbers repeated within a draw.
    void intervalMatchesBackwardSearch_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("numberRange");
        QTest::newRow("seed 1, 1..37") << 1u << 37;
        QTest::newRow("seed 7, 1..37") << 7u << 37;
        QTest::newRow("seed 42, 1..12: short intervals, repeats") << 42u << 12;
    }
    void intervalMatchesBackwardSearch() {
        QFETCH(quint32, seed);
        QFETCH(int, numberRange);
        QRandomGenerator random(seed);
        std::vector<DrawRecord> records;
        int drawNumber = 0;
        for (int i = 0; i < 400; ++i) {
            drawNumber += random.bounded(10) == 0 ? 2 + random.bounded(3) : 1; // gaps now and then
            std::array<int, 9> numbers{};
            for (int &n : numbers)
                n = 1 + random.bounded(numberRange);
            if (random.bounded(8) == 0)
                numbers[random.bounded(9)] = 0; // incomplete
            records.push_back(makeDraw(drawNumber, numbers));
        }
        const DrawHistory history(records);
        const ResultGrid grid = buildAppearanceInterval(history);
        const auto expected = intervalsBySearch(history);
        QCOMPARE(grid.rows(), history.latestDrawNumber() + 4);
        for (int i = 0; i < int(records.size()); ++i) {
            const int row = 3 + i;
            const bool complete = records[i].isComplete();
            QCOMPARE(grid.text(1, row), complete ? QString::number(records[i].drawNumber) : QString());
            for (int k = 1; k <= 9; ++k) {
                QCOMPARE(grid.text(2 * k, row), complete ? QString::number(records[i].number(k)) : QString());
                QCOMPARE(grid.text(2 * k + 1, row), expected[i][k - 1]);
            }
        }
    }

    // No cap on draw numbers: a late draw still finds its predecessor.
    void intervalBeyond5000() {
        const ResultGrid grid = buildAppearanceInterval(makeHistory({
            {4990, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
            {6000, {9, 10, 11, 12, 13, 14, 15, 16, 17}},
        }));
        QCOMPARE(grid.rows(), 6004);
        QCOMPARE(grid.text(3, 4), QStringLiteral("1010回前"));
        QCOMPARE(grid.text(2, 6003), QStringLiteral("第1数字"));
    }
};

QTEST_GUILESS_MAIN(TestCountIntervalAnalyses)
#include "TestCountIntervalAnalyses.moc"
