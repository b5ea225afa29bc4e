#pragma once

#include "core/history/DrawHistory.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What every command prints: results on stdout, messages on stderr.
namespace CliOutput {
// Prints message and returns status, for `return fail(2, ...)`.
int fail(int status, const QString &message);
// Something the user should know that does not stop the command; nothing when empty.
void warn(const QString &message);
void writeOut(const QByteArray &bytes);
// The stored history; on failure the reason is printed and nullopt returned. Rows left out of
// the history are reported and do not stop the command.
std::optional<DrawHistory> loadHistory(const QString &dbPath);
// --from and --to of backtest and theory: each, when given, a draw number into from / to; on a
// bad value or from after to the reason is printed and false returned, from and to untouched.
bool readFromTo(const QString &fromText, const QString &toText, int &from, int &to);
} // namespace CliOutput
