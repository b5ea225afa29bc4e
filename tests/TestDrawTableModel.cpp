#include "core/entry/DrawTableModel.h"
#include "support/Histories.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlcipher/sqlite3.h>

namespace {
// A row as the user types it: cells separated by "|" (回数, nine numbers, 抽せん日).
QStringList cells(const QString &row) {
    return row.split(QLatin1Char('|'));
}

// Draw n holds n..n+8 unless told otherwise.
DrawRecord draw(int n, int base = 0) {
    base = base > 0 ? base : n;
    DrawRecord r = makeDraw(n, {base, base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7, base + 8});
    r.drawDate = QDate(2013, 4, 5).addDays(7 * (n - 1)).toString(Qt::ISODate);
    return r;
}

// A database of its own for each test, and a second connection to it standing for
// another program.
class Database {
public:
    explicit Database(const std::vector<DrawRecord> &records = {}) {
        m_connection = ConnectionString::forDatabase(m_dir.filePath(QStringLiteral("draws.mdb")));
        StoreError error;
        m_other = DrawStore::open(m_connection, error, DrawStore::OpenMode::CreateIfMissing);
        if (m_other && !records.empty())
            m_other->store(records, error);
    }
    const ConnectionString &connection() const { return m_connection; }
    DrawStore &other() { return *m_other; }
    std::vector<DrawRecord> records() const {
        StoreError error;
        return m_other->readAll(error);
    }
    QList<int> drawNumbers() const {
        QList<int> numbers;
        for (const DrawRecord &r : records())
            numbers << r.drawNumber;
        return numbers;
    }
    void exec(const char *sql) {
        StoreError error;
        QVERIFY2(m_other->exec(sql, error), qPrintable(error.message));
    }

private:
    QTemporaryDir m_dir;
    ConnectionString m_connection;
    std::unique_ptr<DrawStore> m_other;
};

void type(DrawTableModel &model, int row, const QStringList &texts) {
    for (int c = 0; c < texts.size(); ++c)
        QVERIFY(model.setData(model.index(row, c), texts[c]));
}

// 回数 and the nine numbers of a row as shown.
QStringList rowTexts(const DrawTableModel &model, int row) {
    QStringList texts;
    for (int c = 0; c < DrawRow::kDateColumn; ++c)
        texts << model.text(row, c);
    return texts;
}

QStringList firstColumn(const DrawTableModel &model) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts << model.text(r, 0);
    return texts;
}
} // namespace

class TestDrawTableModel : public QObject {
    Q_OBJECT
private slots:
    void readsEveryDrawInOrder() {
        Database db({draw(3), draw(1), makeDraw(2, {1, 0, 3, 4, 5, 6, 7, 8, 0})});
        DrawTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        StoreError error;
        QVERIFY2(model.open(db.connection(), error), qPrintable(error.message));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 11);
        QCOMPARE(firstColumn(model), QStringList({"1", "2", "3"}));
        QCOMPARE(rowTexts(model, 1), cells("2|1||3|4|5|6|7|8|"));
        for (int c = 0; c < 10; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), drawColumnNames()[c]);
        QCOMPARE(model.headerData(10, Qt::Horizontal).toString(), QStringLiteral("抽せん日"));
        QCOMPARE(model.text(0, 10), QStringLiteral("2013/04/05"));
        QCOMPARE(model.headerData(2, Qt::Vertical).toInt(), 3);
        QVERIFY(!model.hasPendingRows());

        QVERIFY(!DrawTableModel().open(ConnectionString::forDatabase(QStringLiteral("/nonexistent/x.mdb")), error));
        QCOMPARE(error.kind, StoreError::Kind::FileMissing);
    }

    // Every change the window makes, watched by the model tester.
    void modelContractHoldsThroughChanges() {
        Database db({draw(1), draw(2), draw(3)});
        DrawTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        QCOMPARE(model.insertEmptyRow(model.rowCount() - 1), 3);
        QCOMPARE(model.insertEmptyRow(-1), 0);
        type(model, 4, cells("4|1|2|3|4|5|6|7|8|9"));
        std::optional<StoreProblem> problem;
        QVERIFY(model.deleteRow(0, problem));
        QVERIFY(model.deleteRow(1, problem)); // draw 2
        db.other().remove({3}, error);
        type(model, 1, cells("3|12"));
        QCOMPARE(model.storeAll().size(), std::size_t(1)); // draw 3 went elsewhere: its row goes
        QCOMPARE(firstColumn(model), QStringList({"1", "4"}));
        QCOMPARE(db.drawNumbers(), QList<int>({1, 4}));
    }

    void validation_data() {
        QTest::addColumn<QList<int>>("stored"); // draws in the database, in rows 1.. as read
        QTest::addColumn<int>("insertAfter");   // typed rows go below this row (-1: on top)
        QTest::addColumn<QStringList>("typed"); // one "|"-separated row each
        QTest::addColumn<int>("faultRow");      // -1: no fault
        QTest::addColumn<int>("faultColumn");
        QTest::addColumn<QString>("message");

        const QList<int> none;
        const QString number = QStringLiteral("当選データの数字に誤りがあります。");
        const QString missing = QStringLiteral("回数に誤りがあります。\n回数が入力されていません。");
        const QString range = QStringLiteral("回数に誤りがあります。\n回数は 1～32767 の整数で入力してください。");
        const QString duplicate = QStringLiteral("回数に誤りがあります。\n同じ回数の行がほかにあります。");
        QTest::newRow("0") << none << -1 << QStringList{"1|5|0|7"} << 0 << 2 << number;
        QTest::newRow("38") << none << -1 << QStringList{"1|5|6|7|8|9|10|11|12|38"} << 0 << 9 << number;
        QTest::newRow("1.5") << none << -1 << QStringList{"1|1.5"} << 0 << 1 << number;
        QTest::newRow("text") << none << -1 << QStringList{"1|1|2|abc"} << 0 << 3 << number;
        QTest::newRow("digits then text") << none << -1 << QStringList{"1|5x"} << 0 << 1 << number;
        QTest::newRow("negative") << none << -1 << QStringList{"1|-5"} << 0 << 1 << number;
        QTest::newRow("1 and 37") << none << -1 << QStringList{"1|1|37|2|36|3|35|4|34|5"} << -1 << 0 << QString();
        // The nine numbers all differ, told as the importer tells it, at the later cell.
        QTest::newRow("main repeated") << none << -1 << QStringList{"1|1|2|5|5|6|12|13"} << 0 << 4
                                       << number + QStringLiteral("\n第4数字: 5 が 第3数字 と重複しています");
        QTest::newRow("bonus repeats main") << none << -1 << QStringList{"1|1|2|3|4|5|6|7|7"} << 0 << 8
                                            << number + QStringLiteral("\nボーナス数字1: 7 が 第7数字 と重複しています");
        QTest::newRow("bonus repeated, written differently")
            << none << -1 << QStringList{"1|1|2|3|4|5|6|7|8|０８"} << 0 << 9
            << number + QStringLiteral("\nボーナス数字2: 8 が ボーナス数字1 と重複しています");
        QTest::newRow("empty cells") << none << -1 << QStringList{"1||2|||||||"} << -1 << 0 << QString();
        QTest::newRow("leading zero") << none << -1 << QStringList{"1|05"} << -1 << 0 << QString();
        QTest::newRow("full-width") << none << -1 << QStringList{"１２|３７"} << -1 << 0 << QString();
        QTest::newRow("Arabic-Indic digit") << none << -1 << QStringList{"1|٧"} << 0 << 1 << number;
        QTest::newRow("Thai digits") << none << -1 << QStringList{"1|2|๑๒"} << 0 << 2 << number;
        QTest::newRow("Devanagari draw number") << none << -1 << QStringList{"१०|1"} << 0 << 0 << range;
        QTest::newRow("row before column")
            << none << -1 << QStringList{"1|1|2", "2|3|4|5|6|38", "3|0"} << 1 << 5 << number;
        QTest::newRow("column order in a row") << none << -1 << QStringList{"1|1|0|38"} << 0 << 2 << number;
        QTest::newRow("empty row") << none << -1 << QStringList{"|||||||||", "1|2"} << -1 << 0 << QString();
        QTest::newRow("numbers without draw number") << none << -1 << QStringList{"|1|2|3"} << 0 << 0 << missing;
        QTest::newRow("draw number before numbers") << none << -1 << QStringList{"|38"} << 0 << 0 << missing;
        QTest::newRow("draw number only") << none << -1 << QStringList{"7"} << -1 << 0 << QString();
        QTest::newRow("draw number 0") << none << -1 << QStringList{"0|1"} << 0 << 0 << range;
        QTest::newRow("draw number 32767") << none << -1 << QStringList{"32767|1"} << -1 << 0 << QString();
        QTest::newRow("draw number 32768") << none << -1 << QStringList{"32768|1"} << 0 << 0 << range;
        QTest::newRow("draw number huge") << none << -1 << QStringList{"99999999999999999999999|1"} << 0 << 0 << range;
        QTest::newRow("draw number 1.5") << none << -1 << QStringList{"1.5|1"} << 0 << 0 << range;
        QTest::newRow("draw number text") << none << -1 << QStringList{"abc"} << 0 << 0 << range;
        QTest::newRow("duplicate of a typed row")
            << none << -1 << QStringList{"5|1", "6|2", "5|3"} << 2 << 0 << duplicate;
        QTest::newRow("same number written twice") << none << -1 << QStringList{"5|1", "05|3"} << 1 << 0 << duplicate;
        // The row that holds the draw in the database keeps its number, wherever it stands.
        QTest::newRow("duplicate of a stored draw above it")
            << QList<int>{1, 2} << -1 << QStringList{"2|1"} << 0 << 0 << duplicate;
        QTest::newRow("duplicate of a stored draw below it")
            << QList<int>{1, 2} << 1 << QStringList{"1|1"} << 2 << 0 << duplicate;
        QTest::newRow("stored rows are valid") << QList<int>{1, 2, 3} << 2 << QStringList{} << -1 << 0 << QString();
    }

    void validation() {
        QFETCH(QList<int>, stored);
        QFETCH(int, insertAfter);
        QFETCH(QStringList, typed);
        QFETCH(int, faultRow);
        QFETCH(int, faultColumn);
        QFETCH(QString, message);

        std::vector<DrawRecord> records;
        for (int n : stored)
            records.push_back(draw(n));
        Database db(records);
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        int after = insertAfter;
        for (const QString &row : typed) {
            after = model.insertEmptyRow(after);
            type(model, after, cells(row));
        }
        const auto fault = model.firstFault();
        if (faultRow < 0) {
            QVERIFY2(!fault, fault ? qPrintable(QStringLiteral("%1,%2").arg(fault->row).arg(fault->column)) : "");
            // What passes the check is exactly what the database accepts.
            QCOMPARE(model.storeAll().size(), std::size_t(0));
            QVERIFY(!model.hasPendingRows());
            return;
        }
        QVERIFY(fault);
        QCOMPARE(fault->row, faultRow);
        QCOMPARE(fault->column, faultColumn);
        QCOMPARE(fault->message, message);
        // A faulty row stays as typed and out of the database.
        model.storeAll();
        QVERIFY(model.isPending(faultRow));
    }

    // 抽せん日: the forms a user types, shown one way and stored one way; a date that is no real
    // date stops the close on its cell and is not stored.
    void typedDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // "!": refused
        QTest::newRow("slashes") << "2026/07/31"
                                 << "2026/07/31";
        QTest::newRow("hyphens") << "2026-07-31"
                                 << "2026/07/31";
        QTest::newRow("eight digits") << "20260731"
                                      << "2026/07/31";
        QTest::newRow("full-width") << "２０２６０７３１"
                                    << "2026/07/31";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no such day") << "2026/02/30"
                                     << "!";
        QTest::newRow("month 13") << "20261301"
                                  << "!";
        QTest::newRow("seven digits") << "2026731"
                                      << "!";
        QTest::newRow("text") << "7月31日"
                              << "!";
    }
    void typedDates() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Database db;
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        model.insertEmptyRow(-1);
        type(model, 0, cells("8|1|2|3|4|5|6|7|8|9|" + typed));
        const auto fault = model.firstFault();
        if (shown == "!") {
            QVERIFY(fault);
            QCOMPARE(fault->column, DrawRow::kDateColumn);
            QCOMPARE(fault->message, DrawTableModel::dateFaultMessage());
            QCOMPARE(model.text(0, DrawRow::kDateColumn), typed.trimmed());
            QCOMPARE(model.storeAll().size(), std::size_t(1));
            QVERIFY(db.records().empty());
            return;
        }
        QVERIFY(!fault);
        QCOMPARE(model.text(0, DrawRow::kDateColumn), shown);
        QVERIFY(model.storeAll().empty());
        QCOMPARE(db.records().at(0).drawDate, shown.isEmpty() ? QString() : QStringLiteral("2026-07-31"));
        QCOMPARE(model.text(0, DrawRow::kDateColumn), shown);
        QVERIFY(!model.hasPendingRows());
    }

    void typedTextsAreTidied() {
        Database db;
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        model.insertEmptyRow(-1);
        type(model, 0, cells(" 12 |３|０７|　4"));
        QCOMPARE(rowTexts(model, 0), cells("12|3|07|4||||||"));
        QVERIFY(model.storeAll().empty());
        QCOMPARE(rowTexts(model, 0), cells("12|3|7|4||||||")); // as stored
        QCOMPARE(db.records().at(0), makeDraw(12, {3, 7, 4, 0, 0, 0, 0, 0, 0}));
    }

    // When rows reach the database, and what they become there.
    void storing_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QList<int>>("drawNumbers"); // in the database afterwards
        QTest::addColumn<QStringList>("rows");       // column 1 of the grid afterwards

        QTest::newRow("edit written on leaving") << "edit" << QList<int>{1, 2, 3} << QStringList{"1", "2", "3"};
        QTest::newRow("current row waits") << "edit current" << QList<int>{1, 2, 3} << QStringList{"1", "2", "3"};
        QTest::newRow("new row") << "new row" << QList<int>{1, 2, 3, 9} << QStringList{"1", "9", "2", "3"};
        QTest::newRow("new row with draw number only")
            << "draw number only" << QList<int>{1, 2, 3, 9} << QStringList{"1", "9", "2", "3"};
        QTest::newRow("empty row not stored") << "empty row" << QList<int>{1, 2, 3} << QStringList{"1", "", "2", "3"};
        QTest::newRow("renumbered row moves") << "renumber" << QList<int>{1, 3, 7} << QStringList{"1", "7", "3"};
        QTest::newRow("deleted row") << "delete" << QList<int>{1, 3} << QStringList{"1", "3"};
        QTest::newRow("emptied row") << "empty out" << QList<int>{1, 3} << QStringList{"1", "", "3"};
        QTest::newRow("swapped draw numbers") << "swap" << QList<int>{1, 2, 3} << QStringList{"1", "3", "2"};
        QTest::newRow("chain of renumbering") << "chain" << QList<int>{2, 3, 4} << QStringList{"2", "3", "4"};
        QTest::newRow("faulty row kept back") << "faulty" << QList<int>{1, 2, 3} << QStringList{"1", "2", "3"};
    }

    void storing() {
        QFETCH(QString, action);
        QFETCH(QList<int>, drawNumbers);
        QFETCH(QStringList, rows);

        Database db({draw(1), draw(2), draw(3)});
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        int current = 0;
        if (action == "edit" || action == "edit current") {
            type(model, 1, {"2", "11", "12", "13", "14", "15", "16", "17", "18", ""});
            current = action == "edit" ? 2 : 1;
        } else if (action == "new row" || action == "draw number only" || action == "empty row") {
            const int row = model.insertEmptyRow(0);
            if (action == "new row")
                type(model, row, cells("9|1|2|3|4|5|6|7|8|9"));
            else if (action == "draw number only")
                type(model, row, {"9"});
        } else if (action == "renumber") {
            type(model, 1, {"7"});
        } else if (action == "delete") {
            std::optional<StoreProblem> problem;
            QVERIFY(model.deleteRow(1, problem));
        } else if (action == "empty out") {
            type(model, 1, cells("||||||||||"));
        } else if (action == "swap") {
            type(model, 1, {"3"});
            type(model, 2, {"2"});
        } else if (action == "chain") {
            // Each row takes the number of the row below, which is written only afterwards.
            type(model, 2, {"4"});
            type(model, 1, {"3"});
            type(model, 0, {"2"});
        } else if (action == "faulty") {
            type(model, 1, {"2", "38"});
        }
        const auto problems = model.storeRowsLeft(current);
        QVERIFY(problems.empty());
        if (action != "edit current")
            QVERIFY(model.storeRowsLeft(-1).empty());
        QCOMPARE(firstColumn(model), rows);
        QCOMPARE(db.drawNumbers(), drawNumbers);
        QCOMPARE(model.hasPendingRows(), action == "edit current" || action == "faulty");

        if (action == "edit") {
            QCOMPARE(db.records().at(1), [] {
                DrawRecord r = makeDraw(2, {11, 12, 13, 14, 15, 16, 17, 18, 0});
                r.drawDate = draw(2).drawDate;
                return r;
            }());
        } else if (action == "renumber") {
            // The draw keeps its numbers and its date under the new number.
            DrawRecord moved = draw(2);
            moved.drawNumber = 7;
            QCOMPARE(db.records().at(2), moved);
        } else if (action == "swap") {
            QCOMPARE(db.records().at(1).numbers, draw(3).numbers);
            QCOMPARE(db.records().at(2).numbers, draw(2).numbers);
        } else if (action == "faulty") {
            QCOMPARE(db.records().at(1), draw(2));
        }

        // A fresh reading shows exactly what the grid shows, in ascending 回数.
        DrawTableModel reread;
        QVERIFY(reread.open(db.connection(), error));
        QStringList expected;
        for (int n : drawNumbers)
            expected << QString::number(n);
        QCOMPARE(firstColumn(reread), expected);
    }

    void exitStoresValidRowsAndNamesTheOthers() {
        Database db({draw(1), draw(5), draw(6)});
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        type(model, 0, {"1", "30"});       // valid edit
        int row = model.insertEmptyRow(0); // valid new row, row 1
        type(model, row, cells("2|1|2|3|4|5|6|7|8|9"));
        row = model.insertEmptyRow(row); // faulty new row, row 2
        type(model, row, cells("3|1|2|0"));
        type(model, 3, {"8", "38"}); // draw 5 renumbered with a faulty number
        type(model, 4, {"5"});       // draw 6 takes 5, still held by the faulty row's draw
        const auto problems = model.storeAll();
        QCOMPARE(problems.size(), std::size_t(3));
        QCOMPARE(problems[0].kind, StoreProblem::Kind::Invalid);
        QVERIFY(problems[0].message.contains(QStringLiteral("3 行目（回数 3）")));
        QVERIFY(problems[0].message.contains(QStringLiteral("回数 3／数字 1 2 0 空欄")));
        QCOMPARE(problems[1].kind, StoreProblem::Kind::Invalid);
        QCOMPARE(problems[2].kind, StoreProblem::Kind::Blocked);
        QVERIFY(problems[2].message.contains(QStringLiteral("5 行目（回数 5）")));
        QCOMPARE(db.drawNumbers(), QList<int>({1, 2, 5, 6}));
        QCOMPARE(*db.records().at(0).numbers[0], 30);
        QCOMPARE(db.records().at(2), draw(5));
        QCOMPARE(db.records().at(3), draw(6));
        QVERIFY(model.isPending(2) && model.isPending(3) && model.isPending(4));
    }

    void refusedWriteChangesNothing_data() {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("deleteRow");
        QTest::newRow("insert refused") << "BEFORE INSERT" << false;
        QTest::newRow("delete refused while renumbering") << "BEFORE DELETE" << false;
        QTest::newRow("delete refused") << "BEFORE DELETE" << true;
    }

    void refusedWriteChangesNothing() {
        QFETCH(QString, trigger);
        QFETCH(bool, deleteRow);
        Database db({draw(1), draw(2)});
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        db.exec(QStringLiteral("CREATE TRIGGER refuse %1 ON 当選データ BEGIN SELECT RAISE(ABORT, 'locked'); END")
                    .arg(trigger)
                    .toUtf8()
                    .constData());
        const auto before = db.records();

        if (deleteRow) {
            std::optional<StoreProblem> problem;
            QVERIFY(!model.deleteRow(1, problem));
            QVERIFY(problem);
            QCOMPARE(problem->kind, StoreProblem::Kind::Refused);
            QVERIFY(problem->message.contains(QStringLiteral("locked")));
            QCOMPARE(model.rowCount(), 2);
            QCOMPARE(db.records(), before);
            return;
        }
        type(model, 1, {"9", "20"}); // renumbered and changed: a delete and an insert
        auto problems = model.storeRowsLeft(0);
        QCOMPARE(problems.size(), std::size_t(1));
        QCOMPARE(problems[0].kind, StoreProblem::Kind::Refused);
        QVERIFY(problems[0].message.contains(QStringLiteral("データベースは変更されていません")));
        QVERIFY(problems[0].message.contains(QStringLiteral("回数 9／数字 20 3 4")));
        QCOMPARE(db.records(), before);
        QCOMPARE(rowTexts(model, 1), cells("9|20|3|4|5|6|7|8|9|10"));
        QVERIFY(model.isPending(1));
        // Not asked again on every move; asked again when everything has to be stored.
        QVERIFY(model.storeRowsLeft(0).empty());
        QCOMPARE(model.storeAll().size(), std::size_t(1));
        db.exec("DROP TRIGGER refuse");
        QVERIFY(model.storeAll().empty());
        QCOMPARE(db.drawNumbers(), QList<int>({1, 9}));
    }

    // Another program writes to the database while the window is open.
    void conflicts_data() {
        QTest::addColumn<QString>("elsewhere"); // "change N", "delete N", "add N"
        QTest::addColumn<QString>("here");      // "edit ROW|cells", "new |cells", "delete ROW"
        QTest::addColumn<bool>("told");
        QTest::addColumn<QStringList>("rows"); // the grid afterwards, one "|"-row each
        QTest::addColumn<QList<int>>("drawNumbers");

        const QString d1 = "1|1|2|3|4|5|6|7|8|9", d2 = "2|2|3|4|5|6|7|8|9|10", d3 = "3|3|4|5|6|7|8|9|10|11";
        const QString x2 = "2|21|22|23|24|25|26|27|28|29", x9 = "9|21|22|23|24|25|26|27|28|29";
        QTest::newRow("changed there, edited here")
            << "change 2"
            << "edit 1|2|30" << true << QStringList{d1, x2, d3} << QList<int>{1, 2, 3};
        QTest::newRow("deleted there, edited here") << "delete 2"
                                                    << "edit 1|2|30" << true << QStringList{d1, d3} << QList<int>{1, 3};
        QTest::newRow("added there, new row here")
            << "add 9"
            << "new |9|1" << true << QStringList{d1, d2, d3, x9} << QList<int>{1, 2, 3, 9};
        QTest::newRow("added there, renumbered here")
            << "add 9"
            << "edit 1|9" << true << QStringList{d1, d2, x9, d3} << QList<int>{1, 2, 3, 9};
        QTest::newRow("changed there, deleted here")
            << "change 2"
            << "delete 1" << true << QStringList{d1, x2, d3} << QList<int>{1, 2, 3};
        QTest::newRow("deleted there, deleted here") << "delete 2"
                                                     << "delete 1" << false << QStringList{d1, d3} << QList<int>{1, 3};
        QTest::newRow("deleted there, emptied here")
            << "delete 2"
            << "edit 1|||||||||||" << false << QStringList{d1, "|||||||||", d3} << QList<int>{1, 3};
        QTest::newRow("changed there, other row edited here")
            << "change 2"
            << "edit 2|3|30" << false << QStringList{d1, d2, "3|30|4|5|6|7|8|9|10|11"} << QList<int>{1, 2, 3};
    }

    void conflicts() {
        QFETCH(QString, elsewhere);
        QFETCH(QString, here);
        QFETCH(bool, told);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, drawNumbers);

        Database db({draw(1), draw(2), draw(3)});
        DrawTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        StoreError error;
        QVERIFY(model.open(db.connection(), error));

        const int n = elsewhere.section(' ', 1).toInt();
        if (elsewhere.startsWith("delete"))
            QVERIFY(db.other().remove({n}, error));
        else
            QVERIFY(db.other().store({makeDraw(n, {21, 22, 23, 24, 25, 26, 27, 28, 29})}, error));

        const QString what = here.section(' ', 0, 0);
        const QString rest = here.section(' ', 1);
        std::vector<StoreProblem> problems;
        if (what == "delete") {
            std::optional<StoreProblem> problem;
            QCOMPARE(model.deleteRow(rest.toInt(), problem), !told);
            if (problem)
                problems.push_back(*problem);
        } else {
            int row = rest.section('|', 0, 0).toInt();
            if (what == "new")
                row = model.insertEmptyRow(model.rowCount() - 1);
            type(model, row, rest.section('|', 1).split('|'));
            problems = model.storeAll();
        }
        QCOMPARE(!problems.empty(), told);
        if (told) {
            QCOMPARE(problems.size(), std::size_t(1));
            QCOMPARE(problems[0].kind, StoreProblem::Kind::Conflict);
            QVERIFY(problems[0].message.contains(QStringLiteral("他のプログラム")));
        }
        QStringList grid;
        for (int r = 0; r < model.rowCount(); ++r)
            grid << rowTexts(model, r).join('|');
        QCOMPARE(grid, rows);
        QCOMPARE(db.drawNumbers(), drawNumbers);
        QVERIFY(!model.hasPendingRows());
        if (elsewhere.startsWith("change") || elsewhere.startsWith("add"))
            QCOMPARE(db.records().at(drawNumbers.indexOf(n)).numbers,
                     makeDraw(n, {21, 22, 23, 24, 25, 26, 27, 28, 29}).numbers);
    }

    void manyRows() {
        // No limit at 5000 rows.
        std::vector<DrawRecord> records;
        for (int n = 1; n <= 5003; ++n)
            records.push_back(draw(n, 1 + n % 29));
        Database db(records);
        DrawTableModel model;
        StoreError error;
        QVERIFY(model.open(db.connection(), error));
        QCOMPARE(model.rowCount(), 5003);
        type(model, 5002, {"5003", "38"});
        const auto fault = model.firstFault();
        QVERIFY(fault);
        QCOMPARE(fault->row, 5002);
        type(model, 5002, {"5003", "37"});
        QVERIFY(!model.firstFault());
        QVERIFY(model.storeAll().empty());
        QCOMPARE(*db.records().back().numbers[0], 37);
    }
};

QTEST_GUILESS_MAIN(TestDrawTableModel)
#include "TestDrawTableModel.moc"
