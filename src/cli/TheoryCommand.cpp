#include "cli/TheoryCommand.h"

#include "cli/CliOutput.h"
#include "core/theory/TheoryJson.h"

#include <optional>
#include <tuple>

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

    const std::optional<DrawHistory> history = CliOutput::loadHistory(a.dbPath);
    if (!history)
        return 1;
    const RangeDraws draws = rangeDraws(*history, range);
    CliOutput::writeOut(TheoryJson::toJson(TheoryComparison::compare(draws), PairAnalysis::analyse(draws)));
    return 0;
}
