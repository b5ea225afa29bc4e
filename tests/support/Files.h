#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small file and process helpers the tests share.

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// One run of the built nanazubario-cli: status -1 when it did not end normally.
struct CliRun {
    int status = -1;
    QByteArray out;
    QString err;
};
CliRun runCli(const QStringList &arguments);
