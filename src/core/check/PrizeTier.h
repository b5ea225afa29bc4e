#pragma once

#include "core/history/DrawRules.h"

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

// The six prize tiers of ロト7 for a set of seven numbers against one draw, and how many of
// the C(37,7) possible tickets fall into each tier, for comparisons with chance.
namespace PrizeTier {

constexpr int kTierCount = 6;
constexpr int kNone = 0; // はずれ; tiers are 1..6

// Tier 1..6 by main hits (0..7) and bonus hits (0..2), 0 for はずれ.
constexpr int tierOf(int mainHits, int bonusHits) {
    switch (mainHits) {
    case 7: return 1;
    case 6: return bonusHits > 0 ? 2 : 3;
    case 5: return 4;
    case 4: return 5;
    case 3: return bonusHits > 0 ? 6 : kNone;
    default: return kNone;
    }
}

// Main and bonus hits of a ticket against a draw, as bit masks of numbers.
struct Hits {
    int main = 0;
    int bonus = 0;
};
inline Hits hitsOf(DrawRules::NumberMask ticket, DrawRules::NumberMask main, DrawRules::NumberMask bonus) {
    return {std::popcount(ticket & main), std::popcount(ticket & bonus)};
}

constexpr int kTicketPrice = 300; // yen
// The share of sales paid out as prizes: a ticket returns this much of its price on average.
constexpr double kPayoutShare = 0.45;

constexpr std::uint64_t kAllTickets = 10'295'472; // C(37,7)
// Tickets of each tier 1..6 (index 0 = 1等) for one draw.
constexpr std::array<std::uint64_t, kTierCount> kTicketsPerTier = {1, 14, 196, 9'135, 142'100, 242'550};

// Tier counts expected by chance for `checks` ticket-draw comparisons.
inline std::array<double, kTierCount> expectedTiers(double checks) {
    std::array<double, kTierCount> e{};
    for (int t = 0; t < kTierCount; ++t)
        e[t] = checks * double(kTicketsPerTier[t]) / double(kAllTickets);
    return e;
}

// The yen a random ticket wins on average in a draw that paid these prizes per winner (index
// 0 = 1等).
inline double expectedReturn(const std::array<qint64, kTierCount> &prizePerWinner) {
    double sum = 0;
    for (int t = 0; t < kTierCount; ++t)
        sum += double(kTicketsPerTier[std::size_t(t)]) * double(prizePerWinner[std::size_t(t)]);
    return sum / double(kAllTickets);
}

// Yen added up without overflowing: a sum beyond what 64 bits hold stays at the largest value.
inline qint64 addYen(qint64 sum, qint64 yen) {
    qint64 total;
    return __builtin_add_overflow(sum, yen, &total) ? std::numeric_limits<qint64>::max() : total;
}

// Japanese name of a tier: "1等".."6等", "はずれ".
inline QString tierName(int tier) {
    return tier == kNone ? QStringLiteral("はずれ") : QStringLiteral("%1等").arg(tier);
}

} // namespace PrizeTier
