#include "core/backtest/Backtest.h"

#include "core/check/PrizeTier.h"
#include "core/prediction/PredictionEngine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

namespace {
using DrawRules::maskOf;
using DrawRules::NumberMask;

constexpr int kPositions = DrawRules::kFieldCount; // NumbersByDraw positions 1..9
constexpr int kCycleColumns = 8;                   // the cycle table: seven main numbers and bonus 1
constexpr int kShownCycleColumns = 7;              // the grid shows only the first seven
constexpr int kSourceDraws = 4;                    // S0..S3
constexpr int kSourceCells = 8;                    // per source draw: seven main numbers and bonus 1
constexpr int kRepeatedCount = 14;
constexpr int kOneShotCount = 7;
constexpr double kInterval95 = 1.959963984540054;

using DrawRules::wrapNumber;
// A draw the walk can use: all nine numbers present and within the rules (the store refuses
// anything else, so nothing real is left out).
bool usable(const DrawRecord &draw) {
    if (!DrawRules::isDrawNumber(draw.drawNumber) || !draw.isComplete())
        return false;
    for (const auto &n : draw.numbers)
        if (!DrawRules::isNumber(*n))
            return false;
    return true;
}

// The prediction window's tables, carried forward draw by draw: after add() has seen every
// usable draw before t, the sets are those the window computes on the history cut before t.
class Walk {
public:
    explicit Walk(int largestDraw) : m_table(std::size_t(largestDraw) + 1) {}

    int number(int draw, int position) const {
        if (draw < 1 || draw >= int(m_table.size()))
            return 0;
        return m_table[std::size_t(draw)][std::size_t(position - 1)];
    }

    void cycleSets(Backtest::Sets &sets) const {
        for (int r = 0; r < Backtest::kCycleMethods; ++r) {
            NumberMask mask = 0;
            for (int c = 0; c < kShownCycleColumns; ++c)
                if (const int v = m_cycle[std::size_t(r)][std::size_t(c)])
                    mask |= maskOf(v);
            sets[std::size_t(r)] = mask;
        }
    }

    void optionSets(int offset, Backtest::Sets &sets) const {
        // Before the first draw the window shows no elimination numbers, only a notice.
        NumberMask elimination = 0;
        for (const auto &f : PredictionEngine::eliminationFormulas())
            if (m_latest > 0)
                elimination |= maskOf(wrapNumber(number(m_latest - f.back - offset, f.position) + f.add));
        sets[Backtest::Elimination] = elimination;

        std::array<std::array<int, kSourceCells>, kSourceDraws> cells{};
        std::array<std::uint8_t, DrawRules::kNumberSlots> occurrences{};
        const int s0 = m_latest - offset - 1;
        for (int d = 0; d < kSourceDraws; ++d)
            for (int j = 0; j < kSourceCells; ++j)
                ++occurrences[std::size_t(cells[std::size_t(d)][std::size_t(j)] = number(s0 - d, j + 1))];

        NumberMask repeated = 0, oneShot = 0;
        int found = 0;
        for (int d = 0; d < kSourceDraws && found < kRepeatedCount; ++d) {
            for (int j = 0; j < kSourceCells && found < kRepeatedCount; ++j) {
                const int v = cells[std::size_t(d)][std::size_t(j)];
                if (v == 0)
                    break; // a missing draw
                if (occurrences[std::size_t(v)] != 1)
                    continue;
                repeated |= maskOf(v);
                if (found < kOneShotCount)
                    oneShot |= maskOf(v);
                ++found;
            }
        }
        sets[Backtest::Repeated] = repeated;
        sets[Backtest::OneShot] = oneShot;
    }

    void add(const DrawRecord &draw) {
        const int n = draw.drawNumber;
        for (int k = 1; k <= kPositions; ++k)
            m_table[std::size_t(n)][std::size_t(k - 1)] = std::uint8_t(draw.number(k));
        for (int k = 1; k <= kCycleColumns; ++k) {
            const int v = draw.number(k);
            const int last = m_lastMain[std::size_t(v)];
            if (last == 0)
                continue;
            const auto &lengths = PredictionEngine::kCycleLengths;
            const auto length = std::find(lengths.begin(), lengths.end(), n - last);
            if (length == lengths.end())
                continue;
            auto &row = m_cycle[std::size_t(length - lengths.begin())];
            bool elsewhere = false;
            for (int c = 0; c < kCycleColumns; ++c)
                elsewhere = elsewhere || (c != k - 1 && row[std::size_t(c)] == v);
            if (!elsewhere)
                row[std::size_t(k - 1)] = std::uint8_t(v);
        }
        for (int k = 1; k <= DrawRules::kMainCount; ++k)
            m_lastMain[std::size_t(draw.number(k))] = n;
        m_latest = n;
    }

private:
    std::vector<std::array<std::uint8_t, kPositions>> m_table;
    std::array<std::array<std::uint8_t, kCycleColumns>, Backtest::kCycleMethods> m_cycle{};
    std::array<int, DrawRules::kNumberSlots> m_lastMain{}; // 0: not yet among the main numbers
    int m_latest = 0;                                      // LatestDrawNumber of the history so far
};

struct Hits {
    int main, bonus;
};

Hits tally(Backtest::MethodSummary &m, NumberMask set, NumberMask main, NumberMask bonus) {
    const PrizeTier::Hits hits = PrizeTier::hitsOf(set, main, bonus);
    const int size = std::popcount(set);
    ++m.drawsTested;
    m.numbers += size;
    m.mainHits += hits.main;
    m.bonusHits += hits.bonus;
    m.squaredHits += hits.main * hits.main;
    ++m.distribution[std::size_t(hits.main)];
    ++m.drawsBySize[std::size_t(size)];
    if (size == DrawRules::kMainCount) {
        ++m.setsOfSeven;
        if (const int tier = PrizeTier::tierOf(hits.main, hits.bonus))
            ++m.tiers[std::size_t(tier - 1)];
    }
    return {hits.main, hits.bonus};
}

void finish(Backtest::MethodSummary &m) {
    for (int k = 0; k <= HitStatistics::kMaxSetSize; ++k) {
        const int draws = m.drawsBySize[std::size_t(k)];
        if (draws == 0)
            continue;
        m.expectedMainHits += draws * HitStatistics::expectedHits(k);
        m.mainHitVariance += draws * HitStatistics::hitVariance(k);
        m.expectedBonusHits += draws * double(k) * DrawRules::kBonusCount / DrawRules::kMaxNumber;
        for (int h = 0; h <= HitStatistics::kMaxHits; ++h)
            m.expectedDistribution[std::size_t(h)] += draws * HitStatistics::hitProbability(k, h);
    }
    m.expectedTiers = PrizeTier::expectedTiers(m.setsOfSeven);
    m.pValue = HitStatistics::twoSidedPValue(m.drawsBySize, m.mainHits);
    if (m.drawsTested > 0)
        m.meanHits = double(m.mainHits) / m.drawsTested;
    if (m.drawsTested > 1) {
        const double n = m.drawsTested;
        const double variance = std::max(0.0, (double(m.squaredHits) - n * m.meanHits * m.meanHits) / (n - 1));
        const double half = kInterval95 * std::sqrt(variance / n);
        m.meanLow = m.meanHits - half;
        m.meanHigh = m.meanHits + half;
    }
}

// How far above chance a method lies, in standard deviations of chance.
double standardised(const Backtest::MethodSummary &m) {
    return m.mainHitVariance > 0 ? (double(m.mainHits) - m.expectedMainHits) / std::sqrt(m.mainHitVariance) : 0.0;
}

QString direction(bool above) {
    return above ? QStringLiteral("偶然より多く当たっています") : QStringLiteral("偶然より当たりが少なくなっています");
}

void judgeOneSetting(Backtest::Report &report) {
    auto &methods = report.settings.front().methods;
    std::vector<double> p;
    for (const auto &m : methods)
        p.push_back(m.pValue.value);
    const std::vector<double> adjusted = HitStatistics::holmAdjusted(p);
    for (std::size_t i = 0; i < methods.size(); ++i)
        methods[i].adjustedPValue = adjusted[i];
    report.comparisons = Backtest::kMethodCount;

    const auto smallest = std::min_element(adjusted.begin(), adjusted.end());
    if (*smallest < Backtest::kSignificance) {
        report.best = int(smallest - adjusted.begin());
        const auto &m = methods[std::size_t(report.best)];
        report.verdict = QStringLiteral("%1は%2 (補正後 %3、%4 通りを比較)")
                             .arg(Backtest::methodName(report.best), direction(m.mainHits > m.expectedMainHits),
                                  Backtest::pText(*smallest))
                             .arg(report.comparisons);
        return;
    }
    report.best = 0;
    for (int i = 1; i < Backtest::kMethodCount; ++i)
        if (standardised(methods[std::size_t(i)]) > standardised(methods[std::size_t(report.best)]))
            report.best = i;
    const auto &m = methods[std::size_t(report.best)];
    report.verdict =
        QStringLiteral("どの手法も偶然と区別できません (最良の手法: %1、%2、補正後 %3、%4 通りを比較)")
            .arg(Backtest::methodName(report.best), Backtest::pText(m.pValue.value), Backtest::pText(m.adjustedPValue))
            .arg(report.comparisons);
}

void judgeAllSettings(Backtest::Report &report) {
    std::vector<double> p;
    for (auto &s : report.settings) {
        double smallest = 1.0;
        s.excessHits = 0;
        for (int m = Backtest::kCycleMethods; m < Backtest::kMethodCount; ++m) {
            smallest = std::min(smallest, s.methods[std::size_t(m)].pValue.value);
            s.excessHits += double(s.methods[std::size_t(m)].mainHits) - s.methods[std::size_t(m)].expectedMainHits;
        }
        s.pValue = std::min(1.0, Backtest::kOptionMethods * smallest);
        p.push_back(s.pValue);
    }
    const std::vector<double> adjusted = HitStatistics::holmAdjusted(p);
    std::vector<std::size_t> order(report.settings.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        report.settings[i].adjustedPValue = adjusted[i];
    // Ranked by hits above chance; equal settings keep ascending ReflectOffset.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return report.settings[a].excessHits > report.settings[b].excessHits + 1e-9;
    });
    for (std::size_t r = 0; r < order.size(); ++r)
        report.settings[order[r]].rank = int(r) + 1;
    report.comparisons = int(report.settings.size());

    const auto smallest = std::min_element(adjusted.begin(), adjusted.end());
    if (*smallest < Backtest::kSignificance) {
        report.best = int(smallest - adjusted.begin());
        const auto &s = report.settings[std::size_t(report.best)];
        report.verdict = QStringLiteral("反映オフセット %1 の設定は%2 (補正後 %3、%4 通りを比較)")
                             .arg(s.reflectOffset)
                             .arg(direction(s.excessHits > 0), Backtest::pText(*smallest))
                             .arg(report.comparisons);
        return;
    }
    report.best = int(order.front());
    const auto &s = report.settings[std::size_t(report.best)];
    report.verdict =
        QStringLiteral("どの設定も偶然と区別できません (最良の設定: 反映オフセット %1、%2、補正後 %3、%4 通りを比較)")
            .arg(s.reflectOffset)
            .arg(Backtest::pText(s.pValue), Backtest::pText(s.adjustedPValue))
            .arg(report.comparisons);
}

Backtest::Report run(const DrawHistory &history, Backtest::Range range, const std::vector<int> &offsets, bool keepDraws,
                     bool allSettings) {
    Backtest::Report report;
    report.range = range;
    report.allSettings = allSettings;
    report.settings.resize(offsets.size());
    for (std::size_t s = 0; s < offsets.size(); ++s)
        report.settings[s].reflectOffset = offsets[s];

    int largest = 0;
    for (const DrawRecord &draw : history.records())
        if (usable(draw))
            largest = std::max(largest, draw.drawNumber);
    Walk walk(largest);
    // The cycle rows do not depend on the options: counted once, shared by every setting.
    std::array<Backtest::MethodSummary, Backtest::kCycleMethods> cycles;

    for (const DrawRecord &draw : history.records()) {
        if (!usable(draw))
            continue;
        const int t = draw.drawNumber;
        if (t > range.to)
            break;
        if (t >= range.from) {
            NumberMask main = 0, bonus = 0;
            for (int k = 1; k <= DrawRules::kMainCount; ++k)
                main |= maskOf(draw.number(k));
            for (int k = DrawRules::kMainCount + 1; k <= DrawRules::kFieldCount; ++k)
                bonus |= maskOf(draw.number(k));

            Backtest::DrawOutcome outcome;
            outcome.drawNumber = t;
            walk.cycleSets(outcome.sets);
            for (int m = 0; m < Backtest::kCycleMethods; ++m) {
                const Hits h = tally(cycles[std::size_t(m)], outcome.sets[std::size_t(m)], main, bonus);
                outcome.mainHits[std::size_t(m)] = std::uint8_t(h.main);
                outcome.bonusHits[std::size_t(m)] = std::uint8_t(h.bonus);
            }
            for (Backtest::SettingResult &s : report.settings) {
                walk.optionSets(s.reflectOffset, outcome.sets);
                for (int m = Backtest::kCycleMethods; m < Backtest::kMethodCount; ++m) {
                    const Hits h = tally(s.methods[std::size_t(m)], outcome.sets[std::size_t(m)], main, bonus);
                    outcome.mainHits[std::size_t(m)] = std::uint8_t(h.main);
                    outcome.bonusHits[std::size_t(m)] = std::uint8_t(h.bonus);
                }
                if (keepDraws)
                    s.draws.push_back(outcome);
            }
            if (report.drawsTested++ == 0)
                report.firstTested = t;
            report.lastTested = t;
        }
        walk.add(draw);
    }

    for (Backtest::SettingResult &s : report.settings) {
        std::copy(cycles.begin(), cycles.end(), s.methods.begin());
        for (auto &m : s.methods)
            finish(m);
    }
    if (!report.settings.empty())
        Backtest::judge(report);
    return report;
}
} // namespace

const QString &Backtest::methodName(int method) {
    static const std::array<QString, kMethodCount> names = {
        QStringLiteral("7回周期法"),  QStringLiteral("9回周期法"), QStringLiteral("11回周期法"),
        QStringLiteral("12回周期法"), QStringLiteral("消去法"),    QStringLiteral("連発予想"),
        QStringLiteral("１発予想"),
    };
    return names[std::size_t(method)];
}

int Backtest::reflectOffsetOf(const PredictionOptions &options) {
    int sum = 0;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        if (options.ReflectFlag[std::size_t(i)])
            sum += PredictionEngine::kReflectWeights[std::size_t(i)];
    return sum;
}

const std::vector<int> &Backtest::reachableOffsets() {
    static const std::vector<int> offsets = [] {
        const int total =
            std::accumulate(PredictionEngine::kReflectWeights.begin(), PredictionEngine::kReflectWeights.end(), 0);
        std::vector<bool> reachable(std::size_t(total) + 1);
        reachable[0] = true;
        for (const int w : PredictionEngine::kReflectWeights)
            for (int s = total; s >= w; --s)
                reachable[std::size_t(s)] = reachable[std::size_t(s)] || reachable[std::size_t(s - w)];
        std::vector<int> list;
        for (int s = 0; s <= total; ++s)
            if (reachable[std::size_t(s)])
                list.push_back(s);
        return list;
    }();
    return offsets;
}

bool Backtest::Report::anyExactPValue() const {
    for (const auto &s : settings)
        for (const auto &m : s.methods)
            if (m.pValue.exact)
                return true;
    return false;
}

bool Backtest::Report::anyApproximatePValue() const {
    for (const auto &s : settings)
        for (const auto &m : s.methods)
            if (!m.pValue.exact)
                return true;
    return false;
}

void Backtest::judge(Report &report) {
    if (report.drawsTested == 0) {
        report.comparisons = report.allSettings ? int(report.settings.size()) : kMethodCount;
        report.verdict = QStringLiteral("範囲内に検証できる回がありません");
        return;
    }
    if (report.allSettings)
        judgeAllSettings(report);
    else
        judgeOneSetting(report);
}

Backtest::Report Backtest::runOne(const DrawHistory &history, Range range, int reflectOffset, bool keepDraws) {
    return run(history, range, {reflectOffset}, keepDraws, false);
}

Backtest::Report Backtest::runAll(const DrawHistory &history, Range range, bool keepDraws) {
    return run(history, range, reachableOffsets(), keepDraws, true);
}

std::vector<Backtest::DrawOutcome> Backtest::predictions(const DrawHistory &history, Range range, int reflectOffset) {
    return runOne(history, range, reflectOffset, true).settings.front().draws;
}

QString Backtest::pText(double p) {
    if (p < 0.0001)
        return QStringLiteral("p < 0.0001");
    if (p < 0.01)
        return QStringLiteral("p = %1").arg(QString::number(p, 'g', 2));
    return QStringLiteral("p = %1").arg(QString::number(p, 'f', 2));
}

std::vector<Backtest::CumulativePoint> Backtest::cumulativeExcess(const SettingResult &setting, int method) {
    std::vector<CumulativePoint> points;
    points.reserve(setting.draws.size());
    double excess = 0, variance = 0;
    for (const DrawOutcome &d : setting.draws) {
        const int size = std::popcount(d.sets[std::size_t(method)]);
        excess += d.mainHits[std::size_t(method)] - HitStatistics::expectedHits(size);
        variance += HitStatistics::hitVariance(size);
        points.push_back({d.drawNumber, excess, 2 * std::sqrt(variance)});
    }
    return points;
}
