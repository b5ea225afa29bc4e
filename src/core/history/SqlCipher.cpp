#include "core/history/SqlCipher.h"

#include <QLibrary>

#include <mutex>

namespace {
struct Loaded {
    SqlCipher functions;
    QString failure;
    bool ok = false;
};

Loaded &library() {
    static Loaded loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        // Never unloaded: connections live until the program ends.
        QLibrary file(QStringLiteral("sqlcipher"), 0);
        file.setLoadHints(QLibrary::PreventUnloadHint);
        if (!file.load()) {
            loaded.failure = QStringLiteral("データベースのライブラリ libsqlcipher.so.0 を読み込めません: %1")
                                 .arg(file.errorString());
            return;
        }
        QStringList missing;
#define NANAZUBARIO_SQLITE_RESOLVE(name)                                                                             \
    loaded.functions.name = reinterpret_cast<decltype(loaded.functions.name)>(file.resolve("sqlite3_" #name));      \
    if (!loaded.functions.name)                                                                                      \
        missing << QStringLiteral("sqlite3_" #name);
        NANAZUBARIO_SQLITE_FUNCTIONS(NANAZUBARIO_SQLITE_RESOLVE)
#undef NANAZUBARIO_SQLITE_RESOLVE
        if (!missing.isEmpty()) {
            loaded.failure = QStringLiteral("データベースのライブラリ libsqlcipher.so.0 に %1 がありません")
                                 .arg(missing.join(QStringLiteral("、")));
            return;
        }
        loaded.ok = true;
    });
    return loaded;
}
} // namespace

const SqlCipher *SqlCipher::load(QString *failure) {
    const Loaded &loaded = library();
    if (!loaded.ok && failure)
        *failure = loaded.failure;
    return loaded.ok ? &loaded.functions : nullptr;
}

const SqlCipher &SqlCipher::loaded() {
    return library().functions;
}
