#include "core/history/DrawStore.h"

#include "core/history/DrawRules.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

namespace {
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

const char *const kReadAll =
    "SELECT v.回数, v.第1数字, v.第2数字, v.第3数字, v.第4数字, v.第5数字, v.第6数字, v.第7数字, "
    "v.ボーナス数字1, v.ボーナス数字2, t.抽せん日 FROM 全データ選択クエリ v "
    "LEFT JOIN 当選データ t ON t.回数 = v.回数 ORDER BY v.回数";

StoreError makeError(StoreError::Kind kind, const QString &file, const QString &cause) {
    return {kind, file, QStringLiteral("データベース %1 を開けません（%2）。").arg(file, cause)};
}

// SQLite and the C library speak English: what went wrong is said in Japanese first, their own
// words follow for whoever looks further.
QString sqliteText(sqlite3 *db) {
    const char *japanese = "データベースの処理に失敗しました";
    switch (sqlite3_extended_errcode(db) & 0xff) {
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
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(japanese), QString::fromUtf8(sqlite3_errmsg(db)));
}

QString systemErrorText(int code) {
    const char *japanese = "ファイルの操作に失敗しました";
    switch (code) {
    case EEXIST:
        japanese = "同じ名前のファイルがあります";
        break;
    case EACCES:
    case EPERM:
        japanese = "アクセスが許可されていません";
        break;
    case ENOSPC:
        japanese = "ディスクがいっぱいです";
        break;
    case EROFS:
        japanese = "読み取り専用の場所です";
        break;
    case ENOENT:
        japanese = "フォルダーがありません";
        break;
    default:
        break;
    }
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(japanese), QString::fromLocal8Bit(strerror(code)));
}

bool isBusy(int resultCode) {
    const int primary = resultCode & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// A new database is built under this name beside its path; the process id tells an abandoned
// build (its process is gone) from one that is still running.
QString buildingName(const QString &path) {
    return path + QStringLiteral(".new-%1").arg(getpid());
}

void removeAbandonedBuilds(const QString &path) {
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QStringLiteral(".new-");
    QDir dir = target.absoluteDir();
    for (const QString &name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            dir.remove(name);
    }
}

// Flushes a file's contents to the disk; a rename is only as safe as the data it points to.
bool syncFile(const QString &fileName) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// Renames a finished build to path: over an empty file, but never over one that has appeared
// with contents in the meantime. The folder is flushed too, so the new name survives a crash.
bool moveIntoPlace(const QString &building, const QString &path) {
    const QByteArray from = QFile::encodeName(building);
    const QByteArray to = QFile::encodeName(path);
    bool moved;
    if (QFileInfo::exists(path)) {
        if (QFileInfo(path).size() != 0) {
            errno = EEXIST;
            return false;
        }
        moved = rename(from.constData(), to.constData()) == 0;
    } else {
        moved = renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS)) // a file system without it
            moved = link(from.constData(), to.constData()) == 0 && unlink(from.constData()) == 0;
    }
    if (!moved)
        return false;
    const int dirFd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

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

int Statement::type(int column) const {
    return sqlite3_column_type(m_stmt, column);
}

qint64 Statement::integer64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

QString Statement::text(int column) const {
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
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
    sqlite3 *db = nullptr;
    // A connection is only ever used by the thread that opened it: no locking on every call.
    if (sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
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
    // Before the first read: another program committing holds the file for a moment, and that
    // is worth waiting for rather than calling the file broken.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
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
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() == 0);
}

std::unique_ptr<DrawStore> DrawStore::create(const ConnectionString &connection, StoreError &error,
                                             const std::function<bool(DrawStore &)> &fill) {
    error = {};
    const QString &path = connection.databasePath;
    if (!isVacant(path)) {
        error = makeError(StoreError::Kind::Other, path, QStringLiteral("同じ名前のファイルがあります"));
        return nullptr;
    }
    const QString building = buildingName(path);
    removeAbandonedBuilds(path);
    QFile::remove(building);
    {
        std::unique_ptr<DrawStore> store =
            connect(connection, building, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        // The rollback journal stays in memory: this file is thrown away if anything fails, and
        // a journal file beside it would only be one more thing to leave behind.
        const bool built =
            store && store->exec("PRAGMA journal_mode = MEMORY", error) && store->transaction(error, [&] {
                return store->exec(schema().constData(), error) && (!fill || fill(*store));
            });
        store.reset();
        // The user's draws are theirs alone, as the per-user copy of the shipped history is.
        const bool private_ = built && ::chmod(QFile::encodeName(building).constData(), 0600) == 0;
        if (!private_ || !syncFile(building)) {
            if (!error)
                error = makeError(StoreError::Kind::Other, path, QStringLiteral("ファイルを書き込めません"));
            QFile::remove(building);
            return nullptr;
        }
    }
    if (!moveIntoPlace(building, path)) {
        const QString cause = systemErrorText(errno);
        QFile::remove(building);
        error = QFileInfo::exists(path) && !isVacant(path)
                    ? makeError(StoreError::Kind::Other, path, QStringLiteral("同じ名前のファイルが先に作られました"))
                    : makeError(StoreError::Kind::Other, path, QStringLiteral("ファイルを作れません（%1）").arg(cause));
        return nullptr;
    }
    return open(connection, error);
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
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
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
    if (primary == SQLITE_READONLY || sqlite3_db_readonly(m_db, "main") == 1)
        return writeError(QStringLiteral("ファイルが読み取り専用です"));
    if (primary == SQLITE_CANTOPEN && !QFileInfo(folder).isWritable())
        return writeError(QStringLiteral("フォルダー %1 に書き込めません").arg(folder));
    QString detail = sqliteText(m_db);
    if (!context.isEmpty())
        detail = context + QStringLiteral(": ") + detail;
    return writeError(detail);
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

std::vector<DrawRecord> DrawStore::readHistory(StoreError &error, QString *skipped) const {
    error = {};
    std::vector<DrawRecord> records;
    Statement st(m_db, historyQuery());
    if (!st.valid()) {
        error = makeError(StoreError::Kind::ViewMissing, m_path, sqliteText(m_db));
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
        error = makeError(StoreError::Kind::ViewMissing, m_path, sqliteText(m_db));
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
    return records;
}

std::optional<DrawRecord> DrawStore::read(int drawNumber, StoreError &error) const {
    error = {};
    Statement st(m_db, "SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, 第7数字, "
                       "ボーナス数字1, ボーナス数字2, 抽せん日 FROM 当選データ WHERE 回数 = ?");
    st.bind(1, drawNumber);
    const int rc = st.step();
    if (rc == SQLITE_ROW)
        return allowedRecord(st, kPlainColumns, 10);
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
    return true;
}

bool DrawStore::removeWithin(const std::vector<int> &drawNumbers, StoreError &error) {
    Statement st(m_db, "DELETE FROM 当選データ WHERE 回数 = ?");
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
