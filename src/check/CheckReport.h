#pragma once

#include "check/TicketChecker.h"

#include <QByteArray>

// The ticket check as the command line writes it.
namespace CheckReport {

// One UTF-8 object: the range, drawsChecked, drawsSkipped, tiers and expected for all tickets,
// then per ticket its numbers, tiers and wins ({draw, main, bonus, tier} in draw order); one
// ticket per line.
QByteArray toJson(const std::vector<Ticket> &tickets, const CheckResult &result);

// The summary grid's texts, an empty line, then one row per win: ticket, draw, the seven numbers,
// main and bonus hits, tier. CRLF.
QByteArray toCsv(const std::vector<Ticket> &tickets, const CheckResult &result);

} // namespace CheckReport
