#include "cli/CliOutput.h"

#include "core/history/ConnectionString.h"
#include "core/history/DrawStore.h"

#include <QTextStream>

#include <cstdio>
#include <tuple>

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

bool readFromTo(const QString &fromText, const QString &toText, int &from, int &to) {
    int first = from, last = to;
    for (const auto &[text, end, name] : {std::tuple{fromText, &first, "--from"}, std::tuple{toText, &last, "--to"}}) {
        if (text.isEmpty())
            continue;
        const std::optional<int> n = DrawRules::parseDrawNumber(text);
        if (!n) {
            fail(2, QStringLiteral("%1 には 1 から %2 までの回数を指定してください: %3")
                        .arg(QLatin1String(name), QString::number(DrawRules::kMaxDrawNumber), text));
            return false;
        }
        *end = *n;
    }
    if (first > last) {
        fail(2, QStringLiteral("--from の回数が --to の回数より大きくなっています。"));
        return false;
    }
    from = first;
    to = last;
    return true;
}
} // namespace CliOutput
