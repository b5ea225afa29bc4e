#include "gui/entry/DrawEntryWindow.h"
#include "core/history/DrawStore.h"
#include "gui/history/ExportDialog.h"
#include "gui/history/ImportDialog.h"
#include "core/io/Cp932.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QByteArray kHeading =
    "回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n";
// Draws 1 and 2 as stored, 3 with another second bonus number, 6 to 8 new.
const QByteArray kNewDraws = kHeading + "1,2013-04-01,1,2,3,4,5,6,7,8,9\n"
                                        "2,2013-04-02,2,3,4,5,6,7,8,9,10\n"
                                        "3,2013-04-03,3,4,5,6,7,8,9,10,12\n"
                                        "6,2013-04-06,6,7,8,9,10,11,12,13,14\n"
                                        "7,2013-04-07,7,8,9,10,11,12,13,14,15\n"
                                        "8,2013-04-08,8,9,10,11,12,13,14,15,16\n";

// Answers the import dialog when it comes up, after noting what it showed.
class DialogDriver : public QObject {
public:
    enum class Act { Cancel, Import, TakeFileAndImport };
    explicit DialogDriver(Act act) : m_act(act) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<ImportDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            summary = dialog->findChild<QLabel *>("summary")->text();
            if (auto *label = dialog->findChild<QLabel *>("nothing"))
                nothing = label->text();
            if (auto *table = dialog->findChild<QTableWidget *>("differences"))
                differences = table->rowCount();
            if (auto *lines = dialog->findChild<QPlainTextEdit *>("unreadable"))
                unreadable = lines->toPlainText();
            buttons.clear();
            for (const QPushButton *button : dialog->findChildren<QPushButton *>())
                buttons << button->text();
            auto *import = dialog->findChild<QPushButton *>("importButton");
            importEnabled = import && import->isEnabled();
            if (m_act == Act::TakeFileAndImport)
                dialog->findChild<QRadioButton *>("takeFile")->setChecked(true);
            if (!import)
                dialog->findChild<QPushButton *>("closeButton")->click();
            else
                (m_act == Act::Cancel ? dialog->findChild<QPushButton *>("cancelButton") : import)->click();
            ++shown;
        });
        m_timer.start(5);
    }
    int shown = 0;
    QString summary, unreadable, nothing;
    QStringList buttons;
    int differences = 0;
    bool importEnabled = false;

private:
    Act m_act;
    QTimer m_timer;
};

QString numbersOf(const std::vector<DrawRecord> &records) {
    QStringList out;
    for (const DrawRecord &r : records)
        out << QStringLiteral("%1:%2").arg(r.drawNumber).arg(r.number(9));
    return out.join(QLatin1Char(' '));
}
} // namespace

class TestHistoryUpdate : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_previousDir;
    QStringList m_asked;
    bool m_answer = true;

    std::unique_ptr<MainFrm> startFrame() {
        auto frame = std::make_unique<MainFrm>();
        frame->setPredictionOnActivation(false);
        if (!frame->startUp(m_database))
            return nullptr;
        frame->setConfirm([this](const QString &text) {
            m_asked << text;
            return m_answer;
        });
        frame->show();
        return frame;
    }

    std::vector<DrawRecord> stored() const {
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(m_database), error);
        return store ? store->readAll(error) : std::vector<DrawRecord>();
    }

    QString csvFile(const QByteArray &bytes, const QString &name = QStringLiteral("draws.csv")) const {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
    }

private slots:
    void initTestCase() {
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }
    // Draws 1 to 5, each with its date.
    void init() {
        m_database = m_dir.filePath(QStringLiteral("draws.mdb"));
        QFile::remove(m_database);
        StoreError error;
        auto store =
            DrawStore::open(ConnectionString::forDatabase(m_database), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY(store);
        std::vector<DrawRecord> records;
        for (int n = 1; n <= 5; ++n) {
            records.push_back(makeDraw(n, {n, n + 1, n + 2, n + 3, n + 4, n + 5, n + 6, n + 7, n + 8}));
            records.back().drawDate = QStringLiteral("2013-04-0%1").arg(n);
        }
        QVERIFY(store->store(records, error));
        m_asked.clear();
    }

    // The plan is shown first; what is written follows the user's choice; the reload question
    // comes only when something was stored, and only はい (or the menu item) brings the new
    // draws to the windows opened afterwards, the prediction window among them.
    void importAndReload_data() {
        QTest::addColumn<int>("act");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<QString>("written");
        QTest::newRow("cancel") << int(DialogDriver::Act::Cancel) << true << "1:9 2:10 3:11 4:12 5:13" << "";
        QTest::newRow("keep stored, はい")
            << int(DialogDriver::Act::Import) << true << "1:9 2:10 3:11 4:12 5:13 6:14 7:15 8:16"
            << "追加 3 件、置換 0 件を書き込みました。";
        QTest::newRow("keep stored, いいえ")
            << int(DialogDriver::Act::Import) << false << "1:9 2:10 3:11 4:12 5:13 6:14 7:15 8:16"
            << "追加 3 件、置換 0 件を書き込みました。";
        QTest::newRow("take file, はい") << int(DialogDriver::Act::TakeFileAndImport) << true
                                         << "1:9 2:10 3:12 4:12 5:13 6:14 7:15 8:16"
                                         << "追加 3 件、置換 1 件を書き込みました。";
    }
    void importAndReload() {
        QFETCH(int, act);
        QFETCH(bool, answer);
        QFETCH(QString, storedAfter);
        QFETCH(QString, written);
        m_answer = answer;
        auto frame = startFrame();
        QVERIFY(frame);
        DialogDriver driver{DialogDriver::Act(act)};
        MessageBoxWatcher watcher;
        frame->importCsv(csvFile(kNewDraws));
        QCOMPARE(driver.shown, 1);
        QCOMPARE(watcher.seen.size(), written.isEmpty() ? 0 : 1);
        if (!written.isEmpty())
            QCOMPARE(watcher.seen[0].text, written);
        QCOMPARE(driver.summary,
                 QStringLiteral("新しい当選データ: 3 件\n登録済みと同じ当選データ: 2 件（取り込みません）\n"
                                "登録済みと異なる当選データ: 1 件"));
        QCOMPARE(driver.differences, 1);
        QCOMPARE(numbersOf(stored()), storedAfter);

        const bool stored = act != int(DialogDriver::Act::Cancel);
        QCOMPARE(m_asked, stored ? QStringList{MainFrm::reloadQuestion()} : QStringList{});
        const int latest = stored && answer ? 8 : 5;
        QCOMPARE(frame->history().latestDrawNumber(), latest);
        frame->showPredictionWindow();
        QCOMPARE(frame->prediction().latestDrawNumber(), latest);

        frame->subWindow(QStringLiteral("一発ズバリオ予想"))->close();
        QTRY_VERIFY(frame->EndAllowed());
        frame->findChild<QAction *>("mnuReload")->trigger();
        QCOMPARE(frame->history().latestDrawNumber(), stored ? 8 : 5);
        frame->showPredictionWindow();
        QCOMPARE(frame->prediction().latestDrawNumber(), stored ? 8 : 5);
    }

    // Closing one of two windows lets the import through, but the window left open still shows
    // the old draws: the new ones are not taken under it, and the user is told when they will be.
    void noReloadUnderAnOpenWindow() {
        auto frame = startFrame();
        QVERIFY(frame);
        frame->findChild<QAction *>("mnuSyutugenHindo")->trigger();
        frame->findChild<QAction *>("mnuHippari")->trigger();
        frame->subWindow(QStringLiteral("引っ張り分析"))->close();
        QTRY_VERIFY(frame->EndAllowed());
        DialogDriver driver{DialogDriver::Act::Import};
        MessageBoxWatcher watcher;
        frame->importCsv(csvFile(kNewDraws));
        QCOMPARE(numbersOf(stored()), QStringLiteral("1:9 2:10 3:11 4:12 5:13 6:14 7:15 8:16"));
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(watcher.seen.size(), 2);
        QVERIFY(watcher.seen[1].text.contains(QStringLiteral("表示中のウィンドウを閉じてから")));
        QCOMPARE(frame->history().latestDrawNumber(), 5);
        frame->findChild<QAction *>("mnuReload")->trigger();
        QCOMPARE(frame->history().latestDrawNumber(), 5);
        frame->subWindow(QStringLiteral("出現頻度分析"))->close();
        QTRY_VERIFY(!frame->subWindow(QStringLiteral("出現頻度分析")));
        frame->findChild<QAction *>("mnuReload")->trigger();
        QCOMPARE(frame->history().latestDrawNumber(), 8);
    }

    void malformedFileImportsNothing() {
        auto frame = startFrame();
        QVERIFY(frame);
        const std::vector<DrawRecord> before = stored();
        DialogDriver driver{DialogDriver::Act::Import};
        frame->importCsv(csvFile(kHeading + "6,,6,7,8,9,10,11,12,13,14\n7,,7,8,9,10,11,12,13,14\n"));
        QCOMPARE(driver.shown, 1);
        QCOMPARE(driver.buttons, QStringList{QStringLiteral("閉じる")});
        QVERIFY2(driver.unreadable.startsWith(QStringLiteral("3 行目")), qPrintable(driver.unreadable));
        QCOMPARE(stored(), before);
        QVERIFY(m_asked.isEmpty());
    }

    // A file holding only draws stored already: the dialog says there is nothing to import and
    // offers nothing but 閉じる; nothing is written or asked.
    void nothingToImport() {
        auto frame = startFrame();
        QVERIFY(frame);
        const std::vector<DrawRecord> before = stored();
        DialogDriver driver{DialogDriver::Act::Import};
        MessageBoxWatcher watcher;
        frame->importCsv(csvFile(kHeading + "1,2013-04-01,1,2,3,4,5,6,7,8,9\n"));
        QCOMPARE(driver.shown, 1);
        QCOMPARE(driver.buttons, QStringList{QStringLiteral("閉じる")});
        QCOMPARE(driver.nothing, QStringLiteral("取り込む当選データはありません。"));
        QCOMPARE(driver.differences, 0);
        QCOMPARE(stored(), before);
        QVERIFY(watcher.seen.isEmpty());
        QVERIFY(m_asked.isEmpty());
    }

    // A CSV file dropped on the main window is imported like one chosen from the menu, and is
    // refused alike while a child window is open; other files are not taken.
    void drop_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("windowOpen");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("messages");
        QTest::newRow("CSV file") << "新しい回.CSV" << false << true << 1 << 0;
        QTest::newRow("while a window is open") << "新しい回.csv" << true << true << 0 << 1;
        QTest::newRow("not a CSV file") << "新しい回.txt" << false << false << 0 << 0;
    }
    void drop() {
        QFETCH(QString, name);
        QFETCH(bool, windowOpen);
        QFETCH(bool, accepted);
        QFETCH(int, dialogs);
        QFETCH(int, messages);
        auto frame = startFrame();
        QVERIFY(frame);
        if (windowOpen)
            frame->openWindow(QStringLiteral("出現頻度分析"));
        MessageBoxWatcher watcher;
        DialogDriver driver{DialogDriver::Act::Cancel};
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(csvFile(kNewDraws, name))});
        const QPointF at(frame->width() / 2, frame->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted) {
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(frame.get(), &dropped);
        }
        QTest::qWait(100);
        QCOMPARE(driver.shown, dialogs);
        QCOMPARE(watcher.seen.size(), messages);
        if (messages)
            QCOMPARE(watcher.seen[0].text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
    }

    // Closing the data entry window asks about the reload only when it stored a change that the
    // analyses would see.
    void dataEntryClose_data() {
        QTest::addColumn<QString>("typed"); // into the second bonus number of draw 1; empty: nothing typed
        QTest::addColumn<bool>("asked");
        QTest::newRow("number changed") << "30" << true;
        QTest::newRow("nothing changed") << "" << false;
    }
    void dataEntryClose() {
        QFETCH(QString, typed);
        QFETCH(bool, asked);
        auto frame = startFrame();
        QVERIFY(frame);
        frame->openDataEntry();
        QPointer<QMdiSubWindow> sub = frame->subWindow(QStringLiteral("当選データ入力"));
        QVERIFY(sub);
        auto *entry = qobject_cast<DrawEntryWindow *>(sub->widget());
        if (!typed.isEmpty())
            QVERIFY(entry->model()->setData(entry->model()->index(0, 9), typed));
        entry->findChild<QPushButton *>("Command1")->click();
        QTRY_VERIFY(!sub);
        QTest::qWait(20);
        QCOMPARE(m_asked, asked ? QStringList{MainFrm::reloadQuestion()} : QStringList{});
        QCOMPARE(QString::number(frame->history().records().front().number(9)), asked ? typed : QStringLiteral("9"));
    }

    // A result file with prizes, taken through the menu and written back by the menu's export:
    // winners, prizes and carry-over come back as the file gave them, separators and 該当なし
    // read as numbers and 0.
    void prizesThroughMenu() {
        auto frame = startFrame();
        QVERIFY(frame);
        DialogDriver driver{DialogDriver::Act::Import};
        MessageBoxWatcher watcher;
        frame->importCsv(csvFile(
            "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2,"
            "1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,6等賞金,"
            "キャリーオーバー\r\n"
            "6,2013/04/06,06,07,08,09,10,11,12,13,14,該当なし,2,35,\"1,005\",\"15,000\",\"25,000\",該当なし,"
            "\"7,303,000円\",\"730,300\",\"9,100\",\"1,400\",\"1,000\",\"1,234,567,890\"\r\n"));
        QCOMPARE(driver.shown, 1);
        const QString path = m_dir.filePath(QStringLiteral("賞金.csv"));
        QVERIFY(ExportDialog::exportTo(frame.get(), frame->connection(), path, DrawCsv::Encoding::Utf8WithBom));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(bytes.contains("\n6,2013-04-06,6,7,8,9,10,11,12,13,14,0,2,35,1005,15000,25000,0,7303000,730300,9100,"
                                "1400,1000,1234567890\r\n"),
                 bytes.constData());
        QCOMPARE(ImportPlan::make(bytes, stored()).identicalCount(), 6);
    }

    // What the menu's export writes: the encoding chosen, every draw, read back the same.
    void exportCsv_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("UTF-8 with BOM") << int(DrawCsv::Encoding::Utf8WithBom) << QByteArray("\xEF\xBB\xBF回数,");
        QTest::newRow("CP932") << int(DrawCsv::Encoding::Cp932) << *Cp932::encode(QStringLiteral("回数,"));
    }
    void exportCsv() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, start);
        auto frame = startFrame();
        QVERIFY(frame);
        MessageBoxWatcher watcher;
        const QString path = m_dir.filePath(QStringLiteral("書き出し.csv"));
        QVERIFY(ExportDialog::exportTo(frame.get(), frame->connection(), path, DrawCsv::Encoding(encoding)));
        QCOMPARE(watcher.seen.size(), 1);
        QVERIFY(watcher.seen[0].text.startsWith(QStringLiteral("5 件の当選データを")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        const ImportPlan plan = ImportPlan::make(bytes, {});
        QCOMPARE(plan.added(), stored());
    }
};

QTEST_MAIN(TestHistoryUpdate)
#include "TestHistoryUpdate.moc"
