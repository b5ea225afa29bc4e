#include "cli/WheelCommand.h"

#include "cli/CliOutput.h"
#include "core/wheel/WheelBuilder.h"
#include "core/wheel/WheelOdds.h"
#include "core/wheel/Subsets.h"

#include <QLocale>

namespace {
using CliOutput::fail;

const QString kUsage = QStringLiteral("使い方: nanazubario-cli wheel --pool \"1 2 3 … 14\" --guarantee t/m "
                                      "[--seconds S] [--full [--max-cost 円]] [--format json|csv]");
const QString kNothingBuilt = QStringLiteral("組合せは作っていません。");
constexpr double kMaxSeconds = 3600;

QString option(const char *name) {
    return QString::fromLatin1(name);
}

QByteArray integers(const auto &values) {
    QByteArray out = "[";
    for (const int n : values)
        out += (out.size() > 1 ? ", " : "") + QByteArray::number(n);
    return out + ']';
}

QByteArray number(double p) {
    return QByteArray::number(p, 'g', QLocale::FloatingPointShortest);
}

// Members in a fixed order, so the output can be compared as text.
QByteArray toJson(const Wheel &w) {
    const WheelOdds odds = WheelOdds::of(w);
    QByteArray out = "{\"pool\": " + integers(w.pool);
    out += ", \"guarantee\": {\"match\": " + QByteArray::number(w.guarantee.match) +
           ", \"if\": " + QByteArray::number(w.guarantee.drawn) + "}, \"tickets\": [";
    for (std::size_t i = 0; i < w.tickets.size(); ++i)
        out += (i ? ", " : "") + integers(WheelInput::ticketNumbers(w.tickets[i]));
    out += "],\n \"count\": " + QByteArray::number(qulonglong(w.tickets.size()));
    out += ", \"cost\": " + QByteArray::number(w.cost()) + ", \"verified\": true";
    out += ",\n \"conditionProbability\": " + number(odds.condition()) + ", \"atLeastTierProbability\": {";
    for (int i = 0; i < WheelOdds::kTiers; ++i)
        out += (i ? ", \"" : "\"") + QByteArray::number(WheelOdds::kTier[std::size_t(i)]) + "\": " + number(odds.tier(i));
    return out + "}}\n";
}

// One ticket a line, CRLF as in every CSV the program writes.
QByteArray toCsv(const Wheel &w) {
    QByteArray out = QStringLiteral("数字1,数字2,数字3,数字4,数字5,数字6,数字7\r\n").toUtf8();
    for (const DrawRules::NumberMask ticket : w.tickets) {
        QByteArray line;
        for (const int n : WheelInput::ticketNumbers(ticket))
            line += (line.isEmpty() ? "" : ",") + QByteArray::number(n);
        out += line + "\r\n";
    }
    return out;
}
} // namespace

namespace WheelCommand {

QList<QCommandLineOption> options() {
    return {{option("pool"), QStringLiteral("wheel: 組合せる数字（7個以上）"), QStringLiteral("NUMBERS")},
            {option("guarantee"), QStringLiteral("wheel: 保証 t/m（本数字m個がプールにあればt個以上当たる券がある）"),
             QStringLiteral("T/M")},
            {option("seconds"), QStringLiteral("wheel: 探す時間（秒、既定 2）"), QStringLiteral("S")},
            {option("full"), QStringLiteral("wheel: プールのすべての組合せ")},
            {option("max-cost"), QStringLiteral("wheel: 全組合せの上限金額（円、既定 100,000）"), QStringLiteral("YEN")}};
}

int run(const QStringList &args, const QCommandLineParser &parser) {
    if (!args.isEmpty())
        return fail(2, kUsage);
    const QString format = parser.value(option("format"));
    if (format != QLatin1String("json") && format != QLatin1String("csv"))
        return fail(2, QStringLiteral("--format には json か csv を指定してください。"));
    const bool full = parser.isSet(option("full"));
    if (!parser.isSet(option("pool")))
        return fail(2, QStringLiteral("組合せる数字を --pool で指定してください。\n") + kUsage);
    if (!full && !parser.isSet(option("guarantee")))
        return fail(2, QStringLiteral("保証を --guarantee で指定してください（例: 3/3）。\n") + kUsage);
    if (full && parser.isSet(option("seconds")))
        return fail(2, QStringLiteral("--full と --seconds は一緒に指定できません。"));
    if (!full && parser.isSet(option("max-cost")))
        return fail(2, QStringLiteral("--max-cost は --full と一緒に指定してください。"));

    QString reason;
    const std::optional<std::vector<int>> pool = WheelInput::parsePool(parser.value(option("pool")), &reason);
    if (!pool)
        return fail(2, reason + u'\n' + kNothingBuilt);
    const std::optional<Guarantee> guarantee =
        parser.isSet(option("guarantee")) ? WheelInput::parseGuarantee(parser.value(option("guarantee")), &reason)
                                          : std::optional<Guarantee>(Guarantee{7, 7});
    if (!guarantee)
        return fail(2, reason + u'\n' + kNothingBuilt);

    WheelBuilder::Result result;
    if (full) {
        long long limit = WheelInput::kDefaultFullCostLimit;
        if (parser.isSet(option("max-cost"))) {
            bool ok = false;
            limit = parser.value(option("max-cost")).toLongLong(&ok);
            if (!ok || limit < 0)
                return fail(2, QStringLiteral("--max-cost には円の金額を数字で指定してください: %1")
                                   .arg(parser.value(option("max-cost"))));
        }
        result = WheelBuilder::full(*pool, *guarantee, limit);
        if (!result.wheel && Subsets::binomial(int(pool->size()), 7) <= WheelBuilder::kMaxFullTickets)
            result.message += QStringLiteral("\n--max-cost で上限を上げられます。");
    } else {
        WheelBuilder::Options options;
        if (parser.isSet(option("seconds"))) {
            bool ok = false;
            options.seconds = parser.value(option("seconds")).toDouble(&ok);
            if (!ok || !(options.seconds > 0) || options.seconds > kMaxSeconds)
                return fail(2, QStringLiteral("--seconds には0より大きく%1以下の秒数を指定してください: %2")
                                   .arg(kMaxSeconds)
                                   .arg(parser.value(option("seconds"))));
        }
        result = WheelBuilder::build(*pool, *guarantee, options);
    }
    if (!result.wheel)
        return fail(result.outcome == WheelBuilder::Outcome::Failed ? 1 : 2, result.message + u'\n' + kNothingBuilt);
    CliOutput::writeOut(format == QLatin1String("csv") ? toCsv(*result.wheel) : toJson(*result.wheel));
    return 0;
}

} // namespace WheelCommand
