#pragma once

#include <QString>

// A new database file, whole or not at all. It is built under a name of its own beside its path
// and renamed to the path only once all of it is on disk: someone who stops the program midway
// finds no file there, never a partial one. The process id in the building name tells an
// abandoned build (its process is gone) from one that is still running.
class NewDatabaseFile {
public:
    // Clears the builds for path whose process is gone, and an earlier one of this process.
    explicit NewDatabaseFile(const QString &path);
    // A build that did not reach its path is removed.
    ~NewDatabaseFile();
    NewDatabaseFile(const NewDatabaseFile &) = delete;
    NewDatabaseFile &operator=(const NewDatabaseFile &) = delete;

    // Whether a path holds nothing yet: no file, or a file of zero bytes.
    static bool isVacant(const QString &path);

    // Where the file is built until it is moved into place.
    const QString &buildingPath() const { return m_building; }
    // Makes the finished build readable and writable by its owner alone and flushes it to disk.
    bool finish();
    // Renames the build to the path: over an empty file, but never over one that has appeared
    // with contents in the meantime. On failure cause says why, in Japanese.
    bool moveIntoPlace(QString &cause);

private:
    QString m_path;
    QString m_building;
    bool m_moved = false;
};
