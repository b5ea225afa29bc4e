#include "Files.h"

#include <QFile>
#include <QProcess>

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

CliRun runCli(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(TEST_BINARY_DIR "/nanazubario-cli"), arguments);
    CliRun run;
    if (!p.waitForFinished(120000))
        return run;
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
