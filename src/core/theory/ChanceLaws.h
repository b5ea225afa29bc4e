#pragma once

#include "core/history/DrawRules.h"

#include <array>
#include <cstdint>

// What pure chance gives for the seven main numbers of a draw: every one of the C(37,7) sets of
// seven numbers out of 1..37 equally likely, draws independent of each other. Counts are of
// sets of seven, exact; a probability is such a count over C(37,7).
namespace ChanceLaws {

constexpr int kDrawn = DrawRules::kMainCount; // 7
constexpr int kPool = DrawRules::kMaxNumber;  // 37
constexpr int kOthers = kPool - kDrawn;       // 30
constexpr int kMinSum = 28;                   // 1 + 2 + … + 7
constexpr int kMaxSum = 238;                  // 31 + 32 + … + 37
constexpr int kLowTop = 18;                   // low numbers are 1..18, high 19..37
constexpr int kOddNumbers = 19;               // 1, 3, …, 37
constexpr int kMaxNeighbours = kDrawn - 1;    // seven numbers in a row
constexpr int kGapCap = 30;                   // gaps of 30 draws or more are one class

// C(n, k), exact for the sizes met here (n ≤ 37); 0 outside 0 ≤ k ≤ n.
std::uint64_t choose(int n, int k);
// C(37,7) = 10,295,472.
std::uint64_t drawCount();

// How many sets of seven have each sum (index = sum 0..238; zero below 28).
using SumCounts = std::array<std::uint64_t, kMaxSum + 1>;
const SumCounts &sumCounts();

// Sets with exactly k odd numbers: C(19,k)·C(18,7−k).
std::uint64_t oddCount(int k);
// Sets with exactly k low numbers: C(18,k)·C(19,7−k).
std::uint64_t lowCount(int k);
// Sets with exactly j neighbouring pairs such as (5,6): C(6,j)·C(31,7−j). Seven numbers with j
// such pairs form 7−j runs; choosing the runs' places is choosing 7−j of 31 gaps.
std::uint64_t neighbourCount(int j);
// Sets sharing exactly j numbers with a given draw: C(7,j)·C(30,7−j).
std::uint64_t repeatCount(int j);

double probability(std::uint64_t sets);

// The draws from one appearance of a number to its next: geometric, (30/37)^(g−1)·7/37 for
// g = 1, 2, …; for g = kGapCap the chance of kGapCap draws or more, (30/37)^29.
double gapProbability(int g);

// The chance that a draw holds two (three) given numbers: 7·6/(37·36), 7·6·5/(37·36·35).
double pairProbability();
double tripleProbability();

} // namespace ChanceLaws
