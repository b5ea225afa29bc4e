#include "core/catalog/AnalysisCatalog.h"
#include "app/QuitWhenPainted.h"
#include "core/history/ConnectionString.h"
#include "gui/print/GridPrinter.h"
#include "core/settings/AppPaths.h"
#include "core/settings/PredictionOptions.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/BandedFrameStyle.h"
#include "gui/window/ChildWindow.h"
#include "gui/shell/HelpWindow.h"
#include "gui/shell/JapaneseTexts.h"
#include "gui/shell/MainFrm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextStream>

namespace {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

// The two windows outside the multiple-document area, by window name or menu item name.
const QStringList kAboutNames = {QStringLiteral("バージョン情報"), QStringLiteral("mnuAbout")};
const QStringList kHelpNames = {QStringLiteral("ヘルプ"), QStringLiteral("mnuHelpFile")};

// The main window on the given files, shown offscreen as --render and --pdf need it; the reason
// when it cannot start, else empty.
QString startOffscreen(MainFrm &frame, const QString &databasePath, const QString &settingsPath) {
    frame.setSettingsPath(settingsPath);
    QString failure;
    if (!frame.startUp(databasePath, &failure))
        return failure.isEmpty() ? QStringLiteral("起動できませんでした。") : failure;
    frame.showOffscreen();
    return {};
}

QString notOpened(const CatalogEntry &entry) {
    return QStringLiteral("%1 を開けませんでした。").arg(entry.formName);
}

// Opens windows as their menu items would, offscreen, and writes a picture: of the window when
// one is named, of the main window holding them side by side when several are.
int render(const QString &names, const QString &output, const QString &databasePath, const QString &settingsPath) {
    const QStringList list = names.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &name : list)
        if (!AnalysisCatalog::find(name) && !kAboutNames.contains(name) && !kHelpNames.contains(name))
            return fail(2, QStringLiteral("不明なウィンドウです: %1（指定できるもの: %2、%3、%4）")
                               .arg(name, AnalysisCatalog::formNames().join(QStringLiteral("、")), kAboutNames.front(),
                                    kHelpNames.front()));
    if (list.isEmpty())
        return fail(2, QStringLiteral("--render にウィンドウ名を指定してください。"));
    if (output.isEmpty())
        return fail(2, QStringLiteral("--output に画像ファイルを指定してください。"));

    MainFrm frame;
    if (const QString failure = startOffscreen(frame, databasePath, settingsPath); !failure.isEmpty())
        return fail(1, failure);
    QWidget *picture = nullptr;
    QRect used;
    for (const QString &name : list) {
        if (kAboutNames.contains(name)) {
            frame.showAbout();
            picture = frame.findChild<AboutWindow *>();
            continue;
        }
        if (kHelpNames.contains(name)) {
            const QString path = AppPaths().help();
            if (!QFile::exists(path))
                return fail(1, QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(path));
            frame.showHelp();
            picture = frame.findChild<HelpWindow *>();
            continue;
        }
        const CatalogEntry *entry = AnalysisCatalog::find(name);
        QMdiSubWindow *window = frame.openWindow(entry->formName);
        if (!window)
            return fail(1, notOpened(*entry));
        // Each next window stands right of the ones before it.
        if (!used.isEmpty())
            window->move(used.right() + 1, 0);
        used |= window->geometry();
        picture = window;
    }
    if (list.size() > 1) {
        // The main window just holds what was opened.
        const QSize area = frame.mdiArea()->viewport()->size();
        frame.resize(frame.size() - area + used.size().boundedTo(area));
        picture = &frame;
    }
    QCoreApplication::processEvents();
    if (!picture || !picture->grab().save(output, "PNG"))
        return fail(1, QStringLiteral("%1 に書き込めませんでした。").arg(output));
    return 0;
}
// Opens one window as its menu item would, offscreen, and writes its printout as the print
// preview saves it (A4 portrait).
int printToPdf(const QString &name, const QString &output, const QString &databasePath, const QString &settingsPath) {
    const CatalogEntry *entry = AnalysisCatalog::find(name);
    if (!entry)
        return fail(2, AnalysisCatalog::unknownWindowMessage(name));
    if (output.isEmpty())
        return fail(2, QStringLiteral("--output に PDF ファイルを指定してください。"));

    MainFrm frame;
    if (const QString failure = startOffscreen(frame, databasePath, settingsPath); !failure.isEmpty())
        return fail(1, failure);
    QMdiSubWindow *window = frame.openWindow(entry->formName);
    if (!window)
        return fail(1, notOpened(*entry));
    QCoreApplication::processEvents();
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
    // --help and --version only print: they answer on a terminal without a display too. A picture
    // needs no display either: rendering works where none is set.
    for (int i = 1; i < argc; ++i)
        if (QByteArrayList{"-h", "--help", "-v", "--version"}.contains(argv[i]) ||
            (qstrcmp(argv[i], "--render") == 0 && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ナナズバリオ"));
    QApplication::setApplicationVersion(QStringLiteral(NANAZUBARIO_VERSION));
    // Desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.nanazubario.NanaZubario"));
    QApplication::setStyle(new BandedFrameStyle(QApplication::style()));
    JapaneseTexts::useFont();
    if (!JapaneseTexts::useQtTexts())
        QTextStream(stderr) << QStringLiteral(
                                   "Qt の日本語訳 (qtbase_ja.qm) が見つかりません。ボタンは英語で表示されます。")
                            << Qt::endl;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナナズバリオ"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("データベースファイル"),
                                      QStringLiteral("FILE"), ConnectionString::defaultDatabasePath());
    const QCommandLineOption renderOption(QStringLiteral("render"),
                                          QStringLiteral("ウィンドウを画像にして終了する（複数はコンマで区切る）"),
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
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const QString databasePath = parser.value(dbOption), settingsPath = parser.value(settingsOption);
    // Installed, the first start gives the user an own copy of the shipped draws.
    if (const QString failure = AppPaths().prepare(databasePath, settingsPath); !failure.isEmpty()) {
        if (parser.isSet(renderOption) || parser.isSet(pdfOption))
            return fail(1, failure);
        QMessageBox::critical(nullptr, QStringLiteral("メッセ－ジ"), failure);
        return 1;
    }
    if (parser.isSet(renderOption))
        return render(parser.value(renderOption), parser.value(outputOption), databasePath, settingsPath);
    if (parser.isSet(pdfOption))
        return printToPdf(parser.value(pdfOption), parser.value(outputOption), databasePath, settingsPath);

    // The database opens on another core while the menu bar's size hint loads the font
    // configuration and shapes the menu titles. Not before the main window is built: the two
    // threads loading code and libraries at once slow each other down more than they gain.
    MainFrm frame;
    BackgroundLoad load = loadDrawHistoryAsync(ConnectionString::forDatabase(databasePath));
    frame.setSettingsPath(settingsPath);
    frame.menuBar()->sizeHint();
    if (!frame.startUp(databasePath, nullptr, std::move(load.history)))
        return 1;
    frame.showMaximized();
    // For the start-up benchmark: end once the first frame that shows the prediction window is
    // painted (the window paints itself when it handles the update request).
    QuitWhenPainted quitWhenPainted([&] { return frame.subWindow(AnalysisCatalog::prediction().formName) != nullptr; });
    if (parser.isSet(quitOption))
        frame.installEventFilter(&quitWhenPainted);
    return app.exec();
}
