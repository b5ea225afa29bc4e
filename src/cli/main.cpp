#include "core/catalog/AnalysisCatalog.h"
#include "core/grid/GridJson.h"
#include "cli/BacktestCommand.h"
#include "cli/CheckCommand.h"
#include "cli/CliOutput.h"
#include "cli/ExportCommand.h"
#include "cli/TheoryCommand.h"
#include "cli/WheelCommand.h"
#include "core/history/DrawCsv.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "core/settings/AppPaths.h"
#include "core/io/InputFile.h"
#include "core/io/JsonWriter.h"
#include "core/settings/PredictionOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {
using CliOutput::fail;
using CliOutput::warn;
using CliOutput::writeOut;

int runExport(const QStringList &args, const QString &dbPath, const QString &settingsPath, const QString &format) {
    if (args.size() != 1)
        return fail(2, QStringLiteral(
                           "使い方: nanazubario-cli export WINDOW [--db FILE] [--settings FILE] [--format json|csv]"));
    const CatalogEntry *entry = AnalysisCatalog::find(args.first());
    if (!entry || !entry->exportable())
        return fail(2, AnalysisCatalog::unknownWindowMessage(args.first(), true));
    if (format != QLatin1String("json") && format != QLatin1String("csv"))
        return fail(2, QStringLiteral("--format には json か csv を指定してください。"));

    PredictionOptions options;
    const SettingsResult settings = ReadInitFile(settingsPath, options);
    if (!settings.ok)
        return fail(2, settings.message);
    const std::optional<DrawHistory> history = CliOutput::loadHistory(dbPath);
    if (!history)
        return 1;

    const WindowExport out{entry->formName, entry->caption, entry->description, entry->grids(*history, options)};
    const QByteArray bytes = format == QLatin1String("csv") ? GridCsv::toCsv(out) : GridJson::toJson(out);
    writeOut(bytes);
    return 0;
}

int runImport(const QStringList &args, const QString &dbPath) {
    if (args.size() != 1)
        return fail(2, QStringLiteral("使い方: nanazubario-cli import FILE [--db FILE]"));
    const QString &csvPath = args.first();
    QString problem;
    const std::optional<QByteArray> bytes = InputFile::read(csvPath, ImportPlan::kMaxFileBytes, problem);
    if (!bytes)
        return fail(2, problem);

    // The whole file is checked before the database is touched, so a bad file changes nothing.
    ImportPlan plan = ImportPlan::make(*bytes, {});
    if (!plan.fileProblem().isEmpty())
        return fail(2, QStringLiteral("%1: %2").arg(csvPath, plan.fileProblem()));
    if (!plan.unreadable().empty())
        return fail(2, QStringLiteral("%1: %2何も取り込んでいません。").arg(csvPath, plan.unreadable().front().text()));

    // Every draw of the file is taken, those stored differently too. A draw another program
    // changes after the plan was made refuses the whole import.
    StoreError error;
    ImportPlan::Summary summary;
    if (!plan.importInto(ConnectionString::forDatabase(dbPath), ImportPlan::Choice::TakeFile, summary, error))
        return fail(1, error.message);
    QTextStream(stdout) << QStringLiteral("追加 %1 件、置換 %2 件、変更なし %3 件")
                               .arg(summary.added)
                               .arg(summary.replaced)
                               .arg(summary.unchanged)
                        << Qt::endl;
    return 0;
}

int runDraws(const QStringList &args, const QString &dbPath) {
    if (!args.isEmpty())
        return fail(2, QStringLiteral("使い方: nanazubario-cli draws [--db FILE]"));
    StoreError error;
    auto store = DrawStore::open(ConnectionString::forDatabase(dbPath), error);
    if (!store)
        return fail(1, error.message);
    QString skipped;
    std::vector<DrawRecord> records = store->readAll(error, &skipped);
    if (error)
        return fail(1, error.message);
    warn(skipped);
    QString badDates;
    const QByteArray bytes = DrawCsv::write(std::move(records), &badDates);
    warn(badDates);
    writeOut(bytes);
    return 0;
}

// Keys in a fixed order, so the output can be compared as text.
QByteArray aggregatesJson(const StartupAggregates &a) {
    JsonWriter w;
    w.beginObject().key("records").integer(a.records);
    w.key("latestDrawNumber").integer(a.LatestDrawNumber);
    w.key("maxAppearance").integer(a.MaxAppearance);
    w.key("minAppearance").integer(a.MinAppearance);
    w.key("countGroupTotal").integer(a.CountGroupTotal);
    w.key("appearanceCount").beginArray();
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
        w.integer(a.AppearanceCount[std::size_t(n)]);
    w.endArray().key("numbersByCount").beginArray();
    for (const QString &numbers : a.NumbersByCount)
        w.string(numbers);
    w.endArray().endObject();
    return w.take() + '\n';
}

int runAggregates(const QStringList &args, const QString &dbPath) {
    if (!args.isEmpty())
        return fail(2, QStringLiteral("使い方: nanazubario-cli aggregates [--db FILE]"));
    const std::optional<DrawHistory> history = CliOutput::loadHistory(dbPath);
    if (!history)
        return 1;
    writeOut(aggregatesJson(history->aggregates()));
    return 0;
}
// The parser's own messages are in English.
QString parseErrorText(const QCommandLineParser &parser, const QStringList &arguments) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString &name = unknown.first();
        return QStringLiteral("不明なオプションです: %1%2").arg(name.size() > 1 ? "--" : "-", name);
    }
    // An option that takes a value takes whatever follows it, so only the last one can lack it.
    if (arguments.last().startsWith(u'-'))
        return QStringLiteral("%1 の値を指定してください。").arg(arguments.last());
    return QStringLiteral("オプションの指定が正しくありません: %1").arg(parser.errorText());
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(NANAZUBARIO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ コマンドライン"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("export WINDOW | import FILE | draws | aggregates | check | backtest | theory | wheel"));
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"),
                                      QStringLiteral("FILE"), ConnectionString::defaultDatabasePath());
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QStringLiteral("設定ファイル"),
                                            QStringLiteral("FILE"), defaultSettingsPath());
    const QCommandLineOption formatOption(QStringLiteral("format"), QStringLiteral("json または csv"),
                                          QStringLiteral("FORMAT"), QStringLiteral("json"));
    const QCommandLineOption ticketOption(QStringLiteral("ticket"), QStringLiteral("照合するチケット（7個の数字）"),
                                          QStringLiteral("NUMBERS"));
    const QCommandLineOption ticketsOption(
        QStringLiteral("tickets"), QStringLiteral("照合するチケットのファイル（1行に1枚）"), QStringLiteral("FILE"));
    const QCommandLineOption drawOption(QStringLiteral("draw"), QStringLiteral("照合する回"), QStringLiteral("N"));
    const QCommandLineOption fromOption(QStringLiteral("from"), QStringLiteral("照合・検証する最初の回"),
                                        QStringLiteral("N"));
    const QCommandLineOption toOption(QStringLiteral("to"), QStringLiteral("照合・検証する最後の回"),
                                      QStringLiteral("M"));
    const QCommandLineOption allSettingsOption(QStringLiteral("all-settings"),
                                               QStringLiteral("backtest: 反映オフセットのすべての値を検証する"));
    parser.addOptions({dbOption, settingsOption, formatOption, ticketOption, ticketsOption, drawOption, fromOption,
                       toOption, allSettingsOption});
    parser.addOptions(WheelCommand::options());
    if (!parser.parse(app.arguments()))
        return fail(2, parseErrorText(parser, app.arguments()));
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(2, parser.helpText());
    // Installed, the first start gives the user an own copy of the shipped draws.
    if (const QString failure = AppPaths().prepare(parser.value(dbOption), parser.value(settingsOption));
        !failure.isEmpty())
        return fail(1, failure);
    const QString command = args.takeFirst();
    const auto single = [&](const QCommandLineOption &option) {
        return parser.isSet(option) ? parser.value(option) : QString();
    };
    const auto checkOptions = [&] {
        return CheckOptions{parser.values(ticketOption),
                            parser.values(ticketsOption),
                            single(drawOption),
                            single(fromOption),
                            single(toOption),
                            parser.value(formatOption)};
    };
    const auto backtestArguments = [&] {
        return BacktestArguments{parser.value(dbOption),       parser.value(settingsOption),
                                 parser.isSet(settingsOption), parser.isSet(allSettingsOption),
                                 parser.value(fromOption),     parser.value(toOption),
                                 parser.value(formatOption)};
    };
    if (command == QLatin1String("export")) {
        // The windows that compute on request take the options of the commands that do the same.
        if (const CatalogEntry *entry = args.size() == 1 ? AnalysisCatalog::find(args.first()) : nullptr) {
            if (entry->kind == WindowKind::TicketCheck)
                return exportCheckWindow(*entry, parser.value(dbOption), checkOptions());
            if (entry->kind == WindowKind::Backtest)
                return exportBacktestWindow(*entry, backtestArguments());
            if (entry->kind == WindowKind::Wheel)
                return WheelCommand::exportWindow(*entry, parser);
        }
        return runExport(args, parser.value(dbOption), parser.value(settingsOption), parser.value(formatOption));
    }
    if (command == QLatin1String("import"))
        return runImport(args, parser.value(dbOption));
    if (command == QLatin1String("draws"))
        return runDraws(args, parser.value(dbOption));
    if (command == QLatin1String("aggregates"))
        return runAggregates(args, parser.value(dbOption));
    if (command == QLatin1String("check"))
        return runCheck(args, parser.value(dbOption), checkOptions());
    if (command == QLatin1String("backtest"))
        return runBacktest(args, backtestArguments());
    if (command == QLatin1String("theory"))
        return runTheory(args, {parser.value(dbOption), parser.value(fromOption), parser.value(toOption),
                                parser.value(formatOption)});
    if (command == QLatin1String("wheel"))
        return WheelCommand::run(args, parser);
    return fail(2, QStringLiteral("不明なコマンドです: %1").arg(command));
}
