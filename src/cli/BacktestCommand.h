#pragma once

#include "core/backtest/Backtest.h"
#include "core/history/DrawHistory.h"
#include "core/settings/PredictionOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// nanazubario-cli backtest [--settings FILE | --all-settings] [--from N --to M] [--format json|csv]
struct BacktestArguments {
    QString dbPath;
    QString settingsPath;
    bool settingsGiven = false;
    bool allSettings = false;
    QString from, to; // empty: the first or the last draw
    QString format;
};

// What a backtest works on.
struct BacktestInput {
    Backtest::Range range;
    PredictionOptions options; // all off when not read
    DrawHistory history;
};

// The format, the range, the options (unless allSettings and not readOptions) and the stored
// history, refused as `backtest` refuses them. nullopt after a message, status set.
std::optional<BacktestInput> readBacktestInput(const BacktestArguments &a, bool readOptions, int &status);

// Exit status: 0, 1 (database) or 2 (arguments); messages go to stderr.
int runBacktest(const QStringList &args, const BacktestArguments &a);
