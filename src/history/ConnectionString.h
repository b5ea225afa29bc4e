#pragma once

#include <QString>

// Where the draw database is and how to unlock it. Built once at start-up and reused by the
// data entry window for its own connection. The password never leaves this value in text
// meant for people: describe() omits it.
struct ConnectionString {
    QString databasePath;
    QString password;

    // The shipped password for the database at path.
    static ConnectionString forDatabase(const QString &path);
    // NanaZubario.mdb beside the executable in a build folder, the user's own copy when installed.
    static QString defaultDatabasePath();

    QString describe() const { return databasePath; }
};
