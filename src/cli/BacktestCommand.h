#pragma once

#include <QString>
#include <QStringList>

// nanazubario-cli backtest [--settings FILE | --all-settings] [--from N --to M] [--format json|csv]
struct BacktestArguments {
    QString dbPath;
    QString settingsPath;
    bool settingsGiven = false;
    bool allSettings = false;
    QString from, to; // empty: the first or the last draw
    QString format;
};

// Exit status: 0, 1 (database) or 2 (arguments); messages go to stderr.
int runBacktest(const QStringList &args, const BacktestArguments &a);
