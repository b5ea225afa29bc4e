#include "core/analysis/AppearanceFrequencyAnalysis.h"
#include "core/analysis/NumbersByCountAnalysis.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

namespace {
// Draws 1, 2 and 4 complete, draw 3 missing a field. Number 2 is bonus 1 in draw 2, number 3
// bonus 2 in draw 4, so their rows carry one pink and one green mark between main marks.
// Counts: 1 and 2 three times, 3 twice, 4..16 and 20..25 once, the rest never (M = 3).
DrawHistory smallHistory() {
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {2, {1, 10, 11, 12, 13, 14, 15, 2, 16}},
        {3, {1, 2, 3, 0, 26, 27, 28, 29, 30}},
        {4, {1, 2, 20, 21, 22, 23, 24, 25, 3}},
    });
}

// Counts 1 -> 5, 2 -> 7, 3 -> 5, 4 -> 4; 5, 6 and 30..36 twice; every other number once.
DrawHistory countGroupsHistory() {
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {2, {1, 2, 3, 4, 5, 6, 10, 11, 12}},
        {3, {1, 2, 3, 4, 13, 14, 15, 16, 17}},
        {4, {1, 2, 3, 18, 19, 20, 21, 22, 23}},
        {5, {1, 2, 3, 24, 25, 26, 27, 28, 29}},
        {6, {2, 30, 31, 32, 33, 34, 35, 36, 4}},
        {7, {2, 30, 31, 32, 33, 34, 35, 36, 37}},
    });
}

DrawHistory allIncompleteHistory() {
    return makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
        {2, {0, 2, 3, 4, 5, 6, 7, 8, 9}},
    });
}

const HistoryTable &histories() {
    static const HistoryTable table = {
        {QStringLiteral("small"), smallHistory()},
        {QStringLiteral("groups"), countGroupsHistory()},
        {QStringLiteral("incomplete"), allIncompleteHistory()},
        {QStringLiteral("empty"), DrawHistory()},
    };
    return table;
}

const QString kTitle = QStringLiteral("  出 現 頻 度（回）");
const QString kMark = QStringLiteral("●");
} // namespace

class TestFrequencyAnalyses : public QObject {
    Q_OBJECT
private slots:
    void frequencyCells_data() {
        addCellColumns();
        const QString s = QStringLiteral("small"), e = QStringLiteral("empty");

        // M = 3, L = 5: title in column round(5 / 3) = 2.
        QTest::newRow("corner: label column, light-blue right side") << s << 1 << 1 << "|blue|paleCyan|center|r";
        QTest::newRow("title") << s << 2 << 1 << kTitle + "|red|yellow|left|ltb";
        QTest::newRow("title row at column M + 1") << s << 4 << 1 << "|black|yellow|center|rtb";
        QTest::newRow("title row, last column") << s << 5 << 1 << "|blue|paleCyan|center|rtb";
        QTest::newRow("heading left") << s << 1 << 2 << "数字|blue|paleCyan|center|LRTB";
        QTest::newRow("scale 3") << s << 4 << 2 << "3|red|yellow|center|LRTB";
        QTest::newRow("1: first mark") << s << 2 << 3 << kMark + "|main|white|center|LRTB";
        QTest::newRow("1: incomplete draw 3 adds none") << s << 4 << 3 << kMark + "|main|white|center|LRTB";
        QTest::newRow("1: label right after the last mark") << s << 5 << 3 << "1|blue|paleCyan|center|LRTB";
        QTest::newRow("2: bonus 1 in time order") << s << 3 << 4 << kMark + "|bonus1|white|center|LRTB";
        QTest::newRow("2: main after bonus") << s << 4 << 4 << kMark + "|main|white|center|LRTB";
        QTest::newRow("3: bonus 2") << s << 3 << 5 << kMark + "|bonus2|white|center|LRTB";
        QTest::newRow("3: no third mark") << s << 4 << 5 << "|black|white|center|LRTB";
        QTest::newRow("never drawn: empty row") << s << 2 << 39 << "|black|white|center|LRTB";

        // M = 0, L = 2: the title lands in column 1 and takes its colours; column 2 is the label column.
        QTest::newRow("empty: title in column 1") << e << 1 << 1 << kTitle + "|blue|paleCyan|left|r";
        QTest::newRow("empty: column 2 row 1") << e << 2 << 1 << "|blue|paleCyan|center|lrtb";
        QTest::newRow("empty: headings") << e << 2 << 2 << "数字|blue|paleCyan|center|LRTB";

        // First real draw: 7 10 12 17 23 28 34, bonus 3 and 15.
        QTest::newRow("real: main") << "real" << 2 << 9 << kMark + "|main|white|center|LRTB";
        QTest::newRow("real: bonus 1") << "real" << 2 << 5 << kMark + "|bonus1|white|center|LRTB";
        QTest::newRow("real: bonus 2") << "real" << 2 << 17 << kMark + "|bonus2|white|center|LRTB";
    }
    void frequencyCells() { checkCell(buildAppearanceFrequency, histories()); }

    void frequencySizes() {
        const ResultGrid grid = buildAppearanceFrequency(smallHistory());
        QCOMPARE(describeSheet(grid), QStringLiteral("5x39 visible 51x39 frozen rows 2 columns 1 overflow parked"));
        QCOMPARE(grid.columnWidths(), (std::vector<int>{5, 2, 2, 2, 5}));
        std::vector<int> heights(39, 10);
        heights[0] = heights[1] = 15;
        QCOMPARE(grid.rowHeights(), heights);
    }

    // Column round(L / 3) for L = M + 2; plain integer division would lose the title for small M.
    void frequencyTitleColumn_data() {
        QTest::addColumn<int>("maxCount");
        QTest::addColumn<int>("titleColumn");
        QTest::newRow("M 0") << 0 << 1;
        QTest::newRow("M 1") << 1 << 1;
        QTest::newRow("M 2") << 2 << 1;
        QTest::newRow("M 3") << 3 << 2;
        QTest::newRow("M 5") << 5 << 2;
        QTest::newRow("M 6") << 6 << 3;
        QTest::newRow("M 148") << 148 << 50;
    }
    void frequencyTitleColumn() {
        QFETCH(int, maxCount);
        QFETCH(int, titleColumn);
        // Number 1 in every draw; the other eight fields walk through 2..37.
        std::vector<DrawRecord> records;
        for (int d = 1; d <= maxCount; ++d) {
            std::array<int, 9> numbers{1};
            for (int k = 1; k < 9; ++k)
                numbers[k] = 2 + (d * 8 + k) % 36;
            records.push_back(makeDraw(d, numbers));
        }
        const ResultGrid grid = buildAppearanceFrequency(DrawHistory(records));
        QCOMPARE(grid.columns(), maxCount + 2);
        int found = 0;
        for (int col = 1; col <= grid.columns(); ++col)
            if (grid.text(col, 1) == kTitle)
                found = col;
        QCOMPARE(found, titleColumn);
    }

    void frequencyNoCompleteDraw() {
        const ResultGrid none = buildAppearanceFrequency(allIncompleteHistory());
        QCOMPARE(none.columns(), 2);
        QVERIFY(none == buildAppearanceFrequency(DrawHistory()));
    }

    // Every row ends with exactly as many marks as the number's count, without holes.
    void frequencyRealRowsMatchCounts() {
        const DrawHistory history = realHistory();
        QVERIFY(!history.empty());
        const ResultGrid grid = buildAppearanceFrequency(history);
        const StartupAggregates &agg = history.aggregates();
        QCOMPARE(grid.columns(), agg.MaxAppearance + 2);
        for (int n = 1; n <= 37; ++n)
            for (int col = 2; col <= agg.MaxAppearance + 1; ++col)
                QCOMPARE(grid.text(col, n + 2) == kMark, col - 1 <= agg.AppearanceCount[n]);
        for (int k = 1; k <= agg.MaxAppearance; ++k)
            QCOMPARE(grid.text(k + 1, 2), QString::number(k));
    }

    void byCountCells_data() {
        addCellColumns();
        const QString g = QStringLiteral("groups"), s = QStringLiteral("small");

        QTest::newRow("heading 1") << g << 1 << 1 << "出 現|black|pink|center|LRTB";
        QTest::newRow("heading 2") << g << 2 << 1 << "数 字|black|pink|center|LRTB";
        // No number is undrawn here, so no 0回 row; counts 3 and 6 have no row either.
        QTest::newRow("lowest count first") << g << 1 << 2 << "1回|black|yellow|center|LRTB";
        QTest::newRow("numbers of count 1")
            << g << 2 << 2
            << "7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,37|blue|white|left|LRTB";
        QTest::newRow("count 2") << g << 2 << 3 << "5,6,30,31,32,33,34,35,36|blue|white|left|LRTB";
        QTest::newRow("gap at 3") << g << 1 << 4 << "4回|black|yellow|center|LRTB";
        QTest::newRow("count 5 ascending") << g << 2 << 5 << "1,3|blue|white|left|LRTB";
        QTest::newRow("last row is the highest count") << g << 1 << 6 << "7回|black|yellow|center|LRTB";
        QTest::newRow("highest count numbers") << g << 2 << 6 << "2|blue|white|left|LRTB";

        QTest::newRow("never drawn first") << s << 1 << 2 << "0回|black|yellow|center|LRTB";
        QTest::newRow("never drawn numbers")
            << s << 2 << 2 << "17,18,19,26,27,28,29,30,31,32,33,34,35,36,37|blue|white|left|LRTB";
        QTest::newRow("three times") << s << 2 << 5 << "1,2|blue|white|left|LRTB";

        QTest::newRow("no complete draw: every number at 0")
            << "incomplete" << 2 << 2
            << "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37|"
               "blue|white|left|LRTB";
        QTest::newRow("empty table: heading only") << "empty" << 2 << 1 << "数 字|black|pink|center|LRTB";
    }
    void byCountCells() { checkCell(buildNumbersByCount, histories()); }

    void byCountSizes_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("groups") << "groups" << 6;
        QTest::newRow("small") << "small" << 5;
        QTest::newRow("no complete draw") << "incomplete" << 2;
        QTest::newRow("empty table") << "empty" << 1;
    }
    void byCountSizes() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &grid = builtGrid(buildNumbersByCount, histories(), history);
        QCOMPARE(describeSheet(grid),
                 QStringLiteral("2x%1 visible 2x%1 frozen rows 1 columns 0 overflow parked").arg(rows));
        QCOMPARE(grid.columnWidths(), (std::vector<int>{5, 20}));
        QCOMPARE(grid.rowHeights(), std::vector<int>(rows, 10));
    }

    // Every number exactly once, counts ascending, the last row that of the highest count.
    void byCountRealHistory() {
        const DrawHistory history = realHistory();
        const ResultGrid grid = buildNumbersByCount(history);
        const StartupAggregates &agg = history.aggregates();
        QCOMPARE(grid.rows(), agg.CountGroupTotal);
        QStringList numbers;
        int previous = -1;
        for (int row = 2; row <= grid.rows(); ++row) {
            const int count = grid.text(1, row).chopped(1).toInt();
            QVERIFY(count > previous);
            previous = count;
            for (const QString &n : grid.text(2, row).split(QLatin1Char(','))) {
                QCOMPARE(agg.AppearanceCount[n.toInt()], count);
                numbers << n;
            }
        }
        QCOMPARE(previous, agg.MaxAppearance);
        QCOMPARE(numbers.size(), 37);
        numbers.removeDuplicates();
        QCOMPARE(numbers.size(), 37);
    }
};

QTEST_GUILESS_MAIN(TestFrequencyAnalyses)
#include "TestFrequencyAnalyses.moc"
