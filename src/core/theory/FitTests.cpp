#include "core/theory/FitTests.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int kMaxIterations = 100000;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kTiny = std::numeric_limits<double>::min() / kEpsilon;

// x^a e^−x / Γ(a), the factor both expansions share; in logarithms, as x^a alone overflows.
double prefactor(double a, double x) {
    return std::exp(a * std::log(x) - x - std::lgamma(a));
}

// P(a, x) by its power series, which converges quickly for x < a + 1.
double lowerBySeries(double a, double x) {
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < kMaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::abs(term) < std::abs(sum) * kEpsilon)
            break;
    }
    return sum * prefactor(a, x);
}

// Q(a, x) by its continued fraction (modified Lentz), which converges quickly for x ≥ a + 1 and
// keeps its precision where Q is tiny.
double upperByFraction(double a, double x) {
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kMaxIterations; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::abs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::abs(c) < kTiny)
            c = kTiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < kEpsilon)
            break;
    }
    return prefactor(a, x) * h;
}
} // namespace

double FitTests::upperGamma(double a, double x) {
    if (x <= 0)
        return 1;
    if (x < a + 1)
        return std::clamp(1 - lowerBySeries(a, x), 0.0, 1.0);
    return std::clamp(upperByFraction(a, x), 0.0, 1.0);
}

double FitTests::chiSquareUpperTail(double statistic, int df) {
    return upperGamma(df / 2.0, statistic / 2);
}

std::vector<int> FitTests::mergedBins(const std::vector<double> &expected, double minimum) {
    std::vector<int> bins(expected.size(), 0);
    int bin = 0;
    double gathered = 0;
    std::size_t openFrom = 0; // first category of the bin being gathered
    for (std::size_t i = 0; i < expected.size(); ++i) {
        bins[i] = bin;
        gathered += expected[i];
        if (gathered >= minimum) {
            ++bin;
            gathered = 0;
            openFrom = i + 1;
        }
    }
    if (openFrom < expected.size() && bin > 0)
        for (std::size_t i = openFrom; i < expected.size(); ++i)
            bins[i] = bin - 1;
    return bins;
}

FitTests::Fit FitTests::goodnessOfFit(const std::vector<int> &observed, const std::vector<double> &expected,
                                      double scale, int df, double minimum) {
    Fit fit;
    fit.bins = mergedBins(expected, minimum);
    const int binCount = fit.bins.empty() ? 0 : fit.bins.back() + 1;
    std::vector<double> o(std::size_t(binCount), 0.0), e(std::size_t(binCount), 0.0);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        o[std::size_t(fit.bins[i])] += observed[i];
        e[std::size_t(fit.bins[i])] += expected[i];
    }
    fit.df = df > 0 ? df : binCount - 1;
    if (binCount < 2 || fit.df < 1)
        return fit;
    double x2 = 0;
    for (std::size_t b = 0; b < o.size(); ++b)
        x2 += (o[b] - e[b]) * (o[b] - e[b]) / e[b];
    fit.statistic = x2 * scale;
    fit.p = chiSquareUpperTail(*fit.statistic, fit.df);
    return fit;
}

std::vector<double> FitTests::binomialTwoSided(int n, double p) {
    const std::size_t size = std::size_t(std::max(n, 0)) + 1;
    std::vector<double> pmf(size, 0.0);
    if (p <= 0 || p >= 1) {
        pmf[p <= 0 ? 0 : size - 1] = 1;
    } else {
        const double logP = std::log(p), logQ = std::log1p(-p), logN = std::lgamma(n + 1.0);
        for (int k = 0; k <= n; ++k)
            pmf[std::size_t(k)] =
                std::exp(logN - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) + k * logP + (n - k) * logQ);
    }
    // Each tail summed from its own end, so that a tiny tail is not lost against 1.
    std::vector<double> lower(size), upper(size);
    double sum = 0;
    for (std::size_t k = 0; k < size; ++k)
        lower[k] = sum += pmf[k];
    sum = 0;
    for (std::size_t k = size; k-- > 0;)
        upper[k] = sum += pmf[k];
    std::vector<double> twoSided(size);
    for (std::size_t k = 0; k < size; ++k)
        twoSided[k] = std::min(1.0, 2 * std::min(lower[k], upper[k]));
    return twoSided;
}
