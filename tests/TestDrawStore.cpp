#include "core/history/DrawCsv.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "support/Files.h"
#include "support/Histories.h"

#include <sqlcipher/sqlite3.h>

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <future>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {
enum class Prepared { Nothing, EmptyFile, TextFile, PlainSqlite, Folder, EncryptedWithoutView, OurDatabase, Damaged };

// Makes the file at path as the case needs it; the right password is the shipped one.
bool prepare(Prepared what, const QString &path) {
    const QString password = ConnectionString::forDatabase(path).password;
    switch (what) {
    case Prepared::Nothing:
        return true;
    case Prepared::EmptyFile:
        return QFile(path).open(QIODevice::WriteOnly);
    case Prepared::TextFile: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("回数,抽せん日\n1,2013-04-05\n") > 0;
    }
    case Prepared::Folder:
        return QDir().mkpath(path);
    case Prepared::PlainSqlite:
    case Prepared::EncryptedWithoutView: {
        sqlite3 *db = nullptr;
        bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                  nullptr) == SQLITE_OK;
        if (ok && what == Prepared::EncryptedWithoutView) {
            const QByteArray key = DrawStore::keyFor(password);
            ok = sqlite3_key(db, key.constData(), int(key.size())) == SQLITE_OK;
        }
        ok = ok && sqlite3_exec(db, "CREATE TABLE 当選データ (回数 INTEGER PRIMARY KEY)", nullptr, nullptr, nullptr) ==
                       SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }
    case Prepared::OurDatabase:
    case Prepared::Damaged: {
        StoreError error;
        if (!DrawStore::open({path, password}, error, DrawStore::OpenMode::CreateIfMissing))
            return false;
        if (what == Prepared::OurDatabase)
            return true;
        // Bytes of the second page overwritten, as by a failing disk.
        QFile f(path);
        return f.open(QIODevice::ReadWrite) && f.seek(1024 + 200) && f.write(QByteArray(64, 'x')) == 64;
    }
    }
    return false;
}

// Another program's connection to the file at path.
sqlite3 *connectOther(const QString &path) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const QByteArray key = DrawStore::keyFor(ConnectionString::forDatabase(path).password);
    sqlite3_key(db, key.constData(), int(key.size()));
    return db;
}

// Files in dir besides the given one: what a build left behind.
QStringList othersIn(const QTemporaryDir &dir, const QString &name) {
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(name);
    return names;
}
} // namespace

class TestDrawStore : public QObject {
    Q_OBJECT
private slots:
    void roundTripAndRefusals() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        StoreError error;
        {
            auto store =
                DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
            QVERIFY2(store, qPrintable(error.message));
            QVERIFY(store->store({makeDraw(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(1, {1, 0, 3, 4, 5, 6, 7, 8, 9})},
                                 error));
            // A CHECK violation stores nothing, not even the valid row before it.
            QVERIFY(!store->store({makeDraw(3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(4, {38, 2, 3, 4, 5, 6, 7, 8, 9})},
                                  error));
            QCOMPARE(error.kind, StoreError::Kind::WriteRefused);
            QVERIFY(!store->read(3, error));
        }
        auto history = loadDrawHistory(ConnectionString::forDatabase(path), error);
        QVERIFY2(history, qPrintable(error.message));
        QCOMPARE(int(history->records().size()), 2);
        QCOMPARE(history->records()[0].drawNumber, 1);
        QVERIFY(!history->records()[0].numbers[1]);
        QCOMPARE(history->latestDrawNumber(), 2);
        // Start-up's read on a thread of its own hands over the same snapshot.
        HistoryLoad background = loadDrawHistoryAsync(ConnectionString::forDatabase(path)).history.get();
        QVERIFY2(background.history, qPrintable(background.error.message));
        QVERIFY(background.history->records() == history->records());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.read(16).startsWith("SQLite format 3"));
        file.close();

        QVERIFY(!DrawStore::open({path, QStringLiteral("123")}, error));
        QCOMPARE(error.kind, StoreError::Kind::WrongPassword);
        QVERIFY(error.message.contains(path));
        QVERIFY(!DrawStore::open({path, QString()}, error));
        QVERIFY(!DrawStore::open(ConnectionString::forDatabase(dir.filePath(QStringLiteral("none.mdb"))), error));
        QCOMPARE(error.kind, StoreError::Kind::FileMissing);
    }

    void openFailures_data() {
        QTest::addColumn<Prepared>("prepared");
        QTest::addColumn<QString>("password"); // "*" = the right one
        QTest::addColumn<StoreError::Kind>("kind");
        QTest::newRow("missing file") << Prepared::Nothing << "*" << StoreError::Kind::FileMissing;
        QTest::newRow("empty file") << Prepared::EmptyFile << "*" << StoreError::Kind::EmptyFile;
        QTest::newRow("a folder") << Prepared::Folder << "*" << StoreError::Kind::NotADatabase;
        QTest::newRow("a text file") << Prepared::TextFile << "*" << StoreError::Kind::NotADatabase;
        QTest::newRow("unencrypted database") << Prepared::PlainSqlite << "*" << StoreError::Kind::WrongPassword;
        QTest::newRow("wrong password") << Prepared::OurDatabase << "314159" << StoreError::Kind::WrongPassword;
        QTest::newRow("empty password") << Prepared::OurDatabase << "" << StoreError::Kind::WrongPassword;
        QTest::newRow("view missing") << Prepared::EncryptedWithoutView << "*" << StoreError::Kind::ViewMissing;
    }
    void openFailures() {
        QFETCH(Prepared, prepared);
        QFETCH(QString, password);
        QFETCH(StoreError::Kind, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("データ.mdb"));
        QVERIFY(prepare(prepared, path));
        const QByteArray before = fileBytes(path);
        const ConnectionString connection{
            path, password == QLatin1String("*") ? ConnectionString::forDatabase(path).password : password};
        StoreError error;
        QVERIFY(!DrawStore::open(connection, error));
        QCOMPARE(error.kind, kind);
        QVERIFY(error.message.contains(path));
        // SQLite's English words may follow, never stand alone as the reason.
        QVERIFY2(!error.message.contains(QRegularExpression(QStringLiteral("（[ -~]"))), qPrintable(error.message));
        // The message is for people: the password never appears in it.
        QVERIFY(!error.message.contains(ConnectionString::forDatabase(path).password));
        QVERIFY(!loadDrawHistory(connection, error));
        QCOMPARE(error.kind, kind);
        QVERIFY(error.message.contains(path));
        const HistoryLoad background = loadDrawHistoryAsync(connection).history.get();
        QVERIFY(!background.history);
        QCOMPARE(background.error.kind, kind);
        // Refusing a file never changes it, nor creates one.
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QFileInfo::exists(path), prepared != Prepared::Nothing);
    }

    // A file damaged past its first page opens, and reading it says in Japanese what is wrong.
    void damagedFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("データ.mdb"));
        QVERIFY(prepare(Prepared::Damaged, path));
        StoreError error;
        const auto store = DrawStore::open(ConnectionString::forDatabase(path), error);
        QVERIFY2(store, qPrintable(error.message));
        QVERIFY(store->readAll(error).empty());
        QVERIFY(error);
        QVERIFY2(error.message.contains(QRegularExpression(QStringLiteral("（[^ -~]+: [ -~]+）"))), qPrintable(error.message));
    }

    // Another program holds the file while it commits: opening waits for it, and a lock that
    // does not clear is reported as one, never as a wrong password.
    void busyDatabase_data() {
        QTest::addColumn<int>("holdMs");
        QTest::newRow("released in time") << 300;
        QTest::newRow("held too long") << DrawStore::kBusyTimeoutMs + 2000;
    }
    void busyDatabase() {
        QFETCH(int, holdMs);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        QVERIFY(prepare(Prepared::OurDatabase, path));
        std::promise<void> locked;
        std::promise<void> opened;
        std::thread other([&] {
            sqlite3 *db = connectOther(path);
            sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            locked.set_value();
            opened.get_future().wait_for(std::chrono::milliseconds(holdMs));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        locked.get_future().wait();
        QElapsedTimer timer;
        timer.start();
        StoreError error;
        const bool loaded = bool(loadDrawHistory(ConnectionString::forDatabase(path), error));
        const qint64 waited = timer.elapsed();
        opened.set_value();
        other.join();
        if (holdMs < DrawStore::kBusyTimeoutMs) {
            QVERIFY2(loaded, qPrintable(error.message));
            QVERIFY(waited >= holdMs - 50);
        } else {
            QVERIFY(!loaded);
            QCOMPARE(error.kind, StoreError::Kind::Busy);
            QCOMPARE(
                error.message,
                QStringLiteral("データベースがほかのプログラムで使用中です。しばらくしてからもう一度お試しください。"));
            QVERIFY(waited >= DrawStore::kBusyTimeoutMs - 100);
        }
    }

    // Rows another tool wrote past the draw table's rules are left out of every read, and said so.
    void forbiddenRowsAreSkipped() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        sqlite3 *db = connectOther(path);
        const char *sql = R"SQL(
            CREATE TABLE 当選データ (回数 INTEGER, 抽せん日 TEXT, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字,
                                     第6数字, 第7数字, ボーナス数字1, ボーナス数字2);
            CREATE VIEW 全データ選択クエリ AS SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字,
                                     第7数字, ボーナス数字1, ボーナス数字2 FROM 当選データ;
            INSERT INTO 当選データ VALUES (5000000, NULL, 1, 2, 3, 4, 5, 6, 7, 8, 9);
            INSERT INTO 当選データ VALUES (0, NULL, 1, 2, 3, 4, 5, 6, 7, 8, 9);
            INSERT INTO 当選データ VALUES (2, NULL, 1, 2, 3, 4, 5, 6, 7, 8, 38);
            INSERT INTO 当選データ VALUES (3, NULL, 1, 2, 'x', 4, 5, 6, 7, 8, 9);
            INSERT INTO 当選データ VALUES (4, NULL, 1, 2, 3, 4, 5, 6, 7, '', NULL);
            INSERT INTO 当選データ VALUES (32767, NULL, 1, 2, 3, 4, 5, 6, 7, 8, 9);
        )SQL";
        QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);

        StoreError error;
        QString skipped;
        const std::optional<DrawHistory> history =
            loadDrawHistory(ConnectionString::forDatabase(path), error, &skipped);
        QVERIFY2(history, qPrintable(error.message));
        QCOMPARE(int(history->records().size()), 2);
        QCOMPARE(history->records()[0], makeDraw(4, {1, 2, 3, 4, 5, 6, 7, 0, 0}));
        QCOMPARE(history->latestDrawNumber(), 32767);
        QVERIFY(skipped.contains(path));
        QVERIFY2(skipped.contains(QStringLiteral(" 4 行")) && skipped.contains(QStringLiteral("回数: 0")),
                 qPrintable(skipped));
        auto store = DrawStore::open(ConnectionString::forDatabase(path), error);
        QCOMPARE(int(store->readAll(error, &skipped).size()), 2);
        QVERIFY(skipped.contains(QStringLiteral(" 4 行")));
    }

    // A new file is there whole or not at all: a build stopped midway (the process gone between
    // making the tables and storing the draws) leaves the path as it was, and the next import
    // clears what it left behind.
    void newFileIsWholeOrAbsent_data() {
        QTest::addColumn<bool>("emptyFileThere");
        QTest::newRow("no file") << false;
        QTest::newRow("an empty file") << true;
    }
    void newFileIsWholeOrAbsent() {
        QFETCH(bool, emptyFileThere);
        QTemporaryDir dir;
        const QString name = QStringLiteral("新しい.mdb");
        const QString path = dir.filePath(name);
        if (emptyFileThere)
            QVERIFY(prepare(Prepared::EmptyFile, path));
        const ConnectionString connection = ConnectionString::forDatabase(path);
        const std::vector<DrawRecord> records{makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
                                              makeDraw(2, {11, 12, 13, 14, 15, 16, 17, 18, 19})};

        const pid_t child = fork();
        if (child == 0) {
            StoreError error;
            DrawStore::create(connection, error, [&](DrawStore &store) {
                store.storeWithin(records, error);
                _exit(0); // stopped before the end, as by SIGKILL
                return true;
            });
            _exit(1);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(QFileInfo::exists(path), emptyFileThere);
        QCOMPARE(fileBytes(path), QByteArray());
        QCOMPARE(othersIn(dir, name).size(), 1);

        StoreError error;
        ImportPlan plan = ImportPlan::make(DrawCsv::write(records), {});
        ImportPlan::Summary summary;
        QVERIFY2(plan.importInto(connection, ImportPlan::Choice::TakeFile, summary, error), qPrintable(error.message));
        QCOMPARE(summary.added, 2);
        auto store = DrawStore::open(connection, error);
        QVERIFY2(store, qPrintable(error.message));
        QCOMPARE(store->readAll(error), records);
        QCOMPARE(othersIn(dir, name), QStringList());
        // Readable and writable by its owner only, whatever the umask.
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    void replaceRemoveAndDates() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        DrawRecord first = makeDraw(5, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        first.drawDate = QStringLiteral("2013-05-03");
        DrawRecord second = makeDraw(3, {11, 12, 13, 14, 15, 16, 17, 0, 0});
        QVERIFY(store->store({first, second}, error));
        first.numbers[0] = 37;
        QVERIFY(store->store({first}, error));
        const std::vector<DrawRecord> all = store->readAll(error);
        QCOMPARE(all.size(), std::size_t(2));
        QCOMPARE(all[0], second);
        QCOMPARE(all[1], first);
        // The snapshot has the ten columns only: no date.
        const std::vector<DrawRecord> history = store->readHistory(error);
        QCOMPARE(history[1].drawDate, QString());
        QCOMPARE(history[1].numbers, first.numbers);

        QVERIFY(store->remove({3}, error));
        QVERIFY(!store->read(3, error));
        QCOMPARE(store->read(5, error), std::optional<DrawRecord>(first));
    }

    void refusedWritesLeaveFileAsItWas_data() {
        QTest::addColumn<int>("drawNumber");
        QTest::addColumn<int>("number");
        QTest::newRow("draw number 0") << 0 << 1;
        QTest::newRow("draw number 32768") << 32768 << 1;
        QTest::newRow("number 0") << 9 << 0;
        QTest::newRow("number -1") << 9 << -1;
        QTest::newRow("number 38") << 9 << 38;
    }
    void refusedWritesLeaveFileAsItWas() {
        QFETCH(int, drawNumber);
        QFETCH(int, number);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        QVERIFY(store->store({makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 9})}, error));
        const QByteArray before = fileBytes(path);
        DrawRecord bad = makeDraw(drawNumber, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        bad.numbers[4] = number;
        QVERIFY(!store->store({makeDraw(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}), bad}, error));
        QCOMPARE(error.kind, StoreError::Kind::WriteRefused);
        QVERIFY(error.message.contains(path));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(store->readAll(error).size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestDrawStore)
#include "TestDrawStore.moc"
