#pragma once

#include "core/history/DrawRules.h"

#include <array>
#include <vector>

// What chance alone gives a set of k distinct numbers against the seven main numbers of a
// draw, and how far a sum of such hit counts may stray from its expectation.
namespace HitStatistics {

constexpr int kMaxHits = DrawRules::kMainCount;
constexpr int kMaxSetSize = DrawRules::kMaxNumber;
// Up to this many draws the distribution of a sum of hits is convolved exactly; beyond it the
// cost grows with the square of the draws and the normal approximation is already close.
constexpr int kExactDrawLimit = 60;

// P(h hits) for a random set of k numbers: C(7,h)·C(30,k−h)/C(37,k).
double hitProbability(int setSize, int hits);
double expectedHits(int setSize);
double hitVariance(int setSize);

// How many tested draws had a set of each size 0..37.
using SizeCounts = std::array<int, kMaxSetSize + 1>;

// The exact distribution of the total hits over draws with these set sizes (index = total).
std::vector<double> sumDistribution(const SizeCounts &sizes);

struct PValue {
    double value = 1.0;
    bool exact = true;
};
// Two-sided: twice the smaller tail at the observed total, at most 1. Exact up to
// kExactDrawLimit draws, otherwise the normal approximation with a continuity correction
// (forceNormal asks for the approximation at any size).
PValue twoSidedPValue(const SizeCounts &sizes, long long observed, bool forceNormal = false);

double normalCdf(double z);

// Holm's step-down adjustment: each p-value multiplied by the number of hypotheses not yet
// rejected before it, kept monotone and at most 1. Same order as the input.
std::vector<double> holmAdjusted(const std::vector<double> &pValues);

} // namespace HitStatistics
