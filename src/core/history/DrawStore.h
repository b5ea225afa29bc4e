#pragma once

#include "core/history/ConnectionString.h"
#include "core/history/DrawRecord.h"

#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Why the database could not be used. message is one Japanese line that names the file.
struct StoreError {
    enum class Kind {
        None,
        FileMissing,
        EmptyFile,
        WrongPassword,
        NotADatabase,
        ViewMissing,
        Busy,
        WriteRefused,
        Other
    };
    Kind kind = Kind::None;
    QString file;
    QString message;
    explicit operator bool() const { return kind != Kind::None; }
};

// A prepared statement; finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool valid() const { return m_stmt != nullptr; }
    void bind(int index, int value);
    void bind(int index, const std::optional<int> &value);
    void bind(int index, const QString &text); // an empty text binds NULL
    void bind64(int index, qint64 value);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    void reset();
    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    int integer(int column) const;
    // The column's storage class (SQLITE_INTEGER, SQLITE_NULL, ...) and its 64-bit value.
    int type(int column) const;
    qint64 integer64(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// The draw database: a small RAII layer over SQLCipher. Every write runs in a transaction;
// a write the database refuses changes nothing and comes back as a StoreError.
class DrawStore {
public:
    enum class OpenMode { ExistingOnly, CreateIfMissing };

    // How long a statement waits for another program's lock before it gives up.
    static constexpr int kBusyTimeoutMs = 5000;

    // nullptr and error set when the file cannot be opened with the password. An existing file
    // whose tables are in place is only read; CreateIfMissing makes a missing or empty file as
    // create() does.
    static std::unique_ptr<DrawStore> open(const ConnectionString &connection, StoreError &error,
                                           OpenMode mode = OpenMode::ExistingOnly);
    // Makes a new database at the connection's path, whole or not at all: the tables and
    // whatever fill writes are made in one transaction in a file beside the path, which is
    // renamed to the path only when all of it is on disk. Someone who stops the program
    // midway finds no file, never a partial one. The path must be missing or an empty file.
    static std::unique_ptr<DrawStore> create(const ConnectionString &connection, StoreError &error,
                                             const std::function<bool(DrawStore &)> &fill = {});
    // Whether the path holds nothing yet: no file, or a file of zero bytes.
    static bool isVacant(const QString &path);
    ~DrawStore();

    const QString &path() const { return m_path; }

    // Rows that the draw table forbids (回数 outside 1..32767, a number other than 1..37),
    // written by another tool, are left out of every read; skipped, when given, receives one
    // Japanese sentence saying how many and which, or stays empty.
    // The snapshot: the history query's ten columns, read by name, ascending 回数.
    std::vector<DrawRecord> readHistory(StoreError &error, QString *skipped = nullptr) const;
    // Every row of the draw view, ascending 回数, with 抽せん日 from the table.
    std::vector<DrawRecord> readAll(StoreError &error, QString *skipped = nullptr) const;
    std::optional<DrawRecord> read(int drawNumber, StoreError &error) const;
    // 当せん金 by 回数, of the stored draws that have them; empty when none was ever stored.
    std::map<int, DrawPrizes> readPrizes(StoreError &error) const;

    // All of them or none: inserts new draw numbers, replaces existing ones, 当せん金 included
    // (a record without them leaves its draw without them).
    bool store(const std::vector<DrawRecord> &records, StoreError &error);
    // Removes draws by number, all or none.
    bool remove(const std::vector<int> &drawNumbers, StoreError &error);
    // The same two writes for a caller that has opened its own transaction().
    bool storeWithin(const std::vector<DrawRecord> &records, StoreError &error);
    bool removeWithin(const std::vector<int> &drawNumbers, StoreError &error);

    // Runs work inside one transaction; commits when it returns true, rolls back otherwise.
    template <typename F> bool transaction(StoreError &error, F work) {
        if (!exec("BEGIN IMMEDIATE", error))
            return false;
        if (work()) {
            if (exec("COMMIT", error))
                return true;
        }
        StoreError ignored;
        exec("ROLLBACK", ignored);
        if (!error)
            error = writeError(QString());
        return false;
    }

    bool exec(const char *sql, StoreError &error);
    StoreError writeError(const QString &detail) const;
    // The error for a failed statement: a lock that did not clear, a file that cannot be
    // written, or the database's own words.
    StoreError failure(int resultCode, const QString &context = QString()) const;

    // What a lock held by another program that does not clear in time is reported as.
    static QString busyMessage();

    // The key handed to SQLCipher for a password: a raw key derived from it.
    static QByteArray keyFor(const QString &password);

    // The query every reader of the snapshot uses.
    static const char *historyQuery();

private:
    DrawStore(sqlite3 *db, QString path) : m_db(db), m_path(std::move(path)) {}
    // Opens the file at fileName, keys it and reads it once; errors name path.
    static std::unique_ptr<DrawStore> connect(const ConnectionString &connection, const QString &fileName, int flags,
                                              StoreError &error);
    // failure() for a statement that only reads.
    StoreError readFailure(int resultCode) const;
    // The history query or the view it reads will not run: cause, or else the database's words.
    StoreError viewMissing(const QString &cause = QString()) const;
    bool hasSchema(StoreError &error) const;
    bool createSchema(StoreError &error);
    // The prize table is made only when the first prizes are stored, so that files made before
    // it, and read-only ones, are used as they are.
    bool hasPrizeTable(StoreError &error) const;
    bool attachPrizes(std::vector<DrawRecord> &records, StoreError &error) const;
    bool storePrizesWithin(const std::vector<DrawRecord> &records, StoreError &error);
    bool removePrizesWithin(const std::vector<int> &drawNumbers, StoreError &error);
    // Runs a statement with one parameter, 回数, once for each of drawNumbers.
    bool deleteEach(const char *sql, const std::vector<int> &drawNumbers, StoreError &error);

    sqlite3 *m_db;
    QString m_path;
};
