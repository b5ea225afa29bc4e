// How the rows the user has left reach the database, and what happens when they cannot.
#include "core/entry/DrawRowStore.h"

#include <QSet>

#include <algorithm>

using namespace DrawRowCheck;

DrawRowStore::Layout DrawRowStore::layout() const {
    Layout l;
    l.position.reserve(rowCount());
    for (int i = 0; i < rowCount(); ++i)
        l.position.insert(m_rows[i].id, i);
    l.duplicates = duplicateRows(m_rows);
    return l;
}

bool DrawRowStore::heldByRowOutside(int drawNumber, const std::vector<int> &group) const {
    for (int i = 0; i < rowCount(); ++i)
        if (m_rows[i].stored && m_rows[i].stored->drawNumber == drawNumber &&
            std::find(group.begin(), group.end(), i) == group.end())
            return true;
    return false;
}

// Writes the rows (valid and pending) in one transaction. Before anything is written, each
// draw a row was read as must still be in the database as it was read, and a draw number a
// row moves to must be free or held by a row of the same group; otherwise nothing is written.
DrawRowStore::Attempt DrawRowStore::write(const std::vector<int> &rows, const std::vector<bool> &duplicates) {
    Attempt attempt;
    // Only what passes the check is ever turned into a record: a faulty cell must not become
    // an empty field on its way to the database.
    for (int i : rows) {
        if (faultColumn(m_rows[i].texts, duplicates[i]) >= 0) {
            attempt.outcome = Outcome::Blocked;
            attempt.row = i;
            return attempt;
        }
    }
    std::vector<std::optional<DrawRecord>> records(rows.size()); // nullopt: the row was emptied
    QSet<int> heldByGroup;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const DrawRow &row = m_rows[rows[k]];
        if (row.stored)
            heldByGroup.insert(row.stored->drawNumber);
        if (!allEmpty(row.texts))
            records[k] = recordOf(row);
        // The window shows no prizes: a draw edited under its own number keeps them.
        if (records[k] && row.stored && records[k]->drawNumber == row.stored->drawNumber)
            records[k]->prizes = row.stored->prizes;
    }

    StoreError error;
    const bool written = m_store->transaction(error, [&] {
        StoreError readError;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const DrawRow &row = m_rows[rows[k]];
            if (!row.stored)
                continue;
            const auto current = m_store->read(row.stored->drawNumber, readError);
            if (readError) {
                error = readError;
                return false;
            }
            if (current == row.stored || (!current && !records[k]))
                continue;
            attempt.outcome = Outcome::Conflict;
            attempt.row = rows[k];
            attempt.conflict = current ? ConflictKind::Changed : ConflictKind::Deleted;
            attempt.found = current;
            return false;
        }
        for (std::size_t k = 0; k < rows.size(); ++k) {
            if (!records[k])
                continue;
            const int n = records[k]->drawNumber;
            const DrawRow &row = m_rows[rows[k]];
            if ((row.stored && row.stored->drawNumber == n) || heldByGroup.contains(n))
                continue;
            const auto current = m_store->read(n, readError);
            if (readError) {
                error = readError;
                return false;
            }
            if (!current)
                continue;
            if (heldByRowOutside(n, rows)) {
                attempt.outcome = Outcome::Blocked;
                attempt.row = rows[k];
                return false;
            }
            attempt.outcome = Outcome::Conflict;
            attempt.row = rows[k];
            attempt.conflict = ConflictKind::Added;
            attempt.found = current;
            return false;
        }
        std::vector<int> toRemove;
        std::vector<DrawRecord> toStore;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const DrawRow &row = m_rows[rows[k]];
            if (row.stored && (!records[k] || records[k]->drawNumber != row.stored->drawNumber))
                toRemove.push_back(row.stored->drawNumber);
            if (records[k])
                toStore.push_back(*records[k]);
        }
        return m_store->removeWithin(toRemove, error) && m_store->storeWithin(toStore, error);
    });

    if (written) {
        for (std::size_t k = 0; k < rows.size(); ++k)
            showRecord(rows[k], records[k]);
    } else if (attempt.outcome == Outcome::Written) {
        attempt.outcome = Outcome::Refused;
        attempt.error = error;
    }
    return attempt;
}

// The row shows the record (or nothing) and now stands for it in the database.
void DrawRowStore::showRecord(int row, const std::optional<DrawRecord> &record) {
    DrawRow &r = m_rows[row];
    r.stored = record;
    r.texts = record ? textsOf(*record) : DrawRow::Texts{};
    r.refused = false;
    m_listener.rowChanged(row);
}

StoreProblem DrawRowStore::resolveConflict(const Attempt &attempt) {
    const int row = attempt.row;
    const DrawRow &r = m_rows[row];
    const QString typed = typedText(r.texts);
    const QString name = rowName(row, r.texts[0]);
    QString message;
    switch (attempt.conflict) {
    case ConflictKind::Changed:
        message = QStringLiteral("%1のデータは、この画面に読み込んだ後に他のプログラムが変更したため、"
                                 "保存しませんでした。保存されている内容を表示します。")
                      .arg(name);
        showRecord(row, attempt.found);
        break;
    case ConflictKind::Deleted:
        message = QStringLiteral("%1のデータは、この画面に読み込んだ後に他のプログラムが削除したため、"
                                 "保存しませんでした。行を取り除きます。")
                      .arg(name);
        removeRow(row);
        break;
    case ConflictKind::Added:
        message = QStringLiteral("%1は保存しませんでした。回数 %2 のデータは、この画面に読み込んだ後に他のプログラムが"
                                 "追加しました。保存されている内容を表示します。")
                      .arg(name, QString::number(attempt.found->drawNumber));
        if (r.stored) {
            // The row goes back to its own draw; the draw that appeared is shown below it.
            showRecord(row, r.stored);
            insertRow(row + 1, makeRow(attempt.found));
        } else {
            showRecord(row, attempt.found);
        }
        break;
    }
    return {StoreProblem::Kind::Conflict, row, message + QLatin1Char('\n') + typed};
}

std::vector<StoreProblem> DrawRowStore::storeRowsLeft(int currentRow) {
    const quint64 current = currentRow >= 0 && currentRow < rowCount() ? m_rows[currentRow].id : 0;
    std::vector<quint64> ids;
    for (const DrawRow &r : m_rows)
        if (r.id != current && !r.refused && DrawRowCheck::isPending(r))
            ids.push_back(r.id);
    return storeRows(ids, false);
}

std::vector<StoreProblem> DrawRowStore::storeAll() {
    std::vector<quint64> ids;
    for (const DrawRow &r : m_rows)
        if (DrawRowCheck::isPending(r))
            ids.push_back(r.id);
    return storeRows(ids, true);
}

std::vector<StoreProblem> DrawRowStore::storeRows(const std::vector<quint64> &ids, bool reportUnstored) {
    std::vector<StoreProblem> problems;
    if (!m_store || ids.empty()) // nothing to write: the cursor moves on without a pass over the rows
        return problems;
    auto refused = [&](int row, const StoreError &error) {
        m_rows[row].refused = true;
        problems.push_back({StoreProblem::Kind::Refused, row,
                            QStringLiteral("%1を保存できませんでした。データベースは変更されていません。\n%2\n%3")
                                .arg(rowName(row, m_rows[row].texts[0]), error.message, typedText(m_rows[row].texts))});
    };

    // Writing a valid row moves no row and makes no other row a duplicate, so the layout is
    // taken once per pass and again only after a conflict has rearranged the rows.
    Layout rowsNow = layout();
    std::vector<quint64> remaining = ids;
    while (!remaining.empty()) {
        std::vector<quint64> waiting;
        bool progress = false;
        for (const quint64 id : remaining) {
            const int i = rowsNow.position.value(id, -1);
            if (i < 0 || !isPending(i))
                continue;
            if (faultColumn(m_rows[i].texts, rowsNow.duplicates[i]) >= 0) {
                if (reportUnstored)
                    problems.push_back({StoreProblem::Kind::Invalid, i,
                                        QStringLiteral("%1は入力に誤りがあるため保存できませんでした。\n%2")
                                            .arg(rowName(i, m_rows[i].texts[0]), typedText(m_rows[i].texts))});
                continue;
            }
            const Attempt attempt = write({i}, rowsNow.duplicates);
            switch (attempt.outcome) {
            case Outcome::Written:
                progress = true;
                break;
            case Outcome::Blocked:
                waiting.push_back(id);
                break;
            case Outcome::Conflict:
                problems.push_back(resolveConflict(attempt));
                rowsNow = layout();
                progress = true;
                break;
            case Outcome::Refused:
                refused(i, attempt.error);
                break;
            }
        }
        if (waiting.empty() || progress) {
            remaining = waiting;
            continue;
        }
        // Nothing moved: the waiting rows hold one another's draw numbers (two rows swapped
        // their numbers, say). Written together they need nobody else.
        std::vector<int> group;
        for (const quint64 id : waiting)
            if (const int i = rowsNow.position.value(id, -1); i >= 0 && isPending(i))
                group.push_back(i);
        if (group.empty())
            break;
        const Attempt attempt = write(group, rowsNow.duplicates);
        if (attempt.outcome == Outcome::Written)
            break;
        if (attempt.outcome == Outcome::Conflict) {
            const quint64 settled = m_rows[attempt.row].id;
            problems.push_back(resolveConflict(attempt));
            rowsNow = layout();
            std::erase(waiting, settled);
            remaining = waiting;
            continue;
        }
        if (attempt.outcome == Outcome::Blocked) {
            // That row waits for a row outside the group, which could not be written: it
            // stays as typed, and the others are tried again without it.
            const int i = attempt.row;
            if (reportUnstored)
                problems.push_back(
                    {StoreProblem::Kind::Blocked, i,
                     QStringLiteral("%1は、その回数がまだ保存できていない別の行のデータに使われているため、"
                                    "保存できませんでした。\n%2")
                         .arg(rowName(i, m_rows[i].texts[0]), typedText(m_rows[i].texts))});
            std::erase(waiting, m_rows[i].id);
            remaining = waiting;
            continue;
        }
        for (const quint64 id : waiting)
            refused(rowsNow.position.value(id), attempt.error);
        break;
    }
    return problems;
}
