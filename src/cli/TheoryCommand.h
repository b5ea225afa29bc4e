#pragma once

#include <QString>
#include <QStringList>

// nanazubario-cli theory [--from N] [--to M] [--format json]
struct TheoryArguments {
    QString dbPath;
    QString from, to; // empty: the first or the last draw
    QString format;
};

// Exit status: 0, 1 (database) or 2 (arguments); messages go to stderr.
int runTheory(const QStringList &args, const TheoryArguments &a);
