#include "core/entry/DrawRowStore.h"

#include <algorithm>

using namespace DrawRowCheck;

DrawRowStore::DrawRowStore(DrawRowListener &listener) : m_listener(listener) {}

DrawRowStore::~DrawRowStore() = default;

bool DrawRowStore::open(const ConnectionString &connection, StoreError &error) {
    auto store = DrawStore::open(connection, error);
    if (!store)
        return false;
    std::vector<DrawRecord> records = store->readAll(error);
    if (error)
        return false;
    m_listener.beginReset();
    m_store = std::move(store);
    m_rows.clear();
    m_rows.reserve(records.size());
    for (const DrawRecord &r : records)
        m_rows.push_back(makeRow(r));
    m_drawsAtOpen = std::move(records);
    m_listener.endReset();
    return true;
}

DrawRow DrawRowStore::makeRow(const std::optional<DrawRecord> &record) {
    DrawRow row;
    row.id = m_nextId++;
    row.stored = record;
    if (record)
        row.texts = textsOf(*record);
    return row;
}

bool DrawRowStore::setText(int row, int column, const QString &text) {
    DrawRow &r = m_rows[row];
    const QString value = column == DrawRow::kDateColumn ? typedDate(text) : normalised(text);
    if (r.texts[column] == value)
        return false;
    r.texts[column] = value;
    r.refused = false;
    return true;
}

void DrawRowStore::insertRow(int at, DrawRow row) {
    m_listener.beginInsertRow(at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    m_listener.endInsertRow();
}

void DrawRowStore::removeRow(int row) {
    m_listener.beginRemoveRow(row);
    m_rows.erase(m_rows.begin() + row);
    m_listener.endRemoveRow();
}

int DrawRowStore::insertEmptyRow(int afterRow) {
    const int at = std::clamp(afterRow + 1, 0, rowCount());
    insertRow(at, makeRow(std::nullopt));
    return at;
}

bool DrawRowStore::deleteRow(int row, std::optional<StoreProblem> &problem) {
    problem.reset();
    if (row < 0 || row >= rowCount())
        return false;
    if (m_rows[row].stored) {
        const DrawRecord stored = *m_rows[row].stored;
        std::optional<DrawRecord> current;
        bool changedElsewhere = false;
        StoreError error;
        const bool removed = m_store->transaction(error, [&] {
            StoreError readError;
            current = m_store->read(stored.drawNumber, readError);
            if (readError) {
                error = readError;
                return false;
            }
            // Already gone is what the user asked for; changed is not ours to throw away.
            if (current && *current != stored) {
                changedElsewhere = true;
                return false;
            }
            return m_store->removeWithin({stored.drawNumber}, error);
        });
        if (!removed) {
            const QString name = rowName(row, m_rows[row].texts[0]);
            if (changedElsewhere) {
                problem =
                    StoreProblem{StoreProblem::Kind::Conflict, row,
                                 QStringLiteral("%1のデータは、この画面に読み込んだ後に他のプログラムが変更したため、"
                                                "削除しませんでした。保存されている内容を表示します。")
                                     .arg(name)};
                showRecord(row, current);
            } else {
                problem =
                    StoreProblem{StoreProblem::Kind::Refused, row,
                                 QStringLiteral("%1を削除できませんでした。データベースは変更されていません。\n%2")
                                     .arg(name, error.message)};
            }
            return false;
        }
    }
    removeRow(row);
    return true;
}

bool DrawRowStore::isPending(int row) const {
    return row >= 0 && row < rowCount() && DrawRowCheck::isPending(m_rows[row]);
}

bool DrawRowStore::hasPendingRows() const {
    return std::any_of(m_rows.begin(), m_rows.end(), [](const DrawRow &r) { return DrawRowCheck::isPending(r); });
}

