#include "core/check/TicketChecker.h"

#include "core/history/DrawHistory.h"

#include <algorithm>
#include <bit>

// A population count is one instruction where the processor has it; the plain x86-64 baseline
// would call a library routine for each of the millions of comparisons instead.
#if defined(__x86_64__) && defined(__GNUC__)
#define NANAZUBARIO_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define NANAZUBARIO_POPCOUNT_CLONES
#endif

namespace {
using DrawRules::NumberMask;

// Tier by main hits × 3 + bonus hits.
constexpr auto kTierTable = [] {
    std::array<std::uint8_t, (DrawRules::kMainCount + 1) * (DrawRules::kBonusCount + 1)> table{};
    for (int m = 0; m <= DrawRules::kMainCount; ++m)
        for (int b = 0; b <= DrawRules::kBonusCount; ++b)
            table[std::size_t(m * (DrawRules::kBonusCount + 1) + b)] = std::uint8_t(PrizeTier::tierOf(m, b));
    return table;
}();

// Fewer main hits never win, whatever the bonus numbers.
constexpr int kFewestWinningMainHits = 3;

struct RawWin {
    std::uint32_t ticket;
    std::uint8_t main, bonus, tier;
};

// Every ticket that won a tier in one draw, in ticket order.
NANAZUBARIO_POPCOUNT_CLONES
void scanDraw(const NumberMask *tickets, std::size_t count, NumberMask main, NumberMask bonus,
              std::vector<RawWin> &wins) {
    wins.clear();
    for (std::size_t t = 0; t < count; ++t) {
        const int m = std::popcount(tickets[t] & main);
        if (m < kFewestWinningMainHits)
            continue;
        const int b = std::popcount(tickets[t] & bonus);
        const std::uint8_t tier = kTierTable[std::size_t(m * (DrawRules::kBonusCount + 1) + b)];
        if (tier != PrizeTier::kNone)
            wins.push_back({std::uint32_t(t), std::uint8_t(m), std::uint8_t(b), tier});
    }
}

// Every draw in which one ticket won a tier, in draw order.
NANAZUBARIO_POPCOUNT_CLONES
void scanTicket(NumberMask ticket, const CheckedDraw *draws, std::size_t count, std::vector<TicketWin> &wins) {
    wins.clear();
    for (std::size_t d = 0; d < count; ++d) {
        const int m = std::popcount(ticket & draws[d].main);
        if (m < kFewestWinningMainHits)
            continue;
        const int b = std::popcount(ticket & draws[d].bonus);
        const std::uint8_t tier = kTierTable[std::size_t(m * (DrawRules::kBonusCount + 1) + b)];
        if (tier != PrizeTier::kNone)
            wins.push_back({std::uint32_t(d), std::uint8_t(m), std::uint8_t(b), tier});
    }
}

// Seven different main numbers and two different bonus numbers besides them, all 1..37.
std::optional<CheckedDraw> checkedDraw(const DrawRecord &record) {
    if (!record.isComplete())
        return std::nullopt;
    CheckedDraw draw{record.drawNumber, 0, 0};
    for (int k = 1; k <= DrawRules::kFieldCount; ++k) {
        const int n = record.number(k);
        if (!DrawRules::isNumber(n))
            return std::nullopt;
        (k <= DrawRules::kMainCount ? draw.main : draw.bonus) |= DrawRules::maskOf(n);
    }
    if (std::popcount(draw.main) != DrawRules::kMainCount || std::popcount(draw.bonus) != DrawRules::kBonusCount ||
        (draw.main & draw.bonus))
        return std::nullopt;
    return draw;
}
} // namespace

DrawRange DrawRange::latest(const DrawHistory &history) {
    const int n = history.latestDrawNumber();
    return {n, n};
}

DrawRange DrawRange::all(const DrawHistory &history) {
    if (history.empty())
        return {};
    return {history.records().front().drawNumber, history.records().back().drawNumber};
}

TicketChecker::TicketChecker(const DrawHistory &history, DrawRange range) : m_range(range) {
    if (range.empty())
        return;
    const std::vector<DrawRecord> &records = history.records();
    auto it = std::lower_bound(records.begin(), records.end(), range.from,
                               [](const DrawRecord &r, int n) { return r.drawNumber < n; });
    for (; it != records.end() && it->drawNumber <= range.to; ++it) {
        if (const std::optional<CheckedDraw> draw = checkedDraw(*it)) {
            m_draws.push_back(*draw);
            const auto found = history.prizes().find(it->drawNumber);
            m_prizes.push_back(found == history.prizes().end() ? std::nullopt
                                                               : std::optional<TierPrizes>(found->second.prize));
        }
    }
}

int TicketChecker::drawsWithoutPrizes() const {
    return int(std::count(m_prizes.begin(), m_prizes.end(), std::nullopt));
}

CheckResult TicketChecker::emptyResult(std::size_t ticketCount) const {
    CheckResult result;
    result.range = m_range;
    result.draws = m_draws;
    result.prizes = m_prizes;
    result.drawsSkipped = drawsSkipped();
    result.drawsWithoutPrizes = drawsWithoutPrizes();
    result.ticketCount = ticketCount;
    return result;
}

CheckResult TicketChecker::check(const std::vector<Ticket> &tickets) const {
    CheckResult result = emptyResult(tickets.size());
    result.tickets.resize(tickets.size());

    std::vector<NumberMask> masks(tickets.size());
    std::transform(tickets.begin(), tickets.end(), masks.begin(), [](const Ticket &t) { return t.mask; });
    std::vector<RawWin> wins;
    for (std::size_t d = 0; d < m_draws.size(); ++d) {
        scanDraw(masks.data(), masks.size(), m_draws[d].main, m_draws[d].bonus, wins);
        for (const RawWin &w : wins) {
            TicketOutcome &outcome = result.tickets[w.ticket];
            ++outcome.tiers[w.tier - 1];
            ++result.tiers[w.tier - 1];
            outcome.wins.push_back({std::uint32_t(d), w.main, w.bonus, w.tier});
            if (const std::optional<TierPrizes> &p = m_prizes[d]) {
                outcome.won += (*p)[w.tier - 1];
                result.won += (*p)[w.tier - 1];
            }
        }
    }
    return result;
}

TierCounts TicketChecker::countTiers(std::span<const NumberMask> tickets, qint64 *won) const {
    TierCounts counts{};
    qint64 yen = 0;
    std::vector<RawWin> wins;
    for (std::size_t d = 0; d < m_draws.size(); ++d) {
        scanDraw(tickets.data(), tickets.size(), m_draws[d].main, m_draws[d].bonus, wins);
        for (const RawWin &w : wins) {
            ++counts[w.tier - 1];
            if (m_prizes[d])
                yen += (*m_prizes[d])[w.tier - 1];
        }
    }
    if (won)
        *won = yen;
    return counts;
}

CheckResult TicketChecker::totals(std::span<const NumberMask> tickets) const {
    CheckResult result = emptyResult(tickets.size());
    result.tiers = countTiers(tickets, &result.won);
    return result;
}

void TicketChecker::checkOne(NumberMask ticket, TicketOutcome &outcome) const {
    scanTicket(ticket, m_draws.data(), m_draws.size(), outcome.wins);
    outcome.tiers = {};
    outcome.won = 0;
    for (const TicketWin &w : outcome.wins) {
        ++outcome.tiers[w.tier - 1];
        if (m_prizes[w.drawIndex])
            outcome.won += (*m_prizes[w.drawIndex])[w.tier - 1];
    }
}

TicketMatch TicketChecker::match(NumberMask ticket, const CheckedDraw &draw) {
    TicketMatch m;
    m.main = ticket & draw.main;
    m.bonus = ticket & draw.bonus;
    const PrizeTier::Hits hits = PrizeTier::hitsOf(ticket, draw.main, draw.bonus);
    m.mainHits = hits.main;
    m.bonusHits = hits.bonus;
    m.tier = PrizeTier::tierOf(hits.main, hits.bonus);
    return m;
}
