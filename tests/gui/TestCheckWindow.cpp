#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"
#include "gui/check/CheckWindow.h"
#include "core/history/DrawStore.h"
#include "core/prediction/PredictionEngine.h"
#include "gui/shell/MainFrm.h"
#include "support/ExportCompare.h"
#include "support/Files.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

namespace {
const std::vector<DrawSpec> kDraws = {
    {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    {2, {3, 8, 12, 19, 25, 30, 36, 5, 22}},
    {3, {1, 0, 14, 22, 27, 31, 35, 3, 17}}, // incomplete
    {5, {1, 8, 14, 22, 27, 31, 35, 3, 17}},
};

QString randomTickets(int count) {
    std::mt19937 random(16);
    std::array<int, 37> pool{};
    for (int n = 1; n <= 37; ++n)
        pool[std::size_t(n - 1)] = n;
    QString text;
    for (int i = 0; i < count; ++i) {
        std::shuffle(pool.begin(), pool.end(), random);
        for (int k = 0; k < 7; ++k)
            text += QString::number(pool[std::size_t(k)]) + (k < 6 ? QStringLiteral(", ") : QStringLiteral("\n"));
    }
    return text;
}

template <typename T> T *child(QWidget &w, const char *name) {
    return w.findChild<T *>(QString::fromLatin1(name));
}
} // namespace

class TestCheckWindow : public QObject {
    Q_OBJECT
private:
    DrawHistory m_history = makeHistory(kDraws);
    PredictionEngine m_engine;

private slots:
    // Opened from 検証 → 当選照合, 1,000 pasted tickets checked against all draws: the summary
    // shows the core's counts and expectations, the result grid one row per win.
    void pastedTicketsAgainstAllDraws() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("draws.mdb"));
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(db), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY(store && store->store(m_history.records(), error));
        store.reset();
        MainFrm frame;
        QVERIFY(frame.startUp(db));
        frame.showOffscreen();
        frame.findChild<QAction *>(QStringLiteral("mnuTousenSyougou"))->trigger();
        QMdiSubWindow *sub = frame.subWindow(QStringLiteral("当選照合"));
        QVERIFY(sub);
        auto &window = *qobject_cast<CheckWindow *>(sub->widget());
        QCOMPARE(child<QSpinBox>(window, "spnDraw")->value(), 5); // the latest draw

        const QString text = randomTickets(1000);
        QApplication::clipboard()->setText(text);
        child<QPlainTextEdit>(window, "txtTickets")->paste();
        child<QRadioButton>(window, "optAll")->setChecked(true);
        child<QPushButton>(window, "cmdCheck")->click();

        const TicketList::Parsed parsed = TicketList::parse(text);
        QCOMPARE(parsed.tickets.size(), std::size_t(1000));
        const CheckResult result = TicketChecker(m_history, {1, 5}).check(parsed.tickets);
        QCOMPARE(result.drawsChecked(), 3);
        const ResultGrid &summary = window.summaryView()->grid();
        std::uint64_t wins = 0;
        for (int t = 0; t < 6; ++t) {
            QCOMPARE(summary.text(3, 2 + t), QString::number(result.tiers[std::size_t(t)]));
            QCOMPARE(summary.text(4, 2 + t),
                     CheckGrids::expectedText(3000.0 * PrizeTier::kTicketsPerTier[t] / PrizeTier::kAllTickets));
            wins += result.tiers[std::size_t(t)];
        }
        QVERIFY(wins > 0);
        QCOMPARE(window.resultView()->grid().rows(), int(1 + wins));
        QVERIFY(child<QLabel>(window, "Label2")->text().contains(QStringLiteral("2回分は除きました")));

        child<QCheckBox>(window, "chkAllRows")->setChecked(true);
        QCOMPARE(window.resultView()->grid().rows(), 1 + 1000 * 3);
    }

    // A bad line is named and nothing is checked; the range must run forwards.
    void refusals_data() {
        QTest::addColumn<QString>("tickets");
        QTest::addColumn<QList<int>>("fromTo"); // empty: one draw
        QTest::addColumn<QString>("message");
        QTest::newRow("bad line")
            << "1 2 3 4 5 6 7\n1 2 3 4 5 6 40\n"
            << QList<int>{} << "次の行を直してから照合してください。\n\n2行目: 「40」は1～37の数字ではありません。";
        QTest::newRow("nothing") << "\n \n" << QList<int>{} << "照合するチケットを入力してください。";
        QTest::newRow("backwards") << "1 2 3 4 5 6 7" << QList<int>{5, 2}
                                   << "範囲の始めの回（第5回）が終わりの回（第2回）より後になっています。";
    }
    void refusals() {
        QFETCH(QString, tickets);
        QFETCH(QList<int>, fromTo);
        QFETCH(QString, message);
        CheckWindow window(AnalysisCatalog::ticketCheck(), m_history, m_engine);
        window.load();
        // A first check that wins 1等 in the latest draw, so that a refusal must clear it.
        child<QPlainTextEdit>(window, "txtTickets")->setPlainText(QStringLiteral("1 8 14 22 27 31 35"));
        QVERIFY(window.check());
        QCOMPARE(window.resultView()->grid().text(12, 2), QStringLiteral("1等"));
        child<QPlainTextEdit>(window, "txtTickets")->setPlainText(tickets);
        if (!fromTo.isEmpty()) {
            child<QSpinBox>(window, "spnFrom")->setValue(fromTo[0]);
            child<QSpinBox>(window, "spnTo")->setValue(fromTo[1]);
        }
        MessageBoxWatcher watcher;
        QVERIFY(!window.check());
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].title, QStringLiteral("メッセ－ジ"));
        QCOMPARE(watcher.seen[0].text, message);
        QCOMPARE(window.resultView()->grid().rows(), 1);
        QCOMPARE(window.summaryView()->grid().text(3, 8), QStringLiteral("0"));
    }

    // The prediction's tickets are added below what was typed: the one-shot prediction and the
    // second row of the repeated prediction when it is full.
    void takePrediction_data() {
        QTest::addColumn<DrawHistory>("history");
        QTest::addColumn<QString>("taken");
        // Draws 4 and 3 are missing or incomplete, 3, 5 and 8 are in both draws 2 and 1: ten numbers.
        QTest::newRow("one row") << makeHistory(kDraws) << "1 2 12 19 25 30 36\n";
        // Draws 4, 3, 2 and 1 have no number in common: the first fourteen, draw 3 backwards.
        QTest::newRow("two rows") << makeHistory({{1, {26, 27, 28, 29, 30, 31, 32, 33, 34}},
                                                  {2, {17, 18, 19, 20, 21, 22, 23, 24, 25}},
                                                  {3, {16, 15, 14, 13, 12, 11, 10, 9, 35}},
                                                  {4, {1, 2, 3, 4, 5, 6, 7, 8, 36}},
                                                  {5, {29, 30, 31, 32, 33, 34, 35, 36, 37}}})
                                  << "1 2 3 4 5 6 7\n8 11 12 13 14 15 16\n";
    }
    void takePrediction() {
        QFETCH(DrawHistory, history);
        QFETCH(QString, taken);
        CheckWindow window(AnalysisCatalog::ticketCheck(), history, m_engine);
        window.load();
        auto *editor = child<QPlainTextEdit>(window, "txtTickets");
        editor->setPlainText(QStringLiteral("1 2 3 4 5 6 7"));
        window.takePrediction();
        QCOMPARE(editor->toPlainText(), QStringLiteral("1 2 3 4 5 6 7\n") + taken);
    }

    // The command line's export is what the window shows after the same check.
    void exportMatchesTheScreen() {
        const DrawHistory history = realHistory();
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("draws.mdb"));
        const QString file = dir.filePath(QStringLiteral("tickets.txt"));
        QVERIFY(writeDatabase(db, history));
        // The numbers of draws 645 and 652, which win 1等 there, and a ticket of no draw.
        QStringList fromFile;
        for (const DrawRecord &d : history.records())
            if (d.drawNumber == 645 || d.drawNumber == 652)
                fromFile << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                                .arg(d.number(1))
                                .arg(d.number(2))
                                .arg(d.number(3))
                                .arg(d.number(4))
                                .arg(d.number(5))
                                .arg(d.number(6))
                                .arg(d.number(7));
        QCOMPARE(fromFile.size(), 2);
        QVERIFY(writeFile(file, fromFile.join(u'\n').toUtf8()));
        const QString typed = QStringLiteral("2 9 16 23 30 33 37");

        CheckWindow window(AnalysisCatalog::ticketCheck(), history, m_engine);
        window.load();
        child<QPlainTextEdit>(window, "txtTickets")->setPlainText(typed + u'\n' + fromFile.join(u'\n'));
        child<QSpinBox>(window, "spnFrom")->setValue(640);
        child<QSpinBox>(window, "spnTo")->setValue(660);
        QVERIFY(window.check());
        QVERIFY(window.resultView()->grid().rows() > 3);

        const CliRun run =
            runCli({QStringLiteral("export"), QStringLiteral("当選照合"), QStringLiteral("--ticket"), typed,
                    QStringLiteral("--tickets"), file, QStringLiteral("--from"), QStringLiteral("640"),
                    QStringLiteral("--to"), QStringLiteral("660"), QStringLiteral("--db"), db});
        QCOMPARE(run.status, 0);
        compareWithExport(run.out, *window.exportContent());
    }
};

QTEST_MAIN(TestCheckWindow)
#include "TestCheckWindow.moc"
