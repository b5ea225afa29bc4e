#include "cli/ExportCommand.h"

#include "cli/CliOutput.h"
#include "core/backtest/BacktestGrids.h"
#include "core/catalog/AnalysisCatalog.h"
#include "core/check/CheckGrids.h"
#include "core/grid/GridJson.h"

namespace {
const QString kCheckUsage =
    QStringLiteral("使い方: nanazubario-cli export 当選照合 --tickets FILE [--ticket \"3 7 12 19 25 31 36\"] "
                   "[--draw N | --from N --to M] [--format json|csv] [--db FILE]");

void write(const WindowExport &out, const QString &format) {
    CliOutput::writeOut(format == QLatin1String("csv") ? GridCsv::toCsv(out) : GridJson::toJson(out));
}
} // namespace

int exportCheckWindow(const CatalogEntry &entry, const QString &dbPath, const CheckOptions &o) {
    int status = 0;
    const std::optional<CheckInput> in = readCheckInput(dbPath, o, kCheckUsage, status);
    if (!in)
        return status;
    // A fresh window shows the wins only.
    const CheckResult result = TicketChecker(in->history, in->range).check(in->tickets);
    write({entry.formName,
           entry.caption,
           entry.description,
           {CheckGrids::summary(result), CheckGrids::results(in->tickets, result, CheckGrids::Rows::Wins)}},
          o.format);
    return 0;
}

int exportBacktestWindow(const CatalogEntry &entry, const BacktestArguments &a) {
    int status = 0;
    const std::optional<BacktestInput> in = readBacktestInput(a, true, status);
    if (!in)
        return status;
    const int offset = Backtest::reflectOffsetOf(in->options);
    const Backtest::Report report =
        a.allSettings ? Backtest::runAll(in->history, in->range) : Backtest::runOne(in->history, in->range, offset);
    // Among all settings the window first shows the one the verdict names.
    WindowExport out{entry.formName,
                     entry.caption,
                     entry.description,
                     {BacktestGrids::methodGrid(report.bestSetting(), !a.allSettings, report.drawsWithPrizes() > 0)}};
    if (a.allSettings)
        out.grids.push_back(BacktestGrids::settingsGrid(report, offset));
    write(out, a.format);
    return 0;
}
