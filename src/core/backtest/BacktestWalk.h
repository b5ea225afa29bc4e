#pragma once

#include "core/backtest/Backtest.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Backtest {

// A draw the walk can use: all nine numbers present and within the rules (the store refuses
// anything else, so nothing real is left out).
bool usable(const DrawRecord &draw);

// The prediction window's tables, carried forward draw by draw: after add() has seen every
// usable draw before t, the sets are those the window computes on the history cut before t.
class Walk {
public:
    explicit Walk(int largestDraw) : m_table(std::size_t(largestDraw) + 1) {}

    // The four cycle rows, which do not depend on the options.
    void cycleSets(Sets &sets) const;
    // The elimination, repeated and one-shot sets for one ReflectOffset.
    void optionSets(int offset, Sets &sets) const;
    void add(const DrawRecord &draw);

private:
    static constexpr int kPositions = DrawRules::kFieldCount; // NumbersByDraw positions 1..9
    static constexpr int kCycleColumns = 8;                   // the cycle table: seven main numbers and bonus 1

    int number(int draw, int position) const;

    std::vector<std::array<std::uint8_t, kPositions>> m_table;
    std::array<std::array<std::uint8_t, kCycleColumns>, kCycleMethods> m_cycle{};
    std::array<int, DrawRules::kNumberSlots> m_lastMain{}; // 0: not yet among the main numbers
    int m_latest = 0;                                      // LatestDrawNumber of the history so far
};

} // namespace Backtest
