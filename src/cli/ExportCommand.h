#pragma once

#include "cli/BacktestCommand.h"
#include "cli/CheckCommand.h"

struct CatalogEntry;

// nanazubario-cli export 当選照合 / 予想の検証: the grids those windows show once they have
// checked the tickets or replayed the range given, with the options and refusals of `check`
// and `backtest`. Exit status: 0, 1 (database) or 2 (arguments); messages go to stderr.
int exportCheckWindow(const CatalogEntry &entry, const QString &dbPath, const CheckOptions &o);
// The options of --settings (or the default file) are the window's current options: they
// choose the setting of a one-setting run and the row marked among all settings.
int exportBacktestWindow(const CatalogEntry &entry, const BacktestArguments &a);
