// The draws' reads and writes.
#include "core/history/DrawStore.h"

#include "core/history/DrawRules.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>

namespace {
const char *const kReadAll =
    "SELECT v.回数, v.第1数字, v.第2数字, v.第3数字, v.第4数字, v.第5数字, v.第6数字, v.第7数字, "
    "v.ボーナス数字1, v.ボーナス数字2, t.抽せん日 FROM 全データ選択クエリ v "
    "LEFT JOIN 当選データ t ON t.回数 = v.回数 ORDER BY v.回数";

// A row as the draw table allows it, or nullopt for one it forbids: 回数 or a number field
// outside the draw rules, or a number field holding anything but an integer or nothing (NULL or
// the empty text).
// columnOf gives the column of 回数 and of the nine numbers; a date column may follow.
std::optional<DrawRecord> allowedRecord(const Statement &st, const std::array<int, 10> &columnOf, int dateColumn) {
    DrawRecord r;
    const qint64 drawNumber = st.integer64(columnOf[0]);
    if (st.type(columnOf[0]) != SQLITE_INTEGER || drawNumber < DrawRules::kMinDrawNumber ||
        drawNumber > DrawRules::kMaxDrawNumber)
        return std::nullopt;
    r.drawNumber = int(drawNumber);
    for (int k = 0; k < DrawRecord::kFieldCount; ++k) {
        const int column = columnOf[k + 1];
        switch (st.type(column)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER: {
            const qint64 n = st.integer64(column);
            if (n < DrawRules::kMinNumber || n > DrawRules::kMaxNumber)
                return std::nullopt;
            r.numbers[k] = int(n);
            break;
        }
        default:
            if (!st.text(column).isEmpty())
                return std::nullopt;
        }
    }
    if (dateColumn >= 0)
        r.drawDate = st.text(dateColumn);
    return r;
}

// Counts the rows a read left out and remembers the first, for one sentence at the end.
struct SkippedRows {
    int count = 0;
    QString first;

    void add(const Statement &st, int drawNumberColumn) {
        if (count++ == 0)
            first = st.type(drawNumberColumn) == SQLITE_NULL ? QStringLiteral("空") : st.text(drawNumberColumn);
    }
    void report(const QString &path, QString *out) const {
        if (!out)
            return;
        out->clear();
        if (count > 0)
            *out =
                QStringLiteral("データベース %1 の %2 行は回数（%3 から %4）か数字（%5 から %6）が範囲の外にあるため"
                               "読み飛ばしました（最初の行の回数: %7）。")
                    .arg(path, QString::number(count), QString::number(DrawRules::kMinDrawNumber),
                         QString::number(DrawRules::kMaxDrawNumber), QString::number(DrawRules::kMinNumber),
                         QString::number(DrawRules::kMaxNumber), first);
    }
};

constexpr std::array<int, 10> kPlainColumns{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
} // namespace

const char *DrawStore::historyQuery() {
    return "select * from 全データ選択クエリ order by 回数";
}

std::vector<DrawRecord> DrawStore::readHistory(StoreError &error, QString *skipped) const {
    error = {};
    std::vector<DrawRecord> records;
    Statement st(m_db, historyQuery());
    if (!st.valid()) {
        error = viewMissing();
        return records;
    }
    // Fields are read by their names, wherever the view puts them.
    std::array<int, 10> columnOf{};
    columnOf.fill(-1);
    const auto &names = drawColumnNames();
    for (int c = 0; c < st.columnCount(); ++c)
        for (int f = 0; f < 10; ++f)
            if (st.columnName(c) == names[f])
                columnOf[f] = c;
    for (int f = 0; f < 10; ++f) {
        if (columnOf[f] < 0) {
            error = viewMissing(QStringLiteral("全データ選択クエリに %1 がありません").arg(names[f]));
            return records;
        }
    }
    // Room for every row at once: a list grown step by step touches twice the memory, which
    // start-up pays for in page faults.
    if (Statement count(m_db, "select count(*) from 全データ選択クエリ"); count.step() == SQLITE_ROW)
        records.reserve(std::size_t(std::max(0, count.integer(0))));
    SkippedRows left;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        if (std::optional<DrawRecord> r = allowedRecord(st, columnOf, -1))
            records.push_back(std::move(*r));
        else
            left.add(st, columnOf[0]);
    }
    if (rc != SQLITE_DONE)
        error = readFailure(rc);
    left.report(m_path, skipped);
    return records;
}

std::vector<DrawRecord> DrawStore::readAll(StoreError &error, QString *skipped) const {
    error = {};
    std::vector<DrawRecord> records;
    Statement st(m_db, kReadAll);
    if (!st.valid()) {
        error = viewMissing();
        return records;
    }
    SkippedRows left;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        if (std::optional<DrawRecord> r = allowedRecord(st, kPlainColumns, 10))
            records.push_back(std::move(*r));
        else
            left.add(st, 0);
    }
    if (rc != SQLITE_DONE)
        error = readFailure(rc);
    left.report(m_path, skipped);
    if (!error)
        attachPrizes(records, error);
    return records;
}

std::optional<DrawRecord> DrawStore::read(int drawNumber, StoreError &error) const {
    error = {};
    Statement st(m_db, "SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, 第7数字, "
                       "ボーナス数字1, ボーナス数字2, 抽せん日 FROM 当選データ WHERE 回数 = ?");
    st.bind(1, drawNumber);
    const int rc = st.step();
    if (rc == SQLITE_ROW) {
        std::vector<DrawRecord> one;
        if (std::optional<DrawRecord> r = allowedRecord(st, kPlainColumns, 10))
            one.push_back(std::move(*r));
        if (one.empty() || !attachPrizes(one, error))
            return std::nullopt;
        return one.front();
    }
    if (rc != SQLITE_DONE)
        error = readFailure(rc);
    return std::nullopt;
}

bool DrawStore::store(const std::vector<DrawRecord> &records, StoreError &error) {
    error = {};
    return transaction(error, [&] { return storeWithin(records, error); });
}

bool DrawStore::remove(const std::vector<int> &drawNumbers, StoreError &error) {
    error = {};
    return transaction(error, [&] { return removeWithin(drawNumbers, error); });
}

bool DrawStore::storeWithin(const std::vector<DrawRecord> &records, StoreError &error) {
    Statement st(m_db, "INSERT OR REPLACE INTO 当選データ (回数, 抽せん日, 第1数字, 第2数字, 第3数字, 第4数字, "
                       "第5数字, 第6数字, 第7数字, ボーナス数字1, ボーナス数字2) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const DrawRecord &r : records) {
        st.reset();
        st.bind(1, r.drawNumber);
        st.bind(2, r.drawDate);
        for (int k = 0; k < DrawRecord::kFieldCount; ++k)
            st.bind(k + 3, r.numbers[k]);
        if (const int rc = st.step(); rc != SQLITE_DONE) {
            error = failure(rc, QStringLiteral("回数 %1").arg(r.drawNumber));
            return false;
        }
    }
    return storePrizesWithin(records, error);
}

bool DrawStore::deleteEach(const char *sql, const std::vector<int> &drawNumbers, StoreError &error) {
    Statement st(m_db, sql);
    for (int n : drawNumbers) {
        st.reset();
        st.bind(1, n);
        if (const int rc = st.step(); rc != SQLITE_DONE) {
            error = failure(rc);
            return false;
        }
    }
    return true;
}

bool DrawStore::removeWithin(const std::vector<int> &drawNumbers, StoreError &error) {
    return deleteEach("DELETE FROM 当選データ WHERE 回数 = ?", drawNumbers, error) &&
           removePrizesWithin(drawNumbers, error);
}
