#include "analysis/AnalysisCatalog.h"
#include "analysis/GridJson.h"
#include "history/DrawStore.h"
#include "settings/PredictionOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

int runExport(const QStringList &args, const QString &dbPath, const QString &settingsPath, const QString &format) {
    if (args.size() != 1)
        return fail(2, QStringLiteral("使い方: nanazubario-cli export WINDOW [--db FILE] [--settings FILE] [--format json|csv]"));
    const CatalogEntry *entry = AnalysisCatalog::find(args.first());
    if (!entry || !entry->exportable()) {
        QStringList names;
        for (const CatalogEntry &e : AnalysisCatalog::entries())
            if (e.exportable())
                names << e.formName;
        return fail(2, QStringLiteral("不明なウィンドウです: %1（指定できるもの: %2）").arg(args.first(), names.join(QStringLiteral("、"))));
    }
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
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ コマンドライン"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("export"));
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"), QStringLiteral("FILE"),
                                      ConnectionString::defaultDatabasePath());
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
    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(2, parser.helpText());
    const QString command = args.takeFirst();
    if (command == QLatin1String("export"))
        return runExport(args, parser.value(dbOption), parser.value(settingsOption), parser.value(formatOption));
    return fail(2, QStringLiteral("不明なコマンドです: %1").arg(command));
}
