// nanazubario-cli run as a process: what it refuses, and the ticket check against a history
// small enough to check by hand.
#include "core/history/DrawStore.h"
#include "support/Files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Draw 4 is not stored, draw 6 lacks its second bonus number.
const QByteArray kDraws = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n"
                          "1,1,2,3,4,5,6,7,8,9\n2,10,11,12,13,14,15,16,1,2\n3,1,2,3,4,20,21,22,5,23\n"
                          "5,1,2,3,4,5,6,8,7,30\n6,1,2,3,4,5,6,7,8,\n";
const QString kTicket1 = QStringLiteral("1 2 3 4 5 6 7");
// Tickets 2 and 3 as a file in UTF-8 with a byte-order mark, the third written backwards.
const QByteArray kUtf8Tickets = "\xEF\xBB\xBF"
                                "10 11 12 1 2 30 31\r\n36,22,21,20,3,2,1\r\n";
// The same two in CP932: full-width digits and the Japanese comma (８１ ４１).
const QByteArray kCp932Tickets = "\x82\x50\x82\x4F\x81\x41\x82\x50\x82\x50\x81\x41\x82\x50\x82\x51\x81\x41"
                                 "\x82\x50\x81\x41\x82\x51\x81\x41\x82\x52\x82\x4F\x81\x41\x82\x52\x82\x50\n"
                                 "36 22 21 20 3 2 1\n";

// Ticket 1: 1等 in draw 1, 5等 in draw 3, 2等 in draw 5; ticket 2: 6等 in draw 2; ticket 3:
// 3等 in draw 3. Expected: 3 tickets × 4 draws × (1, 14, 196, 9135, 142100, 242550) / 10295472.
const QByteArray kJson =
    "{\"from\": 1, \"to\": 6,\n \"drawsChecked\": 4, \"drawsSkipped\": 2,\n \"tiers\": [1, 1, 1, 0, 1, 1],\n"
    " \"expected\": [1.165560937856953e-06,1.631785312999734e-05,0.00022844994381996278,0.010647399167323266,"
    "0.16562620926947302,0.28270680547720395],\n \"tickets\": [\n"
    "  {\"numbers\": [1, 2, 3, 4, 5, 6, 7], \"tiers\": [1, 1, 0, 0, 1, 0], \"wins\": [{\"draw\": 1, \"main\": 7, "
    "\"bonus\": 0, \"tier\": 1, \"prize\": null}, {\"draw\": 3, \"main\": 4, \"bonus\": 1, \"tier\": 5, "
    "\"prize\": null}, {\"draw\": 5, \"main\": 6, \"bonus\": 1, \"tier\": 2, \"prize\": null}], \"won\": 0, "
    "\"paid\": 1200, \"drawsWithoutPrizes\": 4},\n"
    "  {\"numbers\": [1, 2, 10, 11, 12, 30, 31], \"tiers\": [0, 0, 0, 0, 0, 1], \"wins\": [{\"draw\": 2, \"main\": "
    "3, \"bonus\": 2, \"tier\": 6, \"prize\": null}], \"won\": 0, \"paid\": 1200, \"drawsWithoutPrizes\": 4},\n"
    "  {\"numbers\": [1, 2, 3, 20, 21, 22, 36], \"tiers\": [0, 0, 1, 0, 0, 0], \"wins\": [{\"draw\": 3, \"main\": "
    "6, \"bonus\": 0, \"tier\": 3, \"prize\": null}], \"won\": 0, \"paid\": 1200, \"drawsWithoutPrizes\": 4}\n"
    " ],\n \"won\": 0, \"paid\": 3600, \"drawsWithoutPrizes\": 4}\n";
const QByteArray kCsv = "等級,当選条件,当選数,偶然の期待値\r\n1等, 本数字7個すべて,1,0.00000117\r\n"
                        "2等, 本数字6個とボーナス数字1個,1,0.0000163\r\n3等, 本数字6個,1,0.000228\r\n"
                        "4等, 本数字5個,0,0.0106\r\n5等, 本数字4個,1,0.166\r\n"
                        "6等, 本数字3個とボーナス数字1個か2個,1,0.283\r\n合計,,5,0.459\r\n\r\n"
                        "チケット,回数,数字1,数字2,数字3,数字4,数字5,数字6,数字7,本数字,ボーナス,等級\r\n"
                        "1,1,1,2,3,4,5,6,7,7,0,1等\r\n1,3,1,2,3,4,5,6,7,4,1,5等\r\n1,5,1,2,3,4,5,6,7,6,1,2等\r\n"
                        "2,2,1,2,10,11,12,30,31,3,2,6等\r\n3,3,1,2,3,20,21,22,36,6,0,3等\r\n";
} // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;

    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

private slots:
    void initTestCase() {
        m_db = path("t.mdb");
        QVERIFY(writeFile(path("draws.csv"), kDraws));
        QVERIFY(writeFile(path("utf8.txt"), kUtf8Tickets));
        QVERIFY(writeFile(path("cp932.txt"), kCp932Tickets));
        QVERIFY(writeFile(path("bad.txt"), "1 2 3 4 5 6 7\n1 2 3 4 5 6 40\n"));
        QVERIFY(writeFile(path("empty.txt"), "\n"));
        QVERIFY(writeFile(path("bad.csv"), kDraws + "7,1,2,3,4,5,6,38,8,9\n"));
        QCOMPARE(runCli({QStringLiteral("import"), path("draws.csv"), QStringLiteral("--db"), m_db}).status, 0);
    }

    // Every refusal: its status, a Japanese message on stderr that names the fault, nothing on stdout.
    void refusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString t = kTicket1;
        QTest::newRow("no command") << QStringList{} << 2 << "ナナズバリオ コマンドライン";
        QTest::newRow("unknown command") << QStringList{"list"} << 2 << "不明なコマンドです: list";
        QTest::newRow("unknown option") << QStringList{"draws", "--bogus"} << 2 << "--bogus";
        QTest::newRow("option without value") << QStringList{"check", "--ticket", t, "--draw"} << 2 << "--draw";
        QTest::newRow("import: no file") << QStringList{"import"} << 2 << "使い方";
        QTest::newRow("import: two files") << QStringList{"import", "DIR/draws.csv", "DIR/draws.csv"} << 2 << "使い方";
        QTest::newRow("import: missing file") << QStringList{"import", "DIR/無い.csv"} << 2 << "無い.csv を読めません";
        QTest::newRow("import: bad line")
            << QStringList{"import", "DIR/bad.csv"} << 2 << "7 行目、第7数字: 「38」は 1 から 37 の数字ではありません";
        QTest::newRow("draws: argument") << QStringList{"draws", "x"} << 2 << "使い方";
        QTest::newRow("aggregates: argument") << QStringList{"aggregates", "x"} << 2 << "使い方";
        QTest::newRow("export: no window") << QStringList{"export"} << 2 << "使い方";
        QTest::newRow("export: two windows") << QStringList{"export", "出現回数分析", "出現回数分析"} << 2 << "使い方";
        QTest::newRow("export: unknown window")
            << QStringList{"export", "無い分析"} << 2 << "不明なウィンドウです: 無い分析";
        QTest::newRow("export: data entry")
            << QStringList{"export", "当選データ入力"} << 2 << "当選データ入力（指定できるもの: 出現頻度分析、";
        QTest::newRow("export: the names end")
            << QStringList{"export", "x"} << 2
            << "理論との比較、ペア出現分析、一発ズバリオ予想、当せん金一覧、当選照合、予想の検証、組合せ購入）";
        QTest::newRow("export wheel: no pool")
            << QStringList{"export", "組合せ購入", "--guarantee", "3/3"} << 2
            << "組合せる数字を --pool で指定してください。\n使い方: nanazubario-cli export 組合せ購入";
        QTest::newRow("export: format") << QStringList{"export", "出現回数分析", "--format", "xml"} << 2 << "--format";
        QTest::newRow("export: missing database")
            << QStringList{"export", "出現回数分析", "--db", "/nonexistent/無い.mdb"} << 1 << "/nonexistent/無い.mdb";
        QTest::newRow("export check: no ticket") << QStringList{"export", "当選照合"} << 2 << "--ticket か --tickets";
        QTest::newRow("export check: bad file line")
            << QStringList{"export", "mnuTousenSyougou", "--tickets", "DIR/bad.txt"} << 2 << "bad.txt の2行目: 「40」";
        QTest::newRow("export check: draw and from")
            << QStringList{"export", "当選照合", "--ticket", t, "--draw", "1", "--from", "1"} << 2
            << "--draw と --from/--to";
        QTest::newRow("export check: format")
            << QStringList{"export", "当選照合", "--ticket", t, "--format", "xml"} << 2 << "--format";
        QTest::newRow("export check: missing database")
            << QStringList{"export", "当選照合", "--ticket", t, "--db", "/nonexistent/無い.mdb"} << 1 << "無い.mdb";
        QTest::newRow("export backtest: from after to")
            << QStringList{"export", "予想の検証", "--from", "3", "--to", "2"} << 2
            << "--from の回数が --to の回数より大きく";
        QTest::newRow("export backtest: to x") << QStringList{"export", "mnuBacktest", "--to", "x"} << 2 << "--to には";
        QTest::newRow("export backtest: settings read for all")
            << QStringList{"export", "予想の検証", "--all-settings", "--settings", "DIR"} << 2 << "設定ファイル";
        QTest::newRow("check: argument") << QStringList{"check", "x", "--ticket", t} << 2 << "使い方";
        QTest::newRow("check: no ticket") << QStringList{"check"} << 2 << "--ticket か --tickets";
        QTest::newRow("check: empty file")
            << QStringList{"check", "--tickets", "DIR/empty.txt"} << 2 << "--ticket か --tickets";
        QTest::newRow("check: format") << QStringList{"check", "--ticket", t, "--format", "tsv"} << 2 << "--format";
        QTest::newRow("check: six numbers") << QStringList{"check", "--ticket", "1 2 3 4 5 6"} << 2 << "数字が6個";
        QTest::newRow("check: one quote") << QStringList{"check", "--ticket", "\"12 2 3 4 5 6 7"} << 2 << "「\"12」";
        QTest::newRow("check: bad file line")
            << QStringList{"check", "--ticket", t, "--tickets", "DIR/bad.txt"} << 2 << "bad.txt の2行目: 「40」";
        QTest::newRow("check: missing file")
            << QStringList{"check", "--tickets", "DIR/無い.txt"} << 2 << "無い.txt を読めません";
        QTest::newRow("check: draw and from")
            << QStringList{"check", "--ticket", t, "--draw", "1", "--from", "1"} << 2 << "--draw と --from/--to";
        QTest::newRow("check: draw and to")
            << QStringList{"check", "--ticket", t, "--draw", "1", "--to", "1"} << 2 << "--draw と --from/--to";
        QTest::newRow("check: from after to")
            << QStringList{"check", "--ticket", t, "--from", "3", "--to", "2"} << 2 << "--from の回数が --to";
        QTest::newRow("check: draw 0") << QStringList{"check", "--ticket", t, "--draw", "0"} << 2 << "--draw には";
        QTest::newRow("check: draw x") << QStringList{"check", "--ticket", t, "--draw", "x"} << 2 << "--draw には";
        QTest::newRow("check: from x") << QStringList{"check", "--ticket", t, "--from", "x"} << 2 << "--from には";
        QTest::newRow("check: to too big") << QStringList{"check", "--ticket", t, "--to", "32768"} << 2 << "--to には";
        QTest::newRow("check: to x, from")
            << QStringList{"check", "--ticket", t, "--from", "1", "--to", "x"} << 2 << "--to には";
    }
    void refusals() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^DIR")), m_dir.path());
        if (!arguments.contains(QStringLiteral("--db")))
            arguments = QStringList{QStringLiteral("--db"), m_db} + arguments;
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY2(run.err.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"))),
                 qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void checkReport_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("json, UTF-8 file") << QStringList{"--tickets", "DIR/utf8.txt"} << kJson;
        QTest::newRow("csv, CP932 file") << QStringList{"--tickets", "DIR/cp932.txt", "--format", "csv"} << kCsv;
    }
    void checkReport() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, out);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^DIR")), m_dir.path());
        const CliRun run = runCli(QStringList{"check", "--db", m_db, "--ticket", kTicket1} + arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, QString());
    }

    // Ticket 1 alone over each range; the head of the report names the range, what was checked
    // and skipped, and the tiers won.
    void checkRanges_data() {
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("all") << QStringList{}
                             << QByteArray("1, \"to\": 6,\n \"drawsChecked\": 4, \"drawsSkipped\": 2,\n"
                                           " \"tiers\": [1, 1, 0, 0, 1, 0]");
        QTest::newRow("draw 3") << QStringList{"--draw", "3"}
                                << QByteArray("3, \"to\": 3,\n \"drawsChecked\": 1, \"drawsSkipped\": 0,\n"
                                              " \"tiers\": [0, 0, 0, 0, 1, 0]");
        QTest::newRow("draw not stored") << QStringList{"--draw", "4"}
                                         << QByteArray("4, \"to\": 4,\n \"drawsChecked\": 0, \"drawsSkipped\": 1,\n"
                                                       " \"tiers\": [0, 0, 0, 0, 0, 0]");
        QTest::newRow("incomplete latest") << QStringList{"--draw", "6"}
                                           << QByteArray("6, \"to\": 6,\n \"drawsChecked\": 0, \"drawsSkipped\": 1,\n"
                                                         " \"tiers\": [0, 0, 0, 0, 0, 0]");
        QTest::newRow("from alone") << QStringList{"--from", "3"}
                                    << QByteArray("3, \"to\": 6,\n \"drawsChecked\": 2, \"drawsSkipped\": 2,\n"
                                                  " \"tiers\": [0, 1, 0, 0, 1, 0]");
        // --from alone runs to the last draw; past it there is nothing to check, and no refusal.
        QTest::newRow("from alone past the end")
            << QStringList{"--from", "7"}
            << QByteArray("7, \"to\": 6,\n \"drawsChecked\": 0, \"drawsSkipped\": 0,\n"
                          " \"tiers\": [0, 0, 0, 0, 0, 0]");
        QTest::newRow("to alone") << QStringList{"--to", "2"}
                                  << QByteArray("1, \"to\": 2,\n \"drawsChecked\": 2, \"drawsSkipped\": 0,\n"
                                                " \"tiers\": [1, 0, 0, 0, 0, 0]");
        QTest::newRow("from-to over the gap")
            << QStringList{"--from", "2", "--to", "5"}
            << QByteArray("2, \"to\": 5,\n \"drawsChecked\": 3, \"drawsSkipped\": 1,\n"
                          " \"tiers\": [0, 1, 0, 0, 1, 0]");
        QTest::newRow("from equals to") << QStringList{"--from", "5", "--to", "5"}
                                        << QByteArray("5, \"to\": 5,\n \"drawsChecked\": 1, \"drawsSkipped\": 0,\n"
                                                      " \"tiers\": [0, 1, 0, 0, 0, 0]");
        QTest::newRow("past the end") << QStringList{"--from", "5", "--to", "9"}
                                      << QByteArray("5, \"to\": 9,\n \"drawsChecked\": 1, \"drawsSkipped\": 4,\n"
                                                    " \"tiers\": [0, 1, 0, 0, 0, 0]");
    }
    void checkRanges() {
        QFETCH(QStringList, range);
        QFETCH(QByteArray, head);
        const CliRun run = runCli(QStringList{"check", "--db", m_db, "--ticket", kTicket1} + range);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.left(head.size() + 9), "{\"from\": " + head);
    }

    // A row another program stored against the rules (draw 3 with a 40) is left out of what
    // the commands read, and each says so on stderr.
    void rowsLeftOut_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("draws") << "draws"
                               << QByteArray("回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                                             "ボーナス数字1,ボーナス数字2\n1,,1,2,3,4,5,6,7,8,9\n"
                                             "2,,10,11,12,13,14,15,16,1,2\n5,,1,2,3,4,5,6,8,7,30\n6,,1,2,3,4,5,6,7,8,\n");
        QTest::newRow("aggregates") << "aggregates" << QByteArray("{\"records\": 4, ");
    }
    void rowsLeftOut() {
        QFETCH(QString, command);
        QFETCH(QByteArray, out);
        const QString db = path("left-out.mdb");
        if (!QFile::exists(db)) {
            QVERIFY(QFile::copy(m_db, db));
            StoreError error;
            auto store = DrawStore::open(ConnectionString::forDatabase(db), error);
            QVERIFY2(store && store->exec("PRAGMA ignore_check_constraints = ON; "
                                          "UPDATE 当選データ SET 第4数字 = 40 WHERE 回数 = 3",
                                          error),
                     qPrintable(error.message));
        }
        const CliRun run = runCli({command, QStringLiteral("--db"), db});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.left(out.size()), out);
        QCOMPARE(run.err, QStringLiteral("データベース %1 の 1 行は回数（1 から 32767）か数字（1 から 37）が範囲の外に"
                                         "あるため読み飛ばしました（最初の行の回数: 3）。\n")
                              .arg(db));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
