#include "core/history/DrawCsv.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "core/io/Cp932.h"
#include "core/io/CsvText.h"
#include "support/Files.h"
#include "support/Histories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const char *const kHeadingOurs =
    "回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n";
const char *const kHeadingOursNoDate =
    "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n";
const char *const kHeadingPublished =
    "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2,"
    "1等口数,1等賞金\n";
const char *const kHeadingCompact = "抽せん日,本数字,ボーナス数字,回別,1等口数,1等賞金\n";

QByteArray ours(const char *rows) {
    return QByteArray(kHeadingOurs) + rows;
}
QByteArray published(const char *rows) {
    return QByteArray(kHeadingPublished) + rows;
}
QByteArray compact(const char *rows) {
    return QByteArray(kHeadingCompact) + rows;
}

// A record as "回数|抽せん日|n1,...,n9", empty fields empty.
QString describe(const DrawRecord &r) {
    QStringList numbers;
    for (const auto &n : r.numbers)
        numbers << (n ? QString::number(*n) : QString());
    return QStringLiteral("%1|%2|%3").arg(r.drawNumber).arg(r.drawDate, numbers.join(QLatin1Char(',')));
}

QStringList describe(const std::vector<DrawRecord> &records) {
    QStringList out;
    for (const DrawRecord &r : records)
        out << describe(r);
    return out;
}
} // namespace

class TestDrawCsv : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli")), "build nanazubario-cli first");
    }

    void splitRows_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows"); // fields joined by "|"
        QTest::addColumn<QList<int>>("lines");
        QTest::addColumn<int>("errorLine"); // 0: no error

        QTest::newRow("plain") << "a,b\n1,2\n" << QStringList{"a|b", "1|2"} << QList<int>{1, 2} << 0;
        QTest::newRow("CRLF, no break at the end")
            << "a,b\r\n1,2" << QStringList{"a|b", "1|2"} << QList<int>{1, 2} << 0;
        QTest::newRow("empty fields") << ",a,,\n" << QStringList{"|a||"} << QList<int>{1} << 0;
        QTest::newRow("quoted commas and quotes") << "\"1,000\",\"say \"\"hi\"\"\",x\n"
                                                  << QStringList{"1,000|say \"hi\"|x"} << QList<int>{1} << 0;
        QTest::newRow("line break inside quotes") << "\"a\r\nb\",c\nd\n"
                                                  << QStringList{"a\r\nb|c", "d"} << QList<int>{1, 3} << 0;
        QTest::newRow("empty quoted field") << "\"\",x" << QStringList{"|x"} << QList<int>{1} << 0;
        QTest::newRow("lone CR ends a row") << "a\rb\n" << QStringList{"a", "b"} << QList<int>{1, 2} << 0;
        QTest::newRow("empty line") << "a\n\nb\n" << QStringList{"a", "", "b"} << QList<int>{1, 2, 3} << 0;
        QTest::newRow("quote inside an unquoted field") << "a\"b,c\n" << QStringList{"a\"b|c"} << QList<int>{1} << 0;
        QTest::newRow("quote left open") << "a\n\"b,c\nd\n" << QStringList{} << QList<int>{} << 2;
        QTest::newRow("text after a closing quote") << "a\n\"b\"x,c\n" << QStringList{} << QList<int>{} << 2;
    }
    void splitRows() {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, lines);
        QFETCH(int, errorLine);
        std::vector<DrawCsv::Row> split;
        DrawCsvError error;
        const bool ok = DrawCsv::splitRows(text, split, error);
        QCOMPARE(ok, errorLine == 0);
        if (!ok) {
            QCOMPARE(error.line, errorLine);
            return;
        }
        QStringList gotRows;
        QList<int> gotLines;
        for (const DrawCsv::Row &r : split) {
            gotRows << r.fields.join(QLatin1Char('|'));
            gotLines << r.line;
        }
        QCOMPARE(gotRows, rows);
        QCOMPARE(gotLines, lines);
    }

    void quoteField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << "2013-04-05"
                               << "2013-04-05";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("comma") << "1,000"
                               << "\"1,000\"";
        QTest::newRow("quote") << "a\"b"
                               << "\"a\"\"b\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
    }
    void quoteField() {
        QFETCH(QString, field);
        QFETCH(QString, quoted);
        QCOMPARE(CsvText::quoteField(field), quoted);
        // What is quoted reads back as it was.
        std::vector<DrawCsv::Row> rows;
        DrawCsvError error;
        QVERIFY(DrawCsv::splitRows(quoted + QStringLiteral(",x"), rows, error));
        QCOMPARE(rows.front().fields, (QStringList{field, QStringLiteral("x")}));
    }

    void normaliseDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("date"); // "!" = not a date
        QTest::newRow("slashes") << "2013/04/05"
                                 << "2013-04-05";
        QTest::newRow("single digits") << "2013/4/12"
                                       << "2013-04-12";
        QTest::newRow("ours") << "2013-04-05"
                              << "2013-04-05";
        QTest::newRow("kanji") << "2013年4月5日"
                               << "2013-04-05";
        QTest::newRow("weekday") << "2013/04/05(金)"
                                 << "2013-04-05";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no such day") << "2013/02/30"
                                     << "!";
        QTest::newRow("two-digit year") << "13/04/05"
                                        << "!";
        QTest::newRow("three-digit day") << "2013/04/005"
                                         << "!";
        QTest::newRow("no day") << "2013/04"
                                << "!";
        QTest::newRow("words") << "金曜日"
                               << "!";
    }
    void normaliseDate() {
        QFETCH(QString, text);
        QFETCH(QString, date);
        const std::optional<QString> got = DrawCsv::normaliseDate(text);
        QCOMPARE(got.value_or(QStringLiteral("!")), date);
        // What is typed in the data entry window is read the same, eight digits besides.
        QCOMPARE(DrawCsv::normaliseTypedDate(text).value_or(QStringLiteral("!")), date);
    }

    void normaliseTypedDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("date"); // "!" = not a date
        QTest::newRow("eight digits") << "20260731"
                                      << "2026-07-31";
        QTest::newRow("full-width digits") << "２０２６０７３１"
                                           << "2026-07-31";
        QTest::newRow("spaces around") << " 2026-07-31 "
                                       << "2026-07-31";
        QTest::newRow("no such day") << "20260230"
                                     << "!";
        QTest::newRow("seven digits") << "2026011"
                                      << "!";
        QTest::newRow("month 13") << "2026/13/01"
                                  << "!";
    }
    void normaliseTypedDate() {
        QFETCH(QString, text);
        QFETCH(QString, date);
        QCOMPARE(DrawCsv::normaliseTypedDate(text).value_or(QStringLiteral("!")), date);
    }

    void layouts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("hasDates");
        QTest::addColumn<QStringList>("records");

        struct Case {
            const char *name;
            QByteArray text;
            DrawCsv::Layout layout;
            bool hasDates;
            QStringList records;
        };
        const QList<Case> cases = {
            // Empty lines, and rows of empty or blank fields, are no draws.
            {"ours",
             ours("1,2013-04-05,7,10,12,17,23,28,34,3,15\n\n5,,1,2,3,4,5,6,7,,\n,,,,,,,,,,\n , ,,,,,,,,,\n"
                  "3,2013/4/19, 2 ,07,8,11,14,23,31,5,15\n"),
             DrawCsv::Layout::Ours, true,
             QStringList{"1|2013-04-05|7,10,12,17,23,28,34,3,15", "5||1,2,3,4,5,6,7,,",
                         "3|2013-04-19|2,7,8,11,14,23,31,5,15"}},
            {"ours without dates", QByteArray(kHeadingOursNoDate) + "1,7,10,12,17,23,28,34,3,15\r\n2,,,,,,,,,\r\n",
             DrawCsv::Layout::Ours, false, QStringList{"1||7,10,12,17,23,28,34,3,15", "2||,,,,,,,,"}},
            {"published",
             published("第1回,2013/04/05,7,10,12,17,23,28,34,3,15,0,0\n第2回,2013/4/"
                       "12,20,24,29,31,33,34,35,12,32,1,800000000\n"),
             DrawCsv::Layout::Published, true,
             QStringList{"1|2013-04-05|7,10,12,17,23,28,34,3,15", "2|2013-04-12|20,24,29,31,33,34,35,12,32"}},
            {"published, trailing commas",
             QByteArray("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2,\n"
                        "1,2013/04/05,7,10,12,17,23,28,34,3,15,\n2,2013/04/12,20,24,29,31,33,34,35,12,32\n"),
             DrawCsv::Layout::Published, true,
             QStringList{"1|2013-04-05|7,10,12,17,23,28,34,3,15", "2|2013-04-12|20,24,29,31,33,34,35,12,32"}},
            {"compact",
             compact("2013/04/05,07 10 12 17 23 28 34,03 15,第1回,0,\"0円\"\n"
                     "2013/04/12,20 24 29 31 33 34 35,12　32,第2回,1,\"1,234,567,800円\"\n"),
             DrawCsv::Layout::Compact, true,
             QStringList{"1|2013-04-05|7,10,12,17,23,28,34,3,15", "2|2013-04-12|20,24,29,31,33,34,35,12,32"}},
            {"heading only", ours(""), DrawCsv::Layout::Ours, true, QStringList{}},
        };
        for (const Case &c : cases) {
            QTest::addRow("%s, UTF-8", c.name) << c.text << int(c.layout) << c.hasDates << c.records;
            QTest::addRow("%s, UTF-8 with BOM", c.name)
                << QByteArray("\xEF\xBB\xBF") + c.text << int(c.layout) << c.hasDates << c.records;
            QTest::addRow("%s, CP932", c.name)
                << *Cp932::encode(QString::fromUtf8(c.text)) << int(c.layout) << c.hasDates << c.records;
        }
    }
    void layouts() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, layout);
        QFETCH(bool, hasDates);
        QFETCH(QStringList, records);
        const DrawCsv::ParseResult parsed = DrawCsv::parse(bytes);
        QVERIFY2(!parsed.error, qPrintable(parsed.error ? parsed.error->text() : QString()));
        QCOMPARE(int(parsed.layout), layout);
        QCOMPARE(parsed.hasDates, hasDates);
        QCOMPARE(describe(parsed.records), records);
    }

    void badFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("field");

        const char *good = "1,2013-04-05,7,10,12,17,23,28,34,3,15\n";
        auto row = [good](const char *bad) { return ours(good) + bad; };
        QTest::newRow("number 38") << row("2,,1,2,3,4,5,6,38,8,9\n") << 3 << "第7数字";
        QTest::newRow("number 0") << row("2,,0,2,3,4,5,6,7,8,9\n") << 3 << "第1数字";
        QTest::newRow("not a number") << row("2,,1,2,x,4,5,6,7,8,9\n") << 3 << "第3数字";
        QTest::newRow("decimal number") << row("2,,1,2,3,4,5,6,7,8,9.5\n") << 3 << "ボーナス数字2";
        QTest::newRow("negative number") << row("2,,1,2,3,-4,5,6,7,8,9\n") << 3 << "第4数字";
        QTest::newRow("main number repeated") << row("2,,1,2,3,4,5,6,1,8,9\n") << 3 << "第7数字";
        QTest::newRow("bonus repeats a main number") << row("2,,1,2,3,4,5,6,7,8,7\n") << 3 << "ボーナス数字2";
        QTest::newRow("number repeated side by side") << row("2,,1,2,5,5,6,7,8,9,10\n") << 3 << "第4数字";
        QTest::newRow("bonus numbers alike") << row("2,,1,2,3,4,5,6,7,9,9\n") << 3 << "ボーナス数字2";
        QTest::newRow("draw number missing") << row(",,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("draw number 0") << row("0,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("draw number negative") << row("-2,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("draw number decimal") << row("2.5,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("draw number text") << row("abc,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        // Only ASCII and full-width digits are digits.
        QTest::newRow("Arabic-Indic digit") << row("2,,٧,2,3,4,5,6,10,8,9\n") << 3 << "第1数字";
        QTest::newRow("Devanagari digits") << row("2,,1,2,3,4,5,6,7,१०,9\n") << 3 << "ボーナス数字1";
        QTest::newRow("Thai digits") << row("2,,1,2,3,4,5,6,7,8,๑๒\n") << 3 << "ボーナス数字2";
        QTest::newRow("draw number too large") << row("32768,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("draw number repeated") << row("1,,1,2,3,4,5,6,7,8,9\n") << 3 << "回数";
        QTest::newRow("too few fields") << row("2,,1,2,3\n") << 3 << "";
        QTest::newRow("too many fields") << row("2,,1,2,3,4,5,6,7,8,9,10\n") << 3 << "";
        // Our own layout is written whole: even an empty field too many is refused.
        QTest::newRow("an empty field too many") << row("2,,1,2,3,4,5,6,7,8,9,\n") << 3 << "";
        QTest::newRow("blank lines are counted") << ours("\n,,,\n2,,1,2,3,4,5,6,38,8,9\n") << 4 << "第7数字";
        QTest::newRow("without dates: the field named") << QByteArray(kHeadingOursNoDate) + "1,1,2,3,4,5,6,7,8,38\n"
                                                        << 2 << "ボーナス数字2";
        QTest::newRow("bad date") << row("2,2013/13/01,1,2,3,4,5,6,7,8,9\n") << 3 << "抽せん日";
        QTest::newRow("published: empty number")
            << published("第1回,2013/04/05,7,10,,17,23,28,34,3,15,0,0\n") << 2 << "第3数字";
        QTest::newRow("published: field count")
            << published("第1回,2013/04/05,7,10,12,17,23,28,34,3,15,0,0,0,0\n") << 2 << "";
        QTest::newRow("published: one field short")
            << published("第1回,2013/04/05,7,10,12,17,23,28,34,3,15,0\n") << 2 << "";
        QTest::newRow("published: draw number without digits")
            << published("第回,2013/04/05,7,10,12,17,23,28,34,3,15,0,0\n") << 2 << "開催回";
        QTest::newRow("published: bad date") << published("第1回,4月5日,7,10,12,17,23,28,34,3,15,0,0\n") << 2 << "日付";
        QTest::newRow("compact: six main numbers")
            << compact("2013/04/05,07 10 12 17 23 28,03 15,第1回,0,0\n") << 2 << "本数字";
        QTest::newRow("compact: eight main numbers")
            << compact("2013/04/05,07 10 12 17 23 28 34 35,03 15,第1回,0,0\n") << 2 << "本数字";
        QTest::newRow("compact: three bonus numbers")
            << compact("2013/04/05,07 10 12 17 23 28 34,03 15 16,第1回,0,0\n") << 2 << "ボーナス数字";
        QTest::newRow("compact: one bonus number")
            << compact("2013/04/05,07 10 12 17 23 28 34,03,第1回,0,0\n") << 2 << "ボーナス数字";
        QTest::newRow("compact: bonus repeats a main number")
            << compact("2013/04/05,07 10 12 17 23 28 34,03 34,第1回,0,0\n") << 2 << "ボーナス数字の 2 番目";
        QTest::newRow("compact: number 40")
            << compact("2013/04/05,07 10 12 17 23 28 40,03 15,第1回,0,0\n") << 2 << "本数字の 7 番目";
        QTest::newRow("compact: draw number missing")
            << compact("2013/04/05,07 10 12 17 23 28 34,03 15,,0,0\n") << 2 << "回別";
        QTest::newRow("compact: prize with an unquoted comma")
            << compact("2013/04/05,07 10 12 17 23 28 34,03 15,第1回,1,1,000円\n") << 2 << "";
        QTest::newRow("compact: lines inside quotes are counted")
            << compact("2013/04/05,07 10 12 17 23 28 34,03 15,第1回,0,\"0\n円\"\n"
                       "2013/04/12,20 24 29 31 33 34 35,12 32,第1回,0,0\n")
            << 4 << "回別";
        QTest::newRow("unknown heading") << QByteArray("番号,数字\n1,2\n") << 1 << "";
        QTest::newRow("unknown heading after blank lines") << QByteArray("\n,\n番号,数字\n") << 3 << "";
        QTest::newRow("our heading with a column missing")
            << QByteArray("回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1\n") << 1
            << "";
        QTest::newRow("empty file") << QByteArray() << 1 << "";
        QTest::newRow("quote left open") << row("2,\"2013-04-12,1,2,3,4,5,6,7,8,9\n") << 3 << "2 列目";
        QTest::newRow("neither UTF-8 nor CP932") << row("2,,1,2,3,4,5,6,7,8,9\n\xFF\xFF\n") << 4 << "";
        // Lines end at CRLF or CR alone as well, for the undecodable byte and inside quotes alike.
        for (const char *end : {"\r", "\r\n"}) {
            const char *name = end[1] ? "CRLF" : "CR only";
            QTest::addRow("%s: neither UTF-8 nor CP932", name)
                << row("2,,1,2,3,4,5,6,7,8,9\n\xFF\xFF\n").replace("\n", end) << 4 << "";
            QTest::addRow("%s: lines inside quotes are counted", name)
                << compact("2013/04/05,07 10 12 17 23 28 34,03 15,第1回,0,\"0\n円\"\n"
                           "2013/04/12,20 24 29 31 33 34 35,12 32,第1回,0,0\n")
                       .replace("\n", end)
                << 4 << "回別";
            QTest::addRow("%s: number 38", name) << row("2,,1,2,3,4,5,6,38,8,9\n").replace("\n", end) << 3 << "第7数字";
        }
    }
    void badFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, field);
        const DrawCsv::ParseResult parsed = DrawCsv::parse(bytes);
        QVERIFY(parsed.error);
        QVERIFY(parsed.records.empty());
        QCOMPARE(parsed.error->line, line);
        QCOMPARE(parsed.error->field, field);
        QVERIFY(parsed.error->text().startsWith(QStringLiteral("%1 行目").arg(line)));

        // Through the command line: exit 2, the line named, the database exactly as it was.
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("t.mdb"));
        const QString goodCsv = dir.filePath(QStringLiteral("good.csv"));
        const QString badCsv = dir.filePath(QStringLiteral("bad.csv"));
        QVERIFY(writeFile(goodCsv, ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n7,,11,12,13,14,15,16,17,,\n")));
        QVERIFY(writeFile(badCsv, bytes));
        QCOMPARE(runCli({QStringLiteral("import"), goodCsv, QStringLiteral("--db"), db}).status, 0);
        const QByteArray before = fileBytes(db);
        const CliRun run = runCli({QStringLiteral("import"), badCsv, QStringLiteral("--db"), db});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(QStringLiteral("%1 行目").arg(line)), qPrintable(run.err));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(fileBytes(db), before);
        // Nor is a database created for a file that cannot be taken.
        const QString newDb = dir.filePath(QStringLiteral("new.mdb"));
        QCOMPARE(runCli({QStringLiteral("import"), badCsv, QStringLiteral("--db"), newDb}).status, 2);
        QVERIFY(!QFile::exists(newDb));
    }

    // Why a 回数 is refused: not a positive number, or beyond the largest there can be.
    void drawNumberReason_data() {
        QTest::addColumn<QByteArray>("drawNumber");
        QTest::addColumn<QString>("reason");
        QTest::newRow("0") << QByteArray("0") << "「0」は回数（正の整数）ではありません";
        QTest::newRow("32768") << QByteArray("32768") << "回数 32768 は大きすぎます（32767 まで）";
    }
    void drawNumberReason() {
        QFETCH(QByteArray, drawNumber);
        QFETCH(QString, reason);
        const DrawCsv::ParseResult parsed = DrawCsv::parse(ours(drawNumber + ",,1,2,3,4,5,6,7,8,9\n"));
        QVERIFY(parsed.error);
        QCOMPARE(parsed.error->reason, reason);
    }

    void importCounts() {
        QTemporaryDir dir;
        const ConnectionString connection = ConnectionString::forDatabase(dir.filePath(QStringLiteral("t.mdb")));
        StoreError error;
        auto store = DrawStore::open(connection, error, DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));

        struct Step {
            QByteArray file;
            int added, replaced, unchanged;
            QStringList stored;
        };
        const QList<Step> steps = {
            {ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n2,2013-04-12,11,12,13,14,15,16,17,18,19\n4,,1,2,3,,,,,,\n"),
             3,
             0,
             0,
             {"1|2013-04-05|1,2,3,4,5,6,7,8,9", "2|2013-04-12|11,12,13,14,15,16,17,18,19", "4||1,2,3,,,,,,"}},
            {ours("4,,1,2,3,,,,,,\n2,2013/04/12,11,12,13,14,15,16,17,18,19\n1,2013-04-05,1,2,3,4,5,6,7,8,9\n"),
             0,
             0,
             3,
             {"1|2013-04-05|1,2,3,4,5,6,7,8,9", "2|2013-04-12|11,12,13,14,15,16,17,18,19", "4||1,2,3,,,,,,"}},
            // A changed number, a completed draw, a new one; the date changes on draw 1.
            {ours("1,2013-04-06,1,2,3,4,5,6,7,8,9\n2,2013-04-12,11,12,13,14,15,16,17,18,20\n"
                  "4,,1,2,3,4,5,6,7,8,9\n3,2013-04-19,21,22,23,24,25,26,27,28,29\n"),
             1,
             3,
             0,
             {"1|2013-04-06|1,2,3,4,5,6,7,8,9", "2|2013-04-12|11,12,13,14,15,16,17,18,20",
              "3|2013-04-19|21,22,23,24,25,26,27,28,29", "4||1,2,3,4,5,6,7,8,9"}},
            // Without a date column the stored dates stay.
            {QByteArray(kHeadingOursNoDate) + "1,1,2,3,4,5,6,7,8,9\n3,21,22,23,24,25,26,27,28,30\n",
             0,
             1,
             1,
             {"1|2013-04-06|1,2,3,4,5,6,7,8,9", "2|2013-04-12|11,12,13,14,15,16,17,18,20",
              "3|2013-04-19|21,22,23,24,25,26,27,28,30", "4||1,2,3,4,5,6,7,8,9"}},
            // An empty date cell in a file with dates clears the date.
            {ours("1,,1,2,3,4,5,6,7,8,9\n"),
             0,
             1,
             0,
             {"1||1,2,3,4,5,6,7,8,9", "2|2013-04-12|11,12,13,14,15,16,17,18,20",
              "3|2013-04-19|21,22,23,24,25,26,27,28,30", "4||1,2,3,4,5,6,7,8,9"}},
        };
        for (const Step &step : steps) {
            const ImportPlan plan = ImportPlan::make(step.file, store->readAll(error));
            QVERIFY(plan.canImport());
            ImportPlan::Summary summary;
            QVERIFY2(plan.apply(*store, ImportPlan::Choice::TakeFile, summary, error), qPrintable(error.message));
            QCOMPARE(summary.added, step.added);
            QCOMPARE(summary.replaced, step.replaced);
            QCOMPARE(summary.unchanged, step.unchanged);
            QCOMPARE(describe(store->readAll(error)), step.stored);
        }
    }

    // The list as written, byte for byte; dates another program stored are read by the import's
    // rules: one that breaks them is written empty (a spreadsheet would run =HYPERLINK or @SUM).
    void written_data() {
        QTest::addColumn<int>("encoding"); // -1: write()
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray rows = "1,,1,2,3,4,5,6,7,8,\n2,2013-04-12,11,12,13,14,15,16,17,18,19\n"
                                "3,,21,22,23,24,25,26,27,28,29\n4,,31,32,33,34,35,36,37,1,2\n"
                                "5,2013-04-26,1,3,5,7,9,11,13,15,17\n";
        QTest::newRow("draws") << -1 << QByteArray(kHeadingOurs) + rows;
        QTest::newRow("UTF-8 with BOM")
            << int(DrawCsv::Encoding::Utf8WithBom)
            << QByteArray(QByteArray("\xEF\xBB\xBF") + kHeadingOurs + rows).replace("\n", "\r\n");
        QTest::newRow("CP932") << int(DrawCsv::Encoding::Cp932)
                               << QByteArray(QByteArray("\x89\xF1\x90\x94,\x92\x8A\x82\xB9\x82\xF1\x93\xFA,\x91\xE6"
                                                        "1\x90\x94\x8E\x9A,\x91\xE6"
                                                        "2\x90\x94\x8E\x9A,\x91\xE6"
                                                        "3\x90\x94\x8E\x9A,\x91\xE6"
                                                        "4\x90\x94\x8E\x9A,\x91\xE6"
                                                        "5\x90\x94\x8E\x9A,\x91\xE6"
                                                        "6\x90\x94\x8E\x9A,\x91\xE6"
                                                        "7\x90\x94\x8E\x9A,\x83{\x81[\x83i\x83X\x90\x94\x8E\x9A"
                                                        "1,\x83{\x81[\x83i\x83X\x90\x94\x8E\x9A"
                                                        "2\n") +
                                             rows)
                                      .replace("\n", "\r\n");
    }
    void written() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, bytes);
        std::vector<DrawRecord> records{
            makeDraw(2, {11, 12, 13, 14, 15, 16, 17, 18, 19}), makeDraw(5, {1, 3, 5, 7, 9, 11, 13, 15, 17}),
            makeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8, 0}), makeDraw(4, {31, 32, 33, 34, 35, 36, 37, 1, 2}),
            makeDraw(3, {21, 22, 23, 24, 25, 26, 27, 28, 29})};
        records[0].drawDate = QStringLiteral("2013-04-12");
        records[1].drawDate = QStringLiteral(" 2013/4/26 ");
        records[3].drawDate = QStringLiteral("@SUM(A1)");
        records[4].drawDate = QStringLiteral("=HYPERLINK(\"http://x\",\"y\")");
        QString badDates;
        const std::optional<QByteArray> got = encoding < 0
                                                  ? DrawCsv::write(records, &badDates)
                                                  : DrawCsv::writeFile(records, DrawCsv::Encoding(encoding), &badDates);
        QCOMPARE(got.value_or("nothing"), bytes);
        QCOMPARE(
            badDates,
            QStringLiteral("抽せん日が日付として読めない 2 件は、抽せん日を空にして書き出しました（最初の回数: 3）。"));
        DrawCsv::write({records[0]}, &badDates);
        QVERIFY(badDates.isEmpty());
    }

    // The command line's list and the window's export both leave such a date out and say so.
    void storedDateThatIsNoDate() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("t.mdb"));
        const QString csv = dir.filePath(QStringLiteral("in.csv"));
        QVERIFY(writeFile(csv, ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n7,2013-05-17,11,12,13,14,15,16,17,,\n")));
        QCOMPARE(runCli({QStringLiteral("import"), csv, QStringLiteral("--db"), db}).status, 0);
        StoreError error;
        {
            auto store = DrawStore::open(ConnectionString::forDatabase(db), error);
            QVERIFY(store);
            QVERIFY(store->exec("UPDATE 当選データ SET 抽せん日 = '=HYPERLINK(\"x\")' WHERE 回数 = 7", error));
        }
        const QString said = QStringLiteral(
            "抽せん日が日付として読めない 1 件は、抽せん日を空にして書き出しました（最初の回数: 7）。\n");
        const QByteArray listed = ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n7,,11,12,13,14,15,16,17,,\n");
        const CliRun run = runCli({QStringLiteral("draws"), QStringLiteral("--db"), db});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, listed);
        QCOMPARE(run.err, said);

        auto store = DrawStore::open(ConnectionString::forDatabase(db), error);
        QVERIFY(store);
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        int count = 0;
        QString message;
        QVERIFY(DrawCsv::exportDraws(*store, path, DrawCsv::Encoding::Utf8WithBom, count, message));
        QCOMPARE(count, 2);
        QCOMPARE(message + QLatin1Char('\n'), said);
        QCOMPARE(fileBytes(path), QByteArray("\xEF\xBB\xBF" + listed).replace("\n", "\r\n"));
    }

    // What draws writes imports back unchanged, gaps, empty fields, missing dates and all.
    void writtenListReimportsUnchanged() {
        QTemporaryDir dir;
        StoreError error;
        auto store = DrawStore::open(ConnectionString::forDatabase(dir.filePath(QStringLiteral("a.mdb"))), error,
                                     DrawStore::OpenMode::CreateIfMissing);
        QVERIFY2(store, qPrintable(error.message));
        std::vector<DrawRecord> records{
            makeDraw(10, {1, 2, 3, 4, 5, 6, 7, 8, 9}), makeDraw(2, {0, 0, 0, 0, 0, 0, 0, 0, 0}),
            makeDraw(32767, {37, 36, 35, 34, 33, 32, 31, 0, 30}), makeDraw(3, {11, 12, 13, 14, 15, 16, 17, 18, 19})};
        records[0].drawDate = QStringLiteral("2013-06-07");
        records[3].drawDate = QStringLiteral("2013-04-19");
        QVERIFY(store->store(records, error));

        const std::vector<DrawRecord> stored = store->readAll(error);
        const QByteArray written = DrawCsv::write(stored);
        QVERIFY(written.startsWith(kHeadingOurs));
        QCOMPARE(written.count('\n'), 5);
        const DrawCsv::ParseResult parsed = DrawCsv::parse(written);
        QVERIFY2(!parsed.error, qPrintable(parsed.error ? parsed.error->text() : QString()));
        QCOMPARE(describe(parsed.records), describe(stored));
        QCOMPARE(describe(parsed.records).first(), QStringLiteral("2||,,,,,,,,"));

        ImportPlan::Summary summary;
        QVERIFY(ImportPlan::make(written, stored).apply(*store, ImportPlan::Choice::TakeFile, summary, error));
        QCOMPARE(summary.unchanged, 4);
        QCOMPARE(summary.added + summary.replaced, 0);

        auto other = DrawStore::open(ConnectionString::forDatabase(dir.filePath(QStringLiteral("b.mdb"))), error,
                                     DrawStore::OpenMode::CreateIfMissing);
        QVERIFY(ImportPlan::make(written, {}).apply(*other, ImportPlan::Choice::TakeFile, summary, error));
        QCOMPARE(DrawCsv::write(other->readAll(error)), written);
    }

    void commandLine() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("real.mdb"));
        const QString csv = QStringLiteral(TEST_DATA_DIR "/loto7-draws-688.csv");
        const QStringList dbArgs{QStringLiteral("--db"), db};

        CliRun run = runCli(QStringList{QStringLiteral("import"), csv} + dbArgs);
        QCOMPARE(run.status, 0);
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("追加 688 件、置換 0 件、変更なし 0 件\n"));
        run = runCli(QStringList{QStringLiteral("import"), csv} + dbArgs);
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("追加 0 件、置換 0 件、変更なし 688 件\n"));

        // The shipped list is in our layout, so it comes back byte for byte.
        run = runCli(QStringList{QStringLiteral("draws")} + dbArgs);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, fileBytes(csv));

        run = runCli(QStringList{QStringLiteral("aggregates")} + dbArgs);
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith("{\"records\": 688, \"latestDrawNumber\": 688, \"maxAppearance\": "));
        QVERIFY(run.out.contains("\"countGroupTotal\": "));
        QVERIFY(run.out.indexOf("\"appearanceCount\"") < run.out.indexOf("\"numbersByCount\""));
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        const StartupAggregates a = realHistory().aggregates();
        QCOMPARE(json.value(QStringLiteral("maxAppearance")).toInt(), a.MaxAppearance);
        QCOMPARE(json.value(QStringLiteral("minAppearance")).toInt(), 0);
        QCOMPARE(json.value(QStringLiteral("countGroupTotal")).toInt(), a.CountGroupTotal);
        const QJsonArray counts = json.value(QStringLiteral("appearanceCount")).toArray();
        QCOMPARE(counts.size(), 37);
        for (int n = 1; n <= 37; ++n)
            QCOMPARE(counts[n - 1].toInt(), a.AppearanceCount[std::size_t(n)]);
        QCOMPARE(json.value(QStringLiteral("numbersByCount")).toVariant().toStringList(), a.NumbersByCount);
    }

    // A database the user may only read takes an import that changes nothing; one that would
    // change it is refused with the file and the reason named, and stays as it was.
    void readOnlyDatabase_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        const QByteArray stored = ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n2,,11,12,13,14,15,16,17,,\n");
        QTest::newRow("nothing to change") << stored << 0 << "追加 0 件、置換 0 件、変更なし 2 件\n";
        QTest::newRow("a new draw") << ours("3,,1,2,3,4,5,6,7,8,9\n") << 1 << "ファイルが読み取り専用です";
    }
    void readOnlyDatabase() {
        QFETCH(QByteArray, csv);
        QFETCH(int, status);
        QFETCH(QString, output);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("t.mdb"));
        const QString storedCsv = dir.filePath(QStringLiteral("stored.csv"));
        const QString csvPath = dir.filePath(QStringLiteral("import.csv"));
        QVERIFY(writeFile(storedCsv, ours("1,2013-04-05,1,2,3,4,5,6,7,8,9\n2,,11,12,13,14,15,16,17,,\n")));
        QVERIFY(writeFile(csvPath, csv));
        QCOMPARE(runCli({QStringLiteral("import"), storedCsv, QStringLiteral("--db"), db}).status, 0);
        QVERIFY(QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ExeGroup));
        const QByteArray before = fileBytes(db);

        QProcess p;
        QString cli = QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli");
        // Permissions do not bind root: run as nobody then, from a copy nobody can reach (the
        // build folder may sit in a directory only root may enter).
        if (geteuid() == 0) {
            const QString copy = dir.filePath(QStringLiteral("nanazubario-cli"));
            QVERIFY(QFile::copy(cli, copy));
            QVERIFY(QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOther | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(csvPath, QFile::permissions(csvPath) | QFile::ReadOther));
            cli = copy;
            p.setChildProcessModifier([] {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    _exit(99);
            });
        }
        p.start(cli, {QStringLiteral("import"), csvPath, QStringLiteral("--db"), db});
        QVERIFY2(p.waitForFinished(60000), qPrintable(p.errorString()));
        const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QCOMPARE(p.exitCode(), status);
        QVERIFY2(out.contains(output), qPrintable(out));
        if (status != 0)
            QVERIFY(out.contains(db));
        QCOMPARE(fileBytes(db), before);
    }

    void commandLineEdgeCases() {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("t.mdb"));
        const QString headingOnly = dir.filePath(QStringLiteral("empty.csv"));
        QVERIFY(writeFile(headingOnly, ours("")));
        QCOMPARE(runCli({QStringLiteral("import"), headingOnly, QStringLiteral("--db"), db}).out,
                 QStringLiteral("追加 0 件、置換 0 件、変更なし 0 件\n").toUtf8());
        CliRun run = runCli({QStringLiteral("aggregates"), QStringLiteral("--db"), db});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out,
                 QByteArray("{\"records\": 0, \"latestDrawNumber\": 0, \"maxAppearance\": 0, \"minAppearance\": 0, "
                            "\"countGroupTotal\": 0, \"appearanceCount\": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
                            "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0], "
                            "\"numbersByCount\": []}\n"));
        run = runCli({QStringLiteral("draws"), QStringLiteral("--db"), db});
        QCOMPARE(run.out, QByteArray(kHeadingOurs));

        // A database that cannot be opened: one line naming it, status 1, nothing created.
        const QString missing = dir.filePath(QStringLiteral("無い.mdb"));
        for (const QString &command : {QStringLiteral("draws"), QStringLiteral("aggregates")}) {
            run = runCli({command, QStringLiteral("--db"), missing});
            QCOMPARE(run.status, 1);
            QVERIFY(run.err.contains(missing));
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
            QVERIFY(!QFile::exists(missing));
        }
        // A file to import that is not there.
        run = runCli({QStringLiteral("import"), dir.filePath(QStringLiteral("無い.csv")), QStringLiteral("--db"), db});
        QCOMPARE(run.status, 2);
    }
};

QTEST_GUILESS_MAIN(TestDrawCsv)
#include "TestDrawCsv.moc"
