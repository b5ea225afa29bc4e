#include "cli/BacktestCommand.h"

#include "core/backtest/BacktestExport.h"
#include "cli/CliOutput.h"

namespace {
using CliOutput::fail;

const QString kUsage = QStringLiteral("使い方: nanazubario-cli backtest [--db FILE] [--settings FILE | --all-settings] "
                                      "[--from N] [--to M] [--format json|csv]");
} // namespace

std::optional<BacktestInput> readBacktestInput(const BacktestArguments &a, bool readOptions, int &status) {
    status = 2;
    if (a.format != QLatin1String("json") && a.format != QLatin1String("csv")) {
        fail(2, QStringLiteral("--format には json か csv を指定してください。"));
        return std::nullopt;
    }

    BacktestInput in;
    if (!CliOutput::readFromTo(a.from, a.to, in.range.from, in.range.to))
        return std::nullopt;

    if (readOptions || !a.allSettings) {
        const SettingsResult settings = ReadInitFile(a.settingsPath, in.options);
        if (!settings.ok) {
            fail(2, settings.message);
            return std::nullopt;
        }
    }
    std::optional<DrawHistory> history = CliOutput::loadHistory(a.dbPath);
    if (!history) {
        status = 1;
        return std::nullopt;
    }
    in.history = std::move(*history);
    status = 0;
    return in;
}

int runBacktest(const QStringList &args, const BacktestArguments &a) {
    if (!args.isEmpty())
        return fail(2, kUsage);
    if (a.settingsGiven && a.allSettings)
        return fail(2, QStringLiteral("--settings と --all-settings は同時に指定できません。"));
    int status = 0;
    const std::optional<BacktestInput> in = readBacktestInput(a, false, status);
    if (!in)
        return status;

    const Backtest::Report report =
        a.allSettings ? Backtest::runAll(in->history, in->range)
                      : Backtest::runOne(in->history, in->range, Backtest::reflectOffsetOf(in->options));
    const QByteArray bytes =
        a.format == QLatin1String("csv") ? BacktestExport::toCsv(report) : BacktestExport::toJson(report);
    CliOutput::writeOut(bytes);
    return 0;
}
