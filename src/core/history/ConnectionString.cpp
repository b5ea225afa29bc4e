#include "core/history/ConnectionString.h"

#include "core/settings/AppPaths.h"

namespace {
// The password is derived at run time, so it does not stand in the binary as one string.
constexpr quint64 kKeySeed = 2718281828ULL;
constexpr quint64 kKeyFactor = 31415ULL;

QString databasePassword() { return QString::number(kKeySeed * kKeyFactor + 1729ULL); }
} // namespace

ConnectionString ConnectionString::forDatabase(const QString &path) { return {path, databasePassword()}; }

QString ConnectionString::defaultDatabasePath() { return AppPaths().database(); }
