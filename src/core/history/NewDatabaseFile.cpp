#include "core/history/NewDatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The C library speaks English: what went wrong is said in Japanese first, its own words follow
// for whoever looks further.
QString systemErrorText(int code) {
    const char *japanese = "ファイルの操作に失敗しました";
    switch (code) {
    case EEXIST:
        japanese = "同じ名前のファイルがあります";
        break;
    case EACCES:
    case EPERM:
        japanese = "アクセスが許可されていません";
        break;
    case ENOSPC:
        japanese = "ディスクがいっぱいです";
        break;
    case EROFS:
        japanese = "読み取り専用の場所です";
        break;
    case ENOENT:
        japanese = "フォルダーがありません";
        break;
    default:
        break;
    }
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(japanese), QString::fromLocal8Bit(strerror(code)));
}

void removeAbandonedBuilds(const QString &path) {
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QStringLiteral(".new-");
    QDir dir = target.absoluteDir();
    for (const QString &name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            dir.remove(name);
    }
}

// Flushes a file's contents to the disk; a rename is only as safe as the data it points to.
bool syncFile(const QString &fileName) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// The rename itself; errno says why not. The folder is flushed too, so the new name survives a
// crash.
bool renameToPath(const QString &building, const QString &path) {
    const QByteArray from = QFile::encodeName(building);
    const QByteArray to = QFile::encodeName(path);
    bool moved;
    if (QFileInfo::exists(path)) {
        if (QFileInfo(path).size() != 0) {
            errno = EEXIST;
            return false;
        }
        moved = ::rename(from.constData(), to.constData()) == 0;
    } else {
        moved = renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS)) // a file system without it
            moved = link(from.constData(), to.constData()) == 0 && unlink(from.constData()) == 0;
    }
    if (!moved)
        return false;
    const int dirFd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}
} // namespace

NewDatabaseFile::NewDatabaseFile(const QString &path)
    : m_path(path), m_building(path + QStringLiteral(".new-%1").arg(getpid())) {
    removeAbandonedBuilds(path);
    QFile::remove(m_building);
}

NewDatabaseFile::~NewDatabaseFile() {
    if (!m_moved)
        QFile::remove(m_building);
}

bool NewDatabaseFile::isVacant(const QString &path) {
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() == 0);
}

bool NewDatabaseFile::finish() {
    // The user's draws are theirs alone, as the per-user copy of the shipped history is.
    return ::chmod(QFile::encodeName(m_building).constData(), 0600) == 0 && syncFile(m_building);
}

bool NewDatabaseFile::moveIntoPlace(QString &cause) {
    m_moved = renameToPath(m_building, m_path);
    if (m_moved)
        return true;
    const QString reason = systemErrorText(errno);
    cause = QFileInfo::exists(m_path) && !isVacant(m_path) ? QStringLiteral("同じ名前のファイルが先に作られました")
                                                           : QStringLiteral("ファイルを作れません（%1）").arg(reason);
    return false;
}
