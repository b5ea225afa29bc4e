// Prizes from a 24-column result file: imported, checked in yen, exported and imported again.
#include "core/check/CheckGrids.h"
#include "core/check/CheckReport.h"
#include "core/check/PrizeListGrid.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "core/io/Cp932.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kFile = QStringLiteral(TEST_DATA_DIR "/loto7-prizes-4.csv");

QByteArray frozenFile() {
    QFile file(kFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kHeading = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2,"
                            "1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,"
                            "6等賞金,キャリーオーバー\n";
const QByteArray kGoodRow = "1,2013/04/05,7,10,12,17,23,28,34,3,15,0,1,2,3,4,5,0,600,500,400,300,200,0\n";
} // namespace

class TestPrizes : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_files = 0;

    ConnectionString newDatabase() {
        return ConnectionString::forDatabase(m_dir.filePath(QStringLiteral("p%1.mdb").arg(++m_files)));
    }

    // A database made before prizes were kept: draws 1 and 2 only, no prize table.
    ConnectionString plainDatabase() {
        const ConnectionString connection = newDatabase();
        StoreError error;
        auto store = DrawStore::open(connection, error, DrawStore::OpenMode::CreateIfMissing);
        DrawRecord one = makeDraw(1, {7, 10, 12, 17, 23, 28, 34, 3, 15});
        one.drawDate = QStringLiteral("2013-04-05");
        DrawRecord two = makeDraw(2, {20, 24, 29, 31, 33, 34, 35, 12, 32});
        two.drawDate = QStringLiteral("2013-04-12");
        if (!store || !store->store({one, two}, error))
            qFatal("no database");
        return connection;
    }

    std::vector<DrawRecord> stored(const ConnectionString &connection) {
        StoreError error;
        auto store = DrawStore::open(connection, error);
        return store ? store->readAll(error) : std::vector<DrawRecord>{};
    }

private slots:
    void importExportReimport_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("UTF-8, CRLF") << frozenFile();
        QTest::newRow("CP932, LF") << *Cp932::encode(QString::fromUtf8(frozenFile()).replace("\r\n", "\n"));
    }
    void importExportReimport() {
        QFETCH(QByteArray, file);
        const ConnectionString connection = plainDatabase();
        ImportPlan plan = ImportPlan::make(file, stored(connection));
        QVERIFY(plan.canImport());
        QCOMPARE(plan.added().size(), std::size_t(2));
        QCOMPARE(plan.differences().size(), std::size_t(2));
        for (const ImportPlan::Difference &d : plan.differences())
            QCOMPARE(ImportPlan::differingFields(d), QStringLiteral("当せん金"));
        StoreError error;
        ImportPlan::Summary summary;
        QVERIFY(plan.importInto(connection, ImportPlan::Choice::TakeFile, summary, error));

        const std::vector<DrawRecord> records = stored(connection);
        QCOMPARE(records.size(), std::size_t(4));
        QVERIFY(records[0].prizes && records[1].prizes && !records[2].prizes && records[3].prizes);
        const DrawPrizes &first = *records[0].prizes;
        QCOMPARE(first.winners, (std::array<qint64, 6>{0, 2, 35, 1005, 15000, 25000}));
        QCOMPARE(first.prize, (std::array<qint64, 6>{0, 7303000, 730300, 9100, 1400, 1000}));
        QCOMPARE(first.carryOver, qint64(1234567890));
        QCOMPARE(records[1].prizes->prize[0], qint64(600000000));

        // Exported in both ways, the list comes back as it was stored.
        const QByteArray exported = DrawCsv::write(records);
        QVERIFY(exported.startsWith("回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                                    "ボーナス数字1,ボーナス数字2,1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,"
                                    "1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,6等賞金,キャリーオーバー\n"));
        QVERIFY(exported.contains("\n3,2013-04-19,1,2,3,4,5,6,7,8,9,,,,,,,,,,,,,\n"));
        for (const QByteArray &again : {exported, *DrawCsv::writeFile(records, DrawCsv::Encoding::Cp932)}) {
            const ImportPlan back = ImportPlan::make(again, records);
            QVERIFY(back.canImport());
            QCOMPARE(back.identicalCount(), 4);
            QVERIFY(back.added().empty() && back.differences().empty());
        }

        // A file without prize columns leaves the stored prizes as they are.
        DrawRecord withoutPrizes = records[0];
        withoutPrizes.prizes.reset();
        ImportPlan plain = ImportPlan::make(DrawCsv::write({withoutPrizes}), records);
        QCOMPARE(plain.identicalCount(), 1);
        QVERIFY(plain.importInto(connection, ImportPlan::Choice::TakeFile, summary, error));
        QCOMPARE(stored(connection), records);
    }

    // Tickets A, B and C against the frozen file, the yen summed by hand:
    // A wins 2等 in draw 1 (7,303,000); B 5等 in draw 1 (1,400) and 5等 in draw 3, which has no
    // prizes; C 6等 in draw 2 (1,000). Paid: 300 yen × 4 draws per ticket.
    void yenOfTickets() {
        const ConnectionString connection = newDatabase();
        ImportPlan plan = ImportPlan::make(frozenFile(), {});
        StoreError error;
        ImportPlan::Summary summary;
        QVERIFY(plan.importInto(connection, ImportPlan::Choice::TakeFile, summary, error));
        const std::optional<DrawHistory> history = loadDrawHistory(connection, error);
        QVERIFY(history);
        std::vector<Ticket> tickets;
        for (const char *line : {"3 7 10 12 17 23 28", "1 2 3 7 10 12 17", "1 2 12 20 24 29 32"})
            tickets.push_back(*TicketList::parseLine(QString::fromLatin1(line)));
        QByteArray json;
        CheckReport::writeJson(tickets, TicketChecker(*history, DrawRange::all(*history)),
                               [&json](const QByteArray &piece) { json += piece; });
        const QJsonObject report = QJsonDocument::fromJson(json).object();
        QCOMPARE(report.keys().size(), 10);
        QCOMPARE(report.value("won").toInteger(), qint64(7305400));
        QCOMPARE(report.value("paid").toInteger(), qint64(3600));
        QCOMPARE(report.value("drawsWithoutPrizes").toInteger(), qint64(1));
        const QJsonArray perTicket = report.value("tickets").toArray();
        const qint64 won[] = {7303000, 1400, 1000};
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(perTicket[t].toObject().value("won").toInteger(), won[t]);
            QCOMPARE(perTicket[t].toObject().value("paid").toInteger(), qint64(1200));
        }
        const QJsonArray winsOfB = perTicket[1].toObject().value("wins").toArray();
        QCOMPARE(winsOfB.size(), 2);
        QCOMPARE(winsOfB[0].toObject().value("prize").toInteger(), qint64(1400));
        QVERIFY(winsOfB[1].toObject().value("prize").isNull());
        // The return is over the three draws with prizes: 7,305,400 / (300 × 3 × 3) = 2705.7037.
        const CheckResult result = TicketChecker(*history, DrawRange::all(*history)).check(tickets);
        QVERIFY2(CheckGrids::yenText(result).contains(QStringLiteral("当せん金のデータがある3回分で還元率 270570.4%")),
                 qPrintable(CheckGrids::yenText(result)));
    }

    // 当せん金一覧 of the frozen file, row by row as the file gives it: a tier nobody won shows
    // 0 winners and 該当なし, the draw without prize columns shows － on grey, never a zero.
    void prizeList_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("texts");
        QTest::newRow("heading") << 1
                                 << QStringLiteral("回数,1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,1等賞金,"
                                                   "2等賞金,3等賞金,4等賞金,5等賞金,6等賞金,キャリーオーバー");
        QTest::newRow("第1回") << 2
                               << QStringLiteral("1,0,2,35,1005,15000,25000,該当なし,7303000,730300,9100,1400,"
                                                 "1000,1234567890");
        QTest::newRow("第2回") << 3
                               << QStringLiteral("2,1,4,60,1500,20000,30000,600000000,10000000,500000,8000,1200,"
                                                 "1000,0");
        QTest::newRow("第3回") << 4 << QStringLiteral("3,－,－,－,－,－,－,－,－,－,－,－,－,－");
        QTest::newRow("第4回") << 5
                               << QStringLiteral("4,0,3,40,1200,18000,28000,該当なし,9000000,600000,8500,1300,"
                                                 "1000,300000000");
    }
    void prizeList() {
        QFETCH(int, row);
        QFETCH(QString, texts);
        DrawCsv::ParseResult parsed = DrawCsv::parse(frozenFile());
        QVERIFY(parsed.errors.empty());
        std::map<int, DrawPrizes> prizes;
        for (const DrawRecord &r : parsed.records)
            if (r.prizes)
                prizes[r.drawNumber] = *r.prizes;
        DrawHistory history(std::move(parsed.records));
        history.setPrizes(std::move(prizes));
        const ResultGrid grid = PrizeListGrid::build(history);
        QCOMPARE(grid.rows(), 5);
        QStringList shown;
        for (int c = 1; c <= grid.columns(); ++c)
            shown << grid.text(c, row).remove(u',');
        QCOMPARE(shown.join(u','), texts);
        QCOMPARE(grid.cell(2, row).back == Palette::Grey225, row == 4);
        QCOMPARE(grid.text(8, 2), QStringLiteral("該当なし"));
        QCOMPARE(grid.text(14, 2), QStringLiteral("1,234,567,890"));
    }

    void badPrizes_data() {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("not an amount") << QByteArray("2,2013/04/12,1,2,3,4,5,6,7,8,9,0,1,0,0,0,0,0,十万,0,0,0,0,0\n")
                                       << QStringLiteral("3 行目、2等賞金: 「十万」は金額（0 以上の円）ではありません。");
        QTest::newRow("winners without prize")
            << QByteArray("2,2013/04/12,1,2,3,4,5,6,7,8,9,0,0,3,0,0,0,0,0,,0,0,0,0\n")
            << QStringLiteral("3 行目、3等賞金: 3等口数が 3 口あるのに賞金がありません。");
        QTest::newRow("prize without winners")
            << QByteArray("2,2013/04/12,1,2,3,4,5,6,7,8,9,0,0,0,該当なし,0,0,0,0,0,\"9,100\",0,0,0\n")
            << QStringLiteral("3 行目、4等口数: 4等賞金があるのに口数がありません。");
        QTest::newRow("negative winners") << QByteArray("2,2013/04/12,1,2,3,4,5,6,7,8,9,0,0,0,0,-3,0,0,0,0,0,9,0,0\n")
                                          << QStringLiteral("3 行目、5等口数: 「-3」は負の数です。");
        QTest::newRow("negative carry-over")
            << QByteArray("2,2013/04/12,1,2,3,4,5,6,7,8,9,0,0,0,0,0,0,0,0,0,0,0,0,\"-1,000\"\n")
            << QStringLiteral("3 行目、キャリーオーバー: 「-1,000」は負の数です。");
    }
    void badPrizes() {
        QFETCH(QByteArray, row);
        QFETCH(QString, message);
        const DrawCsv::ParseResult parsed = DrawCsv::parse(kHeading + kGoodRow + row);
        QVERIFY(parsed.records.empty());
        QCOMPARE(parsed.errors.size(), std::size_t(1));
        QCOMPARE(parsed.errors.front().text(), message);
    }

    void init() { QVERIFY(m_dir.isValid()); }
};

QTEST_GUILESS_MAIN(TestPrizes)
#include "TestPrizes.moc"
