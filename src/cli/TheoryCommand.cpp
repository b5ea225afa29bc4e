#include "cli/TheoryCommand.h"

#include "cli/CliOutput.h"
#include "core/theory/TheoryJson.h"

#include <optional>

namespace {
using CliOutput::fail;

const QString kUsage = QStringLiteral("使い方: nanazubario-cli theory [--db FILE] [--from N] [--to M] [--format json]");
} // namespace

int runTheory(const QStringList &args, const TheoryArguments &a) {
    if (!args.isEmpty())
        return fail(2, kUsage);
    if (a.format != QLatin1String("json"))
        return fail(2, QStringLiteral("--format には json を指定してください。"));

    TheoryRange range;
    if (!CliOutput::readFromTo(a.from, a.to, range.from, range.to))
        return 2;

    const std::optional<DrawHistory> history = CliOutput::loadHistory(a.dbPath);
    if (!history)
        return 1;
    const RangeDraws draws = rangeDraws(*history, range);
    CliOutput::writeOut(TheoryJson::toJson(TheoryComparison::compare(draws), PairAnalysis::analyse(draws)));
    return 0;
}
