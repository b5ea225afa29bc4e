#pragma once

#include "core/grid/ResultGrid.h"
#include "core/theory/PairAnalysis.h"
#include "core/theory/TheoryComparison.h"

#include <vector>

// The grids of the windows 理論との比較 and ペア出現分析.
namespace TheoryGrids {
constexpr double kSignificance = 0.05;
constexpr int kListed = 10; // most and least frequent pairs and triples listed

// One row per table: what was counted, χ², degrees of freedom, p and Holm's p.
ResultGrid summaryGrid(const TheoryReport &report);
// One row per category: observed, expected, their difference and the test's bin (categories
// merged for the test share one).
ResultGrid tableGrid(const TheoryTable &table);
// The summary, then the seven tables.
std::vector<ResultGrid> comparisonGrids(const TheoryReport &report);
// 理論との比較 over every draw of the history.
std::vector<ResultGrid> comparisonGrids(const DrawHistory &history);

// 37 × 37 counts of pairs drawn together, each cell coloured by how far its count lies from the
// expectation in standard deviations of its binomial law (red above, blue below, white on it).
ResultGrid pairMatrixGrid(const PairReport &report);
// The colour key of the matrix: −3 to +3 standard deviations.
ResultGrid legendGrid();
// The kListed most and least frequent pairs, then triples, with expected counts and p-values.
ResultGrid extremesGrid(const PairReport &report);
// The matrix, its key and the list.
std::vector<ResultGrid> pairGrids(const PairReport &report);
// ペア出現分析 over every draw of the history.
std::vector<ResultGrid> pairGrids(const DrawHistory &history);

// The colour of a count z standard deviations from its expectation; beyond ±3 as at ±3.
Rgb divergingColour(double z);
} // namespace TheoryGrids
