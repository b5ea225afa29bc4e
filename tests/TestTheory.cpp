// What chance predicts for a draw, and the tests that set a history against it: the exact laws
// against a walk through every possible draw and figures computed separately, the observed
// counts against a plain count, and histories built to pass and to fail.
#include "core/theory/ChanceLaws.h"
#include "core/theory/FitTests.h"
#include "core/theory/PairAnalysis.h"
#include "core/theory/TheoryComparison.h"
#include "core/theory/TheoryGrids.h"
#include "support/Files.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

namespace {
using Counts = std::vector<int>;

// Every set of seven out of 1..37, with what each table counts of it.
struct Walk {
    std::array<quint64, 239> sum{};
    std::array<quint64, 8> odd{}, low{};
    std::array<quint64, 7> neighbours{};
    void visit(int next, int left, int s, int o, int l, int adjacent, int previous) {
        if (left == 0) {
            ++sum[s], ++odd[o], ++low[l], ++neighbours[adjacent];
            return;
        }
        for (int n = next; n <= 38 - left; ++n)
            visit(n + 1, left - 1, s + n, o + n % 2, l + (n <= 18), adjacent + (n == previous + 1), n);
    }
};

// Nine distinct numbers, fair; with always1 number 1 is the first of them.
DrawHistory randomHistory(quint32 seed, int draws, bool always1) {
    QRandomGenerator rng(seed);
    std::vector<DrawRecord> records;
    for (int d = 1; d <= draws; ++d) {
        std::vector<int> pool;
        for (int n = always1 ? 2 : 1; n <= 37; ++n)
            pool.push_back(n);
        std::array<int, 9> numbers{};
        int k = 0;
        if (always1)
            numbers[k++] = 1;
        while (k < 9) {
            const auto i = qsizetype(rng.bounded(quint32(pool.size())));
            numbers[k++] = pool[std::size_t(i)];
            pool.erase(pool.begin() + i);
        }
        records.push_back(makeDraw(d, numbers));
    }
    return DrawHistory(std::move(records));
}

// 37 draws of seven numbers in turn round the wheel: every number exactly seven times.
DrawHistory evenHistory() {
    std::vector<DrawRecord> records;
    for (int d = 0; d < 37; ++d) {
        std::array<int, 9> numbers{};
        for (int k = 0; k < 9; ++k)
            numbers[std::size_t(k)] = (7 * d + k) % 37 + 1;
        records.push_back(makeDraw(d + 1, numbers));
    }
    return DrawHistory(std::move(records));
}

// The tables' observed counts from the records, counted the plain way.
std::map<QString, Counts> plainCounts(const DrawHistory &h, int from, int to) {
    std::vector<std::set<int>> mains;
    for (const DrawRecord &r : h.records())
        if (r.drawNumber >= from && r.drawNumber <= to && r.isComplete())
            mains.push_back(
                {r.number(1), r.number(2), r.number(3), r.number(4), r.number(5), r.number(6), r.number(7)});
    std::map<QString, Counts> c{
        {"合計", Counts(22)},      {"奇数の個数", Counts(8)},         {"低数字の個数", Counts(8)},
        {"連番の組数", Counts(7)}, {"前回からの引っ張り", Counts(8)}, {"出現間隔", Counts(30)},
        {"出現回数", Counts(37)}};
    std::map<int, int> lastSeen;
    for (std::size_t i = 0; i < mains.size(); ++i) {
        int sum = 0, odd = 0, low = 0, neighbours = 0, repeats = 0;
        for (const int n : mains[i]) {
            sum += n, odd += n % 2, low += n <= 18, neighbours += mains[i].count(n + 1) > 0;
            repeats += i > 0 && mains[i - 1].count(n) > 0;
            ++c["出現回数"][std::size_t(n - 1)];
            if (lastSeen.count(n))
                ++c["出現間隔"][std::size_t(std::min(int(i) - lastSeen[n], 30) - 1)];
            lastSeen[n] = int(i);
        }
        ++c["合計"][std::size_t(sum / 10 - 2)], ++c["奇数の個数"][std::size_t(odd)];
        ++c["低数字の個数"][std::size_t(low)], ++c["連番の組数"][std::size_t(neighbours)];
        if (i > 0)
            ++c["前回からの引っ張り"][std::size_t(repeats)];
    }
    return c;
}

const TheoryTable &tableNamed(const TheoryReport &r, const QString &name) {
    const auto t = std::find_if(r.tables.begin(), r.tables.end(), [&](const TheoryTable &x) { return x.name == name; });
    if (t == r.tables.end())
        qFatal("no table %s", qPrintable(name));
    return *t;
}
} // namespace

class TestTheory : public QObject {
    Q_OBJECT

private slots:
    // All C(37,7) draws walked one by one against the counted laws.
    void lawsAgainstEveryDraw() {
        Walk w;
        w.visit(1, 7, 0, 0, 0, 0, -1);
        QCOMPARE(ChanceLaws::drawCount(), quint64(10295472));
        QCOMPARE(std::accumulate(w.sum.begin(), w.sum.end(), quint64(0)), quint64(10295472));
        const ChanceLaws::SumCounts &sums = ChanceLaws::sumCounts();
        quint64 first = 0, second = 0;
        for (int s = 0; s <= 238; ++s) {
            QCOMPARE(sums[std::size_t(s)], w.sum[std::size_t(s)]);
            first += sums[std::size_t(s)] * quint64(s);
            second += sums[std::size_t(s)] * quint64((s - 133) * (s - 133));
        }
        QCOMPARE(first, 133 * quint64(10295472));
        QCOMPARE(second, 665 * quint64(10295472));
        for (int k = 0; k <= 7; ++k) {
            QCOMPARE(ChanceLaws::oddCount(k), w.odd[std::size_t(k)]);
            QCOMPARE(ChanceLaws::lowCount(k), w.low[std::size_t(k)]);
        }
        for (int j = 0; j <= 6; ++j)
            QCOMPARE(ChanceLaws::neighbourCount(j), w.neighbours[std::size_t(j)]);
    }

    // C(7,j)·C(30,7−j) and the rest, computed separately.
    void otherLaws() {
        const std::array<quint64, 8> repeats{2035800, 4156425, 2992626, 959175, 142100, 9135, 210, 1};
        for (int j = 0; j <= 7; ++j)
            QCOMPARE(ChanceLaws::repeatCount(j), repeats[std::size_t(j)]);
        QCOMPARE(ChanceLaws::gapProbability(1), 0.18918918918918919);
        QCOMPARE(ChanceLaws::gapProbability(10), 0.028653131426852984);
        QCOMPARE(ChanceLaws::gapProbability(30), 0.0022838437539544755);
        QCOMPARE(688 * ChanceLaws::pairProbability(), 21.693693693693694);
        QCOMPARE(688 * ChanceLaws::tripleProbability(), 3.0990990990990991);
    }

    void upperGamma_data() {
        QTest::addColumn<int>("df");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("tail");
        // P(χ² ≥ x), from a separate multiple-precision calculation.
        QTest::newRow("1, 95%") << 1 << 3.841458820694124 << 0.050000000000000057;
        QTest::newRow("1, near 0") << 1 << 0.001 << 0.97477287936996039;
        QTest::newRow("2, far") << 2 << 100.0 << 1.9287498479639178e-22;
        QTest::newRow("7, mean") << 7 << 7.0 << 0.42887985755305472;
        QTest::newRow("7, tail") << 7 << 30.0 << 9.4959725081341838e-5;
        QTest::newRow("17") << 17 << 12.3 << 0.78164048697078479;
        QTest::newRow("36, 95%") << 36 << 50.99846 << 0.050000001599694806;
        QTest::newRow("36, far") << 36 << 200.0 << 1.2570844105839759e-24;
        QTest::newRow("44, x = a + 1 boundary") << 44 << 44.0 << 0.47164197846382396;
        QTest::newRow("100, below") << 100 << 50.0 << 0.99999304669475238;
    }
    void upperGamma() {
        QFETCH(int, df);
        QFETCH(double, x);
        QFETCH(double, tail);
        const double got = FitTests::chiSquareUpperTail(x, df);
        QVERIFY2(std::abs(got - tail) <= 1e-11 * tail, qPrintable(QString::number(got, 'g', 17)));
    }

    void mergedBins_data() {
        QTest::addColumn<std::vector<double>>("expected");
        QTest::addColumn<std::vector<int>>("bins");
        QTest::newRow("none small") << std::vector<double>{6, 5, 9} << std::vector<int>{0, 1, 2};
        QTest::newRow("both tails") << std::vector<double>{1, 2, 3, 10, 1, 1} << std::vector<int>{0, 0, 0, 1, 1, 1};
        QTest::newRow("small inside") << std::vector<double>{5, 0.5, 5} << std::vector<int>{0, 1, 1};
        QTest::newRow("too little") << std::vector<double>{1, 1} << std::vector<int>{0, 0};
    }
    void mergedBins() {
        QFETCH(std::vector<double>, expected);
        QFETCH(std::vector<int>, bins);
        QCOMPARE(FitTests::mergedBins(expected), bins);
    }

    void fits() {
        // (10−20)²/20 + 0 + (30−20)²/20 = 10 on 2 degrees of freedom: p = e^−5.
        const FitTests::Fit fit = FitTests::goodnessOfFit({10, 20, 30}, {20, 20, 20});
        QCOMPARE(*fit.statistic, 10.0);
        QCOMPARE(fit.df, 2);
        QCOMPARE(*fit.p, 0.006737946999085467);
        QVERIFY(!FitTests::goodnessOfFit({1, 2}, {1.5, 1.5}).p);
        // Binomial(4, 1/2): twice 1/16, twice 5/16, then at most 1.
        const std::vector<double> half = FitTests::binomialTwoSided(4, 0.5);
        const std::vector<double> byHand{0.125, 0.625, 1, 0.625, 0.125};
        QCOMPARE(half.size(), byHand.size());
        for (std::size_t k = 0; k < half.size(); ++k)
            QCOMPARE(half[k], byHand[k]);
        const std::vector<double> pair = FitTests::binomialTwoSided(688, 7.0 / 222);
        for (const auto &[k, p] : {std::pair{0, 5.3437237114930343e-10},
                                   {10, 0.0075899126962605762},
                                   {21, 0.99361346696983399},
                                   {40, 0.00042386727750322347},
                                   {60, 7.0307677317178778e-12}})
            QVERIFY2(std::abs(pair[std::size_t(k)] - p) <= 1e-10 * p, qPrintable(QString::number(k)));
    }

    void observedCounts_data() {
        QTest::addColumn<DrawHistory>("history");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("skipped");
        QTest::newRow("real") << realHistory() << 1 << 32767 << 0;
        QTest::newRow("real 101..250") << realHistory() << 101 << 250 << 0;
        // Draw 3 lacks its second bonus number: skipped, and draw 4 repeats from draw 2.
        QTest::newRow("gap") << makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                             {2, {31, 32, 33, 34, 35, 36, 37, 1, 2}},
                                             {3, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                             {4, {1, 9, 33, 34, 20, 21, 22, 5, 6}}})
                             << 1 << 4 << 1;
    }
    void observedCounts() {
        QFETCH(DrawHistory, history);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, skipped);
        const TheoryReport report = TheoryComparison::compare(history, {from, to});
        const std::map<QString, Counts> plain = plainCounts(history, from, to);
        QCOMPARE(report.skipped, skipped);
        QCOMPARE(report.tables.size(), plain.size());
        for (const TheoryTable &t : report.tables) {
            QVERIFY2(t.observed == plain.at(t.name), qPrintable(t.name));
            QCOMPARE(t.categories.size(), qsizetype(t.observed.size()));
        }
        QCOMPARE(report.draws, std::accumulate(plain.at("奇数の個数").begin(), plain.at("奇数の個数").end(), 0));
    }

    // The shipped history at 688 draws, every table worked through separately (bins merged the
    // same way, p from a multiple-precision incomplete gamma).
    void realTests_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("category");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("statistic");
        QTest::addColumn<int>("df");
        QTest::addColumn<double>("p");
        QTest::newRow("sum") << "合計" << 11 << 103.27278632781479 << 12.892523200260045 << 12 << 0.37690076202014886;
        QTest::newRow("odd") << "奇数の個数" << 3 << 198.1469445985575 << 4.8935089962909251 << 5
                             << 0.42901438447732217;
        QTest::newRow("low") << "低数字の個数" << 3 << 211.356740905128 << 6.7065805616889507 << 5
                             << 0.24339267780900596;
        QTest::newRow("neighbours") << "連番の組数" << 1 << 295.2140482728718 << 2.3804617857270467 << 3
                                    << 0.49728201770485926;
        QTest::newRow("repeats") << "前回からの引っ張り" << 0 << 135.84560280480584 << 2.3554479899322012 << 4
                                 << 0.67069304710148678;
        QTest::newRow("gaps") << "出現間隔" << 29 << 10.914489300148439 << 18.697751856788492 << 27
                              << 0.88075117564144129;
        QTest::newRow("frequency") << "出現回数" << 0 << 130.16216216216216 << 34.821428571428571 << 36
                                   << 0.52454196588597685;
    }
    void realTests() {
        QFETCH(QString, table);
        QFETCH(int, category);
        QFETCH(double, expected);
        QFETCH(double, statistic);
        QFETCH(int, df);
        QFETCH(double, p);
        static const TheoryReport report = TheoryComparison::compare(realHistory());
        const TheoryTable &t = tableNamed(report, table);
        QCOMPARE(t.expected[std::size_t(category)], expected);
        QCOMPARE(*t.statistic, statistic);
        QCOMPARE(t.df, df);
        QCOMPARE(*t.p, p);
        QCOMPARE(*t.pHolm, 1.0);
    }

    void chanceOrNot_data() {
        QTest::addColumn<DrawHistory>("history");
        QTest::addColumn<QStringList>("significant");
        QTest::newRow("fair") << randomHistory(20240611, 1500, false) << QStringList{};
        QTest::newRow("1 always") << randomHistory(7, 300, true) << QStringList{"出現間隔", "出現回数"};
    }
    void chanceOrNot() {
        QFETCH(DrawHistory, history);
        QFETCH(QStringList, significant);
        const TheoryReport report = TheoryComparison::compare(history);
        for (const TheoryTable &t : report.tables) {
            QVERIFY2(t.pHolm, qPrintable(t.name));
            if (significant.contains(t.name))
                QVERIFY2(*t.pHolm < 1e-6, qPrintable(t.name));
            else if (significant.isEmpty())
                QVERIFY2(*t.pHolm > 0.05, qPrintable(t.name));
        }
        const PairReport pairs = PairAnalysis::analyse(history);
        const bool pairsFlagged = std::any_of(pairs.pairs.begin(), pairs.pairs.end(),
                                              [](const NumberCombination &c) { return c.pHolm < 0.05; });
        QCOMPARE(pairsFlagged, !significant.isEmpty());
    }

    void evenFrequencies() {
        const TheoryTable t = tableNamed(TheoryComparison::compare(evenHistory()), "出現回数");
        QCOMPARE(t.observed, Counts(37, 7));
        QCOMPARE(*t.statistic, 0.0);
        QCOMPARE(t.df, 36);
        QCOMPARE(*t.p, 1.0);
    }

    // Every pair and some triples of the real history, counted draw by draw.
    void pairCounts() {
        const DrawHistory history = realHistory();
        const PairReport report = PairAnalysis::analyse(history, {101, 600});
        QCOMPARE(report.pairs.size(), std::size_t(666));
        QCOMPARE(report.triples.size(), std::size_t(7770));
        const auto count = [&](std::initializer_list<int> wanted) {
            int c = 0;
            for (const DrawRecord &r : history.records()) {
                const auto main = r.numbers.begin(), end = main + 7;
                c += r.drawNumber >= 101 && r.drawNumber <= 600 &&
                     std::all_of(wanted.begin(), wanted.end(), [&](int n) { return std::find(main, end, n) != end; });
            }
            return c;
        };
        for (const NumberCombination &p : report.pairs) {
            QCOMPARE(p.observed, count({p.numbers[0], p.numbers[1]}));
            QCOMPARE(report.together[std::size_t(p.numbers[1])][std::size_t(p.numbers[0])], p.observed);
        }
        for (std::size_t i = 0; i < report.triples.size(); i += 97) {
            const NumberCombination &t = report.triples[i];
            QCOMPARE(t.observed, count({t.numbers[0], t.numbers[1], t.numbers[2]}));
        }
        QCOMPARE(report.triples.back().numbers, (std::array<int, 3>{35, 36, 37}));
        QCOMPARE(report.pairExpected, 500 * 42.0 / 1332);
        const std::vector<NumberCombination> most = PairAnalysis::mostFrequent(report.pairs, 3);
        QVERIFY(most[0].observed >= most[1].observed && most[1].observed >= most[2].observed);
        QCOMPARE(most[0].observed, std::max_element(report.pairs.begin(), report.pairs.end(), [](auto &a, auto &b) {
                                       return a.observed < b.observed;
                                   })->observed);
    }

    // What the windows show: merged bins marked, significance in red, the matrix coloured by side.
    void grids() {
        const ResultGrid sums = TheoryGrids::tableGrid(tableNamed(TheoryComparison::compare(realHistory()), "合計"));
        // 20-29 .. 70-79 expect 12.36 together: one bin, the first.
        QCOMPARE(columnTexts(sums, 5).mid(0, 8), (QStringList{"検定の区分", "1", "1", "1", "1", "1", "1", "2"}));
        QCOMPARE(sums.cell(5, 2).back, Palette::Grey225);
        QCOMPARE(sums.cell(5, 8).back, Palette::White);
        QCOMPARE(rowTexts(sums, 13), "130-139,113,103.27,+9.73,7");

        const DrawHistory lopsided = randomHistory(7, 300, true);
        const ResultGrid summary = TheoryGrids::summaryGrid(TheoryComparison::compare(lopsided));
        QCOMPARE(summary.text(1, 8), "出現回数");
        QCOMPARE(summary.text(6, 8), "<0.0001");
        QCOMPARE(summary.cell(6, 8).fore, Palette::Red);
        const PairReport pairs = PairAnalysis::analyse(lopsided);
        const ResultGrid matrix = TheoryGrids::pairMatrixGrid(pairs);
        QCOMPARE(matrix.text(3, 2), QString::number(pairs.together[1][2]));
        QCOMPARE(matrix.cell(3, 2).back, TheoryGrids::divergingColour(99));
        QCOMPARE(TheoryGrids::divergingColour(99), Rgb(255, 80, 80));
        QCOMPARE(TheoryGrids::divergingColour(0), Palette::White);
        QCOMPARE(TheoryGrids::divergingColour(-3), Rgb(80, 80, 255));
        QCOMPARE(TheoryGrids::extremesGrid(pairs).text(1, 2), "多いペア");
    }

    void commandLine() {
        QTemporaryDir dir;
        const QString db = dir.filePath("t.mdb"), csv = dir.filePath("draws.csv");
        QVERIFY(writeFile(csv,
                          "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n"
                          "1,1,2,3,4,5,6,7,8,9\n2,10,11,12,13,14,15,16,1,2\n3,1,2,3,4,20,21,22,5,\n"
                          "5,1,2,3,4,5,6,8,7,30\n"));
        QCOMPARE(runCli({"import", csv, "--db", db}).status, 0);
        const CliRun run = runCli({"theory", "--db", db, "--to", "4"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith("{\"draws\": 2, \"skipped\": 1,\n \"tables\": [{\"name\": \"合計\", "
                                   "\"categories\": [\"20-29\", \"30-39\", "));
        QVERIFY(QRegularExpression("\\{\"name\": [^{]*\"categories\": [^{]*\"observed\": [^{]*\"expected\": [^{]*"
                                   "\"statistic\": null, \"df\": 0, \"p\": null, \"pHolm\": null\\}")
                    .match(QString::fromUtf8(run.out))
                    .hasMatch());
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QStringList names;
        for (const QJsonValue t : o["tables"].toArray())
            names << t["name"].toString();
        QCOMPARE(names, (QStringList{"合計", "奇数の個数", "低数字の個数", "連番の組数", "前回からの引っ張り",
                                     "出現間隔", "出現回数"}));
        const QJsonArray sums = o["tables"][0]["categories"].toArray();
        QCOMPARE(sums.size(), 22);
        QCOMPARE(sums.last().toString(), "230-239");
        QCOMPARE(o["tables"][5]["categories"].toArray().last().toString(), "30以上");
        const QJsonArray pairs = o["pairs"].toArray();
        QCOMPARE(pairs.size(), 666);
        QCOMPARE(pairs[0].toArray(), (QJsonArray{1, 2, 1, 0.063063})); // 2 × 42/1332
        QCOMPARE(pairs[665].toArray(), (QJsonArray{36, 37, 0, 0.063063}));

        const CliRun bad = runCli({"theory", "--db", db, "--from", "9", "--to", "4"});
        QCOMPARE(bad.status, 2);
        QVERIFY(bad.out.isEmpty());
        QVERIFY(bad.err.contains("--from"));
    }
};

QTEST_GUILESS_MAIN(TestTheory)
#include "TestTheory.moc"
