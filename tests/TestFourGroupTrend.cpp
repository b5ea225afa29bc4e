#include "core/catalog/AnalysisCatalog.h"
#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

using B = std::optional<Rgb>;

namespace {
constexpr Rgb kRed{255, 0, 0}, kBlack{0, 0, 0}, kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 200}, kCyan{200, 255, 255}, kGreen{200, 255, 200};
const B k = B(kBlack);
const B r = B(kRed);

// Colour of a number cell by group digit '1'..'4'.
Rgb groupColour(QChar group) {
    switch (group.unicode()) {
    case '1':
        return kWhite;
    case '2':
        return kCyan;
    case '3':
        return kGreen;
    default:
        return kYellow;
    }
}

const Numbers kFull{1, 5, 12, 19, 20, 30, 37, 9, 29};
} // namespace

class TestFourGroupTrend : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        const ResultGrid g =
            buildFourGroupTrend(makeHistory({{1, kFull}, {3, kFull}, {4, {1, 2, 3, 4, 5, 6, 7, 8, 0}}}));
        QCOMPARE(describeSheet(g), QStringLiteral("14x5 visible 14x51 frozen rows 1 columns 0 overflow parked"));
        QCOMPARE(g.columnWidths(), (std::vector<int>{6, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
        QCOMPARE(g.rowHeights(), (std::vector<int>{20, 10, 10, 10, 20}));
    }

    // Both heading rows, at the top and in the grid's last row, look the same.
    void headers_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1") << 1 << "回数|black|pink|center|LRTB";
        QTest::newRow("2") << 2 << "|black|pink|center|B";
        QTest::newRow("5") << 5 << "本 数 字|black|pink|left|B";
        QTest::newRow("8") << 8 << "|black|pink|center|B";
        QTest::newRow("9") << 9 << "ボ数1|black|pink|center|LRTB";
        QTest::newRow("10") << 10 << "ボ数2|black|pink|center|LRTB";
        QTest::newRow("11") << 11 << "01～09|blue|violet|center|L(red)RTB";
        QTest::newRow("12") << 12 << "10～19|blue|violet|center|LRTB";
        QTest::newRow("13") << 13 << "20～29|blue|violet|center|LRTB";
        QTest::newRow("14") << 14 << "30～37|blue|violet|center|LRTB";
    }
    void headers() {
        QFETCH(int, col);
        QFETCH(QString, expected);
        const DrawHistory histories[] = {DrawHistory(), makeHistory({{2, kFull}, {5, kFull}})};
        for (const DrawHistory &h : histories) {
            const ResultGrid g = buildFourGroupTrend(h);
            QCOMPARE(g.rows(), h.latestDrawNumber() + 2);
            for (int row : {1, g.rows()})
                QCOMPARE(describe(g.cell(col, row)), expected);
        }
    }

    // Groups by tens over all nine numbers; the counts always add up to nine.
    void groups_data() {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("groups"); // group of each of the nine fields
        QTest::addColumn<QStringList>("counts");
        QTest::newRow("mixed") << kFull << "112234413" << QStringList{"3", "2", "2", "2"};
        QTest::newRow("boundaries 9 10 19 20 29 30")
            << Numbers{9, 10, 19, 20, 29, 30, 37, 1, 36} << "122334414" << QStringList{"2", "2", "2", "3"};
        QTest::newRow("bonus numbers counted")
            << Numbers{30, 31, 32, 33, 34, 35, 36, 1, 2} << "444444411" << QStringList{"2", "0", "0", "7"};
        QTest::newRow("all in one group")
            << Numbers{10, 11, 12, 13, 14, 15, 16, 17, 18} << "222222222" << QStringList{"0", "9", "0", "0"};
    }
    void groups() {
        QFETCH(Numbers, numbers);
        QFETCH(QString, groups);
        QFETCH(QStringList, counts);
        const ResultGrid g = buildFourGroupTrend(makeHistory({{1, numbers}}));
        QCOMPARE(g.text(1, 2), QStringLiteral("1"));
        for (int i = 0; i < 9; ++i) {
            const GridCell &c = g.cell(2 + i, 2);
            QCOMPARE(c.text, QString::number(numbers[i]));
            QCOMPARE(c.back, groupColour(groups[i]));
            QCOMPARE(c.fore, kBlack);
        }
        QCOMPARE(QStringList({g.text(11, 2), g.text(12, 2), g.text(13, 2), g.text(14, 2)}), counts);
    }

    // Column colours and borders of the data rows, filled or left over.
    void dataColumns_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<Rgb>("fore");
        QTest::addColumn<Rgb>("leftOverBack");
        QTest::addColumn<Sides>("borders");
        const Sides all{k, k, k, k};
        QTest::newRow("draw number") << 1 << kRed << kYellow << all;
        QTest::newRow("main number") << 4 << kBlack << kWhite << all;
        QTest::newRow("bonus 1") << 9 << kBlack << kYellow << all;
        QTest::newRow("bonus 2") << 10 << kBlack << kYellow << all;
        QTest::newRow("group 1 count") << 11 << kBlack << kWhite << Sides{r, k, k, k};
        QTest::newRow("group 2 count") << 12 << kBlack << kCyan << all;
        QTest::newRow("group 3 count") << 13 << kBlack << kGreen << all;
        QTest::newRow("group 4 count") << 14 << kBlack << kYellow << all;
    }
    void dataColumns() {
        QFETCH(int, col);
        QFETCH(Rgb, fore);
        QFETCH(Rgb, leftOverBack);
        QFETCH(Sides, borders);
        // Draw 2 is incomplete, so draw 3 takes row 3 and row 4 is left over above the bottom heading.
        const ResultGrid g = buildFourGroupTrend(makeHistory(
            {{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, {2, {0, 2, 3, 4, 5, 6, 7, 8, 9}}, {3, {1, 2, 3, 4, 5, 6, 7, 8, 9}}}));
        QCOMPARE(g.rows(), 5);
        for (int row : {2, 3, 4}) {
            QCOMPARE(g.cell(col, row).fore, fore);
            QCOMPARE(g.cell(col, row).borders(), borders);
        }
        QCOMPARE(g.text(col, 4), QString());
        QCOMPARE(g.cell(col, 4).back, leftOverBack);
        if (col == 1 || col >= 11)
            QCOMPARE(g.cell(col, 2).back, leftOverBack);
    }

    // The bottom heading stays in row LatestDrawNumber + 2, below rows left over by skipped draws.
    void rowsOfDraws_data() {
        QTest::addColumn<DrawHistory>("history");
        QTest::addColumn<QStringList>("drawColumn");
        const Numbers noFirst{0, 2, 3, 4, 5, 6, 7, 8, 9};
        const Numbers noBonus2{1, 2, 3, 4, 5, 6, 7, 8, 0};
        QTest::newRow("empty") << DrawHistory() << QStringList{"回数", "回数"};
        QTest::newRow("no complete draw") << makeHistory({{1, noFirst}, {2, noBonus2}}) << QStringList{"回数", "回数"};
        QTest::newRow("first incomplete")
            << makeHistory({{1, noFirst}, {2, kFull}, {3, kFull}}) << QStringList{"回数", "2", "3", "", "回数"};
        QTest::newRow("middle incomplete")
            << makeHistory({{1, kFull}, {2, noBonus2}, {3, kFull}}) << QStringList{"回数", "1", "3", "", "回数"};
        QTest::newRow("last incomplete") << makeHistory({{1, kFull}, {2, kFull}, {3, noFirst}})
                                         << QStringList{"回数", "1", "2", "回数"};
        QTest::newRow("gaps") << makeHistory({{3, kFull}, {4, kFull}, {7, kFull}})
                              << QStringList{"回数", "3", "4", "7", "", "", "", "", "回数"};
    }
    void rowsOfDraws() {
        QFETCH(DrawHistory, history);
        QFETCH(QStringList, drawColumn);
        const ResultGrid g = buildFourGroupTrend(history);
        QCOMPARE(columnTexts(g, 1), drawColumn);
        QCOMPARE(g.rowHeight(g.rows()), 20);
        for (int row = 2; row < g.rows(); ++row)
            for (int col = 2; col <= g.columns(); ++col)
                QCOMPARE(g.text(col, row).isEmpty(), drawColumn[row - 1].isEmpty());
    }

    void realHistorySpotCheck_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts"); // draw number, bonus numbers and the four counts
        QTest::newRow("first") << 2 << QStringList{"1", "3", "15", "2", "4", "2", "1"};
        QTest::newRow("100th") << 101 << QStringList{"100", "9", "14", "3", "3", "1", "2"};
        QTest::newRow("last") << 689 << QStringList{"688", "12", "16", "1", "2", "3", "3"};
    }
    void realHistorySpotCheck() {
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        static const ResultGrid g = buildFourGroupTrend(realHistory());
        QCOMPARE(g.rows(), 690);
        QCOMPARE(g.text(1, 690), QStringLiteral("回数"));
        QStringList actual;
        for (int col : {1, 9, 10, 11, 12, 13, 14})
            actual << g.text(col, row);
        QCOMPARE(actual, texts);
    }
};

QTEST_GUILESS_MAIN(TestFourGroupTrend)
#include "TestFourGroupTrend.moc"
