#include "analysis/AnalysisCatalog.h"
#include "app/QuitWhenPainted.h"
#include "history/ConnectionString.h"
#include "print/GridPrinter.h"
#include "settings/PredictionOptions.h"
#include "shell/ChildWindow.h"
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

enum class Output { Picture, Pdf };

// Opens one window as its menu item would, offscreen, and writes a picture of it or its
// printout (A4 portrait, as the print preview saves it).
int writeWindow(Output kind, const QString &name, const QString &output, const QString &databasePath,
                const QString &settingsPath) {
    const CatalogEntry *entry = AnalysisCatalog::find(name);
    if (!entry)
        return fail(2, AnalysisCatalog::unknownWindowMessage(name));
    if (output.isEmpty())
        return fail(2, kind == Output::Pdf ? QStringLiteral("--output に PDF ファイルを指定してください。")
                                           : QStringLiteral("--output に画像ファイルを指定してください。"));

    MainFrm frame;
    frame.setSettingsPath(settingsPath);
    QString failure;
    if (!frame.startUp(databasePath, &failure))
        return fail(1, failure);
    frame.showOffscreen();
    QMdiSubWindow *window = frame.openWindow(entry->formName);
    if (!window)
        return fail(1, QStringLiteral("%1 を開けませんでした。").arg(entry->formName));
    QCoreApplication::processEvents();
    if (kind == Output::Picture) {
        if (!window->grab().save(output, "PNG"))
            return fail(1, QStringLiteral("%1 に書き込めませんでした。").arg(output));
        return 0;
    }
    const auto *child = qobject_cast<ChildWindow *>(window->widget());
    std::optional<PrintDocument> document = child ? child->printDocument() : std::nullopt;
    if (!document)
        return fail(2, QStringLiteral("%1 には印刷するものがありません。").arg(entry->formName));
    QString error;
    if (!GridPrinter::writePdf(std::move(*document), output, &error))
        return fail(1, error);
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
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QStringLiteral("設定ファイル"),
                                            QStringLiteral("FILE"), defaultSettingsPath());
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("ウィンドウの印刷を PDF にして終了する"),
                                       QStringLiteral("FORM"));
    const QCommandLineOption outputOption(QStringLiteral("output"),
                                          QStringLiteral("--render の画像ファイル (PNG)、--pdf の PDF ファイル"),
                                          QStringLiteral("FILE"));
    QCommandLineOption quitOption(QStringLiteral("quit-when-shown"));
    quitOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({dbOption, settingsOption, renderOption, pdfOption, outputOption, quitOption});
    if (!parser.parse(app.arguments()))
        return fail(2, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QString databasePath = parser.value(dbOption), settingsPath = parser.value(settingsOption);
    if (parser.isSet(renderOption))
        return writeWindow(Output::Picture, parser.value(renderOption), parser.value(outputOption), databasePath,
                           settingsPath);
    if (parser.isSet(pdfOption))
        return writeWindow(Output::Pdf, parser.value(pdfOption), parser.value(outputOption), databasePath,
                           settingsPath);

    // The database opens on another core while the main window, its menus and the fonts are
    // set up; the menu bar's size hint loads the font configuration and shapes the menu titles.
    std::future<HistoryLoad> history = loadDrawHistoryAsync(ConnectionString::forDatabase(databasePath));
    MainFrm frame;
    frame.setSettingsPath(settingsPath);
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
