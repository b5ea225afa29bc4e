#pragma once

#include "core/wheel/Wheel.h"

#include <array>
#include <cstdint>

// The chances a wheel gives in one draw, exactly: counted over all C(37,7) = 10,295,472 sets of
// seven main numbers that can be drawn. The bonus numbers play no part: 3等 and better need six
// main numbers, 4等 five, 5等 four, whatever the bonus numbers are.
struct WheelOdds {
    static constexpr std::uint64_t kDraws = 10'295'472; // C(37,7)
    // "5等以上", "4等以上", "3等以上": some ticket holds 4, 5, 6 of the main numbers.
    static constexpr int kTiers = 3;
    static constexpr std::array<int, kTiers> kTier = {5, 4, 3};
    static constexpr std::array<int, kTiers> kMainHits = {4, 5, 6};

    std::uint64_t conditionDraws = 0; // draws with at least m main numbers in the pool
    std::array<std::uint64_t, kTiers> tierDraws{}; // draws in which the wheel wins that tier or better
    // The same chances for as many tickets, each chosen at random from all C(37,7).
    std::array<double, kTiers> randomTickets{};

    double condition() const { return double(conditionDraws) / double(kDraws); }
    double tier(int i) const { return double(tierDraws[std::size_t(i)]) / double(kDraws); }

    static WheelOdds of(const Wheel &wheel);
    // Draws with at least m of the seven main numbers among poolSize given numbers.
    static std::uint64_t drawsWithAtLeast(int poolSize, int m);
    // The chance that n random tickets win the tier kTier[i] or better at least once.
    static double randomChance(int i, std::uint64_t n);
};
