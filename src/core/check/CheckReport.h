#pragma once

#include "core/check/TicketChecker.h"

#include <QByteArray>

#include <functional>

// The ticket check as the command line writes it. A million tickets against every draw win tens
// of millions of times, so the report is written ticket by ticket as it is worked out: memory
// does not grow with the number of wins.
namespace CheckReport {

using Sink = std::function<void(const QByteArray &)>;

// One UTF-8 object: the range, drawsChecked, drawsSkipped, tiers and expected for all tickets,
// then per ticket its numbers, tiers, wins ({draw, main, bonus, tier, prize} in draw order; the
// prize in yen, null for a draw without prize data), won, paid and drawsWithoutPrizes, one
// ticket per line; then won, paid and drawsWithoutPrizes for all tickets. Yen are counted over
// the draws with prize data only.
void writeJson(const std::vector<Ticket> &tickets, const TicketChecker &checker, const Sink &out);

// The summary grid's texts, an empty line, then one row per win: ticket, draw, the seven numbers,
// main and bonus hits, tier. CRLF.
void writeCsv(const std::vector<Ticket> &tickets, const TicketChecker &checker, const Sink &out);

} // namespace CheckReport
