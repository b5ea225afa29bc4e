#pragma once

#include "core/history/ConnectionString.h"
#include "core/history/DrawCsv.h"
#include "core/history/DrawRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class DrawStore;
struct StoreError;

// What importing a draw file would do to the stored draws, worked out before anything is
// written: the draws that are new, those stored already as they are in the file (skipped),
// those stored differently (the user keeps the stored ones or takes the file's, all alike) and
// every line of the file that cannot be read. A file with an unreadable line imports nothing.
class ImportPlan {
public:
    enum class Choice { KeepStored, TakeFile };
    // What an import did: draws added, replaced, and those of the file left as they were stored.
    struct Summary {
        int added = 0;
        int replaced = 0;
        int unchanged = 0;
    };
    struct Difference {
        DrawRecord stored;
        DrawRecord file;
    };

    // Larger files are refused unread: there are at most 32767 draws, and a history of them all
    // with its prize columns stays far below either limit.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    static constexpr qsizetype kMaxLines = 100000;

    // The plan for a file's bytes against the draws stored now (as DrawStore::readAll gives them).
    // With none stored every draw of the file is new, so a file can be judged before any
    // database is opened.
    static ImportPlan make(const QByteArray &bytes, const std::vector<DrawRecord> &stored);
    // The plan for the file at path against the database: the file is read whole first, and
    // a file that cannot be read gives a plan with fileProblem(). error is set only when the
    // database cannot be read.
    static ImportPlan forFile(const QString &path, const ConnectionString &connection, StoreError &error);

    const std::vector<DrawRecord> &added() const { return m_added; }
    int identicalCount() const { return m_identical; }
    const std::vector<Difference> &differences() const { return m_differences; }
    const std::vector<DrawCsvError> &unreadable() const { return m_unreadable; }
    const QString &fileProblem() const { return m_fileProblem; }
    bool canImport() const { return m_unreadable.empty() && m_fileProblem.isEmpty(); }

    // The draws that importing with that choice writes, ascending 回数.
    std::vector<DrawRecord> writes(Choice choice) const;

    // Writes them in one transaction: all or nothing. The draws it adds or replaces must still
    // be stored as they were when the plan was made; if another program changed them in the
    // meantime nothing is written and error says so.
    bool apply(DrawStore &store, Choice choice, Summary &summary, StoreError &error) const;
    // The same through a connection of its own.
    bool apply(const ConnectionString &connection, Choice choice, Summary &summary, StoreError &error) const;
    // Plans the file's draws again against the connection's database as it is now, and applies
    // the plan: the command line's import, which has no one to ask in between. A missing or
    // empty database file is made whole with the draws in it, or not at all (DrawStore::create);
    // an existing one without our tables gets them. A database is only written when something
    // changes, so a read-only one takes an import that changes nothing.
    bool importInto(const ConnectionString &connection, Choice choice, Summary &summary, StoreError &error);

    // The counts for the dialog, one line each.
    QStringList summaryLines() const;
    // Every unreadable line as one sentence, at most limit of them and then how many more.
    QStringList unreadableLines(int limit = 1000) const;

    // A draw for the side-by-side list: 2013/04/05　07 10 12 17 23 28 34（03 15）.
    static QString describe(const DrawRecord &record);
    // The fields in which the file's draw differs from the stored one: 抽せん日, ボーナス数字2.
    static QString differingFields(const Difference &difference);

private:
    // Sorts the file's draws into new, identical and differing.
    void compare(const std::vector<DrawRecord> &stored);
    // Checks that the draws written are stored as planned and writes them, inside a transaction
    // the caller has opened.
    bool writeWithin(DrawStore &store, const std::vector<DrawRecord> &records, StoreError &error) const;
    // The counts of an import that writes records.
    Summary summaryFor(const std::vector<DrawRecord> &records) const;

    std::vector<DrawRecord> m_file; // every draw of a readable file, in file order
    bool m_fileHasDates = false;
    std::vector<DrawRecord> m_added;
    std::vector<Difference> m_differences;
    std::vector<DrawCsvError> m_unreadable;
    QString m_fileProblem;
    int m_identical = 0;
};
