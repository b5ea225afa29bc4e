#pragma once

#include "core/theory/TheoryComparison.h"

#include <array>
#include <vector>

// How often each pair and each triple of main numbers came up in the same draw, against chance.
// Over D draws the count of one pair is Binomial(D, 7·6/(37·36)) exactly, of one triple
// Binomial(D, 7·6·5/(37·36·35)); each gets the exact two-sided binomial p-value, and Holm's
// correction over all 666 pairs (7,770 triples), as looking at every one of them and picking the
// most extreme would otherwise find "significant" ones by chance alone.
struct NumberCombination {
    std::array<int, 3> numbers{}; // ascending; the third is 0 for a pair
    int observed = 0;
    double expected = 0;
    double p = 1;
    double pHolm = 1;

    int size() const { return numbers[2] ? 3 : 2; }
};

struct PairReport {
    static constexpr int kPairs = 666;
    static constexpr int kTriples = 7770;

    int draws = 0;
    int skipped = 0;
    // together[a][b]: draws holding both a and b, for a ≠ b (symmetric; row and column 0 unused).
    std::array<std::array<int, DrawRules::kNumberSlots>, DrawRules::kNumberSlots> together{};
    double pairExpected = 0;
    double tripleExpected = 0;
    std::vector<NumberCombination> pairs;   // (1,2), (1,3), …, (36,37)
    std::vector<NumberCombination> triples; // (1,2,3), (1,2,4), …, (35,36,37)
};

namespace PairAnalysis {
PairReport analyse(const DrawHistory &history, TheoryRange range = {});
PairReport analyse(const RangeDraws &draws);

// The count of most (least) frequent combinations, the most extreme first; among equal counts
// the lower numbers first.
std::vector<NumberCombination> mostFrequent(const std::vector<NumberCombination> &all, int count);
std::vector<NumberCombination> leastFrequent(const std::vector<NumberCombination> &all, int count);
} // namespace PairAnalysis
