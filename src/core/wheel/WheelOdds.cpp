#include "core/wheel/WheelOdds.h"

#include "core/wheel/Subsets.h"

#include <cmath>
#include <vector>

namespace {
constexpr int kNumbers = DrawRules::kMaxNumber;
constexpr int kMain = DrawRules::kMainCount;
} // namespace

std::uint64_t WheelOdds::drawsWithAtLeast(int poolSize, int m) {
    std::uint64_t draws = 0;
    for (int k = m; k <= kMain; ++k)
        draws += Subsets::binomial(poolSize, k) * Subsets::binomial(kNumbers - poolSize, kMain - k);
    return draws;
}

double WheelOdds::randomChance(int i, std::uint64_t n) {
    // One ticket against one draw: C(7,k) C(30,7-k) of the C(37,7) tickets hold k main numbers.
    std::uint64_t winning = 0;
    for (int k = kMainHits[std::size_t(i)]; k <= kMain; ++k)
        winning += Subsets::binomial(kMain, k) * Subsets::binomial(kNumbers - kMain, kMain - k);
    const double p = double(winning) / double(kDraws);
    return -std::expm1(double(n) * std::log1p(-p));
}

// A draw matters only by the numbers it shares with the tickets: each set X of j of the u
// numbers the tickets use stands for the C(37-u, 7-j) draws that share exactly X. A draw wins a
// tier when X holds k = 4, 5 or 6 numbers of one ticket: every k-subset of every ticket is
// marked first, then X is looked up by its k-subsets.
WheelOdds WheelOdds::of(const Wheel &wheel) {
    WheelOdds odds;
    odds.conditionDraws = drawsWithAtLeast(int(wheel.pool.size()), wheel.guarantee.drawn);
    for (int i = 0; i < kTiers; ++i)
        odds.randomTickets[std::size_t(i)] = randomChance(i, wheel.tickets.size());

    DrawRules::NumberMask used = 0;
    for (const DrawRules::NumberMask t : wheel.tickets)
        used |= t;
    const std::vector<int> numbers = WheelInput::numbersOf(used);
    const int u = int(numbers.size());
    const auto local = [&](DrawRules::NumberMask ticket) {
        Subsets::Mask set = 0;
        for (int i = 0; i < u; ++i)
            if (ticket & DrawRules::maskOf(numbers[std::size_t(i)]))
                set |= Subsets::Mask(1) << i;
        return set;
    };
    std::array<std::vector<bool>, kTiers> held;
    for (int i = 0; i < kTiers; ++i)
        held[std::size_t(i)].assign(Subsets::binomial(u, kMainHits[std::size_t(i)]), false);
    for (const DrawRules::NumberMask ticket : wheel.tickets)
        for (int i = 0; i < kTiers; ++i)
            Subsets::forEach(local(ticket), kMainHits[std::size_t(i)], [&](Subsets::Mask s) {
                held[std::size_t(i)][Subsets::rank(s)] = true;
                return true;
            });

    for (int j = kMainHits[0]; j <= kMain && j <= u; ++j) {
        const std::uint64_t weight = Subsets::binomial(kNumbers - u, kMain - j);
        Subsets::forEach(Subsets::firstElements(u), j, [&](Subsets::Mask x) {
            // The best tier first: a ticket with six of X also has five and four of them.
            for (int i = kTiers - 1; i >= 0; --i) {
                const int k = kMainHits[std::size_t(i)];
                if (k > j)
                    continue;
                const std::vector<bool> &marks = held[std::size_t(i)];
                if (!Subsets::forEach(x, k, [&](Subsets::Mask s) { return !marks[Subsets::rank(s)]; })) {
                    for (int lower = 0; lower <= i; ++lower)
                        odds.tierDraws[std::size_t(lower)] += weight;
                    break;
                }
            }
            return true;
        });
    }
    return odds;
}
