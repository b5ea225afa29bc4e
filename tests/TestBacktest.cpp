#include "backtest/Backtest.h"
#include "backtest/BacktestExport.h"
#include "check/PrizeTier.h"
#include "prediction/PredictionEngine.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <bit>
#include <numeric>
#include <random>

namespace {
using DrawRules::NumberMask;

// Ascending draw numbers with gaps, incomplete draws every so often, fair random numbers.
std::vector<DrawRecord> randomDraws(quint32 seed, int count, bool gaps = true) {
    QRandomGenerator rng(seed);
    std::mt19937 shuffler(seed);
    std::vector<DrawRecord> records;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        n += gaps && rng.bounded(8) == 0 ? 2 + int(rng.bounded(3)) : 1;
        std::array<int, 37> pool;
        std::iota(pool.begin(), pool.end(), 1);
        std::shuffle(pool.begin(), pool.end(), shuffler);
        std::array<int, 9> numbers{};
        std::copy_n(pool.begin(), 9, numbers.begin());
        if (gaps && rng.bounded(15) == 0)
            numbers[std::size_t(rng.bounded(9))] = 0;
        records.push_back(makeDraw(n, numbers));
    }
    return records;
}

NumberMask gridNumbers(const ResultGrid &grid, int firstRow, int lastRow) {
    NumberMask mask = 0;
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = 2; c <= grid.columns(); ++c)
            if (!grid.text(c, r).isEmpty())
                mask |= DrawRules::maskOf(grid.text(c, r).toInt());
    return mask;
}

// What the prediction window shows when the history ends just before draw t.
Backtest::Sets windowSets(const std::vector<DrawRecord> &records, int t, const int wanted) {
    int offset = wanted;
    std::vector<DrawRecord> cut;
    std::copy_if(records.begin(), records.end(), std::back_inserter(cut),
                 [t](const DrawRecord &d) { return d.drawNumber < t; });
    PredictionEngine engine;
    for (int i = 11; i >= 0; --i)
        if (offset >= PredictionEngine::kReflectWeights[std::size_t(i)] && i != 0) {
            // Options are chosen greedily; weight 1 (index 0) fills any remainder.
            engine.setReflectFlag(i, true);
            offset -= PredictionEngine::kReflectWeights[std::size_t(i)];
        }
    engine.setReflectFlag(0, offset == 1);
    if (engine.reflectOffset() != wanted)
        qFatal("no options give ReflectOffset %d", wanted);
    engine.layOutGrids();
    engine.runCycleMethod(DrawHistory(std::move(cut)));
    Backtest::Sets sets{};
    for (int r = 0; r < 4; ++r)
        sets[std::size_t(r)] = gridNumbers(engine.grid(0), r + 2, r + 2);
    sets[Backtest::Elimination] = gridNumbers(engine.grid(1), 2, 4);
    sets[Backtest::Repeated] = gridNumbers(engine.grid(2), 2, 3);
    sets[Backtest::OneShot] = gridNumbers(engine.grid(3), 2, 2);
    return sets;
}

// Five patterns of seven numbers without a number in common, one after another: with
// ReflectOffset 3 the one-shot prediction takes the numbers of the draw five back, which are
// exactly the numbers drawn.
DrawHistory periodicHistory(int draws) {
    std::vector<DrawRecord> records;
    for (int n = 1; n <= draws; ++n) {
        std::array<int, 9> numbers{};
        for (int k = 0; k < 7; ++k)
            numbers[std::size_t(k)] = 7 * (n % 5) + k + 1;
        numbers[7] = 36;
        numbers[8] = 37;
        records.push_back(makeDraw(n, numbers));
    }
    return DrawHistory(std::move(records));
}
} // namespace

class TestBacktest : public QObject {
    Q_OBJECT
private slots:
    void everyOptionSumIsReachable() {
        QCOMPARE(int(Backtest::reachableOffsets().size()), 93);
        QCOMPARE(Backtest::reachableOffsets().back(), 92);
    }

    // Each tested draw is predicted as the window predicts on the history cut just before it.
    void predictionsEqualTheWindowOnTheCutHistory_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("offset");
        QTest::newRow("no options") << 1u << 0;
        QTest::newRow("offset 3") << 2u << 3;
        QTest::newRow("offset 16") << 3u << 16;
        QTest::newRow("every option") << 4u << 92;
    }
    void predictionsEqualTheWindowOnTheCutHistory() {
        QFETCH(quint32, seed);
        QFETCH(int, offset);
        const std::vector<DrawRecord> records = randomDraws(seed, 160);
        const std::vector<Backtest::DrawOutcome> outcomes =
            Backtest::predictions(DrawHistory(records), Backtest::Range{}, offset);
        QVERIFY(outcomes.size() > 130);
        QVERIFY(outcomes.size() < records.size()); // the incomplete draws are not tested
        for (const Backtest::DrawOutcome &o : outcomes) {
            const Backtest::Sets expected = windowSets(records, o.drawNumber, offset);
            for (int m = 0; m < Backtest::kMethodCount; ++m)
                QVERIFY2(o.sets[std::size_t(m)] == expected[std::size_t(m)],
                         qPrintable(QStringLiteral("draw %1, %2").arg(o.drawNumber).arg(Backtest::methodName(m))));
        }
    }

    // Changing draws at and after t changes no prediction up to t, and no hit before t.
    void noLookAhead_data() {
        QTest::addColumn<int>("t");
        QTest::newRow("early") << 9;
        QTest::newRow("middle") << 60;
        QTest::newRow("late") << 118;
    }
    void noLookAhead() {
        QFETCH(int, t);
        const std::vector<DrawRecord> original = randomDraws(7, 120, false);
        std::vector<DrawRecord> changed = original;
        const std::vector<DrawRecord> other = randomDraws(8, 120, false);
        for (std::size_t i = 0; i < changed.size(); ++i)
            if (changed[i].drawNumber >= t)
                changed[i].numbers = other[i].numbers;
        for (const int offset : {0, 45}) {
            const auto a = Backtest::predictions(DrawHistory(original), {}, offset);
            const auto b = Backtest::predictions(DrawHistory(changed), {}, offset);
            for (std::size_t i = 0; i < a.size() && a[i].drawNumber <= t; ++i) {
                QCOMPARE(a[i].sets, b[i].sets);
                if (a[i].drawNumber < t)
                    QCOMPARE(a[i].mainHits, b[i].mainHits);
            }
        }
    }

    // Chance for a set of seven agrees with the prize tier counts of all C(37,7) tickets.
    void hypergeometricAgreesWithPrizeTiers() {
        const double all = double(PrizeTier::kAllTickets);
        const auto &tiers = PrizeTier::kTicketsPerTier;
        QCOMPARE(HitStatistics::hitProbability(7, 7) * all, double(tiers[0]));
        QVERIFY(qAbs(HitStatistics::hitProbability(7, 6) * all - double(tiers[1] + tiers[2])) < 1e-6);
        QVERIFY(qAbs(HitStatistics::hitProbability(7, 5) * all - double(tiers[3])) < 1e-6);
        QVERIFY(qAbs(HitStatistics::hitProbability(7, 4) * all - double(tiers[4])) < 1e-6);
        for (const int k : {0, 7, 14, 21}) {
            double sum = 0, mean = 0;
            for (int h = 0; h <= 7; ++h) {
                sum += HitStatistics::hitProbability(k, h);
                mean += h * HitStatistics::hitProbability(k, h);
            }
            QVERIFY(qAbs(sum - 1) < 1e-12);
            QVERIFY(qAbs(mean - HitStatistics::expectedHits(k)) < 1e-12);
        }
    }

    // The exact p-value against a plain enumeration of every outcome of three draws, and the
    // normal approximation against the exact one where both apply.
    void pValues_data() {
        QTest::addColumn<long long>("observed");
        for (const long long s : {0LL, 2LL, 4LL, 7LL, 12LL})
            QTest::newRow(qPrintable(QStringLiteral("total %1").arg(s))) << s;
    }
    void pValues() {
        QFETCH(long long, observed);
        const std::array<int, 3> sizes{7, 3, 14};
        double lower = 0, upper = 0;
        for (int a = 0; a <= 7; ++a)
            for (int b = 0; b <= 7; ++b)
                for (int c = 0; c <= 7; ++c) {
                    const double p = HitStatistics::hitProbability(sizes[0], a) *
                                     HitStatistics::hitProbability(sizes[1], b) *
                                     HitStatistics::hitProbability(sizes[2], c);
                    lower += a + b + c <= observed ? p : 0;
                    upper += a + b + c >= observed ? p : 0;
                }
        HitStatistics::SizeCounts counts{};
        for (const int k : sizes)
            ++counts[std::size_t(k)];
        const HitStatistics::PValue exact = HitStatistics::twoSidedPValue(counts, observed);
        QVERIFY(exact.exact);
        QVERIFY(qAbs(exact.value - std::min(1.0, 2 * std::min(lower, upper))) < 1e-12);

        HitStatistics::SizeCounts many{};
        many[7] = 300;
        const long long total = 300 * 7 * 7 / 37 + (observed - 4) * 6;
        const double exactMany = HitStatistics::twoSidedPValue(many, total, false).value;
        const HitStatistics::PValue normal = HitStatistics::twoSidedPValue(many, total, true);
        QVERIFY(!normal.exact);
        QVERIFY2(qAbs(normal.value - exactMany) < 0.01,
                 qPrintable(QStringLiteral("%1 %2").arg(normal.value).arg(exactMany)));
    }

    void holmAdjustment() {
        const std::vector<double> adjusted = HitStatistics::holmAdjusted({0.01, 0.04, 0.03, 0.5});
        const std::vector<double> expected{0.04, 0.09, 0.09, 0.5};
        for (std::size_t i = 0; i < expected.size(); ++i)
            QVERIFY(qAbs(adjusted[i] - expected[i]) < 1e-12);
    }

    // A method that hits every draw is told apart from chance.
    void perfectMethodIsFound() {
        const DrawHistory history = periodicHistory(80);
        const Backtest::Report one = Backtest::runOne(history, {}, 3);
        const Backtest::MethodSummary &oneShot = one.settings.front().methods[Backtest::OneShot];
        QCOMPARE(oneShot.distribution[7], oneShot.setsOfSeven);
        QVERIFY(oneShot.setsOfSeven > 70);
        QCOMPARE(oneShot.tiers[0], oneShot.setsOfSeven);
        QVERIFY(oneShot.pValue.value < 1e-12);
        QVERIFY(oneShot.adjustedPValue < 1e-12);
        QVERIFY(one.verdict.contains(QStringLiteral("は偶然より多く当たっています")));

        const Backtest::Report all = Backtest::runAll(history, {});
        QCOMPARE(all.comparisons, 93);
        QVERIFY(all.verdict.contains(QStringLiteral("の設定は偶然より多く当たっています")));
        QVERIFY(all.bestSetting().adjustedPValue < 1e-9);
    }

    // Fair random draws: no verdict of skill, in each of several seeds.
    void fairHistoryIsNotExtreme() {
        int extreme = 0;
        for (quint32 seed = 11; seed < 17; ++seed) {
            const DrawHistory history(randomDraws(seed, 300));
            const Backtest::Report one = Backtest::runOne(history, {}, 0);
            QVERIFY(one.anyApproximatePValue());
            if (!one.verdict.startsWith(QStringLiteral("どの手法も偶然と区別できません")))
                ++extreme;
            const Backtest::Report all = Backtest::runAll(history, {});
            if (!all.verdict.startsWith(QStringLiteral("どの設定も偶然と区別できません")))
                ++extreme;
        }
        QVERIFY2(extreme <= 1, qPrintable(QString::number(extreme)));
    }

    // The range holds complete draws only; its ends are included.
    void rangeAndTotals() {
        const std::vector<DrawRecord> records = randomDraws(21, 100);
        const DrawHistory history(records);
        const Backtest::Report report = Backtest::runOne(history, {30, 70}, 0, true);
        const auto &draws = report.settings.front().draws;
        int expected = 0;
        for (const DrawRecord &d : records)
            expected += d.isComplete() && d.drawNumber >= 30 && d.drawNumber <= 70;
        QCOMPARE(report.drawsTested, expected);
        QCOMPARE(int(draws.size()), expected);
        for (int m = 0; m < Backtest::kMethodCount; ++m) {
            const Backtest::MethodSummary &s = report.settings.front().methods[std::size_t(m)];
            long long numbers = 0, hits = 0;
            for (const Backtest::DrawOutcome &o : draws) {
                numbers += std::popcount(o.sets[std::size_t(m)]);
                hits += o.mainHits[std::size_t(m)];
            }
            QCOMPARE(s.numbers, numbers);
            QCOMPARE(s.mainHits, hits);
            QVERIFY(qAbs(s.expectedMainHits - numbers * 7.0 / 37) < 1e-9);
            QVERIFY(s.pValue.exact); // a range of this size is computed exactly
        }
        const auto points = Backtest::cumulativeExcess(report.settings.front(), Backtest::Elimination);
        const auto &elimination = report.settings.front().methods[Backtest::Elimination];
        QVERIFY(qAbs(points.back().excess - (elimination.mainHits - elimination.expectedMainHits)) < 1e-9);
        QVERIFY(qAbs(points.back().twoSigma - 2 * std::sqrt(elimination.mainHitVariance)) < 1e-9);

        const Backtest::Report empty = Backtest::runOne(history, {200, 300}, 0);
        QCOMPARE(empty.drawsTested, 0);
        QCOMPARE(empty.verdict, QStringLiteral("範囲内に検証できる回がありません"));
    }

    // The members the command line promises, in the order it promises them.
    void jsonMembers() {
        const DrawHistory history(randomDraws(31, 40, false));
        const QJsonObject one =
            QJsonDocument::fromJson(BacktestExport::toJson(Backtest::runOne(history, {}, 5))).object();
        QCOMPARE(one.value(QStringLiteral("settings")).toArray().size(), 1);
        const QJsonObject all = QJsonDocument::fromJson(BacktestExport::toJson(Backtest::runAll(history, {}))).object();
        const QJsonArray settings = all.value(QStringLiteral("settings")).toArray();
        QCOMPARE(settings.size(), 93);
        QCOMPARE(all.value(QStringLiteral("drawsTested")).toInt(), 40);
        QVERIFY(!all.value(QStringLiteral("verdict")).toString().isEmpty());
        for (int i = 0; i < settings.size(); ++i) {
            const QJsonObject s = settings[i].toObject();
            QCOMPARE(s.value(QStringLiteral("reflectOffset")).toInt(), i);
            const QJsonArray methods = s.value(QStringLiteral("methods")).toArray();
            QCOMPARE(methods.size(), 7);
            for (int m = 0; m < 7; ++m) {
                const QJsonObject method = methods[m].toObject();
                QCOMPARE(method.value(QStringLiteral("method")).toString(), Backtest::methodName(m));
                for (const char *key : {"numbers", "mainHits", "bonusHits", "expectedMainHits", "pValue"})
                    QVERIFY2(method.value(QLatin1String(key)).isDouble(), key);
                QCOMPARE(method.value(QStringLiteral("tiers")).toArray().size(), 6);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestBacktest)
#include "TestBacktest.moc"
