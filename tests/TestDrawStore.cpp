#include "history/DrawHistory.h"
#include "history/DrawStore.h"
#include "support/Histories.h"

#include <QTemporaryDir>
#include <QtTest>

class TestDrawStore : public QObject {
    Q_OBJECT
private slots:
    void roundTripAndRefusals() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        StoreError error;
        {
            auto store = DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
            QVERIFY2(store, qPrintable(error.message));
            QVERIFY(store->store({makeDraw(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(1, {1, 0, 3, 4, 5, 6, 7, 8, 9})}, error));
            // A CHECK violation stores nothing, not even the valid row before it.
            QVERIFY(!store->store({makeDraw(3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(4, {38, 2, 3, 4, 5, 6, 7, 8, 9})}, error));
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
};

QTEST_GUILESS_MAIN(TestDrawStore)
#include "TestDrawStore.moc"
