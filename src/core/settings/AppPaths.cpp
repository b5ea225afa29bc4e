#include "core/settings/AppPaths.h"

#include "core/help/HelpIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kDatabaseName = QStringLiteral("NanaZubario.mdb");
const QString kSettingsName = QStringLiteral("ナナズバリオ.ini");
const QString kFolderName = QStringLiteral("nanazubario");
} // namespace

AppPaths::Folders AppPaths::thisProgram() {
    // The generic locations, not the per-application ones: those follow the application name,
    // which the window program sets to its Japanese title.
    return {QCoreApplication::applicationDirPath(), QDir::currentPath(),
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(kFolderName),
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(kFolderName)};
}

AppPaths::AppPaths(Folders folders) : m_folders(std::move(folders)) {
    const QDir shared(QDir(m_folders.program).filePath(QStringLiteral("../share/") + kFolderName));
    if (QFileInfo(shared.path()).isDir())
        m_sharedData = shared.absolutePath();
}

QString AppPaths::shippedDatabase() const {
    return QDir(installed() ? m_sharedData : m_folders.program).filePath(kDatabaseName);
}

QString AppPaths::database() const {
    return installed() ? QDir(m_folders.userData).filePath(kDatabaseName) : shippedDatabase();
}

QString AppPaths::shippedHistory() const {
    return installed() ? QDir(m_sharedData).filePath(QStringLiteral("loto7-draws.csv")) : QString();
}

QString AppPaths::settings() const {
    return QDir(installed() ? m_folders.userConfig : m_folders.current).filePath(kSettingsName);
}

QString AppPaths::help() const {
    if (installed())
        return QDir(m_sharedData).filePath(QString::fromUtf8(HelpIndex::kFileName));
    return HelpIndex::locate(m_folders.current, m_folders.program);
}

QString AppPaths::prepare(const QString &databasePath, const QString &settingsPath) const {
    if (!installed())
        return {};
    if (settingsPath == settings() && !QDir().mkpath(m_folders.userConfig))
        return QStringLiteral("設定フォルダ %1 を作れません。").arg(m_folders.userConfig);
    if (databasePath != database() || QFileInfo::exists(databasePath))
        return {};

    if (!QDir().mkpath(m_folders.userData))
        return QStringLiteral("データフォルダ %1 を作れません。").arg(m_folders.userData);
    // QFile::copy writes a temporary file and renames it, so a broken first start leaves no
    // half-copied database behind to be mistaken for the user's own.
    QFile shipped(shippedDatabase());
    if (!shipped.copy(databasePath))
        return QStringLiteral("%1 を %2 にコピーできません（%3）。")
            .arg(shippedDatabase(), databasePath, shipped.errorString());
    // The copy keeps the shipped file's read-only mode; the user's draws are the user's alone.
    QFile::setPermissions(databasePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}
