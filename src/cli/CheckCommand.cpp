#include "cli/CheckCommand.h"

#include "cli/CliOutput.h"
#include "core/check/CheckReport.h"

namespace {
using CliOutput::fail;

const QString kCheckUsage =
    QStringLiteral("使い方: nanazubario-cli check --ticket \"3 7 12 19 25 31 36\" [--ticket ...] [--tickets FILE] "
                   "[--draw N | --from N --to M] [--format json|csv] [--db FILE]");

// The draw range asked for; all stored draws when none is given. nullopt after a message.
std::optional<DrawRange> checkRange(const CheckOptions &o, const DrawHistory &history) {
    const auto number = [](const QString &option, const QString &text) -> std::optional<int> {
        const std::optional<int> n = DrawRules::parseDrawNumber(text);
        if (!n)
            fail(2, QStringLiteral("--%1 には%2～%3の回数を指定してください: %4")
                        .arg(option, QString::number(DrawRules::kMinDrawNumber),
                             QString::number(DrawRules::kMaxDrawNumber), text));
        return n;
    };
    if (!o.draw.isNull()) {
        if (!o.from.isNull() || !o.to.isNull()) {
            fail(2, QStringLiteral("--draw と --from/--to は一緒に指定できません。"));
            return std::nullopt;
        }
        const std::optional<int> n = number(QStringLiteral("draw"), o.draw);
        return n ? std::optional<DrawRange>(DrawRange{*n, *n}) : std::nullopt;
    }
    DrawRange range = DrawRange::all(history);
    if (!o.from.isNull()) {
        const std::optional<int> n = number(QStringLiteral("from"), o.from);
        if (!n)
            return std::nullopt;
        range.from = *n;
    }
    if (!o.to.isNull()) {
        const std::optional<int> n = number(QStringLiteral("to"), o.to);
        if (!n)
            return std::nullopt;
        range.to = *n;
    }
    if (!o.from.isNull() && !o.to.isNull() && range.from > range.to) {
        fail(2, QStringLiteral("--from の回数が --to の回数より後です。"));
        return std::nullopt;
    }
    return range;
}
} // namespace

std::optional<CheckInput> readCheckInput(const QString &dbPath, const CheckOptions &o, const QString &usage,
                                         int &status) {
    status = 2;
    if (o.format != QLatin1String("json") && o.format != QLatin1String("csv")) {
        fail(2, QStringLiteral("--format には json か csv を指定してください。"));
        return std::nullopt;
    }

    // Every ticket is read before anything is checked; every bad one is named.
    CheckInput in;
    QStringList errors;
    for (const QString &text : o.tickets) {
        QString reason;
        if (const std::optional<Ticket> t = TicketList::parseLine(text, &reason))
            in.tickets.push_back(*t);
        else
            errors << QStringLiteral("--ticket \"%1\": %2").arg(text, reason);
    }
    for (const QString &path : o.ticketFiles) {
        TicketList::Parsed parsed = TicketList::readFile(path);
        in.tickets.insert(in.tickets.end(), parsed.tickets.begin(), parsed.tickets.end());
        for (const TicketError &e : parsed.errors)
            errors << e.message;
    }
    if (!errors.isEmpty()) {
        fail(2, errors.join(u'\n') + QStringLiteral("\n何も照合していません。"));
        return std::nullopt;
    }
    if (in.tickets.empty()) {
        fail(2, QStringLiteral("照合するチケットを --ticket か --tickets で指定してください。\n") + usage);
        return std::nullopt;
    }

    std::optional<DrawHistory> history = CliOutput::loadHistory(dbPath);
    if (!history) {
        status = 1;
        return std::nullopt;
    }
    const std::optional<DrawRange> range = checkRange(o, *history);
    if (!range)
        return std::nullopt;
    in.history = std::move(*history);
    in.range = *range;
    status = 0;
    return in;
}

int runCheck(const QStringList &args, const QString &dbPath, const CheckOptions &o) {
    if (!args.isEmpty())
        return fail(2, kCheckUsage);
    int status = 0;
    const std::optional<CheckInput> in = readCheckInput(dbPath, o, kCheckUsage, status);
    if (!in)
        return status;
    const TicketChecker checker(in->history, in->range);
    (o.format == QLatin1String("csv") ? CheckReport::writeCsv : CheckReport::writeJson)(in->tickets, checker,
                                                                                        CliOutput::writeOut);
    return 0;
}
