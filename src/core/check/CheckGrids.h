#pragma once

#include "core/grid/ResultGrid.h"
#include "core/check/TicketChecker.h"

#include <QString>

#include <cstdint>
#include <vector>

// The grids of the ticket check, as the window shows them and the command line writes them.
namespace CheckGrids {

enum class Rows { Wins, All };

// The result grid holds at most this many rows below its heading; the summary is always whole.
constexpr int kMaxResultRows = 100'000;

// Rows the result grid would need for every ticket-draw pair asked for.
std::uint64_t resultRowCount(const CheckResult &result, Rows rows);

// One row per ticket and draw (those that won a tier, or all of them), ticket by ticket in
// draw order: the ticket's number, the draw, the ticket's seven numbers with those among the
// main numbers and those among the bonus numbers coloured, the hits and the tier.
ResultGrid results(const std::vector<Ticket> &tickets, const CheckResult &result, Rows rows);

// Per tier: the rule, the count observed and the count expected by chance; then the totals.
ResultGrid summary(const CheckResult &result);

// What was checked, in one sentence.
QString rangeText(const CheckResult &result);

// What the tickets won in yen against what they cost, the return beside the 45 % prizes get of
// sales, and the draws without prize data by number; empty when no draw was checked.
QString yenText(const CheckResult &result);

// An expected count with three significant digits and no exponent.
QString expectedText(double value);

// The colours of a ticket number that is among the main numbers, or among the bonus numbers.
inline constexpr Rgb kMainHit = Palette::MainMark;
inline constexpr Rgb kBonusHit = Palette::Bonus1Mark;

} // namespace CheckGrids
