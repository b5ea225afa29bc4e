#include "gui/entry/DrawEntryWindow.h"
#include "core/history/DrawStore.h"
#include "gui/shell/MainFrm.h"
#include "support/Histories.h"
#include "support/MessageBoxWatcher.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

namespace {
DrawRecord draw(int n) {
    return makeDraw(n, {n, n + 1, n + 2, n + 3, n + 4, n + 5, n + 6, n + 7, n + 8});
}

class Database {
public:
    explicit Database(const std::vector<DrawRecord> &records) {
        m_connection = ConnectionString::forDatabase(m_dir.filePath(QStringLiteral("draws.mdb")));
        StoreError error;
        m_store = DrawStore::open(m_connection, error, DrawStore::OpenMode::CreateIfMissing);
        if (m_store && !records.empty())
            m_store->store(records, error);
    }
    explicit Database(int draws = 3)
        : Database([draws] {
              std::vector<DrawRecord> records;
              for (int n = 1; n <= draws; ++n)
                  records.push_back(draw(n));
              return records;
          }()) {}
    const ConnectionString &connection() const { return m_connection; }
    DrawStore &store() { return *m_store; }
    std::vector<DrawRecord> records() const {
        StoreError error;
        return m_store->readAll(error);
    }

private:
    QTemporaryDir m_dir;
    ConnectionString m_connection;
    std::unique_ptr<DrawStore> m_store;
};

// Stands in for the message boxes: records what the user would be asked and told.
struct User {
    bool answer = true;
    QStringList questions;
    QStringList notices;
    void watch(DrawEntryWindow &window) {
        window.setConfirm([this](const QString &text) {
            questions << text;
            return answer;
        });
        window.setNotify([this](const QString &text) { notices << text; });
    }
};

QPoint cellOf(const QTableView *view) {
    return {view->currentIndex().row(), view->currentIndex().column()};
}

QStringList firstColumn(const DrawTableModel *model) {
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->text(r, 0);
    return texts;
}

void setCurrent(DrawEntryWindow &window, int row, int column) {
    window.view()->setCurrentIndex(window.model()->index(row, column));
}

void typeInto(DrawEntryWindow &window, int row, int column, const QString &text) {
    QVERIFY(window.model()->setData(window.model()->index(row, column), text));
}

QWidget *focused() {
    return QApplication::focusWidget();
}
} // namespace

class TestDrawEntryWindow : public QObject {
    Q_OBJECT
private slots:
    void formAndControls() {
        Database db;
        DrawEntryWindow window(db.connection());
        window.load();
        QVERIFY(window.isLoaded());
        QCOMPARE(window.objectName(), QStringLiteral("当選データ入力"));
        QCOMPARE(window.windowTitle(), QStringLiteral("当選データ入力"));
        QCOMPARE(window.findChild<QLabel *>("Label1")->text(),
                 QStringLiteral("当選数字を開催回数毎に入力します。ここのデータが分析対象になります"));
        QCOMPARE(window.findChild<QPushButton *>("Command1")->text(), QStringLiteral("閉じる"));
        auto *grid = window.findChild<QTableView *>("fpSpread1");
        QVERIFY(grid);
        QCOMPARE(grid->model(), window.model());
        QCOMPARE(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(window.size(),
                 QSize(qRound(9000 * window.logicalDpiX() / 1440.0), qRound(13450 * window.logicalDpiY() / 1440.0)));
        // The grid units of the analysis grids: a width unit is a third more than a character.
        const double unit = QFontMetrics(grid->font()).averageCharWidth() * 4.0 / 3.0;
        QCOMPARE(grid->columnWidth(0), qRound(5 * unit));
        for (int c = 1; c < 10; ++c)
            QCOMPARE(grid->columnWidth(c), qRound(7 * unit));

        QMenu *menu = window.windowMenu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("mnuEdit"));
        QCOMPARE(menu->title(), QStringLiteral("編集(&E)"));
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[0]->objectName(), QStringLiteral("mnuAddLine"));
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("行追加"));
        QCOMPARE(menu->actions()[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(menu->actions()[1]->objectName(), QStringLiteral("mnuDelLine"));
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("行削除"));
        QCOMPARE(menu->actions()[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    }

    void addLine_data() {
        QTest::addColumn<int>("draws");
        QTest::addColumn<QPoint>("active"); // (row, column); row -1: no active cell
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("below the active row")
            << 3 << QPoint(0, 4) << true << QStringList{"1", "", "2", "3"} << QPoint(1, 4);
        QTest::newRow("on the last row") << 3 << QPoint(2, 9) << true << QStringList{"1", "2", "3", ""} << QPoint(3, 9);
        QTest::newRow("no") << 3 << QPoint(1, 2) << false << QStringList{"1", "2", "3"} << QPoint(1, 2);
        QTest::newRow("empty table") << 0 << QPoint(-1, 0) << true << QStringList{""} << QPoint(0, 0);
    }

    void addLine() {
        QFETCH(int, draws);
        QFETCH(QPoint, active);
        QFETCH(bool, answer);
        QFETCH(QStringList, rows);
        QFETCH(QPoint, cursor);
        Database db(draws);
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.answer = answer;
        user.watch(window);
        if (active.x() >= 0)
            setCurrent(window, active.x(), active.y());
        window.findChild<QAction *>("mnuAddLine")->trigger();
        QCOMPARE(user.questions, QStringList{QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")});
        QCOMPARE(firstColumn(window.model()), rows);
        QCOMPARE(cellOf(window.view()), cursor);
        QCOMPARE(int(db.records().size()), draws);
    }

    void deleteLine_data() {
        QTest::addColumn<QPoint>("active");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("first row") << QPoint(0, 3) << true << QStringList{"2", "3"} << QPoint(0, 3);
        QTest::newRow("middle row") << QPoint(1, 0) << true << QStringList{"1", "3"} << QPoint(1, 0);
        QTest::newRow("last row") << QPoint(2, 9) << true << QStringList{"1", "2"} << QPoint(1, 9);
        QTest::newRow("no") << QPoint(1, 5) << false << QStringList{"1", "2", "3"} << QPoint(1, 5);
    }

    void deleteLine() {
        QFETCH(QPoint, active);
        QFETCH(bool, answer);
        QFETCH(QStringList, rows);
        QFETCH(QPoint, cursor);
        Database db(3);
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.answer = answer;
        user.watch(window);
        setCurrent(window, active.x(), active.y());
        window.findChild<QAction *>("mnuDelLine")->trigger();
        QCOMPARE(user.questions, QStringList{QStringLiteral("選択された行を削除します。よろしいですか？")});
        QCOMPARE(firstColumn(window.model()), rows);
        QCOMPARE(cellOf(window.view()), cursor);
        QStringList stored;
        for (const DrawRecord &r : db.records())
            stored << QString::number(r.drawNumber);
        QCOMPARE(stored, rows);
        QVERIFY(user.notices.isEmpty());
    }

    void closeValidates_data() {
        QTest::addColumn<QPoint>("cell"); // typed into; row 3 is a row added first
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: the window closes
        const QString number = QStringLiteral("当選データの数字に誤りがあります。");
        const QString missing = QStringLiteral("回数に誤りがあります。\n回数が入力されていません。");
        const QString range = QStringLiteral("回数に誤りがあります。\n回数は 1～32767 の整数で入力してください。");
        const QString duplicate = QStringLiteral("回数に誤りがあります。\n同じ回数の行がほかにあります。");
        QTest::newRow("0") << QPoint(1, 3) << "0" << number;
        QTest::newRow("38") << QPoint(2, 9) << "38" << number;
        QTest::newRow("1.5") << QPoint(0, 1) << "1.5" << number;
        QTest::newRow("text") << QPoint(1, 8) << "abc" << number;
        QTest::newRow("37") << QPoint(1, 3) << "37" << QString();
        QTest::newRow("1") << QPoint(1, 3) << "1" << QString();
        QTest::newRow("empty") << QPoint(1, 3) << "" << QString();
        QTest::newRow("added row left empty") << QPoint(3, 0) << "" << QString();
        QTest::newRow("added row without draw number") << QPoint(3, 4) << "7" << missing;
        QTest::newRow("draw number taken") << QPoint(3, 0) << "2" << duplicate;
        QTest::newRow("draw number 0") << QPoint(0, 0) << "0" << range;
        QTest::newRow("draw number emptied") << QPoint(2, 0) << "" << missing;
        QTest::newRow("no such date") << QPoint(1, 10) << "2026/02/30" << DrawTableModel::dateFaultMessage();
    }

    void closeValidates() {
        QFETCH(QPoint, cell);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Database db(3);
        const auto before = db.records();
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.watch(window);
        window.show();
        setCurrent(window, 2, 0);
        window.findChild<QAction *>("mnuAddLine")->trigger();
        typeInto(window, cell.x(), cell.y(), text);
        setCurrent(window, 0, 0);

        window.findChild<QPushButton *>("Command1")->click();
        if (message.isEmpty()) {
            QVERIFY(user.notices.isEmpty());
            QVERIFY(!window.isVisible());
            const auto after = db.records();
            QCOMPARE(int(after.size()), 3);
            if (cell.x() < 3)
                QCOMPARE(after.at(cell.x()).numbers[cell.y() - 1],
                         text.isEmpty() ? std::optional<int>() : std::optional<int>(text.toInt()));
            return;
        }
        QCOMPARE(user.notices, QStringList{message});
        QVERIFY(window.isVisible());
        // A row's faulty draw number is reported on its 回数 cell, whichever cell was typed.
        const bool drawNumberFault = message.startsWith(QStringLiteral("回数に誤りがあります。\n"));
        QCOMPARE(cellOf(window.view()), drawNumberFault ? QPoint(cell.x(), 0) : cell);
        QCOMPARE(db.records(), before);
    }

    void enterMovesToTheNextCell() {
        Database db(2);
        DrawEntryWindow window(db.connection());
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.view()->setFocus();
        setCurrent(window, 0, 8);
        QTest::keyClick(window.view(), Qt::Key_Return);
        QCOMPARE(cellOf(window.view()), QPoint(0, 9));
        QTest::keyClick(window.view(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(cellOf(window.view()), QPoint(0, 10)); // 抽せん日
        QTest::keyClick(window.view(), Qt::Key_Return);
        QCOMPARE(cellOf(window.view()), QPoint(1, 0));

        // Typing opens the cell; a number cell takes digits only and says so when another key
        // is refused; Enter stores the cell as typed and moves on.
        setCurrent(window, 0, 1);
        QTest::keyClick(window.view(), Qt::Key_1);
        auto *editor = qobject_cast<QLineEdit *>(focused());
        QVERIFY(editor);
        QTest::keyClicks(editor, ".");
        QCOMPARE(editor->text(), QStringLiteral("1"));
        QCOMPARE(QToolTip::text(), QStringLiteral("この欄には数字だけを入力できます。"));
        QKeyEvent fullWidthTwo(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("２"));
        QApplication::sendEvent(editor, &fullWidthTwo);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(window.model()->text(0, 1), QStringLiteral("12"));
        QCOMPARE(cellOf(window.view()), QPoint(0, 2));

        // The last cell of the grid is where Enter stops.
        setCurrent(window, 1, 10);
        QTest::keyClick(window.view(), Qt::Key_Return);
        QCOMPARE(cellOf(window.view()), QPoint(1, 10));
    }

    void shortcutsWinOverTheEditor() {
        Database db(2);
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.watch(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.view()->setFocus();
        setCurrent(window, 0, 3);
        QTest::keyClick(window.view(), Qt::Key_9);
        QVERIFY(qobject_cast<QLineEdit *>(focused()));
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(user.questions.size(), 1);
        // What was being typed went in before the row was added.
        QCOMPARE(window.model()->text(0, 3), QStringLiteral("9"));
        QCOMPARE(window.model()->rowCount(), 3);
        QCOMPARE(cellOf(window.view()), QPoint(1, 3));
        QTest::keyClick(focused(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(user.questions.size(), 2);
        QCOMPARE(window.model()->rowCount(), 2);
    }

    void rightClickOnRowHeading_data() {
        QTest::addColumn<int>("selectedRows");
        QTest::addColumn<int>("clickedRow"); // 3: below the last row
        QTest::addColumn<bool>("menuShown");
        QTest::newRow("one row selected") << 1 << 2 << true;
        QTest::newRow("two rows selected") << 2 << 0 << false;
        QTest::newRow("below the rows") << 1 << 3 << false;
    }

    void rightClickOnRowHeading() {
        QFETCH(int, selectedRows);
        QFETCH(int, clickedRow);
        QFETCH(bool, menuShown);
        Database db(3);
        DrawEntryWindow window(db.connection());
        window.load();
        window.resize(window.width(), 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView *view = window.view();
        setCurrent(window, 0, 2);
        if (selectedRows > 1)
            view->selectionModel()->select(QItemSelection(window.model()->index(0, 2), window.model()->index(1, 3)),
                                           QItemSelectionModel::ClearAndSelect);
        QHeaderView *rows = view->verticalHeader();
        const int y = clickedRow < window.model()->rowCount()
                          ? rows->sectionViewportPosition(clickedRow) + rows->sectionSize(clickedRow) / 2
                          : rows->sectionViewportPosition(2) + rows->sectionSize(2) * 2;
        const QPoint position(rows->width() / 2, y);
        QContextMenuEvent event(QContextMenuEvent::Mouse, position, rows->viewport()->mapToGlobal(position));
        QApplication::sendEvent(rows->viewport(), &event);
        QCOMPARE(window.windowMenu()->isVisible(), menuShown);
        window.windowMenu()->hide();
    }

    void leavingARowStoresIt() {
        Database db(3);
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.watch(window);
        setCurrent(window, 0, 1);
        typeInto(window, 0, 1, "30");
        QCOMPARE(*db.records().at(0).numbers[0], 1);
        setCurrent(window, 0, 2); // same row: nothing yet
        QCOMPARE(*db.records().at(0).numbers[0], 1);
        setCurrent(window, 1, 2);
        QCOMPARE(*db.records().at(0).numbers[0], 30);

        // Another program changes draw 2 meanwhile: the user is told and sees the stored draw.
        StoreError error;
        QVERIFY(db.store().store({makeDraw(2, {11, 12, 13, 14, 15, 16, 17, 18, 19})}, error));
        typeInto(window, 1, 2, "25");
        setCurrent(window, 2, 2);
        QTRY_COMPARE(user.notices.size(), 1);
        QVERIFY(user.notices[0].contains(QStringLiteral("他のプログラム")));
        QVERIFY(user.notices[0].contains(QStringLiteral("25")));
        QCOMPARE(window.model()->text(1, 2), QStringLiteral("12"));
        QCOMPARE(*db.records().at(1).numbers[1], 12);
    }

    void closeWhileTheDatabaseRefuses_data() {
        QTest::addColumn<bool>("letGo");
        QTest::newRow("keep the rows") << false;
        QTest::newRow("let them go") << true;
    }

    void closeWhileTheDatabaseRefuses() {
        QFETCH(bool, letGo);
        Database db(2);
        const auto before = db.records();
        DrawEntryWindow window(db.connection());
        window.load();
        User user;
        user.answer = letGo;
        user.watch(window);
        window.show();
        StoreError error;
        QVERIFY(db.store().exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON 当選データ BEGIN SELECT RAISE(ABORT, 'full'); END", error));
        typeInto(window, 1, 1, "33");
        window.closeWindow();
        QCOMPARE(user.notices.size(), 1);
        QVERIFY(user.notices[0].contains(QStringLiteral("2 行目（回数 2）を保存できませんでした")));
        QCOMPARE(user.questions, QStringList{DrawEntryWindow::discardQuestion()});
        QCOMPARE(window.isVisible(), !letGo);
        QCOMPARE(db.records(), before);
        if (!letGo)
            QCOMPARE(window.model()->text(1, 1), QStringLiteral("33"));
    }

    void missingDatabase() {
        QTemporaryDir dir;
        DrawEntryWindow window(ConnectionString::forDatabase(dir.filePath(QStringLiteral("none.mdb"))));
        window.load();
        User user;
        user.watch(window);
        QVERIFY(!window.isLoaded());
        window.show();
        QTRY_COMPARE(user.notices.size(), 1);
        QVERIFY(user.notices[0].contains(QStringLiteral("none.mdb")));
        QTRY_VERIFY(!window.isVisible());
    }

    // The real question box (the error box is seen in the main window below).
    void questionBox() {
        Database db(2);
        DrawEntryWindow window(db.connection());
        window.load();
        window.show();
        setCurrent(window, 0, 0);
        MessageBoxWatcher::Seen seen{};
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            defaultButton = box->standardButton(box->defaultButton());
            texts = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
            // Esc answers いいえ, as every question of the program does.
            QTest::keyClick(box, Qt::Key_Escape);
        });
        window.addLine();
        QCOMPARE(seen.title, QStringLiteral("ナナズバリオ"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(texts, (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
        QCOMPARE(defaultButton, QMessageBox::No);
        QCOMPARE(window.model()->rowCount(), 2);
    }

    // Opened from the main window's menu, with the connection made at start-up; the program's
    // exit stores the valid rows and names the others in a message box.
    void inTheMainWindow() {
        Database db(3);
        QTemporaryDir settingsDir; // the settings file is written into the current directory
        const QString previousDir = QDir::currentPath();
        QDir::setCurrent(settingsDir.path());
        auto restore = qScopeGuard([&] { QDir::setCurrent(previousDir); });

        auto frame = std::make_unique<MainFrm>();
        frame->setPredictionOnActivation(false);
        QVERIFY(frame->startUp(db.connection().databasePath));
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QMdiSubWindow *sub = frame->openWindow(QStringLiteral("mnuMasterInput"));
        QVERIFY(sub);
        auto *window = qobject_cast<DrawEntryWindow *>(sub->widget());
        QVERIFY(window);
        QVERIFY(window->isLoaded());
        QCOMPARE(window->model()->rowCount(), 3);
        QVERIFY(!frame->EndAllowed());
        QVERIFY(window->windowMenu()->menuAction()->isVisible());
        QVERIFY(frame->menuBar()->actions().contains(window->windowMenu()->menuAction()));

        MessageBoxWatcher boxes;
        setCurrent(*window, 0, 1);
        typeInto(*window, 0, 1, "31"); // valid, not yet left
        typeInto(*window, 2, 2, "0");  // faulty
        QVERIFY(!sub->close());
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen[0].title, QStringLiteral("メッセ－ジ"));
        QCOMPARE(boxes.seen[0].text, QStringLiteral("当選データの数字に誤りがあります。"));
        QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
        QCOMPARE(cellOf(window->view()), QPoint(2, 2));

        frame->close();
        QTRY_COMPARE(boxes.seen.size(), 2);
        QCOMPARE(boxes.seen[1].title, QStringLiteral("メッセ－ジ"));
        QVERIFY(boxes.seen[1].text.contains(QStringLiteral("3 行目（回数 3）")));
        QCOMPARE(*db.records().at(0).numbers[0], 31);
        QCOMPARE(*db.records().at(2).numbers[1], 4);
    }

    // Looks at the window as the user sees it, on the real history.
    void rendersTheRealHistory() {
        Database db(realHistory().records());
        DrawEntryWindow window(db.connection());
        window.load();
        // As the main window opens it: as large as the grid's 50 rows and every column need.
        window.resize(window.size().expandedTo(window.contentSize()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView *view = window.view();
        setCurrent(window, 0, 0);
        QCOMPARE(window.model()->rowCount(), int(realHistory().records().size()));
        // Every column shows without a horizontal scroll bar, and 50 rows.
        QVERIFY(view->horizontalHeader()->length() <= view->viewport()->width());
        QVERIFY(view->rowAt(view->viewport()->height() - 1) >= 49);
        // Each heading on one or two lines that fit its column, broken only between words.
        auto *header = view->horizontalHeader();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < window.model()->columnCount(); ++c) {
            const QString name = window.model()->headerData(c, Qt::Horizontal).toString();
            const QString lines =
                DrawEntryWindow::headingLines(name, header->fontMetrics(), header->sectionSize(c) - 2 * margin);
            QCOMPARE(QString(lines).remove(QLatin1Char('\n')), name);
            QVERIFY(lines.count(QLatin1Char('\n')) <= 1);
            for (const QString &line : lines.split(QLatin1Char('\n')))
                QVERIFY2(header->fontMetrics().horizontalAdvance(line) <= header->sectionSize(c) - 2 * margin,
                         qPrintable(line));
        }
        QCOMPARE(DrawEntryWindow::headingLines(QStringLiteral("ボーナス数字1"), header->fontMetrics(),
                                               header->fontMetrics().horizontalAdvance(QStringLiteral("ボーナス"))),
                 QStringLiteral("ボーナス\n数字1"));
        const QImage image = window.grab().toImage();
        QVERIFY(image.save(QStringLiteral(TEST_BINARY_DIR "/draw-entry-window.png")));

        // The bonus columns are coloured; the number columns are not.
        const QRect bonus = view->visualRect(window.model()->index(3, 8));
        const QPoint inBonus = view->viewport()->mapTo(&window, bonus.topLeft() + QPoint(3, 3));
        QCOMPARE(image.pixelColor(inBonus * image.devicePixelRatio()), QColor(197, 255, 255));
        const QRect number = view->visualRect(window.model()->index(3, 4));
        const QPoint inNumber = view->viewport()->mapTo(&window, number.topLeft() + QPoint(3, 3));
        QVERIFY(image.pixelColor(inNumber * image.devicePixelRatio()) != QColor(197, 255, 255));
    }
};

QTEST_MAIN(TestDrawEntryWindow)
#include "TestDrawEntryWindow.moc"
