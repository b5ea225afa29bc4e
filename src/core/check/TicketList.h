#pragma once

#include "core/history/DrawRules.h"
#include "core/prediction/PredictedSets.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// One ticket: seven different numbers, ascending, and the same set as a bit mask.
struct Ticket {
    std::array<int, DrawRules::kMainCount> numbers{};
    DrawRules::NumberMask mask = 0;

    // The numbers must be seven different numbers 1..37, in any order.
    static Ticket of(std::array<int, DrawRules::kMainCount> numbers);
    // "3 7 12 19 25 31 36"
    QString text() const;
    bool operator==(const Ticket &) const = default;
};

// A line that is not a ticket.
struct TicketError {
    int line = 0;    // counted from 1
    QString message; // names the line, e.g. "3行目: 「40」は1～37の数字ではありません。"
};

// Tickets as people write them: one per line, seven numbers separated by spaces, commas or tabs
// (full-width digits, spaces and commas too), as typed, pasted or saved from a spreadsheet.
namespace TicketList {

struct Parsed {
    std::vector<Ticket> tickets;
    std::vector<TicketError> errors; // every bad line, in order
    bool ok() const { return errors.empty(); }
};

// One line; nullopt and the reason (without a line number) when it is not a ticket.
std::optional<Ticket> parseLine(const QString &line, QString *reason = nullptr);

// Every non-blank line is a ticket.
Parsed parse(const QString &text);

// The text of a text or CSV file, UTF-8 or CP932; nullopt and a message naming the file when it
// cannot be read.
// A ticket list is read only from a regular file of at most this size (a million tickets take
// about 22 MB).
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
std::optional<QString> readText(const QString &path, QString *error = nullptr);

// The tickets of such a file. A file that cannot be read gives one error, line 0.
Parsed readFile(const QString &path);

// One ticket per line, as parse reads them back.
QString toText(const std::vector<Ticket> &tickets);

// The one-shot prediction and each full row of seven of the repeated prediction; the
// repeated prediction's first row, the one-shot prediction again, is taken once.
std::vector<Ticket> fromPrediction(const Prediction::Sets &sets);

} // namespace TicketList
