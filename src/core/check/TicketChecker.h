#pragma once

#include "core/check/PrizeTier.h"
#include "core/check/TicketList.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class DrawHistory;

// Draw numbers from..to, both included.
struct DrawRange {
    int from = 0;
    int to = 0;

    // The latest complete draw alone; empty when there is none.
    static DrawRange latest(const DrawHistory &history);
    // From the first stored draw to the last one; empty for an empty history.
    static DrawRange all(const DrawHistory &history);
    bool empty() const { return from < DrawRules::kMinDrawNumber || to < from; }
    int size() const { return empty() ? 0 : to - from + 1; }
};

// A draw as the checker sees it: its main and bonus numbers as masks.
struct CheckedDraw {
    int drawNumber = 0;
    DrawRules::NumberMask main = 0;
    DrawRules::NumberMask bonus = 0;
};

// Counts of 1等..6等 (index 0 = 1等).
using TierCounts = std::array<std::uint64_t, PrizeTier::kTierCount>;

// One draw in which a ticket won a tier.
struct TicketWin {
    std::uint32_t drawIndex; // into CheckResult::draws
    std::uint8_t main;       // main hits
    std::uint8_t bonus;      // bonus hits
    std::uint8_t tier;       // 1..6
};

// The prize per winner of 1等..6等 in one draw, in yen.
using TierPrizes = std::array<qint64, PrizeTier::kTierCount>;

struct TicketOutcome {
    TierCounts tiers{};
    std::vector<TicketWin> wins; // in draw order
    qint64 won = 0;              // yen, over the wins in draws with prizes
};

struct CheckResult {
    DrawRange range;
    std::vector<CheckedDraw> draws;     // the draws checked, ascending
    int drawsSkipped = 0;               // draws of the range missing or incomplete in the history
    std::size_t ticketCount = 0;        // tickets checked
    std::vector<TicketOutcome> tickets; // one per ticket, in the order given; empty for totals alone
    TierCounts tiers{};                 // all tickets
    std::vector<std::optional<TierPrizes>> prizes; // per draw of draws; nullopt without prize data
    qint64 won = 0;                                // yen, all tickets, draws with prizes only
    int drawsWithoutPrizes = 0;                    // draws checked that have no prize data

    int drawsChecked() const { return int(draws.size()); }
    // What the tickets cost: each ticket in each draw checked.
    qint64 paid() const { return qint64(PrizeTier::kTicketPrice) * qint64(ticketCount) * qint64(draws.size()); }
    // The prize a win was paid in its draw; nullopt when that draw has no prize data.
    std::optional<qint64> prizeOf(const TicketWin &win) const {
        const std::optional<TierPrizes> &p = prizes[win.drawIndex];
        return p ? std::optional<qint64>((*p)[std::size_t(win.tier - 1)]) : std::nullopt;
    }
    // Counts expected by chance for as many tickets and draws.
    std::array<double, PrizeTier::kTierCount> expected() const {
        return PrizeTier::expectedTiers(double(ticketCount) * double(draws.size()));
    }
};

// What one ticket matched in one draw.
struct TicketMatch {
    DrawRules::NumberMask main = 0;  // the ticket's numbers among the main numbers
    DrawRules::NumberMask bonus = 0; // and among the bonus numbers
    int mainHits = 0;
    int bonusHits = 0;
    int tier = PrizeTier::kNone;
};

// Checks tickets against the draws of a range. A draw of the range that is missing from the
// history, or lacks a number, is skipped and counted as skipped. The work is linear in
// tickets × draws, a couple of mask operations each.
class TicketChecker {
public:
    TicketChecker(const DrawHistory &history, DrawRange range);

    const DrawRange &range() const { return m_range; }
    const std::vector<CheckedDraw> &draws() const { return m_draws; }
    int drawsSkipped() const { return m_range.size() - int(m_draws.size()); }
    // Per draw of draws(), the prizes the history holds for it.
    const std::vector<std::optional<TierPrizes>> &prizes() const { return m_prizes; }
    int drawsWithoutPrizes() const;

    CheckResult check(const std::vector<Ticket> &tickets) const;
    // Only the totals, for ticket sets too large to keep an outcome per ticket; won, when
    // given, receives the yen won.
    TierCounts countTiers(std::span<const DrawRules::NumberMask> tickets, qint64 *won = nullptr) const;
    // Everything but the outcome per ticket (tickets stays empty).
    CheckResult totals(std::span<const DrawRules::NumberMask> tickets) const;
    // One ticket's outcome, for reports written ticket by ticket; outcome's storage is reused.
    void checkOne(DrawRules::NumberMask ticket, TicketOutcome &outcome) const;

    static TicketMatch match(DrawRules::NumberMask ticket, const CheckedDraw &draw);

private:
    DrawRange m_range;
    std::vector<CheckedDraw> m_draws;
    std::vector<std::optional<TierPrizes>> m_prizes;
    // A result with the range, the draws and their prizes, and nothing counted yet.
    CheckResult emptyResult(std::size_t ticketCount) const;
};
