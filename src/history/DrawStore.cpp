#include "history/DrawStore.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {
// The table and the view; the bounds in the CHECKs are the draw rules.
QByteArray schema() {
    QString numbers;
    for (const QString &column : drawColumnNames())
        if (column != drawColumnNames()[0])
            numbers += QStringLiteral(",\n    %1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN %2 AND %3))")
                           .arg(column)
                           .arg(DrawRules::kMinNumber)
                           .arg(DrawRules::kMaxNumber);
    return QStringLiteral(R"SQL(
CREATE TABLE IF NOT EXISTS 当選データ (
    回数 INTEGER PRIMARY KEY CHECK (回数 BETWEEN %1 AND %2),
    抽せん日 TEXT%3
);
CREATE VIEW IF NOT EXISTS 全データ選択クエリ AS
    SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, 第7数字, ボーナス数字1, ボーナス数字2
    FROM 当選データ;
)SQL")
        .arg(DrawRules::kMinDrawNumber)
        .arg(DrawRules::kMaxDrawNumber)
        .arg(numbers)
        .toUtf8();
}

const char *const kReadAll =
    "SELECT v.回数, v.第1数字, v.第2数字, v.第3数字, v.第4数字, v.第5数字, v.第6数字, v.第7数字, "
    "v.ボーナス数字1, v.ボーナス数字2, t.抽せん日 FROM 全データ選択クエリ v "
    "LEFT JOIN 当選データ t ON t.回数 = v.回数 ORDER BY v.回数";

StoreError makeError(StoreError::Kind kind, const QString &file, const QString &cause) {
    return {kind, file, QStringLiteral("データベース %1 を開けません（%2）。").arg(file, cause)};
}

DrawRecord recordFrom(const Statement &st) {
    DrawRecord r;
    r.drawNumber = st.integer(0);
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        if (!st.isNull(k + 1))
            r.numbers[k] = st.integer(k + 1);
    r.drawDate = st.text(10);
    return r;
}
} // namespace

Statement::Statement(sqlite3 *db, const char *sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, int value) {
    sqlite3_bind_int(m_stmt, index, value);
}

void Statement::bind(int index, const std::optional<int> &value) {
    if (value)
        sqlite3_bind_int(m_stmt, index, *value);
    else
        sqlite3_bind_null(m_stmt, index);
}

void Statement::bind(int index, const QString &text) {
    if (text.isEmpty()) {
        sqlite3_bind_null(m_stmt, index);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

int Statement::step() {
    return m_stmt ? sqlite3_step(m_stmt) : SQLITE_MISUSE;
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

int Statement::integer(int column) const {
    return sqlite3_column_int(m_stmt, column);
}

QString Statement::text(int column) const {
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

std::unique_ptr<DrawStore> DrawStore::open(const ConnectionString &connection, StoreError &error, OpenMode mode) {
    error = {};
    const QString &path = connection.databasePath;
    const QFileInfo info(path);
    const bool existed = info.exists();
    if (!existed && mode == OpenMode::ExistingOnly) {
        error = makeError(StoreError::Kind::FileMissing, path, QStringLiteral("ファイルがありません"));
        return nullptr;
    }
    if (existed && !info.isFile()) {
        error = makeError(StoreError::Kind::NotADatabase, path, QStringLiteral("ファイルではありません"));
        return nullptr;
    }

    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (mode == OpenMode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        error = makeError(StoreError::Kind::Other, path, QStringLiteral("ファイルを開けません"));
        return nullptr;
    }
    std::unique_ptr<DrawStore> store(new DrawStore(db, path));

    // The password is turned into a raw 256-bit key: the passphrase derivation SQLCipher would
    // otherwise run costs tens of milliseconds at every start, and protects nothing here, where
    // the password is built into the program anyway. An empty password is refused outright.
    // A wrong key shows only at the first statement.
    if (connection.password.isEmpty()) {
        error = makeError(StoreError::Kind::WrongPassword, path, QStringLiteral("パスワードが違います"));
        return nullptr;
    }
    const QByteArray key = keyFor(connection.password);
    if (sqlite3_key(db, key.constData(), int(key.size())) != SQLITE_OK) {
        error = makeError(StoreError::Kind::WrongPassword, path, QStringLiteral("パスワードが違います"));
        return nullptr;
    }
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        // Our files are whole pages; anything else was never an encrypted database.
        const qint64 size = QFileInfo(path).size();
        if (size > 0 && size % 1024 == 0)
            error = makeError(StoreError::Kind::WrongPassword, path,
                              QStringLiteral("パスワードが違うか、データベースではありません"));
        else
            error = makeError(StoreError::Kind::NotADatabase, path, QStringLiteral("データベースではありません"));
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);

    if (mode == OpenMode::CreateIfMissing) {
        if (!store->createSchema(error))
            return nullptr;
    }
    Statement probe(db, "SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = '全データ選択クエリ'");
    if (probe.step() != SQLITE_ROW || probe.integer(0) != 1) {
        error = makeError(StoreError::Kind::ViewMissing, path, QStringLiteral("全データ選択クエリがありません"));
        return nullptr;
    }
    return store;
}

QByteArray DrawStore::keyFor(const QString &password) {
    return "x'" + QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex() + "'";
}

DrawStore::~DrawStore() {
    sqlite3_close(m_db);
}

const char *DrawStore::historyQuery() {
    return "select * from 全データ選択クエリ order by 回数";
}

bool DrawStore::exec(const char *sql, StoreError &error) {
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = writeError(QString::fromUtf8(message ? message : ""));
    sqlite3_free(message);
    return false;
}

StoreError DrawStore::writeError(const QString &detail) const {
    QString message = QStringLiteral("データベース %1 に書き込めませんでした").arg(m_path);
    if (!detail.isEmpty())
        message += QStringLiteral("（%1）").arg(detail);
    return {StoreError::Kind::WriteRefused, m_path, message + QStringLiteral("。")};
}

bool DrawStore::createSchema(StoreError &error) {
    return transaction(error, [&] { return exec(schema().constData(), error); });
}

std::vector<DrawRecord> DrawStore::readHistory(StoreError &error) const {
    error = {};
    std::vector<DrawRecord> records;
    Statement st(m_db, historyQuery());
    if (!st.valid()) {
        error = makeError(StoreError::Kind::ViewMissing, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
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
            error = makeError(StoreError::Kind::ViewMissing, m_path,
                              QStringLiteral("全データ選択クエリに %1 がありません").arg(names[f]));
            return records;
        }
    }
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        DrawRecord r;
        r.drawNumber = st.integer(columnOf[0]);
        for (int k = 0; k < DrawRecord::kFieldCount; ++k)
            if (!st.isNull(columnOf[k + 1]))
                r.numbers[k] = st.integer(columnOf[k + 1]);
        records.push_back(std::move(r));
    }
    if (rc != SQLITE_DONE)
        error = makeError(StoreError::Kind::Other, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
    return records;
}

std::vector<DrawRecord> DrawStore::readAll(StoreError &error) const {
    error = {};
    std::vector<DrawRecord> records;
    Statement st(m_db, kReadAll);
    if (!st.valid()) {
        error = makeError(StoreError::Kind::ViewMissing, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
        return records;
    }
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        records.push_back(recordFrom(st));
    if (rc != SQLITE_DONE)
        error = makeError(StoreError::Kind::Other, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
    return records;
}

std::optional<DrawRecord> DrawStore::read(int drawNumber, StoreError &error) const {
    error = {};
    Statement st(m_db, "SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, 第7数字, "
                       "ボーナス数字1, ボーナス数字2, 抽せん日 FROM 当選データ WHERE 回数 = ?");
    st.bind(1, drawNumber);
    const int rc = st.step();
    if (rc == SQLITE_ROW)
        return recordFrom(st);
    if (rc != SQLITE_DONE)
        error = makeError(StoreError::Kind::Other, m_path, QString::fromUtf8(sqlite3_errmsg(m_db)));
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
        if (st.step() != SQLITE_DONE) {
            error = writeError(
                QStringLiteral("回数 %1: %2").arg(r.drawNumber).arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
            return false;
        }
    }
    return true;
}

bool DrawStore::removeWithin(const std::vector<int> &drawNumbers, StoreError &error) {
    Statement st(m_db, "DELETE FROM 当選データ WHERE 回数 = ?");
    for (int n : drawNumbers) {
        st.reset();
        st.bind(1, n);
        if (st.step() != SQLITE_DONE) {
            error = writeError(QString::fromUtf8(sqlite3_errmsg(m_db)));
            return false;
        }
    }
    return true;
}
