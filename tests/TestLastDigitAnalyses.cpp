#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QRandomGenerator>
#include <QtTest>

#include <map>
#include <vector>

Q_DECLARE_METATYPE(std::vector<DrawSpec>)

namespace {
const QString kBandText = QStringLiteral(
    "                                           下一桁数字                           　　　                  ");

enum Window { Trend, Runs };

ResultGrid build(int window, const DrawHistory &history) {
    return window == Trend ? buildLastDigitTrend(history) : buildLastDigitRuns(history);
}

// Numbers without the digits 3 and 7 and with a single 9, to fill draws around the ones a case is about.
constexpr std::array<int, 9> kFiller{1, 2, 4, 5, 6, 8, 9, 10, 11};

// The run marks as the window's own run scan defines them: per digit a text of five-digit draw
// numbers each followed by a space, read back item by item, pairs (item i, item i + 1) up to
// the last item.
std::map<std::pair<int, int>, int> textScanMarks(const DrawHistory &history) {
    std::array<QString, 11> lastDigitDraws;
    for (const DrawRecord &r : history.records()) {
        if (!r.isComplete())
            continue;
        for (int k = 1; k <= 9; ++k)
            lastDigitDraws[std::size_t(r.number(k) % 10)] +=
                QStringLiteral("%1 ").arg(r.drawNumber, 5, 10, QLatin1Char('0'));
    }
    std::map<std::pair<int, int>, int> marks; // (digit, draw) -> run count
    for (int d = 0; d <= 9; ++d) {
        const QString &items = lastDigitDraws[std::size_t(d)];
        int run = 0;
        for (int i = 1;; ++i) {
            const QString b = items.mid(6 * (i + 1) - 6, 5);
            if (b.isEmpty())
                break;
            const int a = items.mid(6 * i - 6, 5).toInt();
            if (b.toInt() > a + 1)
                run = 0;
            else
                marks[{d, b.toInt()}] = ++run;
        }
    }
    return marks;
}

Rgb runBand(int run) {
    const Rgb bands[] = {Palette::LightCyan, Palette::LightGreen, Palette::LightYellow, Palette::LightMagenta};
    return run >= 13 ? Palette::LightPink : bands[(run - 1) / 3];
}

DrawHistory randomHistory(quint32 seed, bool crowdLowDigits) {
    QRandomGenerator random(seed);
    std::vector<DrawRecord> records;
    for (int n = 1; n <= 400; ++n) {
        if (random.bounded(12) == 0)
            continue; // missing draw number
        std::array<int, 9> numbers{};
        std::vector<int> pool;
        for (int v = 1; v <= 37; ++v)
            pool.push_back(v);
        // Crowded: mostly numbers ending in 0, 1 or 2 (first in the pool), so the lists outgrow the scan.
        if (crowdLowDigits)
            std::stable_sort(pool.begin(), pool.end(), [](int x, int y) { return x % 10 < y % 10; });
        for (int &v : numbers) {
            const int pick = crowdLowDigits && random.bounded(3) > 0 ? random.bounded(std::min(8, int(pool.size())))
                                                                     : random.bounded(int(pool.size()));
            v = pool[std::size_t(pick)];
            pool.erase(pool.begin() + pick);
        }
        if (random.bounded(15) == 0)
            numbers[std::size_t(random.bounded(9))] = 0; // incomplete draw
        records.push_back(makeDraw(n, numbers));
    }
    return DrawHistory(std::move(records));
}
} // namespace

class TestLastDigitAnalyses : public QObject {
    Q_OBJECT
private slots:
    void sheet_data() {
        QTest::addColumn<int>("window");
        QTest::newRow("trend") << int(Trend);
        QTest::newRow("runs") << int(Runs);
    }
    void sheet() {
        QFETCH(int, window);
        const ResultGrid g = build(window, makeHistory({{2, kFiller}, {5, kFiller}, {6, {1, 2, 3, 4, 5, 6, 7, 8, 0}}}));
        QCOMPARE(describeSheet(g), QStringLiteral("11x9 visible 29x52 frozen rows 2 columns 0 overflow parked"));
        QCOMPARE(g.columnWidths(), std::vector<int>(11, 5));
        QCOMPARE(g.rowHeights(), (std::vector<int>{20, 10, 10, 10, 10, 10, 10, 10, 20}));
    }

    // Both windows draw the same header at the top and, digit row first, below the last draw
    // row; an empty history puts the bottom header directly under the top one.
    void headers_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<std::vector<DrawSpec>>("draws");
        QTest::addColumn<int>("bottomDigitRow");
        const std::vector<DrawSpec> gaps{
            {1, {1, 2, 3, 4, 5, 6, 7, 8, 0}}, {3, kFiller}, {6, kFiller}, {9, {0, 2, 3, 4, 5, 6, 7, 8, 9}}};
        QTest::newRow("trend, empty") << int(Trend) << std::vector<DrawSpec>{} << 3;
        QTest::newRow("runs, empty") << int(Runs) << std::vector<DrawSpec>{} << 3;
        QTest::newRow("trend, gaps and incomplete draws") << int(Trend) << gaps << 9;
        QTest::newRow("runs, gaps and incomplete draws") << int(Runs) << gaps << 9;
        QTest::newRow("runs, only incomplete draws")
            << int(Runs) << std::vector<DrawSpec>{{4, {1, 2, 3, 4, 5, 6, 7, 8, 0}}} << 3;
    }
    void headers() {
        QFETCH(int, window);
        QFETCH(std::vector<DrawSpec>, draws);
        QFETCH(int, bottomDigitRow);
        const ResultGrid g = build(window, makeHistory(draws));
        QCOMPARE(g.rows(), bottomDigitRow + 1);
        for (const auto &[titleRow, digitRow] : {std::pair{1, 2}, std::pair{bottomDigitRow + 1, bottomDigitRow}}) {
            QCOMPARE(g.rowHeight(titleRow), 20);
            QCOMPARE(g.rowHeight(digitRow), 10);
            const QString t = QString::number(titleRow) + QLatin1Char(':');
            const QString d = QString::number(digitRow) + QLatin1Char(':');
            compareCells(g, {"1," + t + "回数|red|yellow|center|LRTB", "2," + t + kBandText + "|blue|pink|left|LTB",
                             "3," + t + "|blue|pink|center|TB", "10," + t + "|blue|pink|center|TB",
                             "11," + t + "|blue|pink|center|RTB", "1," + d + "|red|yellow|center|LRTB"});
            for (int digit = 0; digit <= 9; ++digit)
                compareCells(g, {QStringLiteral("%1,%2%3|blue|pink|center|LRTB").arg(digit + 2).arg(d).arg(digit)});
        }
    }

    void trendRow_data() {
        QTest::addColumn<std::vector<int>>("numbers");
        QTest::addColumn<QStringList>("cells"); // digits 0..9: text and back colour
        QTest::newRow("3 13 23 33 5 15 7, bonus 10 20")
            << std::vector<int>{3, 13, 23, 33, 5, 15, 7, 10, 20}
            << QStringList{"00 cyan", " white", " white",  "3333 pink", " white",
                           "55 cyan", " white", "7 white", " white",    " white"};
        QTest::newRow("10 20 30 under 0, three of a digit")
            << std::vector<int>{10, 20, 30, 1, 11, 2, 12, 22, 32}
            << QStringList{"000 green", "11 cyan", "2222 pink", " white", " white",
                           " white",    " white",  " white",    " white", " white"};
    }
    void trendRow() {
        QFETCH(std::vector<int>, numbers);
        QFETCH(QStringList, cells);
        std::array<int, 9> fields{};
        std::copy(numbers.begin(), numbers.end(), fields.begin());
        const ResultGrid g = buildLastDigitTrend(makeHistory({{1, fields}}));
        QCOMPARE(describe(g.cell(1, 3)), QStringLiteral("1|red|yellow|center|LRTB"));
        for (int digit = 0; digit <= 9; ++digit) {
            const QStringList textAndBack = cells[digit].split(QLatin1Char(' '));
            QCOMPARE(describe(g.cell(digit + 2, 3)),
                     QStringLiteral("%1|black|%2|center|LRTB").arg(textAndBack[0], textAndBack[1]));
        }
    }

    // Incomplete draws (first, middle and last record) and missing draw numbers leave no row:
    // the rows close up and the rows above the bottom header stay empty.
    void trendSkipsDraws() {
        const ResultGrid g = buildLastDigitTrend(makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                                              {2, {3, 13, 23, 33, 5, 15, 7, 10, 20}},
                                                              {3, {0, 2, 3, 4, 5, 6, 7, 8, 9}},
                                                              {5, {1, 11, 21, 31, 2, 12, 22, 32, 3}},
                                                              {6, {1, 2, 3, 4, 5, 6, 7, 8, 0}}}));
        QCOMPARE(g.rows(), 5 + 4);
        compareCells(g,
                     {"1,3:2|red|yellow|center|LRTB", "5,3:3333|black|pink|center|LRTB", "1,4:5|red|yellow|center|LRTB",
                      "3,4:1111|black|pink|center|LRTB", "1,5:|red|yellow|center|LRTB", "3,5:|black|white|center|LRTB",
                      "1,7:|red|yellow|center|LRTB", "11,7:|black|white|center|LRTB", "2,8:0|blue|pink|center|LRTB"});
    }

    void trendRealHistory() {
        const DrawHistory history = realHistory();
        const ResultGrid g = buildLastDigitTrend(history);
        QCOMPARE(g.rows(), 692);
        // Draw 1: 7 10 12 17 23 28 34, bonus 3 15. Draw 688: 4 21 25 28 30 35 37, bonus 12 16.
        compareCells(g, {"1,3:1|red|yellow|center|LRTB", "9,3:77|black|cyan|center|LRTB",
                         "5,3:33|black|cyan|center|LRTB", "2,3:0|black|white|center|LRTB",
                         "7,690:55|black|cyan|center|LRTB", "1,690:688|red|yellow|center|LRTB",
                         "11,691:9|blue|pink|center|LRTB", "1,692:回数|red|yellow|center|LRTB"});
        for (int row = 3; row <= 690; ++row) {
            qsizetype total = 0;
            for (int col = 2; col <= 11; ++col)
                total += g.text(col, row).size();
            QCOMPARE(total, 9);
        }
    }

    void runMarks_data() {
        QTest::addColumn<std::vector<DrawSpec>>("draws");
        QTest::addColumn<QStringList>("cells");
        const QString none = QStringLiteral("|black|white|center|LRTB");
        const std::array<int, 9> seven{7, 1, 2, 4, 5, 6, 8, 9, 10};
        std::vector<DrawSpec> sevens;
        for (int n = 1; n <= 13; ++n)
            sevens.push_back({n, n >= 10 && n <= 12 ? seven : kFiller});
        QTest::newRow("7 in draws 10, 11, 12") << sevens
                                               << QStringList{"9,12:" + none, "9,13:1|black|cyan|center|LRTB",
                                                              "9,14:2|black|cyan|center|LRTB", "9,15:" + none};
        QTest::newRow("3 and 13 continue the run in the same draw")
            << std::vector<DrawSpec>{{1, kFiller}, {2, {3, 13, 1, 2, 4, 5, 6, 8, 9}}}
            << QStringList{"5,3:" + none, "5,4:1|black|cyan|center|LRTB"};
        QTest::newRow("3, 13 and 23") << std::vector<DrawSpec>{{1, kFiller}, {2, {3, 13, 23, 1, 2, 4, 5, 6, 8}}}
                                      << QStringList{"5,4:2|black|cyan|center|LRTB"};
        std::vector<DrawSpec> long9;
        for (int n = 1; n <= 15; ++n)
            long9.push_back({n, {1, 2, 3, 4, 5, 6, 7, 8, 9}});
        QTest::newRow("colour bands up to 14 repeats") << long9
                                                       << QStringList{"11,3:" + none,
                                                                      "11,4:1|black|cyan|center|LRTB",
                                                                      "11,6:3|black|cyan|center|LRTB",
                                                                      "11,7:4|black|green|center|LRTB",
                                                                      "11,9:6|black|green|center|LRTB",
                                                                      "11,10:7|black|yellow|center|LRTB",
                                                                      "11,12:9|black|yellow|center|LRTB",
                                                                      "11,13:10|black|magenta|center|LRTB",
                                                                      "11,15:12|black|magenta|center|LRTB",
                                                                      "11,16:13|black|pink|center|LRTB",
                                                                      "11,17:14|black|pink|center|LRTB"};
        QTest::newRow("a missing draw breaks the run")
            << std::vector<DrawSpec>{{1, kFiller}, {2, kFiller}, {4, kFiller}, {5, kFiller}}
            << QStringList{"11,4:1|black|cyan|center|LRTB", "11,5:" + none, "1,5:3|red|yellow|center|LRTB",
                           "11,6:" + none, "11,7:1|black|cyan|center|LRTB"};
        QTest::newRow("an incomplete draw breaks the run")
            << std::vector<DrawSpec>{{1, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                     {2, kFiller},
                                     {3, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                     {4, kFiller},
                                     {5, kFiller},
                                     {6, {1, 2, 3, 4, 5, 6, 7, 8, 0}}}
            << QStringList{"11,4:" + none, "11,6:" + none, "11,7:1|black|cyan|center|LRTB",
                           "1,3:1|red|yellow|center|LRTB", "1,8:|red|yellow|center|LRTB"};
        // Draws 1 and 2 each hold four numbers ending in 1: eight items, more than the latest
        // draw number, and every one of them takes part.
        QTest::newRow("more items than draws")
            << std::vector<DrawSpec>{{1, {1, 11, 21, 31, 2, 12, 22, 32, 3}}, {2, {1, 11, 21, 31, 2, 12, 22, 32, 3}}}
            << QStringList{"3,3:3|black|cyan|center|LRTB", "3,4:7|black|yellow|center|LRTB",
                           "5,4:1|black|cyan|center|LRTB"};
    }
    void runMarks() {
        QFETCH(std::vector<DrawSpec>, draws);
        QFETCH(QStringList, cells);
        compareCells(buildLastDigitRuns(makeHistory(draws)), cells);
    }

    void runsMatchTextScan_data() {
        QTest::addColumn<int>("source");    // 0 real history, otherwise a seed
        QTest::addColumn<bool>("outgrown"); // some digit has more items than there are draws
        QTest::newRow("real history") << 0 << true;
        QTest::newRow("random 1") << 1 << false;
        QTest::newRow("random 2, crowded digits") << 2 << true;
    }
    void runsMatchTextScan() {
        QFETCH(int, source);
        QFETCH(bool, outgrown);
        const DrawHistory history = source == 0 ? realHistory() : randomHistory(quint32(source), outgrown);
        const int latest = history.latestDrawNumber();
        QVERIFY(latest > 300);
        const ResultGrid g = buildLastDigitRuns(history);
        QCOMPARE(g.rows(), latest + 4);
        const auto marks = textScanMarks(history);
        QVERIFY(marks.size() > 100);
        for (int n = 1; n <= latest; ++n)
            for (int d = 0; d <= 9; ++d) {
                const auto mark = marks.find({d, n});
                const QString expected = mark == marks.end() ? QStringLiteral("|black|white|center|LRTB")
                                                             : QStringLiteral("%1|black|%2|center|LRTB")
                                                                   .arg(mark->second)
                                                                   .arg(colourName(runBand(mark->second)));
                QCOMPARE(describe(g.cell(d + 2, n + 2)), expected);
            }
        // The case where a digit has more items than there are draws is really reached.
        std::array<int, 10> items{};
        for (const DrawRecord &r : history.records())
            for (int k = 1; k <= 9 && r.isComplete(); ++k)
                ++items[std::size_t(r.number(k) % 10)];
        QCOMPARE(*std::max_element(items.begin(), items.end()) > latest + 1, outgrown);
    }

    void runsRealHistorySpotCheck() {
        const ResultGrid g = buildLastDigitRuns(realHistory());
        QCOMPARE(g.rows(), 692);
        // Draw 1: 7 10 12 17 23 28 34, bonus 3 15. Draw 2: 20 24 29 31 33 34 35, bonus 12 32.
        compareCells(g, {"2,4:1|black|cyan|center|LRTB", "4,4:2|black|cyan|center|LRTB", "5,3:1|black|cyan|center|LRTB",
                         "5,4:2|black|cyan|center|LRTB", "9,3:1|black|cyan|center|LRTB", "9,4:|black|white|center|LRTB",
                         "1,690:688|red|yellow|center|LRTB", "2,691:0|blue|pink|center|LRTB"});
        // Digit 4 has 699 items, more than the 688 draws; its latest runs are still marked.
        compareCells(g, {"6,677:3|black|cyan|center|LRTB", "6,680:1|black|cyan|center|LRTB",
                         "6,681:3|black|cyan|center|LRTB", "6,690:2|black|cyan|center|LRTB"});
    }
};

QTEST_GUILESS_MAIN(TestLastDigitAnalyses)
#include "TestLastDigitAnalyses.moc"
