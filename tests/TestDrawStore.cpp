#include "history/DrawHistory.h"
#include "history/DrawStore.h"
#include "support/Histories.h"

#include <sqlcipher/sqlite3.h>

#include <QTemporaryDir>
#include <QtTest>

namespace {
enum class Prepared { Nothing, TextFile, PlainSqlite, Folder, EncryptedWithoutView, OurDatabase };

// Makes the file at path as the case needs it; the right password is the shipped one.
bool prepare(Prepared what, const QString &path) {
    const QString password = ConnectionString::forDatabase(path).password;
    switch (what) {
    case Prepared::Nothing:
        return true;
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
    case Prepared::OurDatabase: {
        StoreError error;
        return bool(DrawStore::open({path, password}, error, DrawStore::OpenMode::CreateIfMissing));
    }
    }
    return false;
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
        // The message is for people: the password never appears in it.
        QVERIFY(!error.message.contains(ConnectionString::forDatabase(path).password));
        QVERIFY(!loadDrawHistory(connection, error));
        QCOMPARE(error.kind, kind);
        // Refusing a file never changes it, nor creates one.
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QFileInfo::exists(path), prepared != Prepared::Nothing);
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
