#include "core/catalog/AnalysisCatalog.h"
#include "gui/grid/ResultGridView.h"
#include "core/backtest/BacktestGrids.h"
#include "gui/backtest/BacktestWindow.h"
#include "gui/figures/CumulativeHitsChart.h"
#include "gui/figures/HitDistributionChart.h"
#include "support/ExportCompare.h"
#include "support/Files.h"
#include "support/Histories.h"

#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <numeric>
#include <random>

namespace {
DrawHistory shuffledHistory(int draws) {
    std::mt19937 rng(5);
    std::vector<DrawRecord> records;
    for (int n = 1; n <= draws; ++n) {
        std::array<int, 37> pool;
        std::iota(pool.begin(), pool.end(), 1);
        std::shuffle(pool.begin(), pool.end(), rng);
        std::array<int, 9> numbers{};
        std::copy_n(pool.begin(), 9, numbers.begin());
        records.push_back(makeDraw(n, numbers));
    }
    return DrawHistory(std::move(records));
}
} // namespace

class TestBacktestWindow : public QObject {
    Q_OBJECT
private slots:
    // The current options, then every setting; the grids and charts follow the choices.
    void currentOptionsThenAllSettings() {
        const DrawHistory history = shuffledHistory(150);
        PredictionOptions options;
        options.ReflectFlag[2] = true; // weight 6
        BacktestWindow window(*AnalysisCatalog::find(QStringLiteral("mnuBacktest")), history, options);
        window.load();
        window.resize(1300, 900);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCOMPARE(window.objectName(), QStringLiteral("予想の検証"));
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("閉じる"));
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QStringLiteral("印刷"));
        auto *verdict = window.findChild<QLabel *>(QStringLiteral("Label2"));
        auto *methods = window.findChild<ResultGridView *>(QStringLiteral("fpSpread1"));
        auto *settings = window.findChild<ResultGridView *>(QStringLiteral("fpSpread2"));
        auto *method = window.findChild<QComboBox *>(QStringLiteral("cboMethod"));
        auto *cumulative = window.findChild<CumulativeHitsChart *>(QStringLiteral("chtCumulative"));
        QVERIFY(verdict && methods && settings && method && cumulative);

        const Backtest::Report one = Backtest::runOne(history, {1, 150}, 6);
        QCOMPARE(verdict->text(), one.verdict);
        QCOMPARE(methods->grid(), BacktestGrids::methodGrid(one.settings.front(), true));
        QVERIFY(!settings->isVisible());

        method->setCurrentIndex(Backtest::OneShot);
        QVERIFY(cumulative->chart()->title().endsWith(QStringLiteral("<br>１発予想")));
        QCOMPARE(cumulative->chart()->series().size(), 2); // the band and the line

        window.findChild<QSpinBox *>(QStringLiteral("spnFrom"))->setValue(101);
        QCOMPARE(window.report().drawsTested, 50);

        window.findChild<QRadioButton *>(QStringLiteral("optAll"))->setChecked(true);
        QVERIFY(settings->isVisible());
        QCOMPARE(settings->grid().rows(), 94);
        QVERIFY(verdict->text().contains(QStringLiteral("93 通りを比較")));
        auto *setting = window.findChild<QComboBox *>(QStringLiteral("cboSetting"));
        QCOMPARE(setting->count(), 93);
        QCOMPARE(setting->currentData().toInt(), window.report().bestSetting().reflectOffset);
        setting->setCurrentIndex(setting->findData(6));
        QVERIFY(cumulative->chart()->title().contains(QStringLiteral("反映オフセット 6")));
    }

    // The command line's export is what the window shows, for the current options and for
    // every setting (the options then mark their row).
    void exportMatchesTheScreen() {
        const DrawHistory history = realHistory();
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("draws.mdb"));
        const QString ini = dir.filePath(QStringLiteral("options.ini"));
        PredictionOptions options;
        options.ReflectFlag[1] = true; // weight 15
        QVERIFY(writeDatabase(db, history) && WriteInitFile(ini, options).ok);
        BacktestWindow window(*AnalysisCatalog::find(QStringLiteral("mnuBacktest")), history, options);
        window.load();
        window.findChild<QSpinBox *>(QStringLiteral("spnFrom"))->setValue(600);
        const QStringList arguments{QStringLiteral("export"),     QStringLiteral("予想の検証"),
                                    QStringLiteral("--from"),     QStringLiteral("600"),
                                    QStringLiteral("--settings"), ini,
                                    QStringLiteral("--db"),       db};
        CliRun run = runCli(arguments);
        QCOMPARE(run.status, 0);
        compareWithExport(run.out, *window.exportContent());

        window.findChild<QRadioButton *>(QStringLiteral("optAll"))->setChecked(true);
        run = runCli(arguments + QStringList{QStringLiteral("--all-settings")});
        QCOMPARE(run.status, 0);
        compareWithExport(run.out, *window.exportContent());
    }
};

QTEST_MAIN(TestBacktestWindow)
#include "TestBacktestWindow.moc"
