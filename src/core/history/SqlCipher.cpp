#include "core/history/SqlCipher.h"

#include <QLibrary>

#include <cstdint>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#define NANAZUBARIO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NANAZUBARIO_ADDRESS_SANITIZER 1
#endif
#endif

namespace {
struct Loaded {
    SqlCipher functions;
    QString failure;
    bool ok = false;
};
// Filled once by load(); read without a lock afterwards by whoever holds a connection, which
// its thread opened after load() returned.
Loaded library;
std::once_flag loadOnce;

void loadLibrary() {
    // Never unloaded: connections live until the program ends.
    QLibrary file(QStringLiteral("sqlcipher"), 0);
    QLibrary::LoadHints hints = QLibrary::PreventUnloadHint;
#if !defined(NANAZUBARIO_ADDRESS_SANITIZER)
    // The library and the crypto library under it resolve their own symbols first, instead of
    // searching every library of the program for each of them: most of the cost of loading them.
    // (The address sanitizer cannot intercept a library loaded so.)
    hints |= QLibrary::DeepBindHint;
#endif
    file.setLoadHints(hints);
    if (!file.load()) {
        library.failure =
            QStringLiteral("データベースのライブラリ libsqlcipher.so.0 を読み込めません: %1").arg(file.errorString());
        return;
    }
    QStringList missing;
#define NANAZUBARIO_SQLITE_RESOLVE(name)                                                                             \
    library.functions.name = reinterpret_cast<decltype(library.functions.name)>(file.resolve("sqlite3_" #name));    \
    if (!library.functions.name)                                                                                     \
        missing << QStringLiteral("sqlite3_" #name);
    NANAZUBARIO_SQLITE_FUNCTIONS(NANAZUBARIO_SQLITE_RESOLVE)
#undef NANAZUBARIO_SQLITE_RESOLVE
    if (!missing.isEmpty()) {
        library.failure = QStringLiteral("データベースのライブラリ libsqlcipher.so.0 に %1 がありません")
                              .arg(missing.join(QStringLiteral("、")));
        return;
    }
    // OpenSSL, loaded with it, would otherwise free all its tables at exit, for a process that
    // is ending anyway: the value is OpenSSL's OPENSSL_INIT_NO_ATEXIT.
    constexpr std::uint64_t kNoCleanupAtExit = 0x00080000;
    using InitCrypto = int (*)(std::uint64_t, const void *);
    if (const auto initCrypto = reinterpret_cast<InitCrypto>(file.resolve("OPENSSL_init_crypto")))
        initCrypto(kNoCleanupAtExit, nullptr);
    library.ok = true;
}
} // namespace

const SqlCipher *SqlCipher::load(QString *failure) {
    std::call_once(loadOnce, loadLibrary);
    if (!library.ok && failure)
        *failure = library.failure;
    return library.ok ? &library.functions : nullptr;
}

const SqlCipher &SqlCipher::loaded() {
    return library.functions;
}
