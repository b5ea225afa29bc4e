#pragma once

#include "core/backtest/Backtest.h"

#include <QByteArray>

// The command line's forms of a backtest report.
namespace BacktestExport {
// One UTF-8 JSON object and a newline.
QByteArray toJson(const Backtest::Report &report);
// A heading row, then one row per setting and method (CRLF, UTF-8).
QByteArray toCsv(const Backtest::Report &report);
} // namespace BacktestExport
