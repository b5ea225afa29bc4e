// The draw database: its connection and key, its tables, its errors and the making of a new file.
#include "core/history/DrawStore.h"

#include "core/history/DrawRules.h"
#include "core/history/NewDatabaseFile.h"
#include "core/history/SqlCipher.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {
const SqlCipher &sqlite() {
    return SqlCipher::loaded();
}

// The table and the view; the bounds in the CHECKs are the draw rules.
QByteArray schema() {
    QString numbers;
    for (const QString &column : drawColumnNames())
        if (column != drawColumnNames()[0])
            numbers += QStringLiteral(
                           ",\n    %1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN %2 AND %3))")
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

StoreError makeError(StoreError::Kind kind, const QString &file, const QString &cause) {
    return {kind, file, QStringLiteral("データベース %1 を開けません（%2）。").arg(file, cause)};
}

// SQLite speaks English: what went wrong is said in Japanese first, its own words follow for
// whoever looks further.
QString sqliteText(sqlite3 *db) {
    const char *japanese = "データベースの処理に失敗しました";
    switch (sqlite().extended_errcode(db) & 0xff) {
    case SQLITE_CORRUPT:
        japanese = "ファイルが壊れています";
        break;
    case SQLITE_NOTADB:
        japanese = "このプログラムのデータベースではないか、パスワードが違います";
        break;
    case SQLITE_FULL:
        japanese = "ディスクがいっぱいです";
        break;
    case SQLITE_IOERR:
        japanese = "ファイルの読み書きに失敗しました";
        break;
    case SQLITE_CANTOPEN:
        japanese = "ファイルを開けません";
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        japanese = "アクセスが許可されていません";
        break;
    case SQLITE_CONSTRAINT:
        japanese = "当選データの規則に合いません";
        break;
    case SQLITE_ERROR:
        japanese = "当選データの表の形が違います";
        break;
    default:
        break;
    }
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(japanese), QString::fromUtf8(sqlite().errmsg(db)));
}

bool isBusy(int resultCode) {
    const int primary = resultCode & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace

Statement::Statement(sqlite3 *db, const char *sql) {
    if (sqlite().prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
        sqlite().finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Statement::~Statement() {
    sqlite().finalize(m_stmt);
}

void Statement::bind(int index, int value) {
    sqlite().bind_int(m_stmt, index, value);
}

void Statement::bind(int index, const std::optional<int> &value) {
    if (value)
        sqlite().bind_int(m_stmt, index, *value);
    else
        sqlite().bind_null(m_stmt, index);
}

void Statement::bind64(int index, qint64 value) {
    sqlite().bind_int64(m_stmt, index, value);
}

void Statement::bind(int index, const QString &text) {
    if (text.isEmpty()) {
        sqlite().bind_null(m_stmt, index);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite().bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

int Statement::step() {
    return m_stmt ? sqlite().step(m_stmt) : SQLITE_MISUSE;
}

void Statement::reset() {
    sqlite().reset(m_stmt);
    sqlite().clear_bindings(m_stmt);
}

int Statement::columnCount() const {
    return sqlite().column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite().column_name(m_stmt, column));
}

bool Statement::isNull(int column) const {
    return sqlite().column_type(m_stmt, column) == SQLITE_NULL;
}

int Statement::integer(int column) const {
    return sqlite().column_int(m_stmt, column);
}

int Statement::type(int column) const {
    return sqlite().column_type(m_stmt, column);
}

qint64 Statement::integer64(int column) const {
    return sqlite().column_int64(m_stmt, column);
}

QString Statement::text(int column) const {
    const auto *data = reinterpret_cast<const char *>(sqlite().column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite().column_bytes(m_stmt, column)) : QString();
}

std::unique_ptr<DrawStore> DrawStore::open(const ConnectionString &connection, StoreError &error, OpenMode mode) {
    error = {};
    const QString &path = connection.databasePath;
    if (isVacant(path)) {
        if (mode == OpenMode::CreateIfMissing)
            return create(connection, error);
        if (QFileInfo::exists(path))
            error = makeError(StoreError::Kind::EmptyFile, path, QStringLiteral("ファイルが空です"));
        else
            error = makeError(StoreError::Kind::FileMissing, path, QStringLiteral("ファイルがありません"));
        return nullptr;
    }
    if (!QFileInfo(path).isFile()) {
        error = makeError(StoreError::Kind::NotADatabase, path, QStringLiteral("ファイルではありません"));
        return nullptr;
    }
    std::unique_ptr<DrawStore> store = connect(connection, path, SQLITE_OPEN_READWRITE, error);
    if (!store)
        return nullptr;
    // Only a file without our tables is written to here: one that has them may be read-only.
    const bool tablesInPlace = store->hasSchema(error);
    if (error)
        return nullptr;
    if (!tablesInPlace && mode == OpenMode::CreateIfMissing && !store->createSchema(error))
        return nullptr;
    Statement probe(store->m_db,
                    "SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = '全データ選択クエリ'");
    const int rc = probe.step();
    if (rc != SQLITE_ROW) {
        error = store->readFailure(rc);
        return nullptr;
    }
    if (probe.integer(0) != 1) {
        error = makeError(StoreError::Kind::ViewMissing, path, QStringLiteral("全データ選択クエリがありません"));
        return nullptr;
    }
    return store;
}

std::unique_ptr<DrawStore> DrawStore::connect(const ConnectionString &connection, const QString &fileName, int flags,
                                              StoreError &error) {
    const QString &path = connection.databasePath;
    QString missingLibrary;
    if (!SqlCipher::load(&missingLibrary)) {
        error = makeError(StoreError::Kind::Other, path, missingLibrary);
        return nullptr;
    }
    sqlite3 *db = nullptr;
    // A connection is only ever used by the thread that opened it: no locking on every call.
    if (sqlite().open_v2(QFile::encodeName(fileName).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        sqlite().close(db);
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
    if (sqlite().key(db, key.constData(), int(key.size())) != SQLITE_OK) {
        error = makeError(StoreError::Kind::WrongPassword, path, QStringLiteral("パスワードが違います"));
        return nullptr;
    }
    // Before the first read: another program committing holds the file for a moment, and that
    // is worth waiting for rather than calling the file broken.
    sqlite().busy_timeout(db, kBusyTimeoutMs);
    const int rc = sqlite().exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB) {
        // Our files are whole pages; anything else was never an encrypted database.
        const qint64 size = QFileInfo(fileName).size();
        if (size > 0 && size % 1024 == 0)
            error = makeError(StoreError::Kind::WrongPassword, path,
                              QStringLiteral("パスワードが違うか、データベースではありません"));
        else
            error = makeError(StoreError::Kind::NotADatabase, path, QStringLiteral("データベースではありません"));
        return nullptr;
    }
    if (rc != SQLITE_OK) {
        error = store->readFailure(rc);
        return nullptr;
    }
    return store;
}

bool DrawStore::isVacant(const QString &path) {
    return NewDatabaseFile::isVacant(path);
}

std::unique_ptr<DrawStore> DrawStore::create(const ConnectionString &connection, StoreError &error,
                                             const std::function<bool(DrawStore &)> &fill) {
    error = {};
    const QString &path = connection.databasePath;
    if (!isVacant(path)) {
        error = makeError(StoreError::Kind::Other, path, QStringLiteral("同じ名前のファイルがあります"));
        return nullptr;
    }
    NewDatabaseFile file(path);
    {
        std::unique_ptr<DrawStore> store =
            connect(connection, file.buildingPath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        // The rollback journal stays in memory: this file is thrown away if anything fails, and
        // a journal file beside it would only be one more thing to leave behind.
        const bool built =
            store && store->exec("PRAGMA journal_mode = MEMORY", error) && store->transaction(error, [&] {
                return store->exec(schema().constData(), error) && (!fill || fill(*store));
            });
        store.reset();
        if (!built || !file.finish()) {
            if (!error)
                error = makeError(StoreError::Kind::Other, path, QStringLiteral("ファイルを書き込めません"));
            return nullptr;
        }
    }
    if (QString cause; !file.moveIntoPlace(cause)) {
        error = makeError(StoreError::Kind::Other, path, cause);
        return nullptr;
    }
    return open(connection, error);
}

QByteArray DrawStore::keyFor(const QString &password) {
    return "x'" + QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex() + "'";
}

DrawStore::~DrawStore() {
    sqlite().close(m_db);
}

bool DrawStore::exec(const char *sql, StoreError &error) {
    const int rc = sqlite().exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        return true;
    error = failure(rc);
    return false;
}

StoreError DrawStore::writeError(const QString &detail) const {
    QString message = QStringLiteral("データベース %1 に書き込めませんでした").arg(m_path);
    if (!detail.isEmpty())
        message += QStringLiteral("（%1）").arg(detail);
    return {StoreError::Kind::WriteRefused, m_path, message + QStringLiteral("。")};
}

QString DrawStore::busyMessage() {
    return QStringLiteral("データベースがほかのプログラムで使用中です。しばらくしてからもう一度お試しください。");
}

StoreError DrawStore::failure(int resultCode, const QString &context) const {
    const int primary = resultCode & 0xff;
    if (isBusy(resultCode))
        return {StoreError::Kind::Busy, m_path, busyMessage()};
    // A file the system will not let us write opens read-only; without write access to its
    // folder the journal, which every write needs beside the file, cannot be made.
    const QString folder = QFileInfo(m_path).absolutePath();
    if (primary == SQLITE_READONLY || sqlite().db_readonly(m_db, "main") == 1)
        return writeError(QStringLiteral("ファイルが読み取り専用です"));
    if (primary == SQLITE_CANTOPEN && !QFileInfo(folder).isWritable())
        return writeError(QStringLiteral("フォルダー %1 に書き込めません").arg(folder));
    QString detail = sqliteText(m_db);
    if (!context.isEmpty())
        detail = context + QStringLiteral(": ") + detail;
    return writeError(detail);
}

StoreError DrawStore::viewMissing(const QString &cause) const {
    return makeError(StoreError::Kind::ViewMissing, m_path, cause.isEmpty() ? sqliteText(m_db) : cause);
}

StoreError DrawStore::readFailure(int resultCode) const {
    if (isBusy(resultCode))
        return failure(resultCode);
    return makeError(StoreError::Kind::Other, m_path, sqliteText(m_db));
}

bool DrawStore::hasSchema(StoreError &error) const {
    Statement st(m_db, "SELECT count(*) FROM sqlite_master WHERE (type = 'table' AND name = '当選データ') "
                       "OR (type = 'view' AND name = '全データ選択クエリ')");
    const int rc = st.step();
    if (rc != SQLITE_ROW) {
        error = readFailure(rc);
        return false;
    }
    return st.integer(0) == 2;
}

bool DrawStore::createSchema(StoreError &error) {
    return transaction(error, [&] { return exec(schema().constData(), error); });
}
