#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

namespace {
const HistoryTable &histories() {
    static const HistoryTable list = {
        {QStringLiteral("one"), makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}})},
        // Draw 2 lacks ボーナス数字2 and draw 3 is missing: draw 4 takes row 3 (dot chart) or 3 (pairs).
        {QStringLiteral("incomplete and gap"), makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                                            {2, {2, 4, 6, 8, 10, 12, 14, 16, 0}},
                                                            {4, {2, 4, 6, 8, 10, 12, 14, 36, 37}}})},
        // Pairs are neighbours in stored order: 10/11 and 3/4 are not neighbours in draw 2.
        {QStringLiteral("pairs"),
         makeHistory({{1, {5, 6, 7, 10, 20, 22, 30, 1, 2}}, {2, {10, 3, 11, 4, 30, 31, 33, 1, 2}}})},
        {QStringLiteral("only incomplete"), makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 0}}})},
        {QStringLiteral("empty"), DrawHistory()},
    };
    return list;
}

const ResultGrid &spreadGrid(const QString &key) {
    return builtGrid(buildSpread, histories(), key);
}

const ResultGrid &pairsGrid(const QString &key) {
    return builtGrid(buildConsecutiveSkip, histories(), key);
}

void addBlankRowColumns() {
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("row");
}
} // namespace

class TestChartAnalyses : public QObject {
    Q_OBJECT
private slots:
    void spreadShape_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("one draw") << "one" << 4;
        QTest::newRow("gap") << "incomplete and gap" << 7;
        QTest::newRow("empty history") << "empty" << 3;
        QTest::newRow("real history") << "real" << 691;
    }
    void spreadShape() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &g = spreadGrid(history);
        QCOMPARE(describeSheet(g),
                 QStringLiteral("39x%1 visible 39x47 frozen rows 2 columns 1 overflow parked").arg(rows));
        std::vector<int> widths(39, 2);
        widths.front() = widths.back() = 5;
        QCOMPARE(g.columnWidths(), widths);
        std::vector<int> heights(rows, 10);
        heights[0] = heights[1] = 15;
        QCOMPARE(g.rowHeights(), heights);
    }

    void spreadCells_data() {
        addCellColumns();
        // Title band: one outlined block over the number columns, the title centred in column 19.
        QTest::newRow("title corner") << "one" << 1 << 1 << "|red|yellow|center|r";
        QTest::newRow("title start") << "one" << 2 << 1 << "|black|paleCyan|center|ltb";
        QTest::newRow("title text") << "one" << 19 << 1 << "数　　　　　　　字|blue|paleCyan|center|tb";
        QTest::newRow("title end") << "one" << 38 << 1 << "|black|paleCyan|center|rtb";
        QTest::newRow("title last column") << "one" << 39 << 1 << "|red|yellow|center|";
        QTest::newRow("header draw") << "one" << 1 << 2 << "回|red|yellow|center|lrtb";
        QTest::newRow("header 1") << "one" << 2 << 2 << "1|blue|paleCyan|center|lrtb";
        QTest::newRow("header 37") << "one" << 38 << 2 << "37|blue|paleCyan|center|lrtb";
        QTest::newRow("header last") << "one" << 39 << 2 << "回|red|yellow|center|lrtb";
        // Draw 1..7 with bonus numbers 8 and 9.
        QTest::newRow("draw number") << "one" << 1 << 3 << "1|red|yellow|center|lrtb";
        QTest::newRow("main dot first") << "one" << 2 << 3 << "●|main|white|center|lrtb";
        QTest::newRow("main dot last") << "one" << 8 << 3 << "●|main|white|center|lrtb";
        QTest::newRow("bonus 1 dot") << "one" << 9 << 3 << "●|bonus1|white|center|lrtb";
        QTest::newRow("bonus 2 dot") << "one" << 10 << 3 << "●|bonus2|white|center|lrtb";
        QTest::newRow("no dot") << "one" << 11 << 3 << "|black|white|center|lrtb";
        QTest::newRow("draw number again") << "one" << 39 << 3 << "1|red|yellow|center|lrtb";
        QTest::newRow("bottom header") << "one" << 20 << 4 << "19|blue|paleCyan|center|lrtb";
        QTest::newRow("bottom header draw") << "one" << 39 << 4 << "回|red|yellow|center|lrtb";
        // Complete draws follow each other; the bottom header stays in the last row.
        QTest::newRow("after skipped draw") << "incomplete and gap" << 1 << 4 << "4|red|yellow|center|lrtb";
        QTest::newRow("after skip bonus 2") << "incomplete and gap" << 38 << 4 << "●|bonus2|white|center|lrtb";
        QTest::newRow("skipped draw leaves no dot") << "incomplete and gap" << 17 << 4 << "|black|white|center|lrtb";
        QTest::newRow("gap bottom header") << "incomplete and gap" << 2 << 7 << "1|blue|paleCyan|center|lrtb";
        // No draw: row 2 stays empty, the header goes to row 3.
        QTest::newRow("empty title") << "empty" << 19 << 1 << "数　　　　　　　字|blue|paleCyan|center|tb";
        QTest::newRow("empty row 2") << "empty" << 2 << 2 << "|black|white|center|lrtb";
        QTest::newRow("empty row 2 draw column") << "empty" << 1 << 2 << "|red|yellow|center|lrtb";
        QTest::newRow("empty bottom header") << "empty" << 2 << 3 << "1|blue|paleCyan|center|lrtb";
        QTest::newRow("only incomplete header") << "only incomplete" << 39 << 3 << "回|red|yellow|center|lrtb";
        // Draw 688 of the real history: 4 21 25 28 30 35 37, bonus numbers 12 and 16.
        QTest::newRow("real 688 draw") << "real" << 1 << 690 << "688|red|yellow|center|lrtb";
        QTest::newRow("real 688 main 4") << "real" << 5 << 690 << "●|main|white|center|lrtb";
        QTest::newRow("real 688 main 37") << "real" << 38 << 690 << "●|main|white|center|lrtb";
        QTest::newRow("real 688 bonus 12") << "real" << 13 << 690 << "●|bonus1|white|center|lrtb";
        QTest::newRow("real 688 bonus 16") << "real" << 17 << 690 << "●|bonus2|white|center|lrtb";
        QTest::newRow("real 688 none") << "real" << 6 << 690 << "|black|white|center|lrtb";
    }
    void spreadCells() { checkCell(buildSpread, histories()); }

    void spreadBlankRows_data() {
        addBlankRowColumns();
        QTest::newRow("gap, leftover row") << "incomplete and gap" << 5;
        QTest::newRow("gap, last reserved row") << "incomplete and gap" << 6;
        QTest::newRow("empty history, row 2") << "empty" << 2;
        QTest::newRow("only incomplete, row 2") << "only incomplete" << 2;
    }
    void spreadBlankRows() {
        QFETCH(QString, history);
        QFETCH(int, row);
        QCOMPARE(rowTexts(spreadGrid(history), row), QString(38, QLatin1Char(',')));
    }

    void spreadDotsPerRow() {
        // Every complete draw of the real history puts down nine dots.
        const ResultGrid &g = spreadGrid(QStringLiteral("real"));
        for (int row = 3; row <= 690; ++row)
            QCOMPARE(rowTexts(g, row).count(QStringLiteral("●")), 9);
    }

    void consecutiveShape_data() {
        QTest::addColumn<QString>("history");
        QTest::addColumn<int>("rows");
        QTest::newRow("two draws") << "pairs" << 3;
        QTest::newRow("empty history") << "empty" << 1;
        QTest::newRow("real history") << "real" << 689;
    }
    void consecutiveShape() {
        QFETCH(QString, history);
        QFETCH(int, rows);
        const ResultGrid &g = pairsGrid(history);
        QCOMPARE(describeSheet(g),
                 QStringLiteral("16x%1 visible 16x51 frozen rows 1 columns 0 overflow parked").arg(rows));
        QCOMPARE(g.columnWidths(), std::vector<int>(16, 4));
        QCOMPARE(g.rowHeights(), std::vector<int>(rows, 10));
    }

    void consecutiveCells_data() {
        addCellColumns();
        QTest::newRow("heading draw") << "one" << 1 << 1 << "回数|red|yellow|center|LRTB";
        QTest::newRow("heading left start") << "one" << 2 << 1 << "|black|magenta|center|LTB";
        QTest::newRow("heading left text") << "one" << 4 << 1 << "　連番(本数字)|black|magenta|left|TB";
        QTest::newRow("heading left end") << "one" << 8 << 1 << "|black|magenta|center|RTB";
        QTest::newRow("heading draw again") << "one" << 9 << 1 << "回数|red|yellow|center|LRTB";
        QTest::newRow("heading right start") << "one" << 10 << 1 << "|black|pink|center|LTB";
        QTest::newRow("heading right text") << "one" << 12 << 1 << "　飛び石(本数字)|black|pink|left|TB";
        QTest::newRow("heading right end") << "one" << 16 << 1 << "|black|pink|center|RTB";
        // 1..7: every neighbour pair consecutive, none two apart.
        QTest::newRow("run, draw number") << "one" << 1 << 2 << "1|red|yellow|center|LRTB";
        QTest::newRow("run, first") << "one" << 2 << 2 << "1|black|cyan|center|LRTB";
        QTest::newRow("run, last") << "one" << 8 << 2 << "7|black|cyan|center|LRTB";
        QTest::newRow("run, no skip pair") << "one" << 9 << 2 << "1|red|grey225|center|LRTB";
        QTest::newRow("run, right block plain") << "one" << 10 << 2 << "1|black|white|center|LRTB";
        QTest::newRow("run, right block last") << "one" << 16 << 2 << "7|black|white|center|LRTB";
        // 2, 4, .., 14 (draw 4, right after the skipped draw 2): all skip pairs, no consecutive one.
        QTest::newRow("steps, no consecutive pair") << "incomplete and gap" << 1 << 3 << "4|red|grey225|center|LRTB";
        QTest::newRow("steps, left plain") << "incomplete and gap" << 5 << 3 << "8|black|white|center|LRTB";
        QTest::newRow("steps, draw number") << "incomplete and gap" << 9 << 3 << "4|red|yellow|center|LRTB";
        QTest::newRow("steps, first") << "incomplete and gap" << 10 << 3 << "2|black|green|center|LRTB";
        QTest::newRow("steps, last") << "incomplete and gap" << 16 << 3 << "14|black|green|center|LRTB";
        QTest::newRow("leftover row") << "incomplete and gap" << 9 << 4 << "|red|yellow|center|LRTB";
        // 5 6 7 10 20 22 30: a run of three, then one skip pair.
        QTest::newRow("mixed run start") << "pairs" << 2 << 2 << "5|black|cyan|center|LRTB";
        QTest::newRow("mixed run end") << "pairs" << 4 << 2 << "7|black|cyan|center|LRTB";
        QTest::newRow("mixed after run") << "pairs" << 5 << 2 << "10|black|white|center|LRTB";
        QTest::newRow("mixed consecutive found") << "pairs" << 1 << 2 << "1|red|yellow|center|LRTB";
        QTest::newRow("mixed skip start") << "pairs" << 14 << 2 << "20|black|green|center|LRTB";
        QTest::newRow("mixed skip end") << "pairs" << 15 << 2 << "22|black|green|center|LRTB";
        QTest::newRow("mixed run not a skip") << "pairs" << 10 << 2 << "5|black|white|center|LRTB";
        QTest::newRow("mixed 5 7 not neighbours") << "pairs" << 12 << 2 << "7|black|white|center|LRTB";
        // 10 3 11 4 30 31 33: only neighbours in stored order count.
        QTest::newRow("stored order 10") << "pairs" << 2 << 3 << "10|black|white|center|LRTB";
        QTest::newRow("stored order 11") << "pairs" << 4 << 3 << "11|black|white|center|LRTB";
        QTest::newRow("stored order 30") << "pairs" << 6 << 3 << "30|black|cyan|center|LRTB";
        QTest::newRow("stored order 31") << "pairs" << 7 << 3 << "31|black|cyan|center|LRTB";
        QTest::newRow("stored order 31 skip") << "pairs" << 15 << 3 << "31|black|green|center|LRTB";
        QTest::newRow("stored order 33 skip") << "pairs" << 16 << 3 << "33|black|green|center|LRTB";
        QTest::newRow("stored order 30 no skip") << "pairs" << 14 << 3 << "30|black|white|center|LRTB";
        QTest::newRow("empty heading") << "empty" << 12 << 1 << "　飛び石(本数字)|black|pink|left|TB";
        // Real history: draw 4 is one long chain of consecutive pairs; draw 688 has two skip pairs.
        QTest::newRow("real 4 all cyan") << "real" << 5 << 5 << "23|black|cyan|center|LRTB";
        QTest::newRow("real 4 no skip") << "real" << 9 << 5 << "4|red|grey225|center|LRTB";
        QTest::newRow("real 688 no consecutive") << "real" << 1 << 689 << "688|red|grey225|center|LRTB";
        QTest::newRow("real 688 skip 28") << "real" << 13 << 689 << "28|black|green|center|LRTB";
        QTest::newRow("real 688 skip 37") << "real" << 16 << 689 << "37|black|green|center|LRTB";
        QTest::newRow("real 688 plain 21") << "real" << 11 << 689 << "21|black|white|center|LRTB";
    }
    void consecutiveCells() { checkCell(buildConsecutiveSkip, histories()); }

    void consecutiveBlankRows_data() {
        addBlankRowColumns();
        QTest::newRow("gap, leftover rows") << "incomplete and gap" << 4;
        QTest::newRow("gap, last row") << "incomplete and gap" << 5;
    }
    void consecutiveBlankRows() {
        QFETCH(QString, history);
        QFETCH(int, row);
        QCOMPARE(rowTexts(pairsGrid(history), row), QString(15, QLatin1Char(',')));
    }
};

QTEST_GUILESS_MAIN(TestChartAnalyses)
#include "TestChartAnalyses.moc"
