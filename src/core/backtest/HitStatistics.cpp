#include "core/backtest/HitStatistics.h"

#include "core/history/DrawRules.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {
constexpr int kDrawn = DrawRules::kMainCount;           // 7 numbers drawn
constexpr int kPool = DrawRules::kMaxNumber;            // out of 37
constexpr int kOthers = DrawRules::kMaxNumber - kDrawn; // 30 numbers not drawn

long double choose(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    long double c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

const std::array<std::array<double, kDrawn + 1>, kPool + 1> &probabilities() {
    static const auto table = [] {
        std::array<std::array<double, kDrawn + 1>, kPool + 1> t{};
        for (int k = 0; k <= kPool; ++k)
            for (int h = 0; h <= kDrawn; ++h)
                t[std::size_t(k)][std::size_t(h)] =
                    double(choose(kDrawn, h) * choose(kOthers, k - h) / choose(kPool, k));
        return t;
    }();
    return table;
}

double varianceOf(const HitStatistics::SizeCounts &sizes) {
    double v = 0;
    for (int k = 0; k <= kPool; ++k)
        v += sizes[std::size_t(k)] * HitStatistics::hitVariance(k);
    return v;
}
} // namespace

double HitStatistics::hitProbability(int setSize, int hits) {
    if (setSize < 0 || setSize > kPool || hits < 0 || hits > kDrawn)
        return 0;
    return probabilities()[std::size_t(setSize)][std::size_t(hits)];
}

double HitStatistics::expectedHits(int setSize) {
    return double(setSize) * kDrawn / kPool;
}

double HitStatistics::hitVariance(int setSize) {
    const double p = double(kDrawn) / kPool;
    return setSize * p * (1 - p) * double(kPool - setSize) / (kPool - 1);
}

std::vector<double> HitStatistics::sumDistribution(const SizeCounts &sizes) {
    std::vector<double> dist{1.0};
    for (int k = 0; k <= kPool; ++k) {
        const int top = std::min(k, kDrawn);
        for (int draw = 0; draw < sizes[std::size_t(k)] && top > 0; ++draw) {
            std::vector<double> next(dist.size() + std::size_t(top), 0.0);
            for (std::size_t s = 0; s < dist.size(); ++s)
                for (int h = 0; h <= top; ++h)
                    next[s + std::size_t(h)] += dist[s] * hitProbability(k, h);
            dist = std::move(next);
        }
    }
    return dist;
}

double HitStatistics::normalCdf(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

HitStatistics::PValue HitStatistics::twoSidedPValue(const SizeCounts &sizes, long long observed, bool forceNormal) {
    const int draws = std::accumulate(sizes.begin(), sizes.end(), 0);
    if (!forceNormal && draws <= kExactDrawLimit) {
        const std::vector<double> dist = sumDistribution(sizes);
        double lower = 0, upper = 0;
        for (std::size_t s = 0; s < dist.size(); ++s) {
            if ((long long)s <= observed)
                lower += dist[s];
            if ((long long)s >= observed)
                upper += dist[s];
        }
        return {std::clamp(2 * std::min(lower, upper), 0.0, 1.0), true};
    }
    double mean = 0;
    for (int k = 0; k <= kPool; ++k)
        mean += sizes[std::size_t(k)] * expectedHits(k);
    const double sd = std::sqrt(varianceOf(sizes));
    if (sd <= 0)
        return {std::abs(double(observed) - mean) < 0.5 ? 1.0 : 0.0, false};
    const double lower = normalCdf((double(observed) + 0.5 - mean) / sd);
    const double upper = 1 - normalCdf((double(observed) - 0.5 - mean) / sd);
    return {std::clamp(2 * std::min(lower, upper), 0.0, 1.0), false};
}

std::vector<double> HitStatistics::holmAdjusted(const std::vector<double> &pValues) {
    const std::size_t m = pValues.size();
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return pValues[a] < pValues[b]; });
    std::vector<double> adjusted(m);
    double running = 0;
    for (std::size_t i = 0; i < m; ++i) {
        running = std::max(running, std::min(1.0, double(m - i) * pValues[order[i]]));
        adjusted[order[i]] = running;
    }
    return adjusted;
}
