#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Files the user names are read only when they are regular files of a bounded size: a device
// or a FIFO given by mistake ends at once with a message instead of filling the memory or
// waiting for ever.
class TestInputFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = path("t.mdb");
        QVERIFY(writeFile(path("one.csv"), "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,"
                                          "ボーナス数字1,ボーナス数字2\n1,1,2,3,4,5,6,7,8,9\n"));
        QCOMPARE(runCli({"import", path("one.csv"), "--db", m_db}).status, 0);
        QCOMPARE(::mkfifo(qPrintable(path("fifo")), 0600), 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        // Sparse files one byte over each bound: 64 MB of tickets, 16 MB of draws.
        QFile tickets(path("tickets-too-large.txt"));
        QVERIFY(tickets.open(QIODevice::WriteOnly) && tickets.resize(64 * 1024 * 1024 + 1));
        QFile draws(path("draws-too-large.csv"));
        QVERIFY(draws.open(QIODevice::WriteOnly) && draws.resize(16 * 1024 * 1024 + 1));
    }

    void refused_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const QString notRegular = QStringLiteral(" を読めません（通常のファイルではありません）。");
        for (const char *command : {"check", "import"}) {
            const QString c = QLatin1String(command);
            QTest::newRow(qPrintable(c + " /dev/zero")) << c << QStringLiteral("/dev/zero") << notRegular;
            QTest::newRow(qPrintable(c + " FIFO")) << c << path("fifo") << notRegular;
            QTest::newRow(qPrintable(c + " folder")) << c << path("folder") << notRegular;
            QTest::newRow(qPrintable(c + " missing"))
                << c << path("missing") << QStringLiteral(" を読めません（ファイルがありません）。");
        }
        QTest::newRow("check too large") << "check" << path("tickets-too-large.txt")
                                         << QStringLiteral(" は大きすぎるため読みません（64 MB までのファイルを読みます）。");
        QTest::newRow("import too large") << "import" << path("draws-too-large.csv")
                                          << QStringLiteral(" は大きすぎるため読みません（16 MB までのファイルを読みます）。");
    }
    void refused() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        const QStringList args = command == QLatin1String("check")
                                     ? QStringList{"check", "--tickets", file, "--db", m_db}
                                     : QStringList{"import", file, "--db", m_db};
        const CliRun run = runCli(args);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(file + reason), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInputFiles)
#include "TestInputFiles.moc"
