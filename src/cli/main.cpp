#include "analysis/AnalysisCatalog.h"
#include "analysis/GridJson.h"
#include "history/DrawCsv.h"
#include "history/DrawHistory.h"
#include "history/DrawStore.h"
#include "settings/AppPaths.h"
#include "settings/PredictionOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

void writeOut(const QByteArray &bytes) {
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

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
    StoreError error;
    std::optional<DrawHistory> history = loadDrawHistory(ConnectionString::forDatabase(dbPath), error);
    if (!history)
        return fail(1, error.message);

    const WindowExport out{entry->formName, entry->caption, entry->description, entry->grids(*history, options)};
    const QByteArray bytes = format == QLatin1String("csv") ? GridCsv::toCsv(out) : GridJson::toJson(out);
    writeOut(bytes);
    return 0;
}

int runImport(const QStringList &args, const QString &dbPath) {
    if (args.size() != 1)
        return fail(2, QStringLiteral("使い方: nanazubario-cli import FILE [--db FILE]"));
    const QString &csvPath = args.first();
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(2, QStringLiteral("%1 を読めません（%2）。").arg(csvPath, file.errorString()));
    const QByteArray bytes = file.readAll();

    // The whole file is checked before the database is touched, so a bad file changes nothing.
    const DrawCsv::ParseResult parsed = DrawCsv::parse(bytes);
    if (parsed.error)
        return fail(2, QStringLiteral("%1: %2何も取り込んでいません。").arg(csvPath, parsed.error->text()));

    StoreError error;
    auto store = DrawStore::open(ConnectionString::forDatabase(dbPath), error, DrawStore::OpenMode::CreateIfMissing);
    if (!store)
        return fail(1, error.message);
    DrawCsv::ImportSummary summary;
    if (!DrawCsv::importDraws(*store, parsed, summary, error))
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
    std::vector<DrawRecord> records = store->readAll(error);
    if (error)
        return fail(1, error.message);
    writeOut(DrawCsv::write(std::move(records)));
    return 0;
}

QByteArray jsonString(const QString &text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// Keys in a fixed order, so the output can be compared as text.
QByteArray aggregatesJson(const StartupAggregates &a) {
    QByteArray out = "{\"records\": " + QByteArray::number(a.records);
    out += ", \"latestDrawNumber\": " + QByteArray::number(a.LatestDrawNumber);
    out += ", \"maxAppearance\": " + QByteArray::number(a.MaxAppearance);
    out += ", \"minAppearance\": " + QByteArray::number(a.MinAppearance);
    out += ", \"countGroupTotal\": " + QByteArray::number(a.CountGroupTotal);
    out += ", \"appearanceCount\": [";
    for (int n = 1; n <= 37; ++n)
        out += (n > 1 ? ", " : "") + QByteArray::number(a.AppearanceCount[std::size_t(n)]);
    out += "], \"numbersByCount\": [";
    for (qsizetype c = 0; c < a.NumbersByCount.size(); ++c)
        out += (c > 0 ? ", " : "") + jsonString(a.NumbersByCount[c]);
    return out + "]}\n";
}

int runAggregates(const QStringList &args, const QString &dbPath) {
    if (!args.isEmpty())
        return fail(2, QStringLiteral("使い方: nanazubario-cli aggregates [--db FILE]"));
    StoreError error;
    std::optional<DrawHistory> history = loadDrawHistory(ConnectionString::forDatabase(dbPath), error);
    if (!history)
        return fail(1, error.message);
    writeOut(aggregatesJson(history->aggregates()));
    return 0;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(NANAZUBARIO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ コマンドライン"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("export WINDOW | import FILE | draws | aggregates"));
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"),
                                      QStringLiteral("FILE"), ConnectionString::defaultDatabasePath());
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QStringLiteral("設定ファイル"),
                                            QStringLiteral("FILE"), defaultSettingsPath());
    const QCommandLineOption formatOption(QStringLiteral("format"), QStringLiteral("json または csv"),
                                          QStringLiteral("FORMAT"), QStringLiteral("json"));
    parser.addOptions({dbOption, settingsOption, formatOption});
    if (!parser.parse(app.arguments()))
        return fail(2, parser.errorText());
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
    if (command == QLatin1String("export"))
        return runExport(args, parser.value(dbOption), parser.value(settingsOption), parser.value(formatOption));
    if (command == QLatin1String("import"))
        return runImport(args, parser.value(dbOption));
    if (command == QLatin1String("draws"))
        return runDraws(args, parser.value(dbOption));
    if (command == QLatin1String("aggregates"))
        return runAggregates(args, parser.value(dbOption));
    return fail(2, QStringLiteral("不明なコマンドです: %1").arg(command));
}
