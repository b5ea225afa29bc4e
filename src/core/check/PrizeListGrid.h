#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

#include <QString>

#include <optional>
#include <vector>

// 当せん金一覧: what every draw paid, one row per draw of the history in ascending 回数: the
// winners and the prize per winner of 1等..6等 and the carry-over, as the result files give them.
namespace PrizeListGrid {

// Heading row, then one row per draw. A draw without prize data shows "－" in every prize cell
// on grey, never a zero; a tier nobody won shows 0 winners and "該当なし" for its prize.
ResultGrid build(const DrawHistory &history);

// How many draws of the history have prize data, and how many have none.
struct Coverage {
    int withPrizes = 0;
    int withoutPrizes = 0;
};
Coverage coverage(const DrawHistory &history);

// One point of the chart over time: the 1等 prize per winner (none when nobody won 1等) and the
// carry-over, for a draw with prize data.
struct ChartPoint {
    int drawNumber = 0;
    std::optional<qint64> firstPrize;
    qint64 carryOver = 0;
};
std::vector<ChartPoint> chartPoints(const DrawHistory &history);

// "1,234,567,890"
QString amountText(qint64 value);

} // namespace PrizeListGrid
