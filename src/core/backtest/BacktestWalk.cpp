#include "core/backtest/BacktestWalk.h"

#include "core/prediction/PredictionEngine.h"

#include <algorithm>

namespace {
using DrawRules::maskOf;
using DrawRules::NumberMask;
using DrawRules::wrapNumber;

constexpr int kShownCycleColumns = 7; // the grid shows only the first seven
constexpr int kSourceDraws = 4;       // S0..S3
constexpr int kSourceCells = 8;       // per source draw: seven main numbers and bonus 1
constexpr int kRepeatedCount = 14;
constexpr int kOneShotCount = 7;
} // namespace

bool Backtest::usable(const DrawRecord &draw) {
    if (!DrawRules::isDrawNumber(draw.drawNumber) || !draw.isComplete())
        return false;
    for (const auto &n : draw.numbers)
        if (!DrawRules::isNumber(*n))
            return false;
    return true;
}

int Backtest::Walk::number(int draw, int position) const {
    if (draw < 1 || draw >= int(m_table.size()))
        return 0;
    return m_table[std::size_t(draw)][std::size_t(position - 1)];
}

void Backtest::Walk::cycleSets(Sets &sets) const {
    for (int r = 0; r < kCycleMethods; ++r) {
        NumberMask mask = 0;
        for (int c = 0; c < kShownCycleColumns; ++c)
            if (const int v = m_cycle[std::size_t(r)][std::size_t(c)])
                mask |= maskOf(v);
        sets[std::size_t(r)] = mask;
    }
}

void Backtest::Walk::optionSets(int offset, Sets &sets) const {
    // Before the first draw the window shows no elimination numbers, only a notice.
    NumberMask elimination = 0;
    for (const auto &f : PredictionEngine::eliminationFormulas())
        if (m_latest > 0)
            elimination |= maskOf(wrapNumber(number(m_latest - f.back - offset, f.position) + f.add));
    sets[Elimination] = elimination;

    std::array<std::array<int, kSourceCells>, kSourceDraws> cells{};
    std::array<std::uint8_t, DrawRules::kNumberSlots> occurrences{};
    const int s0 = m_latest - offset - 1;
    for (int d = 0; d < kSourceDraws; ++d)
        for (int j = 0; j < kSourceCells; ++j)
            ++occurrences[std::size_t(cells[std::size_t(d)][std::size_t(j)] = number(s0 - d, j + 1))];

    NumberMask repeated = 0, oneShot = 0;
    int found = 0;
    for (int d = 0; d < kSourceDraws && found < kRepeatedCount; ++d) {
        for (int j = 0; j < kSourceCells && found < kRepeatedCount; ++j) {
            const int v = cells[std::size_t(d)][std::size_t(j)];
            if (v == 0)
                break; // a missing draw
            if (occurrences[std::size_t(v)] != 1)
                continue;
            repeated |= maskOf(v);
            if (found < kOneShotCount)
                oneShot |= maskOf(v);
            ++found;
        }
    }
    sets[Repeated] = repeated;
    sets[OneShot] = oneShot;
}

void Backtest::Walk::add(const DrawRecord &draw) {
    const int n = draw.drawNumber;
    for (int k = 1; k <= kPositions; ++k)
        m_table[std::size_t(n)][std::size_t(k - 1)] = std::uint8_t(draw.number(k));
    for (int k = 1; k <= kCycleColumns; ++k) {
        const int v = draw.number(k);
        const int last = m_lastMain[std::size_t(v)];
        if (last == 0)
            continue;
        const auto &lengths = PredictionEngine::kCycleLengths;
        const auto length = std::find(lengths.begin(), lengths.end(), n - last);
        if (length == lengths.end())
            continue;
        auto &row = m_cycle[std::size_t(length - lengths.begin())];
        bool elsewhere = false;
        for (int c = 0; c < kCycleColumns; ++c)
            elsewhere = elsewhere || (c != k - 1 && row[std::size_t(c)] == v);
        if (!elsewhere)
            row[std::size_t(k - 1)] = std::uint8_t(v);
    }
    for (int k = 1; k <= DrawRules::kMainCount; ++k)
        m_lastMain[std::size_t(draw.number(k))] = n;
    m_latest = n;
}
