#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"
#include "gui/figures/PrizeChart.h"
#include "gui/history/PrizeListWindow.h"
#include "gui/shell/MainFrm.h"
#include "support/ExportCompare.h"
#include "support/Files.h"

#include <QAction>
#include <QChart>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QXYSeries>
#include <QtTest>

class TestPrizeListWindow : public QObject {
    Q_OBJECT
private slots:
    // The frozen 24-column file imported on the command line: the window opened from データ管理
    // shows what `export 当せん金一覧` writes, cell for cell, and its chart leaves out the 1等 of
    // draws nobody won 1等 in (draws 1 and 4) and the draw without prize data (draw 3).
    void windowMatchesTheExport() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("prizes.mdb"));
        const CliRun import = runCli({QStringLiteral("import"), QStringLiteral(TEST_DATA_DIR "/loto7-prizes-4.csv"),
                                      QStringLiteral("--db"), db});
        QVERIFY2(import.status == 0, qPrintable(import.err));

        MainFrm frame;
        frame.setPredictionOnActivation(false);
        frame.setSettingsPath(dir.filePath(QStringLiteral("ナナズバリオ.ini")));
        QVERIFY(frame.startUp(db));
        frame.resize(1600, 1200);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.findChild<QAction *>(QStringLiteral("mnuTousenkinIchiran"))->trigger();
        QMdiSubWindow *sub = frame.subWindow(QStringLiteral("当せん金一覧"));
        auto *window = sub ? qobject_cast<PrizeListWindow *>(sub->widget()) : nullptr;
        QVERIFY(window);
        QCOMPARE(sub->windowTitle(), QStringLiteral("当せん金一覧"));
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("閉じる"));
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QStringLiteral("印刷"));
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("当せん金のデータがある回 3 回、ない回 1 回。"));

        for (const QString &format : {QStringLiteral("json"), QStringLiteral("csv")}) {
            const CliRun run = runCli({QStringLiteral("export"), QStringLiteral("当せん金一覧"), QStringLiteral("--db"),
                                       db, QStringLiteral("--format"), format});
            QCOMPARE(run.status, 0);
            if (format == QLatin1String("json"))
                compareWithExport(run.out, *window->exportContent());
            else
                QCOMPARE(run.out, GridCsv::toCsv(*window->exportContent()));
        }

        const QList<QAbstractSeries *> series =
            window->findChild<PrizeChart *>(QStringLiteral("chtPrizes"))->chart()->series();
        QCOMPARE(series.size(), 2);
        const auto xs = [](QAbstractSeries *s) {
            QList<qreal> x;
            for (const QPointF &p : static_cast<QXYSeries *>(s)->points())
                x << p.x();
            return x;
        };
        QCOMPARE(xs(series[0]), (QList<qreal>{1, 2, 4}));              // carry-over
        QCOMPARE(xs(series[1]), (QList<qreal>{2}));                    // 1等 per winner
        QCOMPARE(static_cast<QXYSeries *>(series[1])->at(0).y(), 6.0); // 600,000,000 yen in 億円
    }
};

QTEST_MAIN(TestPrizeListWindow)
#include "TestPrizeListWindow.moc"
