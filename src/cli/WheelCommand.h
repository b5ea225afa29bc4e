#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>

struct CatalogEntry;

// nanazubario-cli wheel --pool "1 2 … 14" --guarantee t/m [--seconds S] [--full [--max-cost YEN]]
//                       [--format json|csv]
namespace WheelCommand {

// The options only this command reads; main adds them to its parser.
QList<QCommandLineOption> options();

// Exit status: 0, 1 (the wheel failed its check) or 2 (arguments); messages go to stderr.
int run(const QStringList &args, const QCommandLineParser &parser);

// nanazubario-cli export 組合せ購入 with the same options: the window's grids after that build.
int exportWindow(const CatalogEntry &entry, const QCommandLineParser &parser);

} // namespace WheelCommand
