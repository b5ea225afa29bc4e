#include "core/theory/PairAnalysis.h"

#include "core/backtest/HitStatistics.h"
#include "core/theory/ChanceLaws.h"
#include "core/theory/FitTests.h"

#include <algorithm>
#include <bit>

namespace {
using DrawRules::NumberMask;
constexpr int kSlots = DrawRules::kNumberSlots;

// The p-values of every count at once (one binomial table for all), then Holm over the family.
void judge(std::vector<NumberCombination> &family, int draws, double chance) {
    const std::vector<double> twoSided = FitTests::binomialTwoSided(draws, chance);
    std::vector<double> p(family.size());
    for (std::size_t i = 0; i < family.size(); ++i) {
        family[i].expected = draws * chance;
        p[i] = family[i].p = twoSided[std::size_t(family[i].observed)];
    }
    const std::vector<double> corrected = HitStatistics::holmAdjusted(p);
    for (std::size_t i = 0; i < family.size(); ++i)
        family[i].pHolm = corrected[i];
}

std::vector<NumberCombination> ranked(const std::vector<NumberCombination> &all, int count, bool most) {
    std::vector<NumberCombination> out = all;
    // all is in ascending order of numbers, so a stable sort keeps the lower numbers first.
    std::stable_sort(out.begin(), out.end(), [most](const NumberCombination &a, const NumberCombination &b) {
        return most ? a.observed > b.observed : a.observed < b.observed;
    });
    out.resize(std::min(out.size(), std::size_t(std::max(count, 0))));
    return out;
}
} // namespace

PairReport PairAnalysis::analyse(const DrawHistory &history, TheoryRange range) {
    return analyse(rangeDraws(history, range));
}

PairReport PairAnalysis::analyse(const RangeDraws &in) {
    PairReport report;
    report.draws = int(in.draws.size());
    report.skipped = in.skipped;

    // Triples counted in a cube indexed by the numbers; only a < b < c is used.
    std::vector<int> cube(std::size_t(kSlots * kSlots * kSlots), 0);
    for (const NumberMask draw : in.draws) {
        std::array<int, ChanceLaws::kDrawn> n{};
        int k = 0;
        for (NumberMask d = draw; d && k < ChanceLaws::kDrawn; d &= d - 1)
            n[std::size_t(k++)] = std::countr_zero(d);
        for (int i = 0; i < k; ++i)
            for (int j = i + 1; j < k; ++j) {
                ++report.together[std::size_t(n[i])][std::size_t(n[j])];
                ++report.together[std::size_t(n[j])][std::size_t(n[i])];
                for (int l = j + 1; l < k; ++l)
                    ++cube[std::size_t((n[i] * kSlots + n[j]) * kSlots + n[l])];
            }
    }

    report.pairs.reserve(PairReport::kPairs);
    report.triples.reserve(PairReport::kTriples);
    for (int a = DrawRules::kMinNumber; a <= DrawRules::kMaxNumber; ++a)
        for (int b = a + 1; b <= DrawRules::kMaxNumber; ++b) {
            report.pairs.push_back({{a, b, 0}, report.together[std::size_t(a)][std::size_t(b)]});
            for (int c = b + 1; c <= DrawRules::kMaxNumber; ++c)
                report.triples.push_back({{a, b, c}, cube[std::size_t((a * kSlots + b) * kSlots + c)]});
        }
    judge(report.pairs, report.draws, ChanceLaws::pairProbability());
    judge(report.triples, report.draws, ChanceLaws::tripleProbability());
    report.pairExpected = report.draws * ChanceLaws::pairProbability();
    report.tripleExpected = report.draws * ChanceLaws::tripleProbability();
    return report;
}

std::vector<NumberCombination> PairAnalysis::mostFrequent(const std::vector<NumberCombination> &all, int count) {
    return ranked(all, count, true);
}

std::vector<NumberCombination> PairAnalysis::leastFrequent(const std::vector<NumberCombination> &all, int count) {
    return ranked(all, count, false);
}
