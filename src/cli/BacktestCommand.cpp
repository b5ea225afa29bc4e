#include "cli/BacktestCommand.h"

#include "core/backtest/Backtest.h"
#include "core/backtest/BacktestExport.h"
#include "cli/CliOutput.h"
#include "core/settings/PredictionOptions.h"

#include <optional>

namespace {
using CliOutput::fail;

const QString kUsage = QStringLiteral("使い方: nanazubario-cli backtest [--db FILE] [--settings FILE | --all-settings] "
                                      "[--from N] [--to M] [--format json|csv]");
} // namespace

int runBacktest(const QStringList &args, const BacktestArguments &a) {
    if (!args.isEmpty())
        return fail(2, kUsage);
    if (a.settingsGiven && a.allSettings)
        return fail(2, QStringLiteral("--settings と --all-settings は同時に指定できません。"));
    if (a.format != QLatin1String("json") && a.format != QLatin1String("csv"))
        return fail(2, QStringLiteral("--format には json か csv を指定してください。"));

    Backtest::Range range;
    for (const auto &[text, end, name] :
         {std::tuple{a.from, &range.from, "--from"}, std::tuple{a.to, &range.to, "--to"}}) {
        if (text.isEmpty())
            continue;
        const std::optional<int> n = DrawRules::parseDrawNumber(text);
        if (!n)
            return fail(2, QStringLiteral("%1 には 1 から %2 までの回数を指定してください: %3")
                               .arg(QLatin1String(name), QString::number(DrawRules::kMaxDrawNumber), text));
        *end = *n;
    }
    if (range.from > range.to)
        return fail(2, QStringLiteral("--from の回数が --to の回数より大きくなっています。"));

    PredictionOptions options;
    if (!a.allSettings) {
        const SettingsResult settings = ReadInitFile(a.settingsPath, options);
        if (!settings.ok)
            return fail(2, settings.message);
    }
    const std::optional<DrawHistory> history = CliOutput::loadHistory(a.dbPath);
    if (!history)
        return 1;

    const Backtest::Report report = a.allSettings
                                        ? Backtest::runAll(*history, range)
                                        : Backtest::runOne(*history, range, Backtest::reflectOffsetOf(options));
    const QByteArray bytes =
        a.format == QLatin1String("csv") ? BacktestExport::toCsv(report) : BacktestExport::toJson(report);
    CliOutput::writeOut(bytes);
    return 0;
}
