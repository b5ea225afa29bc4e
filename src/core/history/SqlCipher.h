#pragma once

#include <sqlcipher/sqlite3.h>

#include <QString>

// The functions of the encrypted SQLite library the draw store calls.
#define NANAZUBARIO_SQLITE_FUNCTIONS(X)                                                                              \
    X(open_v2) X(close) X(key) X(busy_timeout) X(exec) X(errmsg) X(extended_errcode) X(db_readonly) X(prepare_v2)    \
        X(finalize) X(step) X(reset) X(clear_bindings) X(bind_int) X(bind_int64) X(bind_null) X(bind_text)           \
            X(column_count) X(column_name) X(column_type) X(column_int) X(column_int64) X(column_text)               \
                X(column_bytes)

// The encrypted SQLite library, loaded when the first database is opened rather than with the
// program. The program opens its database on a second thread, so this library and the crypto
// library under it are mapped and relocated there while the first window is being built.
struct SqlCipher {
#define NANAZUBARIO_SQLITE_MEMBER(name) decltype(&::sqlite3_##name) name = nullptr;
    NANAZUBARIO_SQLITE_FUNCTIONS(NANAZUBARIO_SQLITE_MEMBER)
#undef NANAZUBARIO_SQLITE_MEMBER

    // The library, loaded once for the whole program; nullptr, with the reason in Japanese, when
    // it is missing or lacks a function.
    static const SqlCipher *load(QString *failure);
    // The library once load() has succeeded: whoever holds a connection has loaded it.
    static const SqlCipher &loaded();
};
