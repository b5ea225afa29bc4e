#pragma once

#include <QString>

// Where the program's files live. Run from its build folder, everything sits where it always
// did: the database beside the executable, the settings file in the current directory, the help
// file in the current directory or beside the executable. Run installed (its data in
// ../share/nanazubario beside its bin/ folder), each user has an own database in the user's data
// folder, copied from the shipped one at the first start, and an own settings file in the
// user's configuration folder; the help file is read from the shared data folder.
class AppPaths {
public:
    struct Folders {
        QString program;    // the folder of the executable
        QString current;    // the current directory
        QString userData;   // the user's data folder for this program
        QString userConfig; // the user's configuration folder for this program
    };
    // The folders of the running program and its user (~/.local/share/nanazubario and
    // ~/.config/nanazubario unless the XDG variables say otherwise).
    static Folders thisProgram();

    explicit AppPaths(Folders folders = thisProgram());

    bool installed() const { return !m_sharedData.isEmpty(); }
    // The database that comes with the program; the same file as database() in a build folder.
    QString shippedDatabase() const;
    QString database() const;
    // Installed, the draw history of the package as a draw file, for the user to import draws
    // that a newer package brought; empty in a build folder.
    QString shippedHistory() const;
    QString settings() const;
    QString help() const;

    // Readies the files a run uses (the defaults above unless --db or --settings named others).
    // Installed, for the default files: the settings folder is made and, when the user has no
    // database yet, the shipped one is copied. Never writes the shipped database nor an
    // existing copy, so a newer package leaves the user's draws alone. Empty on success,
    // otherwise what went wrong in Japanese.
    QString prepare(const QString &databasePath, const QString &settingsPath) const;

private:
    Folders m_folders;
    QString m_sharedData; // share/nanazubario of an installed program, empty in a build folder
};
