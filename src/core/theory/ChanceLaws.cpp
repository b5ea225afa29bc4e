#include "core/theory/ChanceLaws.h"

#include <cmath>

std::uint64_t ChanceLaws::choose(int n, int k) {
    if (k < 0 || n < 0 || k > n)
        return 0;
    std::uint64_t c = 1;
    // Each partial product is itself a binomial coefficient, so the division is exact.
    for (int i = 1; i <= k; ++i)
        c = c * std::uint64_t(n - k + i) / std::uint64_t(i);
    return c;
}

std::uint64_t ChanceLaws::drawCount() {
    return choose(kPool, kDrawn);
}

const ChanceLaws::SumCounts &ChanceLaws::sumCounts() {
    // ways[k][s]: sets of k numbers among those seen so far with sum s, one number at a time.
    static const SumCounts counts = [] {
        std::array<SumCounts, kDrawn + 1> ways{};
        ways[0][0] = 1;
        for (int n = 1; n <= kPool; ++n)
            for (int k = kDrawn; k >= 1; --k)
                for (int s = kMaxSum; s >= n; --s)
                    ways[std::size_t(k)][std::size_t(s)] += ways[std::size_t(k - 1)][std::size_t(s - n)];
        return ways[kDrawn];
    }();
    return counts;
}

std::uint64_t ChanceLaws::oddCount(int k) {
    return choose(kOddNumbers, k) * choose(kPool - kOddNumbers, kDrawn - k);
}

std::uint64_t ChanceLaws::lowCount(int k) {
    return choose(kLowTop, k) * choose(kPool - kLowTop, kDrawn - k);
}

std::uint64_t ChanceLaws::neighbourCount(int j) {
    return choose(kMaxNeighbours, j) * choose(kPool - kDrawn + 1, kDrawn - j);
}

std::uint64_t ChanceLaws::repeatCount(int j) {
    return choose(kDrawn, j) * choose(kOthers, kDrawn - j);
}

double ChanceLaws::probability(std::uint64_t sets) {
    return double(sets) / double(drawCount());
}

double ChanceLaws::gapProbability(int g) {
    if (g < 1 || g > kGapCap)
        return 0;
    const double miss = double(kOthers) / kPool;
    const double run = std::pow(miss, g - 1);
    return g == kGapCap ? run : run * kDrawn / kPool;
}

double ChanceLaws::pairProbability() {
    return double(kDrawn * (kDrawn - 1)) / (kPool * (kPool - 1));
}

double ChanceLaws::tripleProbability() {
    return double(kDrawn * (kDrawn - 1) * (kDrawn - 2)) / (kPool * (kPool - 1) * (kPool - 2));
}
