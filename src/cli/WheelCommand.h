#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>

// nanazubario-cli wheel --pool "1 2 … 14" --guarantee t/m [--seconds S] [--full [--max-cost YEN]]
//                       [--format json|csv]
namespace WheelCommand {

// The options only this command reads; main adds them to its parser.
QList<QCommandLineOption> options();

// Exit status: 0, 1 (the wheel failed its check) or 2 (arguments); messages go to stderr.
int run(const QStringList &args, const QCommandLineParser &parser);

} // namespace WheelCommand
