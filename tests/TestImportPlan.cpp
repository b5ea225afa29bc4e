#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "core/io/Cp932.h"
#include "support/Histories.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QByteArray kHeading =
    "回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n";

DrawRecord dated(int drawNumber, const std::array<int, 9> &numbers, const char *date) {
    DrawRecord r = makeDraw(drawNumber, numbers);
    r.drawDate = QString::fromLatin1(date);
    return r;
}

// Three stored draws, the second without a date.
std::vector<DrawRecord> storedDraws() {
    return {dated(1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, "2013-04-05"), dated(2, {10, 11, 12, 13, 14, 15, 16, 17, 18}, ""),
            dated(3, {20, 21, 22, 23, 24, 25, 26, 27, 28}, "2013-04-19")};
}

QStringList numbersOf(const std::vector<DrawRecord> &records) {
    QStringList out;
    for (const DrawRecord &r : records)
        out << QString::number(r.drawNumber);
    return out;
}

// A file like the ones published: 1 as stored, 3 with one number changed, 4 and 5 new.
const QByteArray kPublished =
    "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2\n"
    "第1回,2013/04/05,1,2,3,4,5,6,7,8,9\n"
    "第3回,2013/04/19,20,21,22,23,24,25,26,27,29\n"
    "第4回,2013/04/26,30,31,32,33,34,35,36,37,1\n"
    "第5回,2013/05/03,2,4,6,8,10,12,14,16,18\n";
} // namespace

class TestImportPlan : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_files = 0;

    std::unique_ptr<DrawStore> freshStore(const std::vector<DrawRecord> &records) {
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(m_dir.filePath(QString::number(++m_files))), error,
                                     DrawStore::OpenMode::CreateIfMissing);
        if (!store || !store->store(records, error))
            return nullptr;
        return store;
    }

private slots:
    void plan_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<int>("identical");
        QTest::addColumn<QStringList>("differing"); // 回数: the fields that differ
        QTest::addColumn<QList<int>>("unreadableLines");

        QTest::newRow("published, UTF-8")
            << kPublished << QStringList{"4", "5"} << 1 << QStringList{"3: ボーナス数字2"} << QList<int>{};
        QTest::newRow("published, CP932 with CRLF")
            << *Cp932::encode(QString::fromUtf8(kPublished).replace("\n", "\r\n")) << QStringList{"4", "5"} << 1
            << QStringList{"3: ボーナス数字2"} << QList<int>{};
        // A date where none was stored is a difference the user decides on, like any other.
        QTest::newRow("date added to a stored draw")
            << kHeading + "2,2013-04-12,10,11,12,13,14,15,16,17,18\n"
            << QStringList{} << 0 << QStringList{"2: 抽せん日"} << QList<int>{};
        // Without a date column the stored dates stay, so these are the same draws.
        QTest::newRow("no date column")
            << QByteArray("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n"
                          "1,1,2,3,4,5,6,7,8,9\n3,20,21,22,23,24,25,26,27,28\n")
            << QStringList{} << 2 << QStringList{} << QList<int>{};
        // Every unreadable line is named, not only the first, and nothing can be imported.
        QTest::newRow("unreadable lines") << kHeading + "4,,1,2,3,4,5,6,7,8,9\n5,,1,2,3,4,5,6,38,8,9\n"
                                                        "6,,1,2\n4,,11,12,13,14,15,16,17,18,19\n"
                                          << QStringList{} << 0 << QStringList{} << QList<int>{3, 4, 5};
        QTest::newRow("unknown heading") << QByteArray("a,b\n1,2\n") << QStringList{} << 0 << QStringList{}
                                         << QList<int>{1};
    }
    void plan() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, added);
        QFETCH(int, identical);
        QFETCH(QStringList, differing);
        QFETCH(QList<int>, unreadableLines);
        const ImportPlan plan = ImportPlan::make(file, storedDraws());
        QCOMPARE(numbersOf(plan.added()), added);
        QCOMPARE(plan.identicalCount(), identical);
        QStringList differs;
        for (const ImportPlan::Difference &d : plan.differences()) {
            QCOMPARE(d.stored.drawNumber, d.file.drawNumber);
            QVERIFY(d.stored != d.file);
            differs << QStringLiteral("%1: %2").arg(d.file.drawNumber).arg(ImportPlan::differingFields(d));
        }
        QCOMPARE(differs, differing);
        QList<int> lines;
        for (const DrawCsvError &e : plan.unreadable())
            lines << e.line;
        QCOMPARE(lines, unreadableLines);
        QCOMPARE(plan.canImport(), unreadableLines.isEmpty());
        const QStringList shown = plan.unreadableLines();
        QCOMPARE(shown.size(), unreadableLines.size());
        for (int i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(QStringLiteral("%1 行目").arg(unreadableLines[i])), qPrintable(shown[i]));
    }

    // The dialog lists new draws, differences and what importing writes by 回数, whatever the
    // file's order, and counts each kind.
    void fileOutOfOrder() {
        const ImportPlan plan = ImportPlan::make(kHeading + "7,,1,2,3,4,5,6,7,8,9\n"
                                                            "3,2013-04-19,20,21,22,23,24,25,26,27,29\n"
                                                            "5,,1,2,3,4,5,6,7,8,9\n1,2013-04-06,1,2,3,4,5,6,7,8,9\n"
                                                            "6,,1,2,3,4,5,6,7,8,9\n2,,10,11,12,13,14,15,16,17,18\n",
                                                 storedDraws());
        QCOMPARE(numbersOf(plan.added()), (QStringList{"5", "6", "7"}));
        QCOMPARE(plan.differences().size(), 2u);
        QCOMPARE(plan.differences()[0].file.drawNumber, 1);
        QCOMPARE(plan.differences()[1].file.drawNumber, 3);
        QCOMPARE(numbersOf(plan.writes(ImportPlan::Choice::TakeFile)), (QStringList{"1", "3", "5", "6", "7"}));
        QCOMPARE(numbersOf(plan.writes(ImportPlan::Choice::KeepStored)), (QStringList{"5", "6", "7"}));
        QCOMPARE(plan.summaryLines(),
                 (QStringList{"新しい当選データ: 3 件", "登録済みと同じ当選データ: 1 件（取り込みません）",
                              "登録済みと異なる当選データ: 2 件"}));
    }

    // Three unreadable lines (2, 3, 4) shown up to a limit, then how many more.
    void unreadableLimit_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("starts");
        QTest::newRow("all") << 3 << QStringList{"2 行目", "3 行目", "4 行目"};
        QTest::newRow("one more") << 2 << QStringList{"2 行目", "3 行目", "ほかに 1 行あります。"};
        QTest::newRow("none") << 0 << QStringList{"ほかに 3 行あります。"};
    }
    void unreadableLimit() {
        QFETCH(int, limit);
        QFETCH(QStringList, starts);
        const ImportPlan plan =
            ImportPlan::make(kHeading + "4,,1,2,3,4,5,6,38,8,9\n5,,1\n6,,0,2,3,4,5,6,7,8,9\n", storedDraws());
        QCOMPARE(plan.summaryLines().first(), QStringLiteral("読めない行: 3 行"));
        const QStringList shown = plan.unreadableLines(limit);
        QCOMPARE(shown.size(), starts.size());
        for (int i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(starts[i]), qPrintable(shown[i]));
    }

    void describe_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("shown");
        QTest::newRow("dated") << "2013-04-05"
                               << "2013/04/05　01 02 03 10 11 36 37（-- 09）";
        QTest::newRow("no date") << ""
                                 << "日付なし　01 02 03 10 11 36 37（-- 09）";
    }
    void describe() {
        QFETCH(QString, date);
        QFETCH(QString, shown);
        QCOMPARE(ImportPlan::describe(dated(1, {1, 2, 3, 10, 11, 36, 37, 0, 9}, qPrintable(date))), shown);
    }

    // A file far longer than any draw history is refused before it is parsed.
    void tooManyLines_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("problem");
        QTest::newRow("at the limit") << 100000 << "";
        QTest::newRow("one more")
            << 100001 << "行が多すぎるため読みません（100001 行。当選データのファイルは 100000 行もありません）。";
    }
    void tooManyLines() {
        QFETCH(int, lines);
        QFETCH(QString, problem);
        const ImportPlan plan = ImportPlan::make(kHeading + QByteArray(lines - 1, '\n'), {});
        QCOMPARE(plan.fileProblem(), problem);
        QCOMPARE(plan.canImport(), problem.isEmpty());
    }

    void tooLarge_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("refused");
        QTest::newRow("16 MB") << qint64(16777216) << false;
        QTest::newRow("a byte more") << qint64(16777217) << true;
    }
    void tooLarge() {
        QFETCH(qint64, size);
        QFETCH(bool, refused);
        auto store = freshStore({});
        QVERIFY(store);
        QFile file(m_dir.filePath(QStringLiteral("large.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kHeading) && file.resize(size));
        file.close();
        StoreError error;
        const ImportPlan plan =
            ImportPlan::forFile(file.fileName(), ConnectionString::forDatabase(store->path()), error);
        QVERIFY(!error);
        QCOMPARE(plan.fileProblem().contains(
                     QStringLiteral("大きすぎるため読みません（16 MB までのファイルを読みます）")),
                 refused);
        QCOMPARE(plan.fileProblem().isEmpty(), !refused);
    }

    void apply_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("draw3"); // the bonus number 2 of draw 3 afterwards
        QTest::addColumn<int>("replaced");
        QTest::newRow("keep stored") << int(ImportPlan::Choice::KeepStored) << "28" << 0;
        QTest::newRow("take file") << int(ImportPlan::Choice::TakeFile) << "29" << 1;
    }
    void apply() {
        QFETCH(int, choice);
        QFETCH(QString, draw3);
        QFETCH(int, replaced);
        auto store = freshStore(storedDraws());
        QVERIFY(store);
        StoreError error;
        const ImportPlan plan = ImportPlan::make(kPublished, store->readAll(error));
        ImportPlan::Summary summary;
        QVERIFY2(plan.apply(*store, ImportPlan::Choice(choice), summary, error), qPrintable(error.message));
        QCOMPARE(summary.added, 2);
        QCOMPARE(summary.replaced, replaced);
        QCOMPARE(summary.unchanged, 2 - replaced);
        const std::vector<DrawRecord> after = store->readAll(error);
        QCOMPARE(numbersOf(after), (QStringList{"1", "2", "3", "4", "5"}));
        QCOMPARE(QString::number(after[2].number(9)), draw3);
        QCOMPARE(after[3].drawDate, QStringLiteral("2013-04-26"));
    }

    // A write that fails half-way, or a draw changed by another program after the plan was
    // made, leaves the database exactly as it was.
    void nothingWrittenOnFailure_data() {
        QTest::addColumn<QByteArray>("interference");
        QTest::newRow("write refused for draw 5")
            << QByteArray("CREATE TRIGGER refuse BEFORE INSERT ON 当選データ WHEN NEW.回数 = 5 "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        QTest::newRow("draw 3 changed meanwhile") << QByteArray("UPDATE 当選データ SET 第1数字 = 19 WHERE 回数 = 3");
        QTest::newRow("draw 4 added meanwhile") << QByteArray("INSERT INTO 当選データ (回数, 第1数字) VALUES (4, 1)");
    }
    void nothingWrittenOnFailure() {
        QFETCH(QByteArray, interference);
        auto store = freshStore(storedDraws());
        QVERIFY(store);
        StoreError error;
        const ImportPlan plan = ImportPlan::make(kPublished, store->readAll(error));
        QVERIFY2(store->exec(interference.constData(), error), qPrintable(error.message));
        const std::vector<DrawRecord> before = store->readAll(error);
        ImportPlan::Summary summary;
        QVERIFY(!plan.apply(*store, ImportPlan::Choice::TakeFile, summary, error));
        QVERIFY(error);
        QCOMPARE(store->readAll(error), before);
    }

    // Both encodings offered for other programs read back as the same draws.
    void exportReimports_data() {
        QTest::addColumn<int>("encoding");
        QTest::newRow("UTF-8 with BOM") << int(DrawCsv::Encoding::Utf8WithBom);
        QTest::newRow("CP932") << int(DrawCsv::Encoding::Cp932);
    }
    void exportReimports() {
        QFETCH(int, encoding);
        std::vector<DrawRecord> records = storedDraws();
        records.push_back(dated(9, {1, 0, 3, 0, 5, 6, 7, 0, 0}, "2013-06-07")); // empty fields stay empty
        auto store = freshStore(records);
        QVERIFY(store);
        const QString path = m_dir.filePath(QStringLiteral("書き出し.csv"));
        int count = 0;
        QString message;
        QVERIFY2(DrawCsv::exportDraws(*store, path, DrawCsv::Encoding(encoding), count, message), qPrintable(message));
        QCOMPARE(count, 4);

        auto empty = freshStore({});
        QVERIFY(empty);
        StoreError error;
        const ImportPlan plan = ImportPlan::forFile(path, ConnectionString::forDatabase(empty->path()), error);
        QVERIFY(plan.canImport());
        ImportPlan::Summary summary;
        QVERIFY(plan.apply(*empty, ImportPlan::Choice::KeepStored, summary, error));
        QCOMPARE(DrawCsv::write(empty->readAll(error)), DrawCsv::write(store->readAll(error)));
    }
};

QTEST_GUILESS_MAIN(TestImportPlan)
#include "TestImportPlan.moc"
