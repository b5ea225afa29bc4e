#include "cli/CliOutput.h"

#include "core/history/ConnectionString.h"
#include "core/history/DrawStore.h"

#include <QTextStream>

#include <cstdio>

namespace CliOutput {
int fail(int status, const QString &message) {
    QTextStream(stderr) << message << Qt::endl;
    return status;
}

void warn(const QString &message) {
    if (!message.isEmpty())
        QTextStream(stderr) << message << Qt::endl;
}

void writeOut(const QByteArray &bytes) {
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

std::optional<DrawHistory> loadHistory(const QString &dbPath) {
    StoreError error;
    QString skipped;
    std::optional<DrawHistory> history = loadDrawHistory(ConnectionString::forDatabase(dbPath), error, &skipped);
    if (!history) {
        fail(1, error.message);
        return std::nullopt;
    }
    warn(skipped);
    return history;
}
} // namespace CliOutput
