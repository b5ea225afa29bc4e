#pragma once

#include <optional>
#include <vector>

// The tests that set observed counts against chance: Pearson's χ² goodness of fit with its
// p-value, and the exact binomial tail for the count of one pair or triple of numbers.
namespace FitTests {

// χ² needs an expected count of about five in every bin it compares.
constexpr double kMinExpected = 5.0;

// Q(a, x) = Γ(a, x) / Γ(a), the regularised upper incomplete gamma function (a > 0, x ≥ 0).
double upperGamma(double a, double x);
// P(χ² with df degrees of freedom ≥ statistic).
double chiSquareUpperTail(double statistic, int df);

// Which bin of the test each category goes into: categories in order are gathered until their
// expected count reaches minimum; a short remainder at the end joins the last bin.
std::vector<int> mergedBins(const std::vector<double> &expected, double minimum = kMinExpected);

struct Fit {
    // Unset when the test cannot be made (fewer than two bins, or nothing expected).
    std::optional<double> statistic;
    int df = 0;
    std::optional<double> p;
    std::vector<int> bins; // per category, as mergedBins gives them
};
// Pearson's X² over the merged bins, times scale, against χ² with df degrees of freedom; df 0
// means one less than the number of bins.
Fit goodnessOfFit(const std::vector<int> &observed, const std::vector<double> &expected, double scale = 1.0, int df = 0,
                  double minimum = kMinExpected);

// For a count that is Binomial(n, p): the two-sided p-value of each outcome k = 0..n, twice the
// smaller tail P(X ≤ k) or P(X ≥ k), at most 1.
std::vector<double> binomialTwoSided(int n, double p);

} // namespace FitTests
