#include "core/analysis/Builders.h"
#include "core/history/DrawStore.h"
#include "core/prediction/PredictionEngine.h"
#include "gui/prediction/PredictionWindow.h"
#include "gui/shell/BandedFrameStyle.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QGroupBox *optionFrame(QWidget &window, int index) {
    return window.findChild<QGroupBox *>(QStringLiteral("Frame%1").arg(4 + index));
}

QRadioButton *optionButton(QWidget &window, int index, bool reflect) {
    QGroupBox *frame = optionFrame(window, index);
    return frame ? frame->findChild<QRadioButton *>(reflect ? QStringLiteral("Opt反映する")
                                                            : QStringLiteral("Opt反映しない"))
                 : nullptr;
}

QString rowText(const ResultGrid &grid, int row) {
    QStringList cells;
    for (int c = 2; c <= grid.columns(); ++c)
        cells << grid.text(c, row);
    return cells.join(QLatin1Char(','));
}
} // namespace

class TestPredictionWindow : public QObject {
    Q_OBJECT
private slots:
    // The program draws tall frames band by band; they must come out as the plain style draws
    // them, rows at the bands' edges included, and around an opaque child that cuts the rows.
    void framesDrawnInBandsLookTheSame_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("child");
        for (int height : {31, 32, 62, 63, 485})
            QTest::addRow("%d rows", height) << height << false;
        QTest::addRow("485 rows around a child") << 485 << true;
    }
    void framesDrawnInBandsLookTheSame() {
        QFETCH(int, height);
        QFETCH(bool, child);
        BandedFrameStyle banded;
        QGroupBox plain(QStringLiteral("当選予想")), inBands(QStringLiteral("当選予想"));
        inBands.setStyle(&banded);
        for (QGroupBox *box : {&plain, &inBands}) {
            box->resize(385, height);
            if (child) {
                auto *inside = new QWidget(box);
                inside->setAutoFillBackground(true);
                inside->setGeometry(40, 30, 300, 400);
            }
        }
        const QImage expected = plain.grab().toImage(), drawn = inBands.grab().toImage();
        QVERIFY(!expected.isNull());
        QVERIFY(drawn == expected);
    }

    // Each band stays under the 96 spans at which Qt's raster engine hands a fill to its threads.
    void bandsStayUnderTheThreadedFill_data() {
        QTest::addColumn<QRegion>("clip");
        QTest::addColumn<std::vector<int>>("heights");
        const QRect frame(0, 0, 385, 485);
        QTest::addRow("uncut") << QRegion(frame) << std::vector<int>{95, 95, 95, 95, 95, 10};
        // Rows 100..199 are cut in three by two children: 3 spans each. The second band is rows
        // 95..129 (5 + 30 × 3 spans), then 31 rows of 3 twice, then 192..270 (8 × 3 + 71).
        QRegion cut = QRegion(frame) - QRegion(50, 100, 100, 100) - QRegion(200, 100, 100, 100);
        QTest::addRow("cut in three") << cut << std::vector<int>{95, 35, 31, 31, 79, 95, 95, 24};
        // Rows the clip leaves out cost nothing.
        QTest::addRow("lower half hidden") << QRegion(0, 0, 385, 200) << std::vector<int>{95, 95, 295};
    }
    void bandsStayUnderTheThreadedFill() {
        QFETCH(QRegion, clip);
        QFETCH(std::vector<int>, heights);
        QCOMPARE(BandedFrameStyle::bandHeights(clip, QRect(0, 0, 385, 485)), heights);
    }

    void initTestCase() { m_history = realHistory(); }

    void controls() {
        PredictionEngine engine;
        PredictionWindow window(engine, m_history);
        window.load();
        QCOMPARE(window.objectName(), QStringLiteral("一発ズバリオ予想"));
        QCOMPARE(window.windowTitle(), QStringLiteral("一発ズバリオ予想"));
        QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("Frame3"))->title(),
                 QStringLiteral("データ分析オプション"));
        QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(), QStringLiteral("当選予想"));
        QCOMPARE(optionFrame(window, 8)->title(), QStringLiteral("■4分割傾向分析"));
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Cmd閉じる"))->text(), QStringLiteral("閉じる"));
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QStringLiteral("印刷"));
        QCOMPARE(window.findChildren<QRadioButton *>(QStringLiteral("Opt反映する")).size(), 12);
        QCOMPARE(window.findChildren<QWidget *>(QStringLiteral("fpSpread1")).size(), 4);
        for (int i = 0; i < 12; ++i) {
            QVERIFY(optionButton(window, i, false)->isChecked()); // all flags off
            QCOMPARE(optionButton(window, i, true)->property("index").toInt(), i);
        }
        // The frames stack in steps of 540 twips, 36 pixels at 96 DPI.
        const int step = optionFrame(window, 1)->y() - optionFrame(window, 0)->y();
        QCOMPARE(step, (540 * window.logicalDpiY() + 720) / 1440);
        // Opening computed all four grids as a first opening does.
        const std::vector<ResultGrid> expected = buildPredictionGrids(m_history, {});
        QCOMPARE(std::vector<ResultGrid>(engine.grids().begin(), engine.grids().end()), expected);
    }

    void clickRecomputes_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("frequency") << 0;
        QTest::newRow("interval") << 1;
        QTest::newRow("last-digit runs") << 11;
    }
    void clickRecomputes() {
        QFETCH(int, index);
        PredictionEngine engine;
        PredictionWindow window(engine, m_history);
        window.load();
        window.show();
        const QString before = rowText(engine.grid(1), 2);

        QTest::mouseClick(optionButton(window, index, true), Qt::LeftButton);
        QVERIFY(engine.reflectFlag(index));
        PredictionOptions options;
        options.ReflectFlag[std::size_t(index)] = true;
        const std::vector<ResultGrid> expected = buildPredictionGrids(m_history, options);
        for (int g = 0; g < 4; ++g)
            QCOMPARE(engine.grid(g), expected[std::size_t(g)]);
        QVERIFY(rowText(engine.grid(1), 2) != before);

        // Off again: exactly the predictions shown before.
        QTest::mouseClick(optionButton(window, index, false), Qt::LeftButton);
        QVERIFY(!engine.reflectFlag(index));
        QCOMPARE(rowText(engine.grid(1), 2), before);
        QVERIFY(optionButton(window, index, false)->isChecked());
        QVERIFY(!optionButton(window, index, true)->isChecked());
    }

    void flagsSurviveCloseAndReopen() {
        PredictionEngine engine;
        auto window = std::make_unique<PredictionWindow>(engine, m_history);
        window->load();
        window->show();
        QTest::mouseClick(optionButton(*window, 3, true), Qt::LeftButton);
        QTest::mouseClick(optionButton(*window, 10, true), Qt::LeftButton);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Cmd閉じる")), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        window.reset();

        PredictionWindow reopened(engine, m_history);

        reopened.load();
        for (int i = 0; i < 12; ++i) {
            const bool on = i == 3 || i == 10;
            QCOMPARE(optionButton(reopened, i, true)->isChecked(), on);
            QCOMPARE(optionButton(reopened, i, false)->isChecked(), !on);
        }
        PredictionOptions options;
        options.ReflectFlag[3] = options.ReflectFlag[10] = true;
        QCOMPARE(engine.options(), options);
        QCOMPARE(engine.grid(2), buildPredictionGrids(m_history, options)[2]);
    }

    // Inside the main window: the flags outlive the window and reach the settings file at exit.
    void mainWindowKeepsFlagsUntilExit() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString database = dir.filePath(QStringLiteral("draws.mdb"));
        StoreError error;
        {
            auto store =
                DrawStore::open(ConnectionString::forDatabase(database), error, DrawStore::OpenMode::CreateIfMissing);
            QVERIFY2(store, qPrintable(error.message));
            QVERIFY2(store->store(m_history.records(), error), qPrintable(error.message));
        }
        const QString previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previousDir); });
        const QString settings = dir.filePath(QStringLiteral("ナナズバリオ.ini"));
        PredictionOptions stored;
        stored.ReflectFlag[0] = true;
        QVERIFY(WriteInitFile(settings, stored).ok);

        {
            MainFrm frame;
            frame.setPredictionOnActivation(false);
            QVERIFY(frame.startUp(database));
            frame.resize(1600, 1200);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QCOMPARE(frame.options(), stored);

            QMdiSubWindow *sub = frame.openWindow(QStringLiteral("mnuYoso"));
            QVERIFY(sub);
            auto *window = qobject_cast<PredictionWindow *>(sub->widget());
            QVERIFY(window);
            QVERIFY(optionButton(*window, 0, true)->isChecked());
            QCOMPARE(frame.prediction().grid(1), buildPredictionGrids(m_history, stored)[1]);
            QTest::mouseClick(optionButton(*window, 0, false), Qt::LeftButton);
            QTest::mouseClick(optionButton(*window, 7, true), Qt::LeftButton);
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Cmd閉じる")), Qt::LeftButton);
            QTRY_VERIFY(!frame.subWindow(QStringLiteral("一発ズバリオ予想")));
            QVERIFY(frame.EndAllowed());

            // Not yet in the file; reopening shows the flags as clicked.
            PredictionOptions read;
            QVERIFY(ReadInitFile(settings, read).ok);
            QCOMPARE(read, stored);
            sub = frame.openWindow(QStringLiteral("一発ズバリオ予想"));
            QVERIFY(sub);
            window = qobject_cast<PredictionWindow *>(sub->widget());
            QVERIFY(optionButton(*window, 0, false)->isChecked());
            QVERIFY(optionButton(*window, 7, true)->isChecked());
            frame.close();
        }

        PredictionOptions expected;
        expected.ReflectFlag[7] = true;
        PredictionOptions read;
        QVERIFY(ReadInitFile(settings, read).ok);
        QCOMPARE(read, expected);
    }

    // Not a check: leaves a picture of the window beside the test for a person to look at.
    void render() {
        PredictionEngine engine;
        engine.setReflectFlag(1, true);
        PredictionWindow window(engine, m_history);
        window.load();
        window.show();
        QVERIFY(window.grab().save(QStringLiteral(TEST_BINARY_DIR "/prediction-window.png")));
    }

private:
    DrawHistory m_history;
};

QTEST_MAIN(TestPredictionWindow)
#include "TestPredictionWindow.moc"
