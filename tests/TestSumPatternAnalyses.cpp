#include "core/catalog/AnalysisCatalog.h"
#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

using B = std::optional<Rgb>;

namespace {
const QString kSum = QStringLiteral("数字合計分析");
const QString kLowHigh = QStringLiteral("低数字高数字の組合せパターン分析");
const QString kEvenOdd = QStringLiteral("偶数奇数の組合せパターン分析");

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0}, kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 200}, kPink{255, 200, 200}, kCyan{200, 255, 255};
constexpr Rgb kGreen{200, 255, 200}, kMagenta{255, 200, 255};
const B k = B(kBlack);

ResultGrid build(const QString &window, const DrawHistory &history) {
    const CatalogEntry *entry = AnalysisCatalog::find(window);
    return entry && entry->build ? entry->build(history) : ResultGrid();
}

DrawHistory oneDraw(const Numbers &numbers) {
    return makeHistory({{1, numbers}});
}

} // namespace

class TestSumPatternAnalyses : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<std::vector<int>>("widths");
        QTest::newRow("sum") << kSum << std::vector<int>{5, 5, 5, 5, 5, 5, 5, 5, 8, 6, 6, 10};
        QTest::newRow("low/high") << kLowHigh << std::vector<int>{6, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 7};
        QTest::newRow("even/odd") << kEvenOdd << std::vector<int>{6, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 7};
    }
    void layout() {
        QFETCH(QString, window);
        QFETCH(std::vector<int>, widths);
        // Draw 4 is the latest complete one; draw 6 has an empty field.
        const ResultGrid g = build(window, makeHistory({{2, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                                        {4, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                                        {6, {1, 2, 3, 4, 5, 6, 7, 8, 0}}}));
        QCOMPARE(describeSheet(g),
                 QStringLiteral("%1x5 visible %1x51 frozen rows 1 columns 0 overflow parked").arg(widths.size()));
        QCOMPARE(g.columnWidths(), widths);
        QCOMPARE(g.rowHeights(), (std::vector<int>{20, 10, 10, 10, 10}));
        // Thin black lines on every side of every cell outside the heading band.
        for (int row = 2; row <= g.rows(); ++row)
            for (int col = 1; col <= g.columns(); ++col)
                QCOMPARE(g.cell(col, row).borders(), (Sides{k, k, k, k}));
    }

    void header_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("expected");
        const QString band =
            QString(23, QLatin1Char(' ')) + QChar(0x3000) + QStringLiteral("本 数 字") + QString(30, QLatin1Char(' '));
        QTest::newRow("sum 1") << kSum << 1 << "回数|black|pink|center|LRTB";
        QTest::newRow("sum 2") << kSum << 2 << band + "|black|pink|left|LTB";
        QTest::newRow("sum 5") << kSum << 5 << "|black|pink|center|TB";
        QTest::newRow("sum 8") << kSum << 8 << "|black|pink|center|RTB";
        QTest::newRow("sum 9") << kSum << 9 << "本数字合計|black|pink|center|LRTB";
        QTest::newRow("sum 10") << kSum << 10 << "ボ数字1|black|pink|center|LRTB";
        QTest::newRow("sum 11") << kSum << 11 << "ボ数字2|black|pink|center|LRTB";
        QTest::newRow("sum 12") << kSum << 12 << "本数字+ボ数字|black|pink|center|LRTB";
        for (const QString &w : {kLowHigh, kEvenOdd}) {
            const bool lh = w == kLowHigh;
            const QByteArray tag = lh ? "low/high " : "even/odd ";
            QTest::newRow(tag + "1") << w << 1 << "回数|blue|pink|center|LRTB";
            QTest::newRow(tag + "2") << w << 2 << "|blue|pink|center|LTB";
            QTest::newRow(tag + "5") << w << 5 << "本 数 字|blue|pink|left|TB";
            QTest::newRow(tag + "8") << w << 8 << "|blue|pink|center|RTB";
            QTest::newRow(tag + "9") << w << 9 << "ボ数1|blue|pink|center|LRTB";
            QTest::newRow(tag + "10") << w << 10 << "ボ数2|blue|pink|center|LRTB";
            QTest::newRow(tag + "11") << w << 11 << QString(lh ? "低数字" : "偶数") + "|blue|pink|center|LRTB";
            QTest::newRow(tag + "12") << w << 12 << QString(lh ? "高数字" : "奇数") + "|blue|pink|center|LRTB";
            QTest::newRow(tag + "13") << w << 13 << "パターン|blue|pink|center|LRTB";
        }
    }
    void header() {
        QFETCH(QString, window);
        QFETCH(int, col);
        QFETCH(QString, expected);
        const ResultGrid g = build(window, oneDraw({1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QCOMPARE(describe(g.cell(col, 1)), expected);
    }

    // Colours of the data columns, on a filled row and on a row left over by a gap.
    void dataColumnColours_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("col");
        QTest::addColumn<Rgb>("fore");
        QTest::addColumn<Rgb>("back");
        QTest::newRow("sum draw number") << kSum << 1 << kRed << kYellow;
        QTest::newRow("sum main number") << kSum << 4 << kBlack << kWhite;
        QTest::newRow("sum main sum") << kSum << 9 << kBlue << kCyan;
        QTest::newRow("sum bonus 1") << kSum << 10 << kBlack << kWhite;
        QTest::newRow("sum bonus 2") << kSum << 11 << kBlack << kWhite;
        QTest::newRow("sum total") << kSum << 12 << kBlue << kCyan;
        for (const QString &w : {kLowHigh, kEvenOdd}) {
            const QByteArray tag = w == kLowHigh ? "low/high " : "even/odd ";
            QTest::newRow(tag + "draw number") << w << 1 << kRed << kYellow;
            QTest::newRow(tag + "bonus 1") << w << 9 << kBlack << kYellow;
            QTest::newRow(tag + "bonus 2") << w << 10 << kBlack << kYellow;
            QTest::newRow(tag + "first count") << w << 11 << kBlue << kCyan;
            QTest::newRow(tag + "second count") << w << 12 << kBlue << kWhite;
        }
    }
    void dataColumnColours() {
        QFETCH(QString, window);
        QFETCH(int, col);
        QFETCH(Rgb, fore);
        QFETCH(Rgb, back);
        // Bonus numbers low and even: they must not pick up a class colour.
        const ResultGrid g = build(
            window, makeHistory({{1, {19, 21, 23, 25, 27, 29, 31, 2, 4}}, {3, {19, 21, 23, 25, 27, 29, 31, 2, 4}}}));
        QCOMPARE(g.rows(), 4);
        for (int row : {2, 4}) {
            QCOMPARE(g.cell(col, row).fore, fore);
            QCOMPARE(g.cell(col, row).back, back);
        }
        QVERIFY(!g.text(col, 2).isEmpty());
        QVERIFY(g.text(col, 4).isEmpty());
    }

    void sums_data() {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("mainSum");
        QTest::addColumn<QString>("total");
        QTest::newRow("smallest") << Numbers{1, 2, 3, 4, 5, 6, 7, 8, 9} << "28"
                                  << "45";
        QTest::newRow("largest main") << Numbers{31, 32, 33, 34, 35, 36, 37, 29, 30} << "238"
                                      << "297";
        QTest::newRow("bonus only in total") << Numbers{1, 2, 3, 4, 5, 6, 7, 36, 37} << "28"
                                             << "101";
    }
    void sums() {
        QFETCH(Numbers, numbers);
        QFETCH(QString, mainSum);
        QFETCH(QString, total);
        const ResultGrid g = build(kSum, oneDraw(numbers));
        QStringList row;
        for (int col = 1; col <= 12; ++col)
            row << g.text(col, 2);
        QStringList expected{QStringLiteral("1")};
        for (int v : numbers)
            expected << QString::number(v);
        expected.insert(8, mainSum);
        expected << total;
        QCOMPARE(row, expected);
    }

    void patterns_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<Rgb>("back");
        // Low/high: the pattern index is the number of low main numbers.
        QTest::newRow("LH all low") << kLowHigh << Numbers{1, 2, 3, 4, 5, 6, 7, 20, 30} << "7"
                                    << "0"
                                    << "H" << kRed;
        QTest::newRow("LH all high, low bonus") << kLowHigh << Numbers{19, 20, 21, 22, 23, 24, 25, 1, 2} << "0"
                                                << "7"
                                                << "A" << kWhite;
        QTest::newRow("LH 18 is low") << kLowHigh << Numbers{18, 19, 20, 21, 22, 23, 24, 1, 2} << "1"
                                      << "6"
                                      << "B" << kCyan;
        QTest::newRow("LH two low") << kLowHigh << Numbers{1, 18, 19, 20, 21, 22, 37, 3, 4} << "2"
                                    << "5"
                                    << "C" << kGreen;
        QTest::newRow("LH three low") << kLowHigh << Numbers{1, 2, 18, 19, 30, 36, 37, 3, 4} << "3"
                                      << "4"
                                      << "D" << kYellow;
        QTest::newRow("LH four low") << kLowHigh << Numbers{7, 10, 12, 17, 23, 28, 34, 3, 15} << "4"
                                     << "3"
                                     << "E" << kWhite;
        QTest::newRow("LH five low") << kLowHigh << Numbers{1, 2, 3, 4, 5, 36, 37, 30, 31} << "5"
                                     << "2"
                                     << "F" << kMagenta;
        QTest::newRow("LH six low") << kLowHigh << Numbers{1, 2, 3, 4, 5, 6, 19, 30, 31} << "6"
                                    << "1"
                                    << "G" << kPink;
        // Even/odd: column 11 counts the even numbers, the pattern index is the odd count.
        QTest::newRow("EO all even, odd bonus") << kEvenOdd << Numbers{2, 4, 6, 8, 10, 12, 14, 1, 3} << "7"
                                                << "0"
                                                << "A" << kWhite;
        QTest::newRow("EO all odd, even bonus") << kEvenOdd << Numbers{1, 3, 5, 7, 9, 11, 13, 2, 4} << "0"
                                                << "7"
                                                << "H" << kRed;
        QTest::newRow("EO one odd") << kEvenOdd << Numbers{2, 4, 6, 8, 10, 12, 37, 1, 3} << "6"
                                    << "1"
                                    << "B" << kCyan;
        QTest::newRow("EO three even four odd") << kEvenOdd << Numbers{4, 21, 25, 28, 30, 35, 37, 12, 16} << "3"
                                                << "4"
                                                << "E" << kWhite;
        QTest::newRow("EO six odd") << kEvenOdd << Numbers{1, 3, 5, 7, 9, 11, 36, 2, 4} << "1"
                                    << "6"
                                    << "G" << kPink;
    }
    void patterns() {
        QFETCH(QString, window);
        QFETCH(Numbers, numbers);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, letter);
        QFETCH(Rgb, back);
        const ResultGrid g = build(window, oneDraw(numbers));
        QCOMPARE(g.text(11, 2), first);
        QCOMPARE(g.text(12, 2), second);
        QCOMPARE(g.text(13, 2), letter);
        QCOMPARE(g.cell(13, 2).back, back);
        QCOMPARE(g.cell(13, 2).fore, kBlack);
        QCOMPARE(g.text(9, 2), QString::number(numbers[7]));
        QCOMPARE(g.text(10, 2), QString::number(numbers[8]));
    }

    // A main number's cell is light cyan when it is in the counted class (low, or even).
    void mainNumberColours_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("classes"); // per main number: c = light cyan, w = white
        QTest::newRow("low/high boundary") << kLowHigh << Numbers{1, 17, 18, 19, 20, 36, 37, 2, 3} << "cccwwww";
        QTest::newRow("low/high mixed order") << kLowHigh << Numbers{20, 2, 33, 18, 5, 37, 19, 1, 4} << "wcwccww";
        QTest::newRow("even/odd") << kEvenOdd << Numbers{1, 2, 3, 4, 18, 19, 36, 6, 8} << "wcwccwc";
    }
    void mainNumberColours() {
        QFETCH(QString, window);
        QFETCH(Numbers, numbers);
        QFETCH(QString, classes);
        const ResultGrid g = build(window, oneDraw(numbers));
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(g.text(2 + i, 2), QString::number(numbers[i]));
            QCOMPARE(g.cell(2 + i, 2).back, classes[i] == QLatin1Char('c') ? kCyan : kWhite);
            QCOMPARE(g.cell(2 + i, 2).fore, kBlack);
        }
    }

    // Incomplete draws take no row, gaps in draw numbers leave rows over at the bottom.
    void rowsOfDraws_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<DrawHistory>("history");
        QTest::addColumn<QStringList>("drawColumn");
        const Numbers full{1, 2, 3, 4, 5, 6, 7, 8, 9};
        const Numbers noFirst{0, 2, 3, 4, 5, 6, 7, 8, 9};
        const Numbers noBonus2{1, 2, 3, 4, 5, 6, 7, 8, 0};
        for (const QString &w : {kSum, kLowHigh, kEvenOdd}) {
            const QByteArray tag = w == kSum ? "sum " : w == kLowHigh ? "low/high " : "even/odd ";
            QTest::newRow(tag + "empty") << w << DrawHistory() << QStringList{"回数"};
            QTest::newRow(tag + "no complete draw")
                << w << makeHistory({{1, noFirst}, {2, noBonus2}}) << QStringList{"回数"};
            QTest::newRow(tag + "first incomplete")
                << w << makeHistory({{1, noFirst}, {2, full}, {3, full}}) << QStringList{"回数", "2", "3", ""};
            QTest::newRow(tag + "middle incomplete")
                << w << makeHistory({{1, full}, {2, noBonus2}, {3, full}}) << QStringList{"回数", "1", "3", ""};
            QTest::newRow(tag + "last incomplete")
                << w << makeHistory({{1, full}, {2, full}, {3, noFirst}}) << QStringList{"回数", "1", "2"};
            QTest::newRow(tag + "gaps") << w << makeHistory({{2, full}, {5, full}, {6, full}})
                                        << QStringList{"回数", "2", "5", "6", "", "", ""};
        }
    }
    void rowsOfDraws() {
        QFETCH(QString, window);
        QFETCH(DrawHistory, history);
        QFETCH(QStringList, drawColumn);
        const ResultGrid g = build(window, history);
        QCOMPARE(columnTexts(g, 1), drawColumn);
        // A row is either filled throughout or left empty.
        for (int row = 2; row <= g.rows(); ++row)
            for (int col = 2; col <= g.columns(); ++col)
                QCOMPARE(g.text(col, row).isEmpty(), drawColumn[row - 1].isEmpty());
    }

    void realHistorySpotCheck_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts"); // draw number, then columns 9.. to the end
        QTest::newRow("sum first") << kSum << 2 << QStringList{"1", "131", "3", "15", "149"};
        QTest::newRow("sum 100th") << kSum << 101 << QStringList{"100", "126", "9", "14", "149"};
        QTest::newRow("sum last") << kSum << 689 << QStringList{"688", "180", "12", "16", "208"};
        QTest::newRow("low/high first") << kLowHigh << 2 << QStringList{"1", "3", "15", "4", "3", "E"};
        QTest::newRow("low/high last") << kLowHigh << 689 << QStringList{"688", "12", "16", "1", "6", "B"};
        QTest::newRow("even/odd first") << kEvenOdd << 2 << QStringList{"1", "3", "15", "4", "3", "D"};
        QTest::newRow("even/odd 100th") << kEvenOdd << 101 << QStringList{"100", "9", "14", "3", "4", "E"};
    }
    void realHistorySpotCheck() {
        QFETCH(QString, window);
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        static const DrawHistory history = realHistory();
        QCOMPARE(history.latestDrawNumber(), 688);
        const ResultGrid g = build(window, history);
        QCOMPARE(g.rows(), 689);
        QStringList actual{g.text(1, row)};
        for (int col = 9; col <= g.columns(); ++col)
            actual << g.text(col, row);
        QCOMPARE(actual, texts);
    }
};

QTEST_GUILESS_MAIN(TestSumPatternAnalyses)
#include "TestSumPatternAnalyses.moc"
