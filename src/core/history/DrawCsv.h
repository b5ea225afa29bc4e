#pragma once

#include "core/history/DrawRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class DrawStore;

// Where a draw list is wrong: the line the row starts on (1 = the heading), the field, why.
struct DrawCsvError {
    int line = 0;
    QString field; // the column as the heading names it; empty when the whole row is at fault
    QString reason;

    // One Japanese sentence, for example "12 行目、第3数字: 「x」は 1 から … の数字ではありません。"
    QString text() const;
};

// Draw lists as CSV files: reading the layouts people bring, writing our own.
namespace DrawCsv {

// The layouts told apart by the heading.
enum class Layout {
    Ours, // 回数,抽せん日,第1数字,...,第7数字,ボーナス数字1,ボーナス数字2 (抽せん日 may be absent),
          // with the thirteen prize columns after them when prizes were stored
    Published, // 開催回,日付,第1数字,...,第7数字,BONUS数字1,BONUS数字2, then prize columns
               // (回別, 抽せん日, 本数字1.., ボーナス数字1.. spelled so too)
    Compact,   // 抽せん日,本数字,ボーナス数字,回別, then prize columns; numbers space-separated
};

struct ParseResult {
    Layout layout = Layout::Ours;
    bool hasDates = false;             // whether the file has a date column at all
    bool hasPrizes = false;            // whether it has all thirteen prize columns
    std::vector<DrawRecord> records;   // in file order
    std::optional<DrawCsvError> error; // the first of errors
    // Every line that cannot be read, in line order, one error per line. A file that cannot be
    // read at all (its encoding, its quotes, its heading) has only that one error.
    std::vector<DrawCsvError> errors;
};

// The heading of our layout: 回数,抽せん日,第1数字,…,ボーナス数字2, or without 抽せん日.
QStringList oursHeading(bool withDate = true);

// Where the thirteen prize columns (DrawPrizes::columnNames) are in a heading; nullopt unless
// every one of them is there.
using PrizeColumns = std::array<int, DrawPrizes::kColumnCount>;
std::optional<PrizeColumns> prizeColumns(const QStringList &heading);
// The prizes of one row. out stays empty when all thirteen fields are empty; false, and the
// field at fault and why, for an amount that is none, a negative one, or winners without a
// prize or a prize without winners.
bool readPrizes(const QStringList &heading, const PrizeColumns &columns, const QStringList &fields,
                std::optional<DrawPrizes> &out, QString &field, QString &reason);

// Reads a whole file: UTF-8 with or without byte-order mark, or CP932. On any error the
// records are empty: a file is taken whole or not at all.
ParseResult parse(const QByteArray &bytes);

// Layout Ours with every column, ascending 回数, UTF-8, LF line ends, empty fields empty; when
// any draw has prizes, the thirteen prize columns follow (empty for a draw without them).
// A stored date is written as parse reads it (YYYY-MM-DD); one it would refuse is written
// empty, and badDates, when given, receives one Japanese sentence saying how many, or stays empty.
QByteArray write(std::vector<DrawRecord> records, QString *badDates = nullptr);

// The encodings offered when the user saves the draws for other programs.
enum class Encoding {
    Utf8WithBom, // spreadsheet programs see UTF-8 only with the mark
    Cp932,       // the Japanese code page, for programs that read nothing else
};

// The same list as a file for other programs: CRLF line ends, in the encoding asked for.
// nullopt when a written text has no CP932 form.
std::optional<QByteArray> writeFile(std::vector<DrawRecord> records, Encoding encoding, QString *badDates = nullptr);

// Writes every stored draw to the file at path, which is replaced only once the whole list is
// written. count is how many draws; message says in Japanese what went wrong, or after a
// success which stored dates were left empty (empty when none).
bool exportDraws(const DrawStore &store, const QString &path, Encoding encoding, int &count, QString &message);

// One row of a CSV text: the line it starts on and its fields, unquoted.
struct Row {
    int line = 0;
    QStringList fields;
};

// Splits CSV text into rows (quoted fields may hold commas, quotes written twice and line
// breaks). A quote left open or text after a closing quote is an error.
bool splitRows(const QString &text, std::vector<Row> &rows, DrawCsvError &error);

// A date as 2013/04/05, 2013/4/12, 2013-04-05 or 2013年4月5日 (a weekday in brackets may
// follow) in the form YYYY-MM-DD; nullopt when it is no date. An empty text stays empty.
std::optional<QString> normaliseDate(const QString &text);
// A date as the user types it: what normaliseDate reads, or eight digits (20260731); full-width
// digits too. YYYY-MM-DD, or nullopt when it is no real date; an empty text stays empty.
std::optional<QString> normaliseTypedDate(const QString &text);
// A date in the form YYYY-MM-DD as the program shows it: 2026/07/31.
QString shownDate(const QString &date);

} // namespace DrawCsv
