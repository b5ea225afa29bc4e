#include "analysis/AnalysisCatalog.h"
#include "app/QuitWhenPainted.h"
#include "history/ConnectionString.h"
#include "shell/MainFrm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTextStream>
#include <QTranslator>

namespace {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

// Opens one window as its menu item would, offscreen, and writes a picture of it.
int render(const QString &name, const QString &output, const QString &databasePath) {
    const CatalogEntry *entry = AnalysisCatalog::find(name);
    if (!entry)
        return fail(2, AnalysisCatalog::unknownWindowMessage(name));
    if (output.isEmpty())
        return fail(2, QStringLiteral("--output に画像ファイルを指定してください。"));

    MainFrm frame;
    QString failure;
    if (!frame.startUp(databasePath, &failure))
        return fail(1, failure);
    frame.showOffscreen();
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
    MainFrm::useJapaneseFont();
    // Qt's own dialogs and buttons (the file dialogs, はい and いいえ) speak Japanese like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ"));
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"),
                                      QStringLiteral("FILE"), ConnectionString::defaultDatabasePath());
    const QCommandLineOption renderOption(QStringLiteral("render"), QStringLiteral("ウィンドウを画像にして終了する"),
                                          QStringLiteral("FORM"));
    const QCommandLineOption outputOption(QStringLiteral("output"), QStringLiteral("画像ファイル (PNG)"),
                                          QStringLiteral("FILE"));
    QCommandLineOption quitOption(QStringLiteral("quit-when-shown"));
    quitOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({dbOption, renderOption, outputOption, quitOption});
    if (!parser.parse(app.arguments()))
        return fail(2, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QString databasePath = parser.value(dbOption);
    if (parser.isSet(renderOption))
        return render(parser.value(renderOption), parser.value(outputOption), databasePath);

    // The database opens on another core while the main window, its menus and the fonts are
    // set up; the menu bar's size hint loads the font configuration and shapes the menu titles.
    std::future<HistoryLoad> history = loadDrawHistoryAsync(ConnectionString::forDatabase(databasePath));
    MainFrm frame;
    frame.menuBar()->sizeHint();
    if (!frame.startUp(databasePath, nullptr, std::move(history)))
        return 1;
    frame.showMaximized();
    // For the start-up benchmark: end once the first frame that shows the prediction window is
    // painted (the window paints itself when it handles the update request).
    QuitWhenPainted quitWhenPainted([&] { return frame.subWindow(AnalysisCatalog::prediction().formName) != nullptr; });
    if (parser.isSet(quitOption))
        frame.installEventFilter(&quitWhenPainted);
    return app.exec();
}
