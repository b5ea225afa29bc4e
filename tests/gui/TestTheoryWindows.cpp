#include "core/catalog/AnalysisCatalog.h"
#include "gui/shell/MainFrm.h"
#include "gui/window/ChildWindow.h"
#include "support/ExportCompare.h"
#include "support/Files.h"
#include "support/Histories.h"

#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class TestTheoryWindows : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;

private slots:
    void initTestCase() {
        m_database = m_dir.filePath(QStringLiteral("real.mdb"));
        QVERIFY(writeDatabase(m_database, realHistory()));
    }

    // Opened from its menu item, each window shows what the command line exports; over draws
    // 600..609 it counts those ten draws only.
    void exportMatchesTheScreen_data() {
        QTest::addColumn<QString>("formName");
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<int>("grids");
        QTest::newRow("理論との比較") << QStringLiteral("理論との比較") << QStringLiteral("mnuRironHikaku") << 8;
        QTest::newRow("ペア出現分析") << QStringLiteral("ペア出現分析") << QStringLiteral("mnuPairSyutugen") << 3;
    }
    void exportMatchesTheScreen() {
        QFETCH(QString, formName);
        QFETCH(QString, menuItem);
        QFETCH(int, grids);
        MainFrm frame;
        frame.setSettingsPath(m_dir.filePath(QStringLiteral("options.ini")));
        QVERIFY(frame.startUp(m_database));
        frame.showOffscreen();
        frame.findChild<QAction *>(menuItem)->trigger();
        QMdiSubWindow *sub = frame.subWindow(formName);
        QVERIFY(sub);
        auto *window = qobject_cast<ChildWindow *>(sub->widget());
        QVERIFY(window);

        const CliRun run = runCli({QStringLiteral("export"), formName, QStringLiteral("--db"), m_database});
        QCOMPARE(run.status, 0);
        const WindowExport shown = *window->exportContent();
        QCOMPARE(int(shown.grids.size()), grids);
        compareWithExport(run.out, shown);

        window->findChild<QSpinBox *>(QStringLiteral("spnTo"))->setValue(609);
        window->findChild<QSpinBox *>(QStringLiteral("spnFrom"))->setValue(600);
        const ResultGrid first = window->exportContent()->grids.front();
        if (grids == 8) {
            QCOMPARE(first.text(2, 2), QStringLiteral("10")); // 合計: one sum per draw
        } else {
            int together = 0; // 21 pairs in each draw, every one counted on both sides
            for (int r = 2; r <= 38; ++r)
                for (int c = 2; c <= 38; ++c)
                    together += first.text(c, r).toInt();
            QCOMPARE(together, 2 * 21 * 10);
        }
    }
};

QTEST_MAIN(TestTheoryWindows)
#include "TestTheoryWindows.moc"
