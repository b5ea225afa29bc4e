#pragma once

#include <QString>

// Where the draw database is and how to unlock it. Built once at start-up and reused by the
// data entry window for its own connection. Messages for people name the path, never the
// password.
struct ConnectionString {
    QString databasePath;
    QString password;

    // The shipped password for the database at path.
    static ConnectionString forDatabase(const QString &path);
    // NanaZubario.mdb beside the executable in a build folder, the user's own copy when installed.
    static QString defaultDatabasePath();
};
