#include "analysis/AnalysisCatalog.h"
#include "history/ConnectionString.h"
#include "shell/MainFrm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFontDatabase>
#include <QMdiSubWindow>
#include <QTextStream>

namespace {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

// The program's texts are Japanese: prefer a Japanese Gothic face so that no Chinese glyph
// variants are chosen, and keep the platform font when it is not installed.
void useJapaneseFont() {
    QFont font = QApplication::font();
    const QString family = QStringLiteral("IPAGothic");
    if (QFontDatabase::families().contains(family)) {
        font.setFamilies({family, font.family()});
        font.setPointSize(9);
    }
    QApplication::setFont(font);
}

// Opens one window as its menu item would, offscreen, and writes a picture of it.
int render(const QString &name, const QString &output, const QString &databasePath) {
    const CatalogEntry *entry = AnalysisCatalog::find(name);
    if (!entry) {
        QStringList names;
        for (const CatalogEntry &e : AnalysisCatalog::entries())
            names << e.formName;
        return fail(2, QStringLiteral("不明なウィンドウです: %1（指定できるもの: %2）")
                           .arg(name, names.join(QStringLiteral("、"))));
    }
    if (output.isEmpty())
        return fail(2, QStringLiteral("--output に画像ファイルを指定してください。"));

    MainFrm frame;
    frame.setPredictionOnActivation(false);
    QString failure;
    if (!frame.startUp(databasePath, &failure))
        return fail(1, failure);
    frame.setAttribute(Qt::WA_DontShowOnScreen);
    frame.resize(1600, 1200);
    frame.show();
    QMdiSubWindow *window = frame.openWindow(entry->formName);
    if (!window)
        return fail(1, QStringLiteral("%1 を開けませんでした。").arg(entry->formName));
    QCoreApplication::processEvents();
    if (!window->grab().save(output, "PNG"))
        return fail(1, QStringLiteral("%1 に書き込めませんでした。").arg(output));
    return 0;
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ナナズバリオ"));
    useJapaneseFont();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ"));
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"),
                                      QStringLiteral("FILE"), ConnectionString::defaultDatabasePath());
    const QCommandLineOption renderOption(QStringLiteral("render"), QStringLiteral("ウィンドウを画像にして終了する"),
                                          QStringLiteral("FORM"));
    const QCommandLineOption outputOption(QStringLiteral("output"), QStringLiteral("画像ファイル (PNG)"),
                                          QStringLiteral("FILE"));
    parser.addOptions({dbOption, renderOption, outputOption});
    if (!parser.parse(app.arguments()))
        return fail(2, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QString databasePath = parser.value(dbOption);
    if (parser.isSet(renderOption))
        return render(parser.value(renderOption), parser.value(outputOption), databasePath);

    MainFrm frame;
    if (!frame.startUp(databasePath))
        return 1;
    frame.showMaximized();
    return app.exec();
}
