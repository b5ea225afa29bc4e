#include "core/backtest/Backtest.h"
#include "core/backtest/BacktestExport.h"
#include "core/backtest/BacktestGrids.h"
#include "core/check/PrizeTier.h"
#include "core/prediction/PredictionEngine.h"
#include "support/Files.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
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
            if (bool number = false; grid.text(c, r).toInt(&number), number) // not the empty notice
                mask |= DrawRules::maskOf(grid.text(c, r).toInt());
    return mask;
}

// What the prediction window shows when the history ends just before draw t, read from its
// grids, and the sets its engine gives for them.
std::pair<Backtest::Sets, Prediction::Sets> windowSets(const std::vector<DrawRecord> &records, int t,
                                                       const int wanted) {
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
    return {sets, engine.sets()};
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

// A report with the given figures only: p-values, main hits above an expectation of 10, and
// variances, seven per setting.
Backtest::Report syntheticReport(const std::vector<int> &offsets, const QList<double> &p, const QList<double> &excess,
                                 const QList<double> &variance) {
    Backtest::Report report;
    report.allSettings = offsets.size() > 1;
    report.drawsTested = 10;
    for (std::size_t s = 0; s < offsets.size(); ++s) {
        Backtest::SettingResult setting;
        setting.reflectOffset = offsets[s];
        for (int m = 0; m < 7; ++m) {
            Backtest::MethodSummary &method = setting.methods[std::size_t(m)];
            const int i = 7 * int(s) + m;
            method.pValue.value = p[i];
            method.expectedMainHits = 10;
            method.mainHits = 10 + qRound(excess[i]);
            method.mainHitVariance = variance[i];
        }
        report.settings.push_back(setting);
    }
    return report;
}
} // namespace

class TestBacktest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db, m_off;

    CliRun backtest(QStringList arguments) const {
        if (!arguments.contains(QStringLiteral("--db")))
            arguments = QStringList{QStringLiteral("--db"), m_db} + arguments;
        return runCli(QStringList{QStringLiteral("backtest")} + arguments);
    }

private slots:
    void initTestCase() {
        QByteArray csv =
            "回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n";
        const DrawHistory history = periodicHistory(25);
        for (const DrawRecord &d : history.records()) {
            csv += QByteArray::number(d.drawNumber) + ',' +
                   QDate(2013, 4, 5).addDays(7 * (d.drawNumber - 1)).toString(Qt::ISODate).toLatin1();
            for (int k = 1; k <= 9; ++k)
                csv += ',' + QByteArray::number(d.number(k));
            csv += '\n';
        }
        const QString file = m_dir.filePath(QStringLiteral("periodic.csv"));
        m_db = m_dir.filePath(QStringLiteral("periodic.mdb"));
        m_off = m_dir.filePath(QStringLiteral("off.ini"));
        QVERIFY(writeFile(file, csv) && writeFile(m_off, "頻度分析Opt=False\r\n"));
        const CliRun import = runCli({QStringLiteral("import"), file, QStringLiteral("--db"), m_db});
        QVERIFY2(import.status == 0, qPrintable(import.err));
    }


    // Each tested draw is predicted as the window predicts on the history cut just before it; the
    // window's engine gives the sets its grids show.
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
            const auto [expected, engineSets] = windowSets(records, o.drawNumber, offset);
            for (int m = 0; m < Backtest::kMethodCount; ++m) {
                const QString where = QStringLiteral("draw %1, %2").arg(o.drawNumber).arg(Backtest::methodName(m));
                QVERIFY2(o.sets[std::size_t(m)] == expected[std::size_t(m)], qPrintable(where));
                QVERIFY2(engineSets[std::size_t(m)] == expected[std::size_t(m)], qPrintable(where));
            }
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

    // P(h hits | k numbers) = C(7,h)C(30,k-h)/C(37,k), mean 7k/37, variance k(7/37)(30/37)(37-k)/36.
    void chanceForOneSet_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("h");
        QTest::addColumn<double>("probability");
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("variance");
        QTest::newRow("empty set") << 0 << 0 << 1.0 << 0.0 << 0.0;
        QTest::newRow("one number") << 1 << 1 << 0.1891891891891892 << 0.1891891891891892 << 0.15339663988312638;
        QTest::newRow("seven, none") << 7 << 0 << 0.1977374131074321 << 1.3243243243243243 << 0.8948137326515705;
        QTest::newRow("seven, three") << 7 << 3 << 0.09316474271407858 << 1.3243243243243243 << 0.8948137326515705;
        QTest::newRow("fourteen, five") << 14 << 5 << 0.04919696736584782 << 2.6486486486486487 << 1.3720477233990747;
        QTest::newRow("36, all seven") << 36 << 7 << 0.8108108108108109 << 6.8108108108108105 << 0.15339663988312638;
        QTest::newRow("every number") << 37 << 7 << 1.0 << 7.0 << 0.0;
        QTest::newRow("too few numbers") << 3 << 4 << 0.0 << 0.5675675675675675 << 0.4346238130021914;
    }
    void chanceForOneSet() {
        QFETCH(int, k);
        QFETCH(int, h);
        QFETCH(double, probability);
        QFETCH(double, mean);
        QFETCH(double, variance);
        QVERIFY(qAbs(HitStatistics::hitProbability(k, h) - probability) < 1e-15);
        QVERIFY(qAbs(HitStatistics::expectedHits(k) - mean) < 1e-14);
        QVERIFY(qAbs(HitStatistics::hitVariance(k) - variance) < 1e-14);
    }

    // Two-sided p-values of a total of main hits: exact convolution up to 60 draws, beyond that
    // the normal approximation with continuity correction (literals from a separate calculation
    // in exact fractions).
    void pValues_data() {
        QTest::addColumn<QList<int>>("sizes"); // set size of each draw
        QTest::addColumn<long long>("observed");
        QTest::addColumn<double>("p");
        QTest::addColumn<bool>("exact");
        const QList<int> three{3, 14, 14};
        const QList<int> sixty(60, 7), sixtyOne(61, 7);
        QTest::newRow("3 draws, low tail") << three << 0LL << 0.0005925582966923707 << true;
        QTest::newRow("3 draws, middle") << three << 3LL << 0.17542716177055886 << true;
        QTest::newRow("3 draws, high tail") << three << 9LL << 0.1416168202987039 << true;
        QTest::newRow("60 draws, low") << sixty << 68LL << 0.13140786206527336 << true;
        QTest::newRow("60 draws, mean") << sixty << 79LL << 1.0 << true;
        QTest::newRow("60 draws, high") << sixty << 92LL << 0.10328833999967112 << true;
        QTest::newRow("61 draws, low") << sixtyOne << 68LL << 0.09638244798862439 << false;
        QTest::newRow("61 draws, near mean") << sixtyOne << 80LL << 0.9693599397127068 << false;
        QTest::newRow("61 draws, high") << sixtyOne << 92LL << 0.14692612256401238 << false;
    }
    void pValues() {
        QFETCH(QList<int>, sizes);
        QFETCH(long long, observed);
        QFETCH(double, p);
        QFETCH(bool, exact);
        HitStatistics::SizeCounts counts{};
        for (const int k : sizes)
            ++counts[std::size_t(k)];
        const HitStatistics::PValue got = HitStatistics::twoSidedPValue(counts, observed);
        QCOMPARE(got.exact, exact);
        QVERIFY2(qAbs(got.value - p) < 1e-9 * p, qPrintable(QString::number(got.value, 'g', 17)));
    }

    void holmAdjustment() {
        const std::vector<double> adjusted = HitStatistics::holmAdjusted({0.01, 0.04, 0.03, 0.5});
        const std::vector<double> expected{0.04, 0.09, 0.09, 0.5};
        for (std::size_t i = 0; i < expected.size(); ++i)
            QVERIFY(qAbs(adjusted[i] - expected[i]) < 1e-12);
    }

    // The verdict of one setting from its methods' figures: Holm across the seven methods;
    // without a significant one, the method furthest above chance in standard deviations.
    void oneSettingVerdict_data() {
        QTest::addColumn<QList<double>>("p");
        QTest::addColumn<QList<double>>("excess"); // main hits minus their expectation
        QTest::addColumn<QList<double>>("variance");
        QTest::addColumn<QList<double>>("adjusted");
        QTest::addColumn<QString>("verdict");
        const QList<double> unit(7, 1.0), none(7, 0.0), ones(7, 1.0);
        QTest::newRow("above chance") << QList<double>{0.5, 0.6, 0.7, 0.8, 0.001, 0.9, 0.004}
                                      << QList<double>{1, 1, 1, 1, 5, 1, 1} << unit
                                      << QList<double>{1, 1, 1, 1, 0.007, 1, 0.024}
                                      << QStringLiteral(
                                             "消去法は偶然より多く当たっています (補正後 p = 0.007、7 通りを比較)");
        QTest::newRow("below chance")
            << QList<double>{0.3, 0.3, 0.3, 0.3, 0.3, 0.3, 1e-5} << QList<double>{1, 1, 1, 1, 1, 1, -8} << unit
            << QList<double>{1, 1, 1, 1, 1, 1, 7e-5}
            << QStringLiteral("１発予想は偶然より当たりが少なくなっています (補正後 p < 0.0001、7 通りを比較)");
        QTest::newRow("0.05 is not significant")
            << QList<double>{0.0071428571428571435, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5} << QList<double>{2, 0, 0, 0, 0, 0, 0}
            << unit << QList<double>{0.05, 1, 1, 1, 1, 1, 1}
            << QStringLiteral(
                   "どの手法も偶然と区別できません (最良の手法: 7回周期法、p = 0.0071、補正後 p = 0.05、7 通りを比較)");
        QTest::newRow("best in standard deviations")
            << QList<double>{0.6, 0.5, 0.4, 0.3, 0.2, 0.9, 0.8} << QList<double>{10, 0, 0, 0, 0, 4, 0}
            << QList<double>{100, 1, 1, 1, 1, 4, 1} << ones
            << QStringLiteral(
                   "どの手法も偶然と区別できません (最良の手法: 連発予想、p = 0.90、補正後 p = 1.00、7 通りを比較)");
        QTest::newRow("ties keep the first")
            << QList<double>(7, 0.5) << none << unit << ones
            << QStringLiteral(
                   "どの手法も偶然と区別できません (最良の手法: 7回周期法、p = 0.50、補正後 p = 1.00、7 通りを比較)");
    }
    void oneSettingVerdict() {
        QFETCH(QList<double>, p);
        QFETCH(QList<double>, excess);
        QFETCH(QList<double>, variance);
        QFETCH(QList<double>, adjusted);
        QFETCH(QString, verdict);
        Backtest::Report report = syntheticReport({0}, p, excess, variance);
        Backtest::judge(report);
        QCOMPARE(report.verdict, verdict);
        QCOMPARE(report.comparisons, 7);
        for (int m = 0; m < 7; ++m)
            QVERIFY(qAbs(report.settings[0].methods[std::size_t(m)].adjustedPValue - adjusted[m]) < 1e-12);
    }

    // All settings: per setting the smallest p-value of the three option-dependent methods
    // times three, Holm across the settings, ranks by main hits above chance (ties in
    // ascending ReflectOffset); the grid lists the settings by rank.
    void allSettingsVerdict_data() {
        QTest::addColumn<QList<double>>("p");      // seven per setting
        QTest::addColumn<QList<double>>("excess"); // seven per setting
        QTest::addColumn<QList<double>>("settingP");
        QTest::addColumn<QList<double>>("adjusted");
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<QStringList>("excessShown"); // the grid's 差 per setting
        QTest::addColumn<QString>("verdict");
        // Offset 0's cycle rows are far from chance, and count for nothing.
        QTest::newRow("above chance")
            << QList<double>{1e-9, 1e-9, 1e-9, 1e-9, 0.5, 0.5,   0.5, //
                             0.9,  0.9,  0.9,  0.9,  0.4, 0.001, 0.6, //
                             0.9,  0.9,  0.9,  0.9,  0.2, 0.3,   0.9}
            << QList<double>{50, 50, 50, 50, 1,  1,  1,  //
                             0,  0,  0,  0,  2,  3,  -1, //
                             0,  0,  0,  0,  -1, -1, -1}
            << QList<double>{1, 0.003, 0.6} << QList<double>{1, 0.009, 1} << QList<int>{2, 1, 3}
            << QStringList{"+3.0", "+4.0", "-3.0"}
            << QStringLiteral("反映オフセット 5 の設定は偶然より多く当たっています (補正後 p = 0.009、3 通りを比較)");
        QTest::newRow("below chance")
            << QList<double>{1, 1, 1, 1, 0.5,    0.5, 0.5, //
                             1, 1, 1, 1, 0.0001, 0.5, 0.6, //
                             1, 1, 1, 1, 0.2,    0.3, 0.9}
            << QList<double>{0, 0, 0, 0, 1,  1, 1, //
                             0, 0, 0, 0, -5, 0, 0, //
                             0, 0, 0, 0, 0,  0, 0}
            << QList<double>{1, 0.0003, 0.6} << QList<double>{1, 0.0009, 1} << QList<int>{1, 3, 2}
            << QStringList{"+3.0", "-5.0", "0.0"}
            << QStringLiteral(
                   "反映オフセット 5 の設定は偶然より当たりが少なくなっています (補正後 p = 0.0009、3 通りを比較)");
        QTest::newRow("none significant")
            << QList<double>{1, 1, 1, 1, 0.3,  0.4, 0.5, //
                             1, 1, 1, 1, 0.05, 0.6, 0.7, //
                             1, 1, 1, 1, 0.9,  0.2, 0.8}
            << QList<double>{0, 0, 0, 0, 2, 2, 2, //
                             9, 9, 9, 9, 1, 1, 1, //
                             0, 0, 0, 0, 3, 2, 1}
            << QList<double>{0.9, 0.15, 0.6} << QList<double>{1, 0.45, 1} << QList<int>{1, 3, 2}
            << QStringList{"+6.0", "+3.0", "+6.0"}
            << QStringLiteral("どの設定も偶然と区別できません (最良の設定: 反映オフセット 0、p = 0.90、補正後 p = "
                              "1.00、3 通りを比較)");
    }
    void allSettingsVerdict() {
        QFETCH(QList<double>, p);
        QFETCH(QList<double>, excess);
        QFETCH(QList<double>, settingP);
        QFETCH(QList<double>, adjusted);
        QFETCH(QList<int>, ranks);
        QFETCH(QStringList, excessShown);
        QFETCH(QString, verdict);
        const std::vector<int> offsets{0, 5, 9};
        Backtest::Report report = syntheticReport(offsets, p, excess, QList<double>(21, 1.0));
        Backtest::judge(report);
        QCOMPARE(report.verdict, verdict);
        QCOMPARE(report.comparisons, 3);
        const ResultGrid grid = BacktestGrids::settingsGrid(report, -1);
        for (std::size_t s = 0; s < 3; ++s) {
            QVERIFY(qAbs(report.settings[s].pValue - settingP[int(s)]) < 1e-12);
            QVERIFY(qAbs(report.settings[s].adjustedPValue - adjusted[int(s)]) < 1e-12);
            QCOMPARE(report.settings[s].rank, ranks[int(s)]);
            QCOMPARE(grid.text(2, 1 + ranks[int(s)]), QString::number(offsets[s]));
            QCOMPARE(grid.text(9, 1 + ranks[int(s)]), excessShown[int(s)]);
        }
    }

    // The 偶然 row of the method grid: expected draws by hits, two decimals below ten, one from
    // ten on, tiny ones not as a plain zero.
    void expectedCountsShown_data() {
        QTest::addColumn<int>("hits");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0 << 0.0 << "0";
        QTest::newRow("tiny") << 1 << 0.004 << "<0.01";
        QTest::newRow("below one") << 2 << 0.456 << "0.46";
        QTest::newRow("below ten") << 3 << 3.456 << "3.46";
        QTest::newRow("ten and more") << 4 << 12.34 << "12.3";
    }
    void expectedCountsShown() {
        QFETCH(int, hits);
        QFETCH(double, expected);
        QFETCH(QString, shown);
        Backtest::SettingResult setting;
        setting.methods[0].expectedDistribution[std::size_t(hits)] = expected;
        // Row 3: the first method's 偶然 row; column 3: no hits.
        QCOMPARE(BacktestGrids::methodGrid(setting, true).text(3 + hits, 3), shown);
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

    // The command line on 25 draws of the five-pattern history, options off, draws 20..24: the
    // cycle rows stay empty (every number comes back after five draws); the other sets and
    // their figures were worked out separately from the prediction rules.
    void cliOneSetting_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QList<double>>("figures"); // numbers, main, bonus, expected main, bonus, variance
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("adjusted");
        QTest::addColumn<QList<double>>("interval");
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("7回周期法") << 0 << QList<double>{0, 0, 0, 0, 0, 0} << 1.0 << 1.0 << QList<double>{0, 0}
                                   << QByteArray("0,7回周期法,5,0,0,0,0,0,1,exact,0,0,0,0,0,0,0,0,0,0,0,,");
        QTest::newRow("消去法")
            << 4 << QList<double>{81, 19, 4, 15.324324, 4.378378, 7.167032} << 0.23486484503727606 << 1.0
            << QList<double>{3.408007, 4.191993}
            << QByteArray("0,消去法,5,81,19,4,15.324324,4.378378,0.234865,exact,3.8,3.408007,4.191993,0,0,0,0,0,0,0,0,,");
        QTest::newRow("連発予想") << 5 << QList<double>{70, 0, 0, 13.243243, 3.783784, 6.860239}
                                  << 1.5311585990981887e-08 << 1.0718110193687323e-07 << QList<double>{0, 0}
                                  << QByteArray(
                                         "0,連発予想,5,70,0,0,13.243243,3.783784,1.53116e-08,exact,0,0,0,0,0,0,0,0,0,0,0,,");
        QTest::newRow("１発予想") << 6 << QList<double>{35, 0, 0, 6.621622, 1.891892, 4.474069} << 0.0006046084836383406
                                  << 0.003627650901830044 << QList<double>{0, 0}
                                  << QByteArray(
                                         "0,１発予想,5,35,0,0,6.621622,1.891892,0.000604608,exact,0,0,0,0,0,0,0,0,0,0,0,,");
    }
    void cliOneSetting() {
        QFETCH(int, method);
        QFETCH(QList<double>, figures);
        QFETCH(double, p);
        QFETCH(double, adjusted);
        QFETCH(QList<double>, interval);
        QFETCH(QByteArray, csv);
        const CliRun json = backtest({QStringLiteral("--from"), QStringLiteral("20"), QStringLiteral("--to"),
                                      QStringLiteral("24"), QStringLiteral("--settings"), m_off});
        QCOMPARE(json.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(root[u"drawsTested"].toInt(), 5);
        QCOMPARE(root[u"firstTested"].toInt(), 20);
        QCOMPARE(root[u"lastTested"].toInt(), 24);
        QCOMPARE(root[u"comparisons"].toInt(), 7);
        QCOMPARE(root[u"verdict"].toString(),
                 QStringLiteral("連発予想は偶然より当たりが少なくなっています (補正後 p < 0.0001、7 通りを比較)"));
        const QJsonObject m = root[u"settings"][0][u"methods"][method].toObject();
        QCOMPARE(m[u"method"].toString(), Backtest::methodName(method));
        int i = 0;
        for (const char16_t *key :
             {u"numbers", u"mainHits", u"bonusHits", u"expectedMainHits", u"expectedBonusHits", u"mainHitVariance"})
            QVERIFY2(qAbs(m[key].toDouble() - figures[i++]) < 1e-9, qPrintable(QString::fromUtf16(key)));
        QVERIFY(qAbs(m[u"pValue"].toDouble() - p) <= 1e-9 * p);
        QVERIFY(qAbs(m[u"adjustedPValue"].toDouble() - adjusted) <= 1e-9 * adjusted);
        QVERIFY(qAbs(m[u"meanInterval"][0].toDouble() - interval[0]) < 1e-9);
        QVERIFY(qAbs(m[u"meanInterval"][1].toDouble() - interval[1]) < 1e-9);

        const CliRun table =
            backtest({QStringLiteral("--from"), QStringLiteral("20"), QStringLiteral("--to"), QStringLiteral("24"),
                      QStringLiteral("--settings"), m_off, QStringLiteral("--format"), QStringLiteral("csv")});
        QCOMPARE(table.status, 0);
        const QList<QByteArray> lines = table.out.split('\n');
        QCOMPARE(lines.size(), 9); // heading, seven methods, nothing after the last CRLF
        QCOMPARE(lines[1 + method], csv + '\r');
    }

    // Every setting: ReflectOffset 3 and 13 take their one-shot and repeated sets from draws
    // with the pattern of the predicted one.
    void cliAllSettings() {
        const CliRun run = backtest({QStringLiteral("--all-settings"), QStringLiteral("--from"), QStringLiteral("20"),
                                     QStringLiteral("--to"), QStringLiteral("24")});
        QCOMPARE(run.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(root[u"comparisons"].toInt(), 93);
        QCOMPARE(
            root[u"verdict"].toString(),
            QStringLiteral("反映オフセット 3 の設定は偶然より多く当たっています (補正後 p < 0.0001、93 通りを比較)"));
        const QJsonArray settings = root[u"settings"].toArray();
        for (const auto &[offset, rank] : {std::pair{13, 1}, {3, 2}, {8, 3}, {18, 4}})
            QCOMPARE(settings[offset][u"rank"].toInt(), rank);
    }

    // With ReflectOffset 3 the one-shot set is the draw itself, 1等 every time: it wins the 1等
    // prize of each draw with prize data, 400 + 200 + 600 + 300 million yen; draw 22 has none
    // and is left out of the yen. Random tickets in the four draws: the tickets of each tier times
    // its prize, over C(37,7), summed by hand: 4,475,840,000 / 10,295,472 yen.
    void yenAgainstChance() {
        DrawHistory history = periodicHistory(25);
        auto prizes = [](std::array<qint64, 6> perWinner) {
            DrawPrizes p;
            p.prize = perWinner;
            p.winners = {1, 2, 30, 900, 15000, 25000};
            return p;
        };
        history.setPrizes({{20, prizes({400000000, 10000000, 700000, 9000, 1400, 1000})},
                           {21, prizes({200000000, 5000000, 400000, 6000, 1100, 1000})},
                           {23, prizes({600000000, 12000000, 800000, 10000, 1500, 1000})},
                           {24, prizes({300000000, 9000000, 500000, 7000, 1200, 1000})},
                           {30, prizes({1, 1, 1, 1, 1, 1})}}); // beyond the range
        const Backtest::Report report = Backtest::runOne(history, {20, 24}, 3);
        QCOMPARE(report.withoutPrizes, std::vector<int>{22});
        const Backtest::MethodSummary &oneShot = report.settings.front().methods[Backtest::OneShot];
        QCOMPARE(oneShot.prizeTickets, 4);
        QCOMPARE(oneShot.cost(), qint64(1200));
        QCOMPARE(oneShot.won, qint64(1500000000));
        QCOMPARE(oneShot.expectedWon, 4475840000.0 / 10295472.0);

        const QJsonObject root = QJsonDocument::fromJson(BacktestExport::toJson(report)).object();
        QCOMPARE(root[u"drawsWithoutPrizes"].toInt(), 1);
        QCOMPARE(root[u"withoutPrizes"].toArray(), QJsonArray{22});
        const QJsonArray methods = root[u"settings"][0][u"methods"].toArray();
        QCOMPARE(methods[Backtest::OneShot][u"won"].toDouble(), 1500000000.0);
        QCOMPARE(methods[Backtest::OneShot][u"expectedWon"].toDouble(), 434.738689);
        // The repeated set holds fourteen numbers: no ticket of seven, no yen, not zero yen.
        QCOMPARE(methods[Backtest::Repeated][u"prizeTickets"].toInt(), 0);
        QVERIFY(methods[Backtest::Repeated][u"won"].isNull());

        const ResultGrid grid = BacktestGrids::methodGrid(report.settings.front(), true, true);
        const int observed = 2 + 2 * Backtest::OneShot;
        QCOMPARE(grid.text(grid.columns() - 2, observed), QStringLiteral("1,200"));
        QCOMPARE(grid.text(grid.columns() - 1, observed), QStringLiteral("1,500,000,000"));
        QCOMPARE(grid.text(grid.columns() - 1, observed + 1), QStringLiteral("435"));
        QCOMPARE(grid.text(grid.columns(), observed + 1), QStringLiteral("36.2%"));
    }

    // Members come out in the order the command line documents, not alphabetically.
    void jsonMemberOrder() {
        const auto keys = [](const QByteArray &json) {
            QStringList found;
            static const QRegularExpression key(QStringLiteral("\"(\\w+)\":"));
            for (const auto &match : key.globalMatch(QString::fromUtf8(json)))
                found << match.captured(1);
            return found;
        };
        const QStringList method = QStringLiteral("method drawsTested numbers mainHits bonusHits expectedMainHits "
                                                  "expectedBonusHits mainHitVariance pValue pValueMethod meanHits "
                                                  "distribution expectedDistribution setsOfSeven tiers expectedTiers "
                                                  "meanInterval")
                                       .split(QLatin1Char(' '));
        const QStringList root = QStringLiteral("from to drawsTested firstTested lastTested allSettings comparisons "
                                                "correction settings")
                                     .split(QLatin1Char(' '));
        const QStringList yen = QStringLiteral("prizeTickets cost won expectedWon").split(QLatin1Char(' '));
        const QStringList end = QStringLiteral("verdict drawsWithoutPrizes withoutPrizes").split(QLatin1Char(' '));
        QStringList one = root + QStringList{QStringLiteral("reflectOffset"), QStringLiteral("methods")};
        for (int m = 0; m < 7; ++m)
            one << method << QStringLiteral("adjustedPValue") << yen;
        QCOMPARE(keys(backtest({QStringLiteral("--settings"), m_off}).out), one << end);
        QStringList all = root;
        for (int s = 0; s < 93; ++s) {
            all << QStringLiteral("reflectOffset rank excessMainHits pValue adjustedPValue methods")
                       .split(QLatin1Char(' '));
            for (int m = 0; m < 7; ++m)
                all << method << yen;
        }
        QCOMPARE(keys(backtest({QStringLiteral("--all-settings")}).out), all << end);
    }

    void cliRefusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("settings and all settings")
            << QStringList{QStringLiteral("--settings"), QStringLiteral("OFF"), QStringLiteral("--all-settings"),
                           QStringLiteral("--from"), QStringLiteral("20")}
            << 2 << QStringLiteral("--settings と --all-settings は同時に指定できません。");
        QTest::newRow("from after to") << QStringList{QStringLiteral("--from"), QStringLiteral("21"),
                                                      QStringLiteral("--to"), QStringLiteral("20")}
                                       << 2 << QStringLiteral("--from の回数が --to の回数より大きくなっています。");
        QTest::newRow("from equal to") << QStringList{QStringLiteral("--from"), QStringLiteral("20"),
                                                      QStringLiteral("--to"), QStringLiteral("20")}
                                       << 0 << QString();
        QTest::newRow("bad from") << QStringList{QStringLiteral("--from"), QStringLiteral("abc")} << 2
                                  << QStringLiteral("--from には 1 から 32767 までの回数を指定してください: abc");
        QTest::newRow("bad to") << QStringList{QStringLiteral("--to"), QStringLiteral("0")} << 2
                                << QStringLiteral("--to には 1 から 32767 までの回数を指定してください: 0");
        QTest::newRow("no value") << QStringList{QStringLiteral("--from")} << 2
                                  << QStringLiteral("--from の値を指定してください。");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--every")} << 2
                                        << QStringLiteral("不明なオプションです: --every");
        QTest::newRow("unknown format") << QStringList{QStringLiteral("--format"), QStringLiteral("xml")} << 2
                                        << QStringLiteral("--format には json か csv を指定してください。");
        QTest::newRow("extra argument") << QStringList{QStringLiteral("20")} << 2
                                        << QStringLiteral("使い方: nanazubario-cli backtest");
        QTest::newRow("missing database")
            << QStringList{QStringLiteral("--db"), QStringLiteral("/nonexistent/無い.mdb")} << 1
            << QStringLiteral("/nonexistent/無い.mdb");
    }
    void cliRefusals() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const CliRun run = backtest(arguments.replaceInStrings(QStringLiteral("OFF"), m_off));
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.out.isEmpty(), status != 0);
    }
};

QTEST_GUILESS_MAIN(TestBacktest)
#include "TestBacktest.moc"
