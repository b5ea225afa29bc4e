#pragma once

#include "core/grid/ResultGrid.h"
#include "core/wheel/WheelBuilder.h"
#include "core/wheel/WheelOdds.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One build of 組合せ購入 with the chances its wheel gives: what the window shows and the command
// line exports.
struct WheelReport {
    WheelBuilder::Result result;
    bool full = false;             // every ticket of the pool, not a search
    std::optional<WheelOdds> odds; // whenever result holds a wheel

    static WheelReport of(WheelBuilder::Result result, bool full);
};

// The grids of 組合せ購入.
namespace WheelGrids {

// The ticket grid holds at most this many tickets; the file, the CSV of the tickets and the
// ticket check get all of them.
constexpr int kMaxTicketRows = 100'000;

// Pool, guarantee, cases checked, count, cost, the chance of the guarantee's condition and of
// 5等, 4等 and 3等 or better, beside the same number of tickets chosen at random. Without a
// report (nothing built yet, or a refusal) only the headings.
ResultGrid summary(const WheelReport *report);

// One row a ticket: its number in the list and its seven numbers, coloured by their group of
// tens as 分割4傾向分析 colours them. Without a wheel the heading row only.
ResultGrid tickets(const Wheel *wheel);

// The sentence above the grids: what was built, checked and how it ended, or why nothing was.
QString statusText(const WheelReport &report);

// 0.0205%（約4,878回に1回）: three significant digits, never an exponent.
QString chanceText(double p);

// The tickets one a line as 当選照合 reads them back: "1 2 3 4 5 6 7" and LF, or with commas
// and CRLF for a CSV file.
QByteArray ticketFile(const Wheel &wheel, bool csv);

} // namespace WheelGrids
