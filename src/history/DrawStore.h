#pragma once

#include "history/ConnectionString.h"
#include "history/DrawRecord.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Why the database could not be used. message is one Japanese line that names the file.
struct StoreError {
    enum class Kind { None, FileMissing, WrongPassword, NotADatabase, ViewMissing, WriteRefused, Other };
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
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    void reset();
    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    int integer(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// The draw database: a small RAII layer over SQLCipher. Every write runs in a transaction;
// a write the database refuses changes nothing and comes back as a StoreError.
class DrawStore {
public:
    enum class OpenMode { ExistingOnly, CreateIfMissing };

    // nullptr and error set when the file cannot be opened with the password.
    static std::unique_ptr<DrawStore> open(const ConnectionString &connection, StoreError &error,
                                           OpenMode mode = OpenMode::ExistingOnly);
    ~DrawStore();

    const QString &path() const { return m_path; }

    // The snapshot: the history query's ten columns, read by name, ascending 回数.
    std::vector<DrawRecord> readHistory(StoreError &error) const;
    // Every row of the draw view, ascending 回数, with 抽せん日 from the table.
    std::vector<DrawRecord> readAll(StoreError &error) const;
    std::optional<DrawRecord> read(int drawNumber, StoreError &error) const;

    // All of them or none: inserts new draw numbers, replaces existing ones.
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

    // The key handed to SQLCipher for a password: a raw key derived from it.
    static QByteArray keyFor(const QString &password);

    // The query every reader of the snapshot uses.
    static const char *historyQuery();

private:
    DrawStore(sqlite3 *db, QString path) : m_db(db), m_path(std::move(path)) {}
    bool createSchema(StoreError &error);

    sqlite3 *m_db;
    QString m_path;
};
