#include "core/catalog/AnalysisCatalog.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/grid/ResultGridView.h"
#include "core/history/DrawStore.h"
#include "gui/shell/JapaneseTexts.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QString kDataEntry = QStringLiteral("当選データ入力");
const QString kPrediction = QStringLiteral("一発ズバリオ予想");

// A child window with a menu of its own.
class WindowWithMenu : public ChildWindow {
public:
    WindowWithMenu() : m_menu(new QMenu(QStringLiteral("編集(&E)"), this)) { m_menu->setObjectName("mnuOwn"); }
    QMenu *windowMenu() override { return m_menu; }

private:
    QMenu *m_menu;
};

QAction *action(MainFrm &frame, const QString &name) {
    return frame.findChild<QAction *>(name);
}

AnalysisWindow *analysisWindow(QMdiSubWindow *sub) {
    return sub ? qobject_cast<AnalysisWindow *>(sub->widget()) : nullptr;
}
} // namespace

class TestMainFrm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_realDatabase; // the frozen real history
    QString m_previousDir;

    // A started main window; with the prediction rule off unless asked for.
    std::unique_ptr<MainFrm> startFrame(bool predictionOnActivation = false) {
        auto frame = std::make_unique<MainFrm>();
        frame->setPredictionOnActivation(predictionOnActivation);
        if (!frame->startUp(m_database))
            return nullptr;
        frame->resize(1600, 1200);
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get()))
            return nullptr;
        return frame;
    }

    QString settingsFile() const { return m_dir.filePath(QStringLiteral("ナナズバリオ.ini")); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("draws.mdb"));
        StoreError error;
        auto store =
            DrawStore::open(ConnectionString::forDatabase(m_database), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        QVERIFY(store->store({makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(2, {3, 8, 12, 19, 25, 30, 36, 5, 22}),
                              makeDraw(3, {1, 0, 14, 22, 27, 31, 35, 3, 17}),
                              makeDraw(5, {1, 8, 14, 22, 27, 31, 35, 3, 17})},
                             error));
        m_realDatabase = m_dir.filePath(QStringLiteral("real.mdb"));
        auto real =
            DrawStore::open(ConnectionString::forDatabase(m_realDatabase), error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(real && real->store(realHistory().records(), error), qPrintable(error.message));
        // The settings file lives in the current directory.
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }
    void init() {
        QFile::remove(settingsFile());
        QDir(settingsFile()).removeRecursively();
    }

    void menuBar_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // caption|objectName, in order
        QTest::newRow("menu bar") << QStringLiteral("")
                                  << (QStringList() << QStringLiteral("終了(&X)|mnuEnd")
                                                    << QStringLiteral("一発ズバリオ予想(&D)|mnuYoso")
                                                    << QStringLiteral("データ分析(&S)|mnuMain")
                                                    << QStringLiteral("データ管理(&M)|mnuHosyu")
                                                    << QStringLiteral("検証(&K)|mnuKensyou")
                                                    << QStringLiteral("ウィンドウ(&W)|mnuWindow")
                                                    << QStringLiteral("ヘルプ(&H)|mnuHelp"));
        QTest::newRow("mnuMain") << QStringLiteral("mnuMain")
                                 << (QStringList()
                                     << QStringLiteral("頻度分析|mnuHindo") << QStringLiteral("間隔分析|mnuKankaku")
                                     << QStringLiteral("出現回数分析|mnuZenkaiSyutugen")
                                     << QStringLiteral("バラツキ分析|mnuBaratsuki")
                                     << QStringLiteral("引っ張り分析|mnuHippari")
                                     << QStringLiteral("連番・飛び石分析|mnuRenbanTobiishi")
                                     << QStringLiteral("数字合計分析|mnuHonsuji")
                                     << QStringLiteral("組合せパターン分析|mnuPattern")
                                     << QStringLiteral("4分割傾向分析|mnu5BunkatsuKeiko")
                                     << QStringLiteral("分割データ分析|mnuBunkatsuData")
                                     << QStringLiteral("下一桁出現傾向分析|mnuLastChar")
                                     << QStringLiteral("下一桁連続出現回数分析|mnuLastCharRenzoku")
                                     << QStringLiteral("理論との比較|mnuRironHikaku")
                                     << QStringLiteral("ペア出現分析|mnuPairSyutugen"));
        QTest::newRow("mnuHindo") << QStringLiteral("mnuHindo")
                                  << (QStringList() << QStringLiteral("出現頻度分析|mnuSyutugenHindo")
                                                    << QStringLiteral("回数別出現分析|mnuSyutugenKaisu"));
        QTest::newRow("mnuKankaku") << QStringLiteral("mnuKankaku")
                                    << (QStringList() << QStringLiteral("出現間隔分析|mnuSyutugenKankaku")
                                                      << QStringLiteral("数字間隔分析|mnuNumberKankaku"));
        QTest::newRow("mnuPattern") << QStringLiteral("mnuPattern")
                                    << (QStringList()
                                        << QStringLiteral("低数字・高数字の組合せパターン分析|mnuLowHightPattern")
                                        << QStringLiteral("偶数・奇数の組合せパターン分析|mnuKisuGusuPattern"));
        QTest::newRow("mnuBunkatsuData") << QStringLiteral("mnuBunkatsuData")
                                         << (QStringList() << QStringLiteral("6分割データ分析|mnu6BunkatsuData")
                                                           << QStringLiteral("7分割データ分析|mnu7BunkatsuData")
                                                           << QStringLiteral("9分割データ分析|mnu11BunkatsuData"));
        QTest::newRow("mnuHosyu") << QStringLiteral("mnuHosyu")
                                  << (QStringList() << QStringLiteral("当選データ入力(&I)|mnuMasterInput")
                                                    << QStringLiteral("当せん金一覧(&P)|mnuTousenkinIchiran")
                                                    << QStringLiteral("CSVファイルから取り込み(&O)...|mnuImportCsv")
                                                    << QStringLiteral("CSVファイルへ書き出し(&E)...|mnuExportCsv")
                                                    << QStringLiteral("当選データの再読み込み(&R)|mnuReload"));
        QTest::newRow("mnuKensyou") << QStringLiteral("mnuKensyou")
                                    << (QStringList() << QStringLiteral("当選照合(&T)|mnuTousenSyougou")
                                                      << QStringLiteral("予想の検証(&B)|mnuBacktest")
                                                      << QStringLiteral("組合せ購入(&C)|mnuKumiawase"));
        QTest::newRow("mnuWindow") << QStringLiteral("mnuWindow")
                                   << (QStringList() << QStringLiteral("上下に並べて表示(&H)|mnuWindowHorizontal")
                                                     << QStringLiteral("左右に並べて表示(&V)|mnuWindowVertical")
                                                     << QStringLiteral("重ねて表示(&C)|mnuWindowCascade")
                                                     << QStringLiteral("アイコンの整列(&A)|mnuWindowArrangeIcon"));
        QTest::newRow("mnuHelp") << QStringLiteral("mnuHelp")
                                 << (QStringList() << QStringLiteral("ヘルプ(&H)|mnuHelpFile")
                                                   << QStringLiteral("バージョン情報(&A)|mnuAbout"));
    }
    void menuBar() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        auto frame = startFrame();
        QVERIFY(frame);
        const QList<QAction *> actions =
            menu.isEmpty() ? frame->menuBar()->actions() : frame->findChild<QMenu *>(menu)->actions();
        QStringList found;
        for (QAction *a : actions) {
            QVERIFY(a->isEnabled());
            QVERIFY(a->isVisible());
            found << a->text() + QLatin1Char('|') + a->objectName();
        }
        QCOMPARE(found, items);
    }

    // 終了 and 一発ズバリオ予想 are items of the menu bar itself; the others open menus.
    void menuBarItemsWithoutMenus() {
        auto frame = startFrame();
        QVERIFY(frame);
        QVERIFY(!action(*frame, "mnuEnd")->menu());
        QVERIFY(!action(*frame, "mnuYoso")->menu());
        QVERIFY(action(*frame, "mnuMain")->menu());
        action(*frame, "mnuYoso")->trigger();
        QVERIFY(frame->subWindow(kPrediction));
        action(*frame, "mnuEnd")->trigger();
        QVERIFY(!frame->isVisible());
        QVERIFY(frame->mdiArea()->subWindowList().isEmpty());
    }

    // The checking menu opens its windows as child windows like the others.
    void checkingMenuOpensBacktest() {
        auto frame = startFrame();
        QVERIFY(frame);
        action(*frame, "mnuBacktest")->trigger();
        QMdiSubWindow *sub = frame->subWindow(QStringLiteral("予想の検証"));
        QVERIFY(sub);
        QCOMPARE(sub->widget()->windowTitle(), QStringLiteral("予想の検証"));
        QVERIFY(!frame->EndAllowed());
        // Options changed in the prediction window are followed when the window is active again.
        action(*frame, "mnuYoso")->trigger();
        frame->options().ReflectFlag[1] = true;
        frame->mdiArea()->setActiveSubWindow(sub);
        auto *current = sub->widget()->findChild<QRadioButton *>(QStringLiteral("optCurrent"));
        QVERIFY(current->text().contains(QStringLiteral("反映オフセット 15")));
        sub->widget()->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QTRY_VERIFY(!frame->subWindow(QStringLiteral("予想の検証")));
        QVERIFY(frame->EndAllowed());
    }

    void startUpFailure_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a database") << QByteArray(4096, 'x');
    }
    void startUpFailure() {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("壊れた.mdb"));
        QFile::remove(path);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        MainFrm quiet;
        QString failure;
        QVERIFY(!quiet.startUp(path, &failure));
        QVERIFY2(failure.contains(path), qPrintable(failure));

        MessageBoxWatcher watcher;
        MainFrm frame;
        QVERIFY(!frame.startUp(path));
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].title, QStringLiteral("メッセ－ジ"));
        QCOMPARE(watcher.seen[0].icon, QMessageBox::Critical);
        QVERIFY(watcher.seen[0].text.contains(path));
    }

    // A settings file that cannot be read is reported; the program starts all the same.
    void unreadableSettingsAtStartUp() {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("ナナズバリオ.ini")));
        MessageBoxWatcher watcher;
        MainFrm frame;
        QVERIFY(frame.startUp(m_database));
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].title, QStringLiteral("メッセ－ジ"));
        QVERIFY(watcher.seen[0].text.contains(settingsFile()));
        QVERIFY(frame.EndAllowed());
        QCOMPARE(frame.history().records().size(), std::size_t(4));
    }

    // The prediction window opens when the main window is first activated; while it is open the
    // items of データ管理 are refused with a message, and allowed once it is closed.
    void dataEntryRefusedWhilePredictionIsOpen() {
        auto frame = startFrame(true);
        QVERIFY(frame);
        QTRY_VERIFY(frame->subWindow(kPrediction));
        QMdiSubWindow *prediction = frame->subWindow(kPrediction);
        QCOMPARE(prediction->widget()->objectName(), kPrediction);
        QCOMPARE(prediction->windowTitle(), kPrediction);
        QVERIFY(!frame->EndAllowed());

        // Every item of データ管理 is refused alike.
        MessageBoxWatcher watcher;
        const QStringList items{"mnuMasterInput", "mnuImportCsv", "mnuExportCsv", "mnuReload"};
        for (const QString &item : items)
            action(*frame, item)->trigger();
        QCOMPARE(watcher.seen.size(), items.size());
        for (const MessageBoxWatcher::Seen &seen : std::as_const(watcher.seen)) {
            QCOMPARE(seen.text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
            QCOMPARE(seen.title, QStringLiteral("メッセ－ジ"));
            QCOMPARE(seen.icon, QMessageBox::Critical);
            QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(!frame->subWindow(kDataEntry));
        watcher.seen.clear();

        prediction->close();
        QTRY_VERIFY(frame->EndAllowed());
        QVERIFY(!frame->subWindow(kPrediction));
        action(*frame, "mnuMasterInput")->trigger();
        QVERIFY(frame->subWindow(kDataEntry));
        QCOMPARE(frame->subWindow(kDataEntry)->windowTitle(), kDataEntry);
        QVERIFY(watcher.seen.isEmpty());
        QVERIFY(!frame->EndAllowed());
    }

    // Coming back from another window of the program shows the prediction window again;
    // coming back from a message box does not.
    void reactivationShowsPrediction() {
        auto frame = startFrame(true);
        QVERIFY(frame);
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTRY_VERIFY(frame->subWindow(kPrediction));
        frame->subWindow(kPrediction)->close();
        QTRY_VERIFY(!frame->subWindow(kPrediction));

        {
            MessageBoxWatcher watcher;
            QMessageBox::information(frame.get(), QStringLiteral("確認"), QStringLiteral("テスト"));
            QCOMPARE(watcher.seen.size(), 1);
        }
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QCoreApplication::processEvents();
        QVERIFY(!frame->subWindow(kPrediction));

        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTRY_VERIFY(frame->subWindow(kPrediction));
    }

    // EndAllowed is a flag, not a count: closing one of two windows sets it.
    void closingOneOfTwoWindowsAllowsDataEntry() {
        auto frame = startFrame();
        QVERIFY(frame);
        QVERIFY(frame->EndAllowed());
        action(*frame, "mnuSyutugenHindo")->trigger();
        action(*frame, "mnuHippari")->trigger();
        QCOMPARE(frame->mdiArea()->subWindowList().size(), 2);
        QVERIFY(!frame->EndAllowed());

        MessageBoxWatcher watcher;
        frame->subWindow(QStringLiteral("引っ張り分析"))->close();
        QTRY_VERIFY(frame->EndAllowed());
        QVERIFY(frame->subWindow(QStringLiteral("出現頻度分析")));
        action(*frame, "mnuMasterInput")->trigger();
        QVERIFY(frame->subWindow(kDataEntry));
        QVERIFY(watcher.seen.isEmpty());
    }

    // Every child window opens from its menu item as a single instance, placed at the corner with
    // its size; choosing it again brings it to the front without computing again; its Close
    // button unloads it and sets EndAllowed; opening it again computes afresh.
    void everyWindowSingleInstance_data() {
        QTest::addColumn<QString>("formName");
        for (const CatalogEntry &e : AnalysisCatalog::entries())
            if (e.kind == WindowKind::Analysis)
                QTest::newRow(qPrintable(e.formName)) << e.formName;
    }
    void everyWindowSingleInstance() {
        QFETCH(QString, formName);
        const CatalogEntry &entry = *AnalysisCatalog::find(formName);
        auto frame = startFrame();
        QVERIFY(frame);
        action(*frame, entry.menuItem)->trigger();
        QPointer<QMdiSubWindow> first = frame->subWindow(formName);
        QVERIFY(first);
        QPointer<AnalysisWindow> window = analysisWindow(first);
        QVERIFY(window);
        QCOMPARE(window->objectName(), formName);
        QCOMPARE(first->windowTitle(), entry.caption);
        QCOMPARE(first->pos(), QPoint(0, 0));
        // At least as large as designed (or as wide as the grid, for a window drawn much wider
        // than it); larger only as far as the grid's visible area needs.
        QSize designed(ChildWindow::twipsToPixels(entry.widthTwips, frame.get()),
                       ChildWindow::twipsToPixels(entry.heightTwips, frame.get()));
        if (window->widthFollowsContent()) {
            QVERIFY(first->width() < designed.width());
            designed.setWidth(first->width());
        }
        QCOMPARE(first->size().expandedTo(designed), first->size());
        QCOMPARE(first->size().boundedTo(designed.expandedTo(frame->mdiArea()->viewport()->size())), first->size());
        QCOMPARE(window->findChild<QLabel *>("Label1")->text(), entry.description);
        QVERIFY(window->findChild<ResultGridView *>("fpSpread1"));
        QCOMPARE(window->findChild<QPushButton *>("Command1")->text(), QStringLiteral("閉じる"));
        QPushButton *print = window->findChild<QPushButton *>("Command2");
        const AnalysisWindowLook &look = AnalysisWindowLook::of(formName);
        QCOMPARE(bool(print), look.hasPrint);
        if (print) {
            QCOMPARE(print->text(), QStringLiteral("印刷"));
            // 印刷 opens the print preview; the window stays.
            bool previewed = false;
            QTimer::singleShot(0, this, [&] {
                if (auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
                    previewed = true;
                    dialog->reject();
                }
            });
            print->click();
            QVERIFY(previewed);
            QVERIFY(first);
        }
        for (const LegendItem &item : look.legend) {
            QVERIFY(window->findChild<QWidget *>(item.sampleName));
            bool labelled = false;
            for (QLabel *label : window->findChildren<QLabel *>(item.labelName))
                labelled = labelled || label->text() == item.text;
            QVERIFY2(labelled, qPrintable(item.text));
        }
        QCOMPARE(window->computeCount(), 1);

        action(*frame, "mnuHonsuji")->trigger(); // another window in front
        action(*frame, entry.menuItem)->trigger();
        QCOMPARE(frame->subWindow(formName), first.data());
        QCOMPARE(frame->mdiArea()->activeSubWindow(), first.data());
        QCOMPARE(window->computeCount(), 1);

        frame->subWindow(QStringLiteral("数字合計分析"))->close();
        QTRY_VERIFY(frame->EndAllowed() || formName == QStringLiteral("数字合計分析"));
        frame->setEndAllowed(false);
        window->findChild<QPushButton *>("Command1")->click();
        QTRY_VERIFY(!first);
        QVERIFY(frame->EndAllowed());
        action(*frame, entry.menuItem)->trigger();
        AnalysisWindow *again = analysisWindow(frame->subWindow(formName));
        QVERIFY(again);
        QCOMPARE(again->computeCount(), 1);
    }

    // On the real history, at the screen size players have, every window opens showing its
    // grid's visible area in full, the last column and row with their closing lines; where a
    // horizontal bar shows, the sheet goes on beyond that area.
    void windowShowsItsVisibleArea_data() {
        QTest::addColumn<QString>("formName");
        for (const CatalogEntry &e : AnalysisCatalog::entries())
            if (e.kind == WindowKind::Analysis)
                QTest::newRow(qPrintable(e.formName)) << e.formName;
    }
    void windowShowsItsVisibleArea() {
        QFETCH(QString, formName);
        MainFrm frame;
        frame.setPredictionOnActivation(false);
        QVERIFY(frame.startUp(m_realDatabase));
        frame.resize(1600, 960);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const ResultGridView *view = analysisWindow(frame.openWindow(formName))->gridView();
        const int lastColumn = std::min(view->grid().visibleColumns(), view->grid().columns());
        const int lastRow = std::min(view->grid().visibleRows(), view->grid().rows());
        QTRY_VERIFY(view->viewport()->rect().contains(view->cellRect(lastColumn, lastRow).adjusted(0, 0, 1, 1)));
        QTRY_VERIFY(!view->horizontalScrollBar()->isVisible() || lastColumn < view->grid().columns());
    }

    void carryOverLegend() {
        auto frame = startFrame();
        QVERIFY(frame);
        QWidget *window = frame->openWindow(QStringLiteral("mnuHippari"))->widget();
        auto px = [&](int twips) { return ChildWindow::twipsToPixels(twips, frame.get()); };
        auto *sample = window->findChild<QLabel *>("Label2");
        QCOMPARE(sample->geometry(), QRect(px(5640), px(150), px(495), px(255)));
        QVERIFY(sample->autoFillBackground());
        QCOMPARE(sample->palette().color(QPalette::Window), QColor(128, 255, 255));
        QVERIFY(sample->text().isEmpty());
        auto *text = window->findChild<QLabel *>("Label3");
        QCOMPARE(text->pos(), QPoint(px(6240), px(180)));
        QCOMPARE(window->findChild<QLabel *>("Label1")->pos(), QPoint(px(120), px(180)));
    }

    // Every analysis window keeps its grid at its corner and inside the window on every
    // resize, without computing again; a legend that no longer fits beside the buttons moves
    // above them.
    void gridFollowsResize_data() {
        QTest::addColumn<QString>("formName");
        QTest::addColumn<QSize>("size");
        QTest::newRow("spread larger") << QStringLiteral("バラツキ分析") << QSize(1200, 1000);
        QTest::newRow("spread smaller") << QStringLiteral("バラツキ分析") << QSize(500, 400);
        QTest::newRow("frequency narrow") << QStringLiteral("出現頻度分析") << QSize(330, 400);
        QTest::newRow("groups of six narrow") << QStringLiteral("分割6データ分析") << QSize(400, 300);
    }
    void gridFollowsResize() {
        QFETCH(QString, formName);
        QFETCH(QSize, size);
        auto frame = startFrame();
        QVERIFY(frame);
        QMdiSubWindow *sub = frame->openWindow(formName);
        auto *window = analysisWindow(sub);
        sub->resize(size);
        QCoreApplication::processEvents();
        const QRect grid = window->gridView()->geometry();
        QCOMPARE(grid.topLeft(),
                 QPoint(ChildWindow::twipsToPixels(120, frame.get()), ChildWindow::twipsToPixels(600, frame.get())));
        QVERIFY(window->rect().contains(grid));
        for (const QPushButton *button : window->findChildren<QPushButton *>()) {
            QVERIFY(window->rect().contains(button->geometry()));
            QVERIFY(grid.bottom() < button->geometry().top());
            for (const QLabel *label : window->findChildren<QLabel *>())
                QVERIFY2(!label->geometry().intersects(button->geometry()), qPrintable(label->text()));
        }
        QCOMPARE(window->computeCount(), 1);
    }

    // A child window's own menu replaces the main menus while it is active.
    void activeChildMenu() {
        auto frame = startFrame();
        QVERIFY(frame);
        auto visibleMenus = [&] {
            QList<QAction *> visible;
            for (QAction *a : frame->menuBar()->actions())
                if (a->isVisible())
                    visible << a;
            return visible;
        };
        const QList<QAction *> mainMenus = visibleMenus();
        auto *own = new WindowWithMenu;
        QMdiSubWindow *sub = frame->mdiArea()->addSubWindow(own);
        sub->show();
        frame->mdiArea()->setActiveSubWindow(sub);
        QCOMPARE(visibleMenus(), QList<QAction *>{own->windowMenu()->menuAction()});

        frame->openWindow(QStringLiteral("出現頻度分析"));
        QCOMPARE(visibleMenus(), mainMenus);
        frame->mdiArea()->setActiveSubWindow(sub);
        QCOMPARE(visibleMenus(), QList<QAction *>{own->windowMenu()->menuAction()});
        sub->close();
        QTRY_COMPARE(visibleMenus(), mainMenus);
    }

    void tiling() {
        auto frame = startFrame();
        QVERIFY(frame);
        QMdiSubWindow *a = frame->openWindow(QStringLiteral("出現頻度分析"));
        QMdiSubWindow *b = frame->openWindow(QStringLiteral("引っ張り分析"));
        const QSize area = frame->mdiArea()->viewport()->size();
        action(*frame, "mnuWindowHorizontal")->trigger();
        QCOMPARE(a->width(), area.width());
        QCOMPARE(b->width(), area.width());
        QCOMPARE(a->height() + b->height(), area.height());
        QVERIFY(a->y() != b->y());
        action(*frame, "mnuWindowVertical")->trigger();
        QCOMPARE(a->height(), area.height());
        QCOMPARE(a->width() + b->width(), area.width());
        QVERIFY(a->x() != b->x());
    }

    // Cascading, also after a tiling, gives windows of every kind back their opening sizes and
    // steps them diagonally, the front one last.
    void cascade() {
        auto frame = startFrame();
        QVERIFY(frame);
        QList<QMdiSubWindow *> windows;
        QList<QSize> sizes;
        for (const char *name :
             {"一発ズバリオ予想", "出現頻度分析", "回数別出現分析", "引っ張り分析", "バラツキ分析"}) {
            windows << frame->openWindow(QString::fromUtf8(name));
            sizes << windows.back()->size();
        }
        action(*frame, "mnuWindowHorizontal")->trigger();
        action(*frame, "mnuWindowCascade")->trigger();
        for (int i = 0; i < windows.size(); ++i) {
            QCOMPARE(windows[i]->size(), sizes[i]);
            QCOMPARE(windows[i]->x(), windows[i]->y());
            if (i > 0)
                QCOMPARE(windows[i]->pos() - windows[i - 1]->pos(), windows[1]->pos() - windows[0]->pos());
        }
        QVERIFY(windows[1]->x() > windows[0]->x());
        QCOMPARE(frame->mdiArea()->activeSubWindow(), windows.back());
    }

    // Message boxes and standard dialogs speak Japanese, as the rest of the program does.
    void japaneseDialogButtons() {
        QVERIFY(JapaneseTexts::useQtTexts());
        QMessageBox box(QMessageBox::Warning, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")),
                 qPrintable(box.button(QMessageBox::Yes)->text()));
        QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
    }

    // Exit is never refused: open windows unload and the options are written.
    void exitWritesSettings() {
        auto frame = startFrame(true);
        QVERIFY(frame);
        QTRY_VERIFY(frame->subWindow(kPrediction));
        action(*frame, "mnuSyutugenHindo")->trigger();
        frame->options().ReflectFlag[3] = true;
        frame->options().ReflectFlag[11] = true;
        const PredictionOptions expected = frame->options();
        action(*frame, "mnuEnd")->trigger();
        QVERIFY(!frame->isVisible());
        QVERIFY(frame->mdiArea()->subWindowList().isEmpty());
        QVERIFY(frame->EndAllowed());
        QVERIFY(QFile::exists(settingsFile()));
        PredictionOptions read;
        QVERIFY(ReadInitFile(settingsFile(), read).ok);
        QCOMPARE(read, expected);
    }

    // A settings file that cannot be written is reported, and the program still ends.
    void failedSettingsWriteStillExits() {
        auto frame = startFrame();
        QVERIFY(frame);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("ナナズバリオ.ini")));
        action(*frame, "mnuSyutugenHindo")->trigger();
        MessageBoxWatcher watcher;
        frame->close();
        QVERIFY(!frame->isVisible());
        QCOMPARE(watcher.seen.size(), 1);
        QCOMPARE(watcher.seen[0].title, QStringLiteral("メッセ－ジ"));
        QVERIFY(frame->mdiArea()->subWindowList().isEmpty());
    }

    // The program draws a window as its menu item opens it, into a picture file.
    void renderCommand_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("status");
        QTest::newRow("form name") << QStringLiteral("出現頻度分析") << 0;
        QTest::newRow("menu item name") << QStringLiteral("mnuHippari") << 0;
        QTest::newRow("about") << QStringLiteral("バージョン情報") << 0;
        QTest::newRow("help") << QStringLiteral("ヘルプ") << 0;
        QTest::newRow("main window holding two") << QStringLiteral("一発ズバリオ予想,回数別出現分析") << 0;
        QTest::newRow("unknown") << QStringLiteral("存在しない分析") << 2;
    }
    void renderCommand() {
        QFETCH(QString, form);
        QFETCH(int, status);
        const QString program = QStringLiteral(TEST_BINARY_DIR "/nanazubario");
        if (!QFile::exists(program))
            QSKIP("the program is not built");
        const QString output = m_dir.filePath(QStringLiteral("render.png"));
        QFile::remove(output);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, {"--render", form, "--output", output, "--db", m_database});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), status);
        if (status == 0) {
            const QImage image(output);
            QVERIFY(!image.isNull());
            if (const CatalogEntry *entry = AnalysisCatalog::find(form))
                QVERIFY(image.width() >= ChildWindow::twipsToPixels(entry->widthTwips, &*std::make_unique<QWidget>()));
            else
                QVERIFY(image.width() > 200 && image.height() > 100);
        } else {
            QVERIFY(!QFile::exists(output));
            QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral("出現頻度分析")));
        }
    }
};

QTEST_MAIN(TestMainFrm)
#include "TestMainFrm.moc"
