#include "core/backtest/BacktestTally.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {
constexpr double kInterval95 = 1.959963984540054;
} // namespace

qint64 Backtest::MethodSummary::cost() const {
    return qint64(PrizeTier::kTicketPrice) * prizeTickets;
}

PrizeTier::Hits Backtest::tally(MethodSummary &m, DrawRules::NumberMask set, DrawRules::NumberMask main,
                                DrawRules::NumberMask bonus, const DrawPrizes *prizes) {
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
        const int tier = PrizeTier::tierOf(hits.main, hits.bonus);
        if (tier != PrizeTier::kNone)
            ++m.tiers[std::size_t(tier - 1)];
        if (prizes) {
            ++m.prizeTickets;
            if (tier != PrizeTier::kNone)
                m.won = PrizeTier::addYen(m.won, prizes->prize[std::size_t(tier - 1)]);
            m.expectedWon += PrizeTier::expectedReturn(prizes->prize);
        }
    }
    return hits;
}

void Backtest::finishSummary(MethodSummary &m) {
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
