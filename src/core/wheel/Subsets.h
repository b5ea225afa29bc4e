#pragma once

#include <array>
#include <bit>
#include <cstdint>

// Small sets as bit masks (bit i = element i, at most 64 elements) and the tools every wheel
// computation shares: binomial coefficients, the rank of a k-subset among all k-subsets (so a
// flat array can hold one entry per subset) and walks over subsets.
namespace Subsets {

using Mask = std::uint64_t;

constexpr int kMaxN = 64; // elements
constexpr int kMaxK = 8;  // subset sizes the tables reach (a ticket has seven numbers)

namespace detail {
constexpr std::array<std::array<std::uint64_t, kMaxK + 1>, kMaxN + 1> binomials() {
    std::array<std::array<std::uint64_t, kMaxK + 1>, kMaxN + 1> c{};
    for (int n = 0; n <= kMaxN; ++n) {
        c[n][0] = 1;
        for (int k = 1; k <= kMaxK && k <= n; ++k)
            c[n][k] = c[n - 1][k - 1] + (k <= n - 1 ? c[n - 1][k] : 0);
    }
    return c;
}
inline constexpr auto kBinomials = binomials();
} // namespace detail

// C(n, k) for 0 <= n <= 64, 0 <= k <= 8; 0 when k > n.
constexpr std::uint64_t binomial(int n, int k) {
    return k < 0 || k > kMaxK || n < 0 || n > kMaxN ? 0 : detail::kBinomials[n][k];
}

// The place of a k-subset among all k-subsets of {0..63} in colexicographic order: the subsets
// of {0..n-1} take the places 0..C(n,k)-1, whatever n is.
inline std::uint64_t rank(Mask set) {
    std::uint64_t r = 0;
    for (int i = 1; set; ++i, set &= set - 1)
        r += detail::kBinomials[std::countr_zero(set)][i];
    return r;
}

// The next larger set of the same size (Gosper's rule); colexicographic order.
inline Mask nextOfSameSize(Mask set) {
    const Mask ripple = set + (set & (~set + 1));
    // Shifting instead of dividing by the lowest bit: a division costs more than the rest.
    return ripple | (((set ^ ripple) >> 2) >> std::countr_zero(set));
}

// Mask of the elements 0..n-1.
constexpr Mask firstElements(int n) { return n >= 64 ? ~Mask(0) : (Mask(1) << n) - 1; }

// The elements of a set, ascending.
struct Elements {
    std::array<int, kMaxN> at; // the first size entries
    int size = 0;
    explicit Elements(Mask set) {
        for (; set; set &= set - 1)
            at[size++] = std::countr_zero(set);
    }
};

// Calls f(subset) for every k-subset of set (at most 63 elements), in colexicographic order;
// f returns false to stop the walk, and forEach then returns false.
template <typename F> bool forEach(Mask set, int k, F &&f) {
    const Elements e(set);
    if (k < 0 || k > e.size)
        return true;
    if (k == 0)
        return f(Mask(0));
    // Gosper's rule over the positions 0..size-1, each position mapped to its element.
    for (Mask pos = firstElements(k); !(pos >> e.size); pos = nextOfSameSize(pos)) {
        Mask sub = 0;
        for (Mask p = pos; p; p &= p - 1)
            sub |= Mask(1) << e.at[std::countr_zero(p)];
        if (!f(sub))
            return false;
        if (k == e.size)
            break;
    }
    return true;
}

} // namespace Subsets
