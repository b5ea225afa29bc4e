#pragma once

#include "core/backtest/Backtest.h"
#include "core/check/PrizeTier.h"

namespace Backtest {

// Counts one tested draw for a method: its set against the draw's main and bonus numbers, and
// in yen when the draw has prize data (prizes not null).
PrizeTier::Hits tally(MethodSummary &m, DrawRules::NumberMask set, DrawRules::NumberMask main,
                      DrawRules::NumberMask bonus, const DrawPrizes *prizes);

// After the last draw: what chance gives for the same set sizes, the p-value and the mean
// with its interval.
void finishSummary(MethodSummary &m);

} // namespace Backtest
