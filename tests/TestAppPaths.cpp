#include "core/history/DrawStore.h"
#include "core/settings/AppPaths.h"
#include "support/Histories.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool makeDatabase(const QString &path, const std::vector<DrawRecord> &draws) {
    StoreError error;
    auto store = DrawStore::open(ConnectionString::forDatabase(path), error, DrawStore::OpenMode::CreateIfMissing);
    return store && store->store(draws, error);
}

// A temporary folder with a build folder, an installed tree (bin/ and share/nanazubario/ with a
// read-only shipped database and the help file) and a user's home.
struct Machine {
    QTemporaryDir root;
    QString path(const char *relative) const { return root.filePath(QString::fromUtf8(relative)); }
    AppPaths::Folders folders(const char *program) const {
        return {path(program), path("cwd"), path("home/data/nanazubario"), path("home/config/nanazubario")};
    }
    QString shipped() const { return path("usr/share/nanazubario/NanaZubario.mdb"); }

    bool make() {
        for (const char *dir : {"build", "cwd", "usr/bin", "usr/share/nanazubario"})
            if (!QDir().mkpath(path(dir)))
                return false;
        QFile(path("usr/share/nanazubario/ナナズバリオX.html")).open(QIODevice::WriteOnly);
        return makeDatabase(shipped(), {makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 9})}) &&
               QFile::setPermissions(shipped(),
                                     QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
};
} // namespace

class TestAppPaths : public QObject {
    Q_OBJECT
private slots:
    void choice_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("help");
        QTest::newRow("build folder") << "build" << false << "build/NanaZubario.mdb"
                                      << "cwd/ナナズバリオ.ini"
                                      << "cwd/ナナズバリオX.html"; // named even when missing
        QTest::newRow("installed") << "usr/bin" << true << "home/data/nanazubario/NanaZubario.mdb"
                                   << "home/config/nanazubario/ナナズバリオ.ini"
                                   << "usr/share/nanazubario/ナナズバリオX.html";
    }
    void choice() {
        QFETCH(QString, program);
        QFETCH(bool, installed);
        QFETCH(QString, database);
        QFETCH(QString, settings);
        QFETCH(QString, help);
        Machine m;
        QVERIFY(m.make());
        const AppPaths paths(m.folders(program.toUtf8()));
        QCOMPARE(paths.installed(), installed);
        QCOMPARE(paths.database(), m.path(database.toUtf8()));
        QCOMPARE(paths.settings(), m.path(settings.toUtf8()));
        QCOMPARE(paths.help(), m.path(help.toUtf8()));
        QCOMPARE(paths.shippedDatabase(), installed ? m.shipped() : paths.database());
        QCOMPARE(paths.shippedHistory(), installed ? m.path("usr/share/nanazubario/loto7-draws.csv") : QString());
    }

    // The first start copies the shipped draws; later starts, even of a newer package, keep
    // what the user stored; the shipped file is never written.
    void firstStartCopiesAndLaterStartsKeep() {
        Machine m;
        QVERIFY(m.make());
        const AppPaths paths(m.folders("usr/bin"));
        const QByteArray shipped = contents(m.shipped());
        QCOMPARE(paths.prepare(paths.database(), paths.settings()), QString());
        QCOMPARE(contents(paths.database()), shipped);
        QVERIFY(QFileInfo(paths.settings()).dir().exists());
        QCOMPARE(QFile::permissions(paths.database()) & 0x7777,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);

        QVERIFY(makeDatabase(paths.database(), {makeDraw(2, {10, 11, 12, 13, 14, 15, 16, 17, 18})}));
        const QByteArray users = contents(paths.database());
        QCOMPARE(contents(m.shipped()), shipped);

        QVERIFY(QFile::setPermissions(m.shipped(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::remove(m.shipped()));
        QVERIFY(makeDatabase(m.shipped(), {makeDraw(3, {1, 2, 3, 4, 5, 6, 7, 8, 9})}));
        QCOMPARE(paths.prepare(paths.database(), paths.settings()), QString());
        QCOMPARE(contents(paths.database()), users);
    }

    void overridesAndBuildFolderCopyNothing_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("overridden");
        QTest::newRow("installed, --db and --settings") << "usr/bin" << true;
        QTest::newRow("build folder") << "build" << false;
    }
    void overridesAndBuildFolderCopyNothing() {
        QFETCH(QString, program);
        QFETCH(bool, overridden);
        Machine m;
        QVERIFY(m.make());
        const AppPaths paths(m.folders(program.toUtf8()));
        const QString database = overridden ? m.path("cwd/other.mdb") : paths.database();
        const QString settings = overridden ? m.path("cwd/other.ini") : paths.settings();
        QCOMPARE(paths.prepare(database, settings), QString());
        QVERIFY(!QFile::exists(database));
        QVERIFY(!QFile::exists(m.path("home")));
    }

    // The tool itself, copied into an installed tree, finds the shipped draws through the
    // user's folder; a folder that cannot be made is reported and nothing is opened.
    void installedToolUsesTheUsersCopy() {
        Machine m;
        QVERIFY(m.make());
        const QString tool = m.path("usr/bin/nanazubario-cli");
        QVERIFY(QFile::copy(QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli"), tool));
        const QByteArray shipped = contents(m.shipped());

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m.path("home/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m.path("home/config"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m.path("cwd"));
        p.start(tool, {QStringLiteral("aggregates")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().startsWith("{\"records\": 1,"));
        QCOMPARE(contents(m.path("home/data/nanazubario/NanaZubario.mdb")), shipped);
        QVERIFY(!QFile::exists(m.path("cwd/ナナズバリオ.ini")));

        QFile(m.path("home/blocked")).open(QIODevice::WriteOnly);
        env.insert(QStringLiteral("XDG_DATA_HOME"), m.path("home/blocked"));
        p.setProcessEnvironment(env);
        p.start(tool, {QStringLiteral("draws")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(m.path("home/blocked")));
        QCOMPARE(contents(m.shipped()), shipped);
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "TestAppPaths.moc"
