// 組合せ購入: from the prediction's numbers to 当選照合, the grids against the command line's
// export, the refusals and キャンセル. Expected chances were counted apart (hypergeometric sums).
#include "core/catalog/AnalysisCatalog.h"
#include "core/check/TicketList.h"
#include "core/prediction/PredictionEngine.h"
#include "gui/check/CheckWindow.h"
#include "gui/grid/ResultGridView.h"
#include "gui/shell/MainFrm.h"
#include "gui/wheel/WheelWindow.h"
#include "support/ExportCompare.h"
#include "support/Files.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {
template <typename T> T *child(QWidget &w, const char *name) {
    return w.findChild<T *>(QString::fromLatin1(name));
}

// Types the input into the window and presses 作成; true once a build has ended.
bool buildWith(WheelWindow &window, const QString &pool, const QString &guarantee, double seconds = 2) {
    child<QLineEdit>(window, "txtPool")->setText(pool);
    child<QComboBox>(window, "cboGuarantee")->setCurrentText(guarantee);
    child<QDoubleSpinBox>(window, "spnSeconds")->setValue(seconds);
    QSignalSpy built(&window, &WheelWindow::built);
    child<QPushButton>(window, "cmdBuild")->click();
    return !built.isEmpty() || built.wait(60'000);
}

QString column(const ResultGrid &grid, int col) {
    QStringList texts;
    for (int r = 1; r <= grid.rows(); ++r)
        texts << grid.text(col, r);
    return texts.join(u'|');
}
} // namespace

class TestWheelWindow : public QObject {
    Q_OBJECT
private:
    DrawHistory m_history = realHistory();
    PredictionOptions m_options;

private slots:
    // The prediction window's button opens 組合せ購入 with the elimination numbers; the wheel
    // built from them goes to 当選照合, which checks exactly those tickets.
    void eliminationToTicketCheck() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("draws.mdb"));
        QVERIFY(writeDatabase(db, m_history));
        MainFrm frame;
        QVERIFY(frame.startUp(db));
        frame.showOffscreen();
        QMdiSubWindow *prediction = frame.openWindow(QStringLiteral("一発ズバリオ予想"));
        QVERIFY(prediction);
        child<QToolButton>(*prediction->widget(), "cmdWheel")->click();
        QMdiSubWindow *sub = frame.subWindow(QStringLiteral("組合せ購入"));
        QVERIFY(sub);
        auto &window = *qobject_cast<WheelWindow *>(sub->widget());

        const DrawRules::NumberMask elimination = predictSets(m_history, frame.options())[Prediction::Elimination];
        QString reason;
        const std::optional<std::vector<int>> pool =
            WheelInput::parsePool(child<QLineEdit>(window, "txtPool")->text(), &reason);
        QVERIFY2(pool, qPrintable(reason));
        QCOMPARE(WheelInput::maskOf(*pool), elimination);

        QVERIFY(buildWith(window, child<QLineEdit>(window, "txtPool")->text(), QStringLiteral("3/7"), 0.5));
        QVERIFY(window.report() && window.report()->result.wheel);
        const Wheel wheel = *window.report()->result.wheel;
        QCOMPARE(window.ticketView()->grid().rows(), 1 + int(wheel.tickets.size()));

        child<QPushButton>(window, "cmdToCheck")->click();
        QMdiSubWindow *checkSub = frame.subWindow(QStringLiteral("当選照合"));
        QVERIFY(checkSub);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), checkSub);
        auto &check = *qobject_cast<CheckWindow *>(checkSub->widget());
        const TicketList::Parsed sent = TicketList::parse(child<QPlainTextEdit>(check, "txtTickets")->toPlainText());
        QVERIFY(sent.ok());
        QCOMPARE(sent.tickets.size(), wheel.tickets.size());
        for (std::size_t i = 0; i < sent.tickets.size(); ++i)
            QCOMPARE(sent.tickets[i].mask, wheel.tickets[i]);
        QVERIFY(child<QLabel>(check, "Label2")
                    ->text()
                    .contains(QStringLiteral("チケット%1枚を照合しました").arg(wheel.tickets.size())));
    }

    // 21 numbers, 3 if 7: the proven three tickets. The summary against independently counted
    // chances; the file reads back as the tickets; the grids are the export's.
    void threeTicketsAndExport() {
        WheelWindow window(AnalysisCatalog::wheel(), m_history, m_options);
        window.load();
        QStringList numbers;
        for (int n = 37; n >= 17; --n)
            numbers << QString::number(n);
        const QString pool = numbers.join(u',');
        QVERIFY(buildWith(window, pool, QStringLiteral("3/7")));
        QCOMPARE(window.report()->result.outcome, WheelBuilder::Outcome::AtBound);
        const ResultGrid &summary = window.summaryView()->grid();
        QCOMPARE(column(summary, 2).section(u'|', 0, 6),
                 QStringLiteral("この組合せ|21個|「本数字7個がプールにあれば3個以上」|116,280通りすべて|3枚|900円|1.13%（約89回に1回）"));
        QCOMPARE(column(summary, 3), QStringLiteral("でたらめに選んだ同じ枚数||||3枚|900円||4.35%（約23回に1回）|"
                                                    "0.272%（約368回に1回）|0.00615%（約16,265回に1回）"));
        QCOMPARE(window.ticketView()->grid().rows(), 4);

        QTemporaryDir dir;
        for (const char *name : {"tickets.txt", "tickets.CSV"}) {
            const QString file = dir.filePath(QString::fromLatin1(name));
            QVERIFY(window.saveTickets(file));
            const TicketList::Parsed back = TicketList::readFile(file);
            QVERIFY(back.ok());
            QCOMPARE(back.tickets.size(), std::size_t(3));
            for (std::size_t i = 0; i < back.tickets.size(); ++i)
                QCOMPARE(back.tickets[i].mask, window.report()->result.wheel->tickets[i]);
        }
        QVERIFY(fileBytes(dir.filePath(QStringLiteral("tickets.CSV"))).contains(",") &&
                fileBytes(dir.filePath(QStringLiteral("tickets.CSV"))).endsWith("\r\n"));

        const CliRun run = runCli({QStringLiteral("export"), QStringLiteral("組合せ購入"), QStringLiteral("--pool"),
                                   pool, QStringLiteral("--guarantee"), QStringLiteral("3/7")});
        QCOMPARE(run.status, 0);
        compareWithExport(run.out, *window.exportContent());
    }

    // Input that is not a pool or a guarantee, and a full wheel over its limit: a message and
    // nothing built, the last wheel cleared. Raising the limit builds the full wheel.
    void refusals_data() {
        QTest::addColumn<QString>("pool");
        QTest::addColumn<QString>("guarantee");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("message");
        QTest::newRow("twice") << "1 2 3 4 5 6 6 8"
                               << "3/3" << false << "プールに 6 が2回あります。";
        QTest::newRow("38") << "1 2 3 4 5 6 38"
                            << "3/3" << false << "プールの「38」は1～37の数字ではありません。";
        QTest::newRow("six") << "1,2,3,4,5,6"
                             << "3/3" << false << "プールの数字が6個です。7個以上の数字を指定してください。";
        QTest::newRow("t > m") << "1 2 3 4 5 6 7 8"
                               << "4/3" << false << "当たり数 4 が条件の数 3 を超えています（「4/3」）。";
        QTest::newRow("m > 7") << "1 2 3 4 5 6 7 8"
                               << "3/8" << false << "条件の数 8 が本数字の数 7 を超えています（「3/8」）。";
        QTest::newRow("full over limit")
            << "1 2 3 4 5 6 7 8 9 10 11 12"
            << "3/3" << true
            << "プール12個の全組合せは792枚（237,600円）で、上限の100,000円を超えます。\n上限金額を上げると作れます。";
    }
    void refusals() {
        QFETCH(QString, pool);
        QFETCH(QString, guarantee);
        QFETCH(bool, full);
        QFETCH(QString, message);
        WheelWindow window(AnalysisCatalog::wheel(), m_history, m_options);
        window.load();
        QVERIFY(buildWith(window, QStringLiteral("1 2 3 4 5 6 7 8 9 10 11"), QStringLiteral("3/7")));
        QCOMPARE(window.ticketView()->grid().rows(), 2); // one ticket holds 3 if 7 on eleven numbers

        child<QCheckBox>(window, "chkFull")->setChecked(full);
        MessageBoxWatcher watcher;
        QSignalSpy built(&window, &WheelWindow::built);
        child<QLineEdit>(window, "txtPool")->setText(pool);
        child<QComboBox>(window, "cboGuarantee")->setCurrentText(guarantee);
        QVERIFY(!window.build());
        QVERIFY(!window.building());
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].text, message);
        QVERIFY(!window.report());
        QCOMPARE(window.ticketView()->grid().rows(), 1);
        QVERIFY(!child<QPushButton>(window, "cmdToCheck")->isEnabled());

        if (full) {
            child<QSpinBox>(window, "spnMaxCost")->setValue(237'600);
            QVERIFY(window.build());
            QCOMPARE(window.ticketView()->grid().rows(), 1 + 792);
        }
    }

    // キャンセル ends a long search at once, keeping the smallest wheel found so far.
    void cancel() {
        WheelWindow window(AnalysisCatalog::wheel(), m_history, m_options);
        window.load();
        child<QLineEdit>(window, "txtPool")->setText(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18"));
        child<QComboBox>(window, "cboGuarantee")->setCurrentText(QStringLiteral("5/5"));
        child<QDoubleSpinBox>(window, "spnSeconds")->setValue(600);
        QSignalSpy built(&window, &WheelWindow::built);
        QVERIFY(window.build());
        QVERIFY(window.building());
        QVERIFY(!child<QPushButton>(window, "cmdBuild")->isEnabled());
        QTest::qWait(300);
        child<QPushButton>(window, "cmdCancel")->click();
        QVERIFY(built.wait(30'000));
        QVERIFY(!window.building());
        QCOMPARE(window.report()->result.outcome, WheelBuilder::Outcome::Cancelled);
        QVERIFY(child<QLabel>(window, "Label2")->text().startsWith(QStringLiteral("キャンセルし")));
        QVERIFY(child<QPushButton>(window, "cmdBuild")->isEnabled());
    }
};

QTEST_MAIN(TestWheelWindow)
#include "TestWheelWindow.moc"
