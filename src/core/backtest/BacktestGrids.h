#pragma once

#include "core/grid/ResultGrid.h"
#include "core/backtest/Backtest.h"

// The grids of the window 予想の検証, computed from a report.
namespace BacktestGrids {
// Two rows per method: what the predictions hit (実績) and what random sets of the same sizes
// hit on average (偶然): draws by main hits 0..7, totals, mean with its 95 % interval,
// p-values, bonus hits and prize tiers. The Holm column is filled only for a one-setting run.
// withYen adds the cost, the yen won and the return of the tickets of seven numbers (for chance:
// random tickets in the same draws), for a range whose draws have prize data.
ResultGrid methodGrid(const Backtest::SettingResult &setting, bool oneSetting, bool withYen = false);
// Every setting of an all-settings run, ranked by hits above chance; the row of
// highlightOffset (the current options) is coloured.
ResultGrid settingsGrid(const Backtest::Report &report, int highlightOffset);
} // namespace BacktestGrids
