#include "core/catalog/AnalysisCatalog.h"
#include "core/history/DrawStore.h"
#include "gui/print/GridPrinter.h"
#include "gui/figures/PrintPreviewDialog.h"
#include "gui/window/ChildWindow.h"
#include "gui/shell/JapaneseTexts.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"

#include <QMdiSubWindow>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {
constexpr int kDraws = 150;

// Draw n holds nine different numbers that move with n, so every analysis has something to show.
std::vector<DrawRecord> syntheticDraws() {
    std::vector<DrawRecord> draws;
    for (int n = 1; n <= kDraws; ++n) {
        std::array<int, 9> numbers{};
        for (int k = 0; k < 9; ++k)
            numbers[std::size_t(k)] = (n * 7 + k * 5) % 37 + 1;
        draws.push_back(makeDraw(n, numbers));
    }
    return draws;
}

struct Run {
    int status;
    QByteArray out, err;
};

Run run(const QString &program, const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {-1, {}, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The text layer of a PDF, one entry per page.
QStringList pdfPages(const QString &pdf) {
    const Run text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QStringList pages = QString::fromUtf8(text.out).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A grid of columns x rows with one heading row and one heading column, every cell named.
ResultGrid namedGrid(int columns, int rows) {
    ResultGrid g(columns, rows);
    g.freezeRows(1);
    g.freezeColumns(1);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            g.setText(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    g.all().border(AllSides);
    return g;
}

QSizeF a4Body() {
    // A4 less 10 mm margins, in page units of 1/96 inch.
    return QSizeF(190 / 25.4 * GridPrinter::kUnitsPerInch, 277 / 25.4 * GridPrinter::kUnitsPerInch);
}
} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_settings;
    const QString m_program = QStringLiteral(TEST_BINARY_DIR "/nanazubario");

    std::unique_ptr<MainFrm> startFrame() {
        auto frame = std::make_unique<MainFrm>();
        frame->setSettingsPath(m_settings);
        if (!frame->startUp(m_database))
            return nullptr;
        frame->showOffscreen();
        return frame;
    }

private slots:
    void initTestCase() {
        JapaneseTexts::useFont(); // page counts depend on the font
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("draws.mdb"));
        m_settings = m_dir.filePath(QStringLiteral("settings.ini"));
        StoreError error;
        auto store =
            DrawStore::open(ConnectionString::forDatabase(m_database), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        QVERIFY(store->store(syntheticDraws(), error));
        QFile settings(m_settings);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("出現回数分析Opt=True\r\n数字合計分析Opt=True\r\n");
    }

    void bands_data() {
        QTest::addColumn<std::vector<int>>("sizes");
        QTest::addColumn<int>("frozen");
        QTest::addColumn<double>("room");
        QTest::addColumn<QList<QPoint>>("expected"); // (first, last) of each run
        QTest::newRow("runs of whole entries after the frozen one")
            << std::vector<int>{10, 20, 20, 20, 20, 20} << 1 << 45.0 << QList<QPoint>{{2, 3}, {4, 5}, {6, 6}};
        QTest::newRow("the closing line needs one more unit")
            << std::vector<int>{20, 20, 20} << 0 << 40.0 << QList<QPoint>{{1, 1}, {2, 2}, {3, 3}};
        QTest::newRow("an entry larger than the room has a run of its own")
            << std::vector<int>{10, 50, 10} << 0 << 30.0 << QList<QPoint>{{1, 1}, {2, 2}, {3, 3}};
        QTest::newRow("everything fits") << std::vector<int>{5, 5, 5} << 0 << 100.0 << QList<QPoint>{{1, 3}};
        QTest::newRow("only frozen entries") << std::vector<int>{5, 5} << 2 << 100.0 << QList<QPoint>{};
    }
    void bands() {
        QFETCH(std::vector<int>, sizes);
        QFETCH(int, frozen);
        QFETCH(double, room);
        QFETCH(QList<QPoint>, expected);
        std::vector<int> edges{0};
        for (int s : sizes)
            edges.push_back(edges.back() + s);
        QList<QPoint> runs;
        for (const auto &[first, last] : GridPrinter::bands(edges, frozen, room))
            runs << QPoint(first, last);
        QCOMPARE(runs, expected);
    }

    // A grid larger than the page both ways: every cell is printed exactly once, with the heading
    // row and column on every page, and no page holds more than fits on it.
    void layoutCoversEveryCellOnce_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("fitWidth");
        QTest::addColumn<bool>("oneBand");
        QTest::newRow("a little wider, at screen size") << 12 << false << false;
        QTest::newRow("a little wider, narrowed") << 12 << true << true;
        QTest::newRow("far wider, narrowing would not do") << 40 << true << false;
    }
    void layoutCoversEveryCellOnce() {
        QFETCH(int, columns);
        QFETCH(bool, fitWidth);
        QFETCH(bool, oneBand);
        const int rows = 300;
        PrintDocument document{QStringLiteral("表"), QStringLiteral("説明"), 300, {{{}, namedGrid(columns, rows)}}, {}};
        GridPrinter printer(std::move(document));
        printer.setScale(fitWidth ? GridPrinter::kFitWidth : 1.0);
        const QSizeF body = a4Body();
        const std::vector<GridPrinter::Page> pages = printer.layout(body);

        std::multiset<std::pair<int, int>> printed;
        std::set<int> bandStarts;
        for (const GridPrinter::Page &page : pages) {
            QCOMPARE(page.pieces.size(), std::size_t(1));
            const GridPrinter::Piece &piece = page.pieces.front();
            QCOMPARE(piece.frozenColumns, 1);
            QCOMPARE(piece.frozenRows, 1);
            QVERIFY(piece.col1 <= piece.col2 && piece.row1 <= piece.row2);
            const QSizeF size = printer.pieceSize(piece);
            QVERIFY(size.width() <= body.width());
            QVERIFY(piece.top + size.height() <= printer.bodyHeight(body));
            bandStarts.insert(piece.col1);
            for (int r = piece.row1; r <= piece.row2; ++r)
                for (int c = piece.col1; c <= piece.col2; ++c)
                    printed.insert({c, r});
        }
        QCOMPARE(int(printed.size()), (columns - 1) * (rows - 1));
        QCOMPARE(int(std::set<std::pair<int, int>>(printed.begin(), printed.end()).size()), (columns - 1) * (rows - 1));
        QCOMPARE(bandStarts.size() == 1, oneBand);
        QVERIFY(pages.size() > bandStarts.size()); // the rows need several pages too
    }

    // A known narrow grid at screen size on A4 portrait: the page count, the heading row on every page, the page
    // numbers and the last cell.
    void pageCountAndSizeAtA4() {
        const QString pdf = m_dir.filePath(QStringLiteral("known.pdf"));
        PrintDocument document{QStringLiteral("既知の表"), QStringLiteral("説明"), 0, {}, {}};
        ResultGrid grid = namedGrid(5, 121);
        grid.setRowHeight(-1, 30);
        grid.setRowHeight(1, 10);
        document.sections.push_back({{}, grid});
        QVERIFY(GridPrinter::writePdf(document, pdf, nullptr, 1.0));
        const Run info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.status == 0, info.err.constData());
        const QString text = QString::fromUtf8(info.out);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"))),
                 qPrintable(text));
        // 120 rows of three lines each: 23 fit on an A4 page below the heading row in the
        // program's font, so 6 pages.
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(text.section(QStringLiteral("Pages:"), 1).trimmed().section(QLatin1Char('\n'), 0, 0).toInt(), 6);
        QCOMPARE(pages.size(), 6);
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pages[p].contains(QStringLiteral("1.1")));
            QVERIFY(pages[p].contains(QStringLiteral("ページ %1 / %2").arg(p + 1).arg(pages.size())));
        }
        QVERIFY(pages.last().contains(QStringLiteral("5.121")));
    }

    // A grid wider than a portrait page prints on landscape, narrowed or widened to the page
    // width; a narrow one stays portrait. A4 less 10 mm margins: 190 x 277 mm, 718 x 1047 units.
    void orientationAndWidth_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<double>("bodyWidth");
        QTest::newRow("wide grid: landscape") << 10 << true << 1046.9;
        QTest::newRow("narrow grid: portrait") << 5 << false << 718.1;
    }
    void orientationAndWidth() {
        QFETCH(int, columns);
        QFETCH(bool, landscape);
        QFETCH(double, bodyWidth);
        ResultGrid grid = namedGrid(columns, 10);
        grid.setColumnWidth(-1, 10);
        const PrintDocument document{QStringLiteral("表"), QString(), 0, {{{}, grid}}, {}};
        const QString pdf = m_dir.filePath(QStringLiteral("wide.pdf"));
        QVERIFY(GridPrinter::writePdf(document, pdf));
        const Run info = run(QStringLiteral("pdfinfo"), {pdf});
        const QString size = landscape ? QStringLiteral("842 x 595") : QStringLiteral("595 x 842");
        QVERIFY2(QString::fromUtf8(info.out).contains(size), info.out.constData());
        GridPrinter printer(document);
        const QSizeF body = landscape ? a4Body().transposed() : a4Body();
        QVERIFY(std::abs(body.width() - bodyWidth) < 0.1);
        const std::vector<GridPrinter::Page> pages = printer.layout(body);
        QCOMPARE(pages.size(), std::size_t(1));
        const double printed = printer.pieceSize(pages[0].pieces[0]).width();
        QVERIFY2(printed <= body.width() && printed > body.width() - 2, qPrintable(QString::number(printed)));
    }

    // The program writes a window's printout without a display, and fails as --render does.
    void pdfCommand_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("onePage");
        QTest::addColumn<QStringList>("onEveryPage");
        QTest::addColumn<QStringList>("somewhere");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<bool>("withoutModule");
        const QStringList header{QStringLiteral("出現間隔分析"), QStringLiteral("第150回まで"), QStringLiteral("回数")};
        QTest::newRow("interval analysis") << QStringLiteral("出現間隔分析") << 0 << false << header
                                           << QStringList{QStringLiteral("初回"), QStringLiteral("150")} << 0 << false;
        QTest::newRow("prediction")
            << QStringLiteral("一発ズバリオ予想") << 0 << true
            << QStringList{QStringLiteral("一発ズバリオ予想"), QStringLiteral("ページ 1 / 1")}
            << QStringList{QStringLiteral("●周期法による予想"), QStringLiteral("●一発ズバリオ予想"),
                           QStringLiteral("7回周期法"), QStringLiteral("■出現回数分析\\s+反映する\\n"),
                           QStringLiteral("■バラツキ分析\\s+反映しない\\n")}
            << 0 << false;
        QTest::newRow("unknown") << QStringLiteral("存在しない分析") << 2 << false << QStringList() << QStringList()
                                 << 0 << false;
        // The title sits far to the right in its band; the page shows it in the part printed.
        QTest::newRow("frequency analysis: its title on the page")
            << QStringLiteral("出現頻度分析") << 0 << true
            << QStringList{QStringLiteral("出\\s*現\\s*頻\\s*度（回）")} << QStringList() << 0 << false;
        QTest::newRow("backtest: its two charts")
            << QStringLiteral("予想の検証") << 0 << true << QStringList{QStringLiteral("予想の検証")}
            << QStringList{QStringLiteral("消去法")} << 2 << false;
        // A program whose charts module is missing still prints the tables.
        QTest::newRow("backtest without the charts module")
            << QStringLiteral("予想の検証") << 0 << true << QStringList{QStringLiteral("予想の検証")}
            << QStringList{QStringLiteral("消去法")} << 0 << true;
        QTest::newRow("data entry") << QStringLiteral("当選データ入力") << 0 << false
                                    << QStringList{QStringLiteral("当選データ入力"), QStringLiteral("第150回まで"),
                                                   QStringLiteral("ボーナス数字2\\s+抽せん日")}
                                    << QStringList{QStringLiteral("\\n\\s*150\\s+")} << 0 << false;
    }
    void pdfCommand() {
        QFETCH(QString, form);
        QFETCH(int, status);
        QFETCH(bool, onePage);
        QFETCH(QStringList, onEveryPage);
        QFETCH(QStringList, somewhere);
        QFETCH(int, pictures);
        QFETCH(bool, withoutModule);
        if (!QFile::exists(m_program))
            QSKIP("the program is not built");
        QString program = m_program;
        if (withoutModule) {
            program = m_dir.filePath(QStringLiteral("alone/nanazubario"));
            QVERIFY(QDir().mkpath(QFileInfo(program).path()));
            QVERIFY(QFile::exists(program) || QFile::copy(m_program, program));
        }
        const QString pdf = m_dir.filePath(QStringLiteral("window.pdf"));
        QFile::remove(pdf);
        const Run result = run(program, {"--pdf", form, "--output", pdf, "--db", m_database, "--settings", m_settings});
        QVERIFY2(result.status == status, result.err.constData());
        if (status != 0) {
            QVERIFY(!QFile::exists(pdf));
            QVERIFY(!result.err.isEmpty());
            return;
        }
        const QStringList pages = pdfPages(pdf);
        QVERIFY(!pages.isEmpty());
        QCOMPARE(pages.size() == 1, onePage);
        for (const QString &page : pages)
            for (const QString &text : onEveryPage)
                QVERIFY2(page.contains(QRegularExpression(text)), qPrintable(text + QStringLiteral(" missing on a page")));
        const QString all = pages.join(QString());
        for (const QString &pattern : somewhere)
            QVERIFY2(all.contains(QRegularExpression(pattern)), qPrintable(pattern));
        const Run images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QCOMPARE(int(QString::fromUtf8(images.out).count(QStringLiteral(" image "))), pictures);
    }

    // 印刷 opens the preview on the window's content; Ctrl+P does the same where there is no
    // button.
    void printOpensPreview_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("button");
        QTest::newRow("analysis window") << QStringLiteral("数字合計分析") << true;
        QTest::newRow("prediction window") << QStringLiteral("一発ズバリオ予想") << true;
        QTest::newRow("ticket check window") << QStringLiteral("当選照合") << true;
        QTest::newRow("backtest window") << QStringLiteral("予想の検証") << true;
        QTest::newRow("wheel window") << QStringLiteral("組合せ購入") << true;
        QTest::newRow("no button: Ctrl+P") << QStringLiteral("出現頻度分析") << false;
    }
    void printOpensPreview() {
        QFETCH(QString, form);
        QFETCH(bool, button);
        auto frame = startFrame();
        QVERIFY(frame);
        QMdiSubWindow *sub = frame->openWindow(form);
        QVERIFY(sub);
        QString caption;
        int pages = 0;
        QTimer::singleShot(0, this, [&] {
            if (auto *preview = qobject_cast<PrintPreviewDialog *>(QApplication::activeModalWidget())) {
                caption = preview->windowTitle().remove(QStringLiteral("印刷プレビュー - "));
                if (auto *pagesShown = preview->findChild<QPrintPreviewWidget *>())
                    pages = pagesShown->pageCount();
                preview->reject();
            }
        });
        if (button) {
            auto *print = sub->widget()->findChild<QPushButton *>(QStringLiteral("Command2"));
            QVERIFY(print);
            print->click();
        } else {
            QVERIFY(!sub->widget()->findChild<QPushButton *>(QStringLiteral("Command2")));
            QApplication::setActiveWindow(frame.get());
            sub->widget()->setFocus();
            QVERIFY(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
        }
        QCOMPARE(caption, AnalysisCatalog::find(form)->caption);
        QVERIFY(pages >= 1);
    }

    // "CSVで保存..." writes what `nanazubario-cli export --format csv` prints, with or without a
    // byte-order mark.
    void csvEqualsExport_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("byteOrderMark");
        QTest::newRow("analysis, plain") << QStringLiteral("引っ張り分析") << false;
        QTest::newRow("analysis, with mark") << QStringLiteral("出現間隔分析") << true;
        QTest::newRow("prediction") << QStringLiteral("一発ズバリオ予想") << false;
    }
    void csvEqualsExport() {
        QFETCH(QString, form);
        QFETCH(bool, byteOrderMark);
        const QString cli = QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli");
        if (!QFile::exists(cli))
            QSKIP("the command line tool is not built");
        auto frame = startFrame();
        QVERIFY(frame);
        QMdiSubWindow *sub = frame->openWindow(form);
        QVERIFY(sub);
        const QString path = m_dir.filePath(QStringLiteral("grid.csv"));
        QVERIFY(qobject_cast<ChildWindow *>(sub->widget())->writeCsv(path, byteOrderMark));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), byteOrderMark);
        if (byteOrderMark)
            bytes.remove(0, 3);
        const Run exported = run(cli, {"export", form, "--format", "csv", "--db", m_database, "--settings", m_settings});
        QCOMPARE(exported.status, 0);
        QCOMPARE(bytes, exported.out);
    }
};

QTEST_MAIN(TestPrinting)
#include "TestPrinting.moc"
