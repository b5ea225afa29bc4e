#pragma once

#include "core/history/DrawRecord.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// One row of the data entry table: what the user sees and the draw it stands for in the
// database. The texts are 回数, the nine number fields, then 抽せん日: a date the user typed
// that is a real date is kept as it is stored (2026-07-31), anything else as typed.
struct DrawRow {
    static constexpr int kDateColumn = 1 + DrawRecord::kFieldCount;
    static constexpr int kColumnCount = kDateColumn + 1;
    using Texts = std::array<QString, kColumnCount>;

    quint64 id = 0;
    Texts texts;
    std::optional<DrawRecord> stored; // the draw as the table last read or wrote it
    bool refused = false;             // the database refused it; not tried again until edited
};

// Whether rows of the data entry table may be stored, by the draw rules.
namespace DrawRowCheck {
// Full-width digits become ASCII and surrounding spaces go; anything else is kept as typed so
// that the check can point at it.
QString normalised(const QString &text);
// A typed 抽せん日, normalised; a real date in any form the user may type becomes 2026-07-31.
QString typedDate(const QString &text);
// A cell's text as the user sees it: a date as 2026/07/31.
QString shownText(const QString &text, int column);
bool isDateText(const QString &text);
DrawRow::Texts textsOf(const DrawRecord &record);
bool allEmpty(const DrawRow::Texts &texts);
// The row differs from the draw it was read as (a new row: it holds any text).
bool isPending(const DrawRow &row);

// Rows whose draw number another row also has. Of the rows sharing a number, the one that
// holds that draw in the database keeps it (otherwise the first); the others are at fault.
// One pass over the rows.
std::vector<bool> duplicateRows(const std::vector<DrawRow> &rows);
// What is wrong with a row's 回数, so that the user is told which fault to correct.
enum class DrawNumberFault { None, Missing, NotANumber, Duplicate };
DrawNumberFault drawNumberFault(const DrawRow::Texts &texts, bool duplicate);
// The earlier number column (1..9) holding the same number as column c, or -1: the nine
// numbers of a draw all differ.
int repeatedColumn(const DrawRow::Texts &texts, int c);
// The first faulty column of a row (0 = 回数), or -1 when it may be stored.
int faultColumn(const DrawRow::Texts &texts, bool duplicate);
// The draw a faultless, non-empty row stands for.
DrawRecord recordOf(const DrawRow &row);
} // namespace DrawRowCheck
