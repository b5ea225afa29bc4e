// The prizes of the draws: a table of their own beside the draw table, made when the first
// prizes are stored.
#include "core/history/DrawStore.h"

#include "core/history/DrawRules.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>

namespace {
// Column names begin with a digit, so they are always quoted.
QString columnList() {
    QStringList quoted;
    for (const QString &name : DrawPrizes::columnNames())
        quoted << QStringLiteral("\"%1\"").arg(name);
    return quoted.join(QStringLiteral(", "));
}

QByteArray prizeSchema() {
    QString columns;
    for (const QString &name : DrawPrizes::columnNames())
        columns += QStringLiteral(",\n    \"%1\" INTEGER NOT NULL CHECK (typeof(\"%1\") = 'integer' AND \"%1\" >= 0)")
                       .arg(name);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS 当せん金 (\n    回数 INTEGER PRIMARY KEY CHECK (回数 BETWEEN %1 "
                          "AND %2)%3\n);")
        .arg(DrawRules::kMinDrawNumber)
        .arg(DrawRules::kMaxDrawNumber)
        .arg(columns)
        .toUtf8();
}
} // namespace

bool DrawStore::hasPrizeTable(StoreError &error) const {
    Statement st(m_db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '当せん金'");
    const int rc = st.step();
    if (rc != SQLITE_ROW) {
        error = readFailure(rc);
        return false;
    }
    return st.integer(0) == 1;
}

std::map<int, DrawPrizes> DrawStore::readPrizes(StoreError &error) const {
    error = {};
    std::map<int, DrawPrizes> prizes;
    if (!hasPrizeTable(error))
        return prizes;
    const QByteArray sql = QStringLiteral("SELECT 回数, %1 FROM 当せん金").arg(columnList()).toUtf8();
    Statement st(m_db, sql.constData());
    if (!st.valid()) {
        error = readFailure(SQLITE_ERROR);
        return prizes;
    }
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        // A row another tool wrote against the table's rules is taken as no prizes at all.
        std::array<qint64, DrawPrizes::kColumnCount> values{};
        bool allowed = st.type(0) == SQLITE_INTEGER;
        for (int c = 0; c < DrawPrizes::kColumnCount && allowed; ++c) {
            allowed = st.type(c + 1) == SQLITE_INTEGER && st.integer64(c + 1) >= 0;
            values[std::size_t(c)] = st.integer64(c + 1);
        }
        if (allowed)
            prizes[st.integer(0)] = DrawPrizes::fromValues(values);
    }
    if (rc != SQLITE_DONE)
        error = readFailure(rc);
    return prizes;
}

bool DrawStore::attachPrizes(std::vector<DrawRecord> &records, StoreError &error) const {
    std::map<int, DrawPrizes> prizes = readPrizes(error);
    if (error)
        return false;
    for (DrawRecord &r : records)
        if (const auto found = prizes.find(r.drawNumber); found != prizes.end())
            r.prizes = found->second;
    return true;
}

bool DrawStore::storePrizesWithin(const std::vector<DrawRecord> &records, StoreError &error) {
    const bool anyPrizes =
        std::any_of(records.begin(), records.end(), [](const DrawRecord &r) { return r.prizes.has_value(); });
    const bool tableThere = hasPrizeTable(error);
    if (error)
        return false;
    if (!anyPrizes && !tableThere)
        return true;
    if (!tableThere && !exec(prizeSchema().constData(), error))
        return false;
    const QByteArray insert = QStringLiteral("INSERT OR REPLACE INTO 当せん金 (回数, %1) VALUES (?%2)")
                                  .arg(columnList(), QStringLiteral(", ?").repeated(DrawPrizes::kColumnCount))
                                  .toUtf8();
    Statement put(m_db, insert.constData());
    Statement drop(m_db, "DELETE FROM 当せん金 WHERE 回数 = ?");
    for (const DrawRecord &r : records) {
        Statement &st = r.prizes ? put : drop;
        st.reset();
        st.bind(1, r.drawNumber);
        if (r.prizes) {
            const auto values = r.prizes->values();
            for (int c = 0; c < DrawPrizes::kColumnCount; ++c)
                st.bind64(c + 2, values[std::size_t(c)]);
        }
        if (const int rc = st.step(); rc != SQLITE_DONE) {
            error = failure(rc, QStringLiteral("回数 %1 の当せん金").arg(r.drawNumber));
            return false;
        }
    }
    return true;
}

bool DrawStore::removePrizesWithin(const std::vector<int> &drawNumbers, StoreError &error) {
    const bool tableThere = hasPrizeTable(error);
    if (error || !tableThere || drawNumbers.empty())
        return !error;
    return deleteEach("DELETE FROM 当せん金 WHERE 回数 = ?", drawNumbers, error);
}
