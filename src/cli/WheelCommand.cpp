#include "cli/WheelCommand.h"

#include "cli/CliOutput.h"
#include "core/catalog/AnalysisCatalog.h"
#include "core/grid/GridJson.h"
#include "core/io/JsonWriter.h"
#include "core/wheel/Subsets.h"
#include "core/wheel/WheelBuilder.h"
#include "core/wheel/WheelGrids.h"
#include "core/wheel/WheelOdds.h"

#include <optional>

namespace {
using CliOutput::fail;

const QString kUsage = QStringLiteral("使い方: nanazubario-cli wheel --pool \"1 2 3 … 14\" --guarantee t/m "
                                      "[--seconds S] [--full [--max-cost 円]] [--format json|csv]");
const QString kExportUsage =
    QStringLiteral("使い方: nanazubario-cli export 組合せ購入 --pool \"1 2 3 … 14\" --guarantee t/m "
                   "[--seconds S] [--full [--max-cost 円]] [--format json|csv]");
const QString kNothingBuilt = QStringLiteral("組合せは作っていません。");
constexpr double kMaxSeconds = 3600;

QString option(const char *name) {
    return QString::fromLatin1(name);
}

void integers(JsonWriter &w, const auto &values) {
    w.beginArray();
    for (const int n : values)
        w.integer(n);
    w.endArray();
}

// Members in a fixed order, so the output can be compared as text.
QByteArray toJson(const Wheel &wheel) {
    const WheelOdds odds = WheelOdds::of(wheel);
    JsonWriter w;
    w.beginObject({.lineSeparator = ",\n "}).key("pool");
    integers(w, wheel.pool);
    w.key("guarantee").beginObject().key("match").integer(wheel.guarantee.match);
    w.key("if").integer(wheel.guarantee.drawn).endObject();
    w.key("tickets").beginArray();
    for (const DrawRules::NumberMask ticket : wheel.tickets)
        integers(w, WheelInput::ticketNumbers(ticket));
    w.endArray().breakLine().key("count").integer(qulonglong(wheel.tickets.size()));
    w.key("cost").integer(wheel.cost()).key("verified").boolean(true);
    w.breakLine().key("conditionProbability").number(odds.condition());
    w.key("atLeastTierProbability").beginObject();
    for (int i = 0; i < WheelOdds::kTiers; ++i)
        w.key(QByteArray::number(WheelOdds::kTier[std::size_t(i)]).constData()).number(odds.tier(i));
    w.endObject().endObject();
    return w.take() + '\n';
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
// The wheel the options ask for, built; nullopt after a message, status then set.
std::optional<WheelBuilder::Result> buildFrom(const QCommandLineParser &parser, const QString &usage, int &status) {
    const auto refuse = [&status](int code, const QString &message) {
        status = fail(code, message);
        return std::nullopt;
    };
    const QString format = parser.value(option("format"));
    if (format != QLatin1String("json") && format != QLatin1String("csv"))
        return refuse(2, QStringLiteral("--format には json か csv を指定してください。"));
    const bool full = parser.isSet(option("full"));
    if (!parser.isSet(option("pool")))
        return refuse(2, QStringLiteral("組合せる数字を --pool で指定してください。\n") + usage);
    if (!full && !parser.isSet(option("guarantee")))
        return refuse(2, QStringLiteral("保証を --guarantee で指定してください（例: 3/3）。\n") + usage);
    if (full && parser.isSet(option("seconds")))
        return refuse(2, QStringLiteral("--full と --seconds は一緒に指定できません。"));
    if (!full && parser.isSet(option("max-cost")))
        return refuse(2, QStringLiteral("--max-cost は --full と一緒に指定してください。"));

    QString reason;
    const std::optional<std::vector<int>> pool = WheelInput::parsePool(parser.value(option("pool")), &reason);
    if (!pool)
        return refuse(2, reason + u'\n' + kNothingBuilt);
    const std::optional<Guarantee> guarantee =
        parser.isSet(option("guarantee")) ? WheelInput::parseGuarantee(parser.value(option("guarantee")), &reason)
                                          : std::optional<Guarantee>(Guarantee{7, 7});
    if (!guarantee)
        return refuse(2, reason + u'\n' + kNothingBuilt);

    WheelBuilder::Result result;
    if (full) {
        long long limit = WheelInput::kDefaultFullCostLimit;
        if (parser.isSet(option("max-cost"))) {
            bool ok = false;
            limit = parser.value(option("max-cost")).toLongLong(&ok);
            if (!ok || limit < 0)
                return refuse(2, QStringLiteral("--max-cost には円の金額を数字で指定してください: %1")
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
                return refuse(2, QStringLiteral("--seconds には0より大きく%1以下の秒数を指定してください: %2")
                                     .arg(kMaxSeconds)
                                     .arg(parser.value(option("seconds"))));
        }
        result = WheelBuilder::build(*pool, *guarantee, options);
    }
    if (!result.wheel)
        return refuse(result.outcome == WheelBuilder::Outcome::Failed ? 1 : 2, result.message + u'\n' + kNothingBuilt);
    return result;
}
} // namespace

namespace WheelCommand {

QList<QCommandLineOption> options() {
    return {
        {option("pool"), QStringLiteral("wheel: 組合せる数字（7個以上）"), QStringLiteral("NUMBERS")},
        {option("guarantee"), QStringLiteral("wheel: 保証 t/m（本数字m個がプールにあればt個以上当たる券がある）"),
         QStringLiteral("T/M")},
        {option("seconds"), QStringLiteral("wheel: 探す時間（秒、既定 2）"), QStringLiteral("S")},
        {option("full"), QStringLiteral("wheel: プールのすべての組合せ")},
        {option("max-cost"), QStringLiteral("wheel: 全組合せの上限金額（円、既定 100,000）"), QStringLiteral("YEN")}};
}

int run(const QStringList &args, const QCommandLineParser &parser) {
    if (!args.isEmpty())
        return fail(2, kUsage);
    int status = 0;
    const std::optional<WheelBuilder::Result> result = buildFrom(parser, kUsage, status);
    if (!result)
        return status;
    const bool csv = parser.value(option("format")) == QLatin1String("csv");
    CliOutput::writeOut(csv ? toCsv(*result->wheel) : toJson(*result->wheel));
    return 0;
}

int exportWindow(const CatalogEntry &entry, const QCommandLineParser &parser) {
    int status = 0;
    const std::optional<WheelBuilder::Result> result = buildFrom(parser, kExportUsage, status);
    if (!result)
        return status;
    const WheelReport report = WheelReport::of(*result, parser.isSet(option("full")));
    const WindowExport out{entry.formName,
                           entry.caption,
                           entry.description,
                           {WheelGrids::summary(&report), WheelGrids::tickets(&*report.result.wheel)}};
    const bool csv = parser.value(option("format")) == QLatin1String("csv");
    CliOutput::writeOut(csv ? GridCsv::toCsv(out) : GridJson::toJson(out));
    return 0;
}

} // namespace WheelCommand
