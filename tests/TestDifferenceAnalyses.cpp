#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

namespace {
// 数字間隔分析 histories.
const HistoryTable &intervalHistories() {
    static const HistoryTable histories = {
        // Draw 2: 第1数字 3 after 15, 第3数字 repeated, both bonus numbers compared position by position.
        {QStringLiteral("two"),
         makeHistory({{1, {15, 8, 10, 20, 25, 30, 35, 1, 2}}, {2, {3, 9, 10, 21, 26, 31, 36, 5, 2}}})},
        {QStringLiteral("incomplete middle"), makeHistory({{1, {15, 8, 10, 20, 25, 30, 35, 1, 2}},
                                                           {2, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                                           {3, {16, 8, 9, 20, 26, 30, 34, 3, 1}}})},
        {QStringLiteral("first incomplete"),
         makeHistory({{1, {0, 2, 3, 4, 5, 6, 7, 8, 9}}, {2, {3, 9, 10, 21, 26, 31, 36, 5, 2}}})},
        // 回数 3 and 4 are missing; the last record is incomplete and lies beyond the last complete draw.
        {QStringLiteral("gap"), makeHistory({{1, {15, 8, 10, 20, 25, 30, 35, 1, 2}},
                                             {2, {3, 9, 10, 21, 26, 31, 36, 5, 2}},
                                             {5, {4, 9, 11, 21, 26, 31, 36, 5, 3}},
                                             {6, {1, 2, 3, 4, 5, 6, 7, 0, 9}}})},
        {QStringLiteral("empty"), DrawHistory()},
    };
    return histories;
}

const HistoryTable &carryHistories() {
    static const HistoryTable histories = {
        {QStringLiteral("example"),
         makeHistory({{1, {3, 8, 12, 19, 25, 30, 36, 5, 22}}, {2, {1, 8, 14, 22, 27, 31, 35, 3, 17}}})},
        // Draw 2 is skipped; draw 3 is compared with draw 1. Its bonus number 2 was draw 1's 第7数字.
        {QStringLiteral("incomplete middle"), makeHistory({{1, {3, 8, 12, 19, 25, 30, 36, 5, 22}},
                                                           {2, {1, 2, 4, 6, 9, 10, 11, 0, 13}},
                                                           {3, {1, 2, 4, 6, 9, 10, 11, 13, 36}}})},
        {QStringLiteral("empty"), DrawHistory()},
    };
    return histories;
}

const ResultGrid &intervalGrid(const QString &key) {
    return builtGrid(buildNumberInterval, intervalHistories(), key);
}

const ResultGrid &carryGrid(const QString &key) {
    return builtGrid(buildCarryOver, carryHistories(), key);
}
} // namespace

class TestDifferenceAnalyses : public QObject {
    Q_OBJECT
private slots:
    void numberIntervalShape_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("two draws") << "two" << 6;
        QTest::newRow("gap in draw numbers") << "gap" << 9;
        QTest::newRow("empty history") << "empty" << 4;
        QTest::newRow("real history") << "real" << 692;
    }
    void numberIntervalShape() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &g = intervalGrid(history);
        QCOMPARE(describeSheet(g),
                 QStringLiteral("19x%1 visible 19x52 frozen rows 2 columns 0 overflow parked").arg(rows));
        QCOMPARE(g.columnWidths(), std::vector<int>(19, 5));
        std::vector<int> heights(rows, 10);
        heights[0] = 15;
        heights[1] = 12;
        QCOMPARE(g.rowHeights(), heights);
    }

    void numberIntervalCells_data() {
        addCellColumns();
        // Top header: band row 1, column names in row 2.
        QTest::newRow("band corner") << "two" << 1 << 1 << "|red|yellow|center|LRTB";
        QTest::newRow("band main start") << "two" << 2 << 1 << "|black|pink|center|";
        QTest::newRow("band main text") << "two" << 8 << 1 << "本 数 字|black|pink|left|";
        QTest::newRow("band joint") << "two" << 15 << 1 << "|black|pink|center|L";
        QTest::newRow("band bonus text") << "two" << 16 << 1 << "　　　ボーナス数字|black|pink|left|";
        QTest::newRow("band end") << "two" << 19 << 1 << "|black|pink|center|R";
        QTest::newRow("name draw") << "two" << 1 << 2 << "回数|red|yellow|center|LRTB";
        QTest::newRow("name first") << "two" << 2 << 2 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("name difference") << "two" << 3 << 2 << "差分|black|pink|center|LRTB";
        QTest::newRow("name seventh") << "two" << 14 << 2 << "第7数字|black|pink|center|LRTB";
        QTest::newRow("name bonus 1") << "two" << 16 << 2 << "ボ数字1|black|pink|center|LRTB";
        QTest::newRow("name bonus 2") << "two" << 18 << 2 << "ボ数字2|black|pink|center|LRTB";
        QTest::newRow("name last") << "two" << 19 << 2 << "差分|black|pink|center|LRTB";
        // The first record's row has numbers but no differences.
        QTest::newRow("first draw number") << "two" << 1 << 3 << "1|red|yellow|center|LRTB";
        QTest::newRow("first main on band") << "two" << 2 << 3 << "15|black|cyan|center|LRTB";
        QTest::newRow("first no difference") << "two" << 3 << 3 << "|black|white|center|LRTB";
        QTest::newRow("first bonus 1") << "two" << 16 << 3 << "1|black|white|center|LRTB";
        QTest::newRow("first bonus 2 no diff") << "two" << 19 << 3 << "|black|white|center|LRTB";
        QTest::newRow("negative") << "two" << 3 << 4 << "-12|black|magenta|center|LRTB";
        QTest::newRow("positive") << "two" << 5 << 4 << "+1|black|white|center|LRTB";
        QTest::newRow("same number") << "two" << 7 << 4 << "0|black|white|center|LRTB";
        QTest::newRow("bonus 1 by position") << "two" << 17 << 4 << "+4|black|white|center|LRTB";
        QTest::newRow("bonus 2 by position") << "two" << 19 << 4 << "0|black|white|center|LRTB";
        // Bottom header mirrored: column names in row G + 3, band row G + 4 over the cyan bands.
        QTest::newRow("bottom names") << "two" << 2 << 5 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("bottom names draw") << "two" << 1 << 5 << "回数|red|yellow|center|LRTB";
        QTest::newRow("bottom band over band column") << "two" << 2 << 6 << "|black|pink|center|";
        QTest::newRow("bottom band text") << "two" << 8 << 6 << "本 数 字|black|pink|left|";
        QTest::newRow("bottom band bonus") << "two" << 16 << 6 << "　　　ボーナス数字|black|pink|left|";
        QTest::newRow("bottom band end") << "two" << 19 << 6 << "|black|pink|center|R";
        // An incomplete record keeps its empty row; the next draw is compared with the last complete one.
        QTest::newRow("incomplete row stays empty") << "incomplete middle" << 2 << 4 << "|black|cyan|center|LRTB";
        QTest::newRow("after incomplete") << "incomplete middle" << 3 << 5 << "+1|black|white|center|LRTB";
        QTest::newRow("after incomplete negative") << "incomplete middle" << 7 << 5 << "-1|black|magenta|center|LRTB";
        QTest::newRow("after incomplete bonus") << "incomplete middle" << 19 << 5 << "-1|black|magenta|center|LRTB";
        // The first record incomplete: the first complete draw is compared with zeros.
        QTest::newRow("first incomplete row") << "first incomplete" << 1 << 3 << "|red|yellow|center|LRTB";
        QTest::newRow("compared with zeros") << "first incomplete" << 3 << 4 << "+3|black|white|center|LRTB";
        QTest::newRow("compared with zeros bonus") << "first incomplete" << 19 << 4 << "+2|black|white|center|LRTB";
        // Gaps: rows follow the records, not the draw numbers.
        QTest::newRow("gap third record") << "gap" << 1 << 5 << "5|red|yellow|center|LRTB";
        QTest::newRow("gap difference") << "gap" << 3 << 5 << "+1|black|white|center|LRTB";
        QTest::newRow("gap bottom names") << "gap" << 1 << 8 << "回数|red|yellow|center|LRTB";
        QTest::newRow("gap bottom band") << "gap" << 8 << 9 << "本 数 字|black|pink|left|";
        QTest::newRow("empty top names") << "empty" << 2 << 2 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("empty bottom names") << "empty" << 2 << 3 << "第1数字|black|pink|center|LRTB";
        QTest::newRow("empty bottom band") << "empty" << 16 << 4 << "　　　ボーナス数字|black|pink|left|";
        // Draw 688 against 687 of the real history.
        QTest::newRow("real 688 first") << "real" << 3 << 690 << "-11|black|magenta|center|LRTB";
        QTest::newRow("real 688 third") << "real" << 7 << 690 << "+2|black|white|center|LRTB";
        QTest::newRow("real 688 bonus 1") << "real" << 17 << 690 << "-23|black|magenta|center|LRTB";
        QTest::newRow("real 2 seventh") << "real" << 15 << 4 << "+1|black|white|center|LRTB";
        QTest::newRow("real bottom names") << "real" << 1 << 691 << "回数|red|yellow|center|LRTB";
    }
    void numberIntervalCells() { checkCell(buildNumberInterval, intervalHistories()); }

    void numberIntervalBlankRows_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("row");
        QTest::newRow("incomplete middle") << "incomplete middle" << 4;
        QTest::newRow("first incomplete") << "first incomplete" << 3;
        QTest::newRow("gap, rows no record reaches") << "gap" << 6;
        QTest::newRow("gap, last reserved row") << "gap" << 7;
    }
    void numberIntervalBlankRows() {
        QFETCH(QString, history);
        QFETCH(int, row);
        QCOMPARE(rowTexts(intervalGrid(history), row), QString(18, QLatin1Char(',')));
    }

    void carryOverShape_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("two draws") << "example" << 3;
        QTest::newRow("empty history") << "empty" << 1;
        QTest::newRow("real history") << "real" << 689;
    }
    void carryOverShape() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &g = carryGrid(history);
        QCOMPARE(describeSheet(g),
                 QStringLiteral("10x%1 visible 10x51 frozen rows 1 columns 1 overflow parked").arg(rows));
        QCOMPARE(g.columnWidths(), (std::vector<int>{7, 7, 7, 7, 7, 7, 7, 7, 10, 10}));
        std::vector<int> heights(rows, 10);
        heights[0] = 15;
        QCOMPARE(g.rowHeights(), heights);
    }

    void carryOverCells_data() {
        addCellColumns();
        QTest::newRow("heading draw") << "example" << 1 << 1 << "回数|black|pink|center|lrtb";
        QTest::newRow("heading main start") << "example" << 2 << 1 << "|black|pink|center|B";
        QTest::newRow("heading main text") << "example" << 5 << 1 << " 本 数 字|black|pink|left|B";
        QTest::newRow("heading main end") << "example" << 8 << 1 << "|black|pink|center|B";
        QTest::newRow("heading bonus 1") << "example" << 9 << 1 << "ボーナス数字1|black|pink|center|lrtb";
        QTest::newRow("heading bonus 2") << "example" << 10 << 1 << "ボーナス数字2|black|pink|center|lrtb";
        // The first draw has nothing to carry over.
        QTest::newRow("first draw number") << "example" << 1 << 2 << "1|red|yellow|center|lrtb";
        QTest::newRow("first no highlight") << "example" << 3 << 2 << "8|black|white|center|lrtb";
        QTest::newRow("first bonus no highlight") << "example" << 10 << 2 << "22|black|white|center|lrtb";
        // The worked example: 8 (same position), 22 (a bonus number before), 3 (now a bonus number).
        QTest::newRow("plain number") << "example" << 2 << 3 << "1|black|white|center|lrtb";
        QTest::newRow("same position") << "example" << 3 << 3 << "8|black|cyan|center|lrtb";
        QTest::newRow("not drawn before") << "example" << 4 << 3 << "14|black|white|center|lrtb";
        QTest::newRow("previous bonus") << "example" << 5 << 3 << "22|black|cyan|center|lrtb";
        QTest::newRow("bonus 1 was a main number") << "example" << 9 << 3 << "3|black|cyan|center|lrtb";
        QTest::newRow("bonus 2 new") << "example" << 10 << 3 << "17|black|white|center|lrtb";
        // The incomplete draw gets no row; draw 3 follows draw 1 directly and is compared with it.
        QTest::newRow("skipped draw") << "incomplete middle" << 1 << 3 << "3|red|yellow|center|lrtb";
        QTest::newRow("compared across skip") << "incomplete middle" << 2 << 3 << "1|black|white|center|lrtb";
        QTest::newRow("bonus 2 carried") << "incomplete middle" << 10 << 3 << "36|black|cyan|center|lrtb";
        QTest::newRow("leftover row") << "incomplete middle" << 1 << 4 << "|red|yellow|center|lrtb";
        QTest::newRow("leftover row number") << "incomplete middle" << 2 << 4 << "|black|white|center|lrtb";
        QTest::newRow("empty heading") << "empty" << 5 << 1 << " 本 数 字|black|pink|left|B";
        // Draw 2 against draw 1, and 688 against 687, of the real history.
        QTest::newRow("real 2 main") << "real" << 7 << 3 << "34|black|cyan|center|lrtb";
        QTest::newRow("real 2 bonus") << "real" << 9 << 3 << "12|black|cyan|center|lrtb";
        QTest::newRow("real 2 plain") << "real" << 8 << 3 << "35|black|white|center|lrtb";
        QTest::newRow("real 688 draw") << "real" << 1 << 689 << "688|red|yellow|center|lrtb";
        QTest::newRow("real 688 25") << "real" << 4 << 689 << "25|black|cyan|center|lrtb";
        QTest::newRow("real 688 37") << "real" << 8 << 689 << "37|black|cyan|center|lrtb";
        QTest::newRow("real 688 bonus 12") << "real" << 9 << 689 << "12|black|white|center|lrtb";
    }
    void carryOverCells() { checkCell(buildCarryOver, carryHistories()); }
};

QTEST_GUILESS_MAIN(TestDifferenceAnalyses)
#include "TestDifferenceAnalyses.moc"
