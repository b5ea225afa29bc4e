#include "entry/DrawTableModel.h"

#include <QHash>
#include <QSet>

namespace {
QString normalised(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= u'０' && u <= u'９')
            out += QChar(char16_t(u - u'０' + u'0'));
        else if (u == u'\u3000')
            out += QLatin1Char(' ');
        else
            out += ch;
    }
    return out.trimmed();
}

using DrawRules::parseDrawNumber;
using DrawRules::parseNumber;

std::array<QString, DrawTableModel::kColumnCount> textsOf(const DrawRecord &record) {
    std::array<QString, DrawTableModel::kColumnCount> texts;
    texts[0] = QString::number(record.drawNumber);
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        if (record.numbers[k])
            texts[k + 1] = QString::number(*record.numbers[k]);
    return texts;
}

bool allEmpty(const std::array<QString, DrawTableModel::kColumnCount> &texts) {
    for (const QString &t : texts)
        if (!t.isEmpty())
            return false;
    return true;
}

// How the user finds the row again: its position and, when there is one, its draw number.
QString rowName(int row, const QString &drawNumberText) {
    if (drawNumberText.isEmpty())
        return QStringLiteral("%1 行目").arg(row + 1);
    return QStringLiteral("%1 行目（回数 %2）").arg(row + 1).arg(drawNumberText);
}

// What the user typed, so that nothing is lost when the row shows something else.
QString typedText(const std::array<QString, DrawTableModel::kColumnCount> &texts) {
    auto cell = [&](int c) { return texts[c].isEmpty() ? QStringLiteral("空欄") : texts[c]; };
    QStringList numbers, bonus;
    for (int c = 1; c <= DrawRecord::kMainCount; ++c)
        numbers << cell(c);
    for (int c = DrawRecord::kMainCount + 1; c < DrawTableModel::kColumnCount; ++c)
        bonus << cell(c);
    return QStringLiteral("入力した内容：回数 %1／数字 %2／ボーナス数字 %3")
        .arg(cell(0), numbers.join(QLatin1Char(' ')), bonus.join(QLatin1Char(' ')));
}
} // namespace

QString DrawTableModel::numberFaultMessage() {
    return QStringLiteral("当選データの数字に誤りがあります。");
}
QString DrawTableModel::drawNumberFaultMessage() {
    return QStringLiteral("回数に誤りがあります。");
}

DrawTableModel::DrawTableModel(QObject *parent) : QAbstractTableModel(parent) {}

bool DrawTableModel::isCell(const QModelIndex &index) const {
    return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < kColumnCount;
}

DrawTableModel::~DrawTableModel() = default;

bool DrawTableModel::open(const ConnectionString &connection, StoreError &error) {
    auto store = DrawStore::open(connection, error);
    if (!store)
        return false;
    std::vector<DrawRecord> records = store->readAll(error);
    if (error)
        return false;
    beginResetModel();
    m_store = std::move(store);
    m_rows.clear();
    m_rows.reserve(records.size());
    for (const DrawRecord &r : records)
        m_rows.push_back(makeRow(r));
    endResetModel();
    return true;
}

DrawTableModel::Row DrawTableModel::makeRow(const std::optional<DrawRecord> &record) {
    Row row;
    row.id = m_nextId++;
    row.stored = record;
    if (record)
        row.texts = textsOf(*record);
    return row;
}

int DrawTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DrawTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DrawTableModel::data(const QModelIndex &index, int role) const {
    if (!isCell(index))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_rows[index.row()].texts[index.column()];
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

ResultGrid DrawTableModel::toGrid() const {
    ResultGrid grid(kColumnCount, rowCount() + 1);
    grid.freezeRows(1);
    grid.setColumnWidth(1, 6);
    grid.setColumnWidth(9, 10);
    grid.setColumnWidth(10, 10);
    for (int c = 0; c < kColumnCount; ++c)
        grid.setText(c + 1, 1, drawColumnNames()[c]);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < kColumnCount; ++c)
            grid.setText(c + 1, r + 2, text(r, c));
    grid.block(-1, 1, -1, 1).back(Palette::LightPink);
    grid.all().border(AllSides);
    return grid;
}

int DrawTableModel::latestDrawNumber() const {
    int latest = 0;
    for (int r = 0; r < rowCount(); ++r)
        latest = std::max(latest, text(r, 0).toInt());
    return latest;
}

QVariant DrawTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kColumnCount ? QVariant(drawColumnNames()[section]) : QVariant();
    return section >= 0 && section < rowCount() ? QVariant(section + 1) : QVariant();
}

Qt::ItemFlags DrawTableModel::flags(const QModelIndex &index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DrawTableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !isCell(index))
        return false;
    Row &row = m_rows[index.row()];
    const QString text = normalised(value.toString());
    if (row.texts[index.column()] == text)
        return true;
    row.texts[index.column()] = text;
    row.refused = false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QString DrawTableModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount)
        return {};
    return m_rows[row].texts[column];
}

int DrawTableModel::insertEmptyRow(int afterRow) {
    const int at = std::clamp(afterRow + 1, 0, rowCount());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, makeRow(std::nullopt));
    endInsertRows();
    return at;
}

bool DrawTableModel::deleteRow(int row, std::optional<StoreProblem> &problem) {
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
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

int DrawTableModel::indexOf(quint64 id) const {
    for (int i = 0; i < rowCount(); ++i)
        if (m_rows[i].id == id)
            return i;
    return -1;
}

bool DrawTableModel::isPending(int row) const {
    if (row < 0 || row >= rowCount())
        return false;
    const Row &r = m_rows[row];
    return r.stored ? r.texts != textsOf(*r.stored) : !allEmpty(r.texts);
}

bool DrawTableModel::hasPendingRows() const {
    for (int i = 0; i < rowCount(); ++i)
        if (isPending(i))
            return true;
    return false;
}

// Rows whose draw number another row also has. Of the rows sharing a number, the one that
// holds that draw in the database keeps it (otherwise the first); the others are at fault.
std::vector<bool> DrawTableModel::duplicateRows() const {
    std::vector<bool> duplicate(m_rows.size(), false);
    QHash<int, std::vector<int>> rowsOf;
    for (int i = 0; i < rowCount(); ++i)
        if (const auto n = parseDrawNumber(m_rows[i].texts[0]))
            rowsOf[*n].push_back(i);
    for (auto it = rowsOf.cbegin(); it != rowsOf.cend(); ++it) {
        const std::vector<int> &rows = it.value();
        if (rows.size() < 2)
            continue;
        int owner = rows.front();
        for (int i : rows)
            if (m_rows[i].stored && m_rows[i].stored->drawNumber == it.key())
                owner = i;
        for (int i : rows)
            duplicate[i] = i != owner;
    }
    return duplicate;
}

int DrawTableModel::faultColumn(int row, const std::vector<bool> &duplicates) const {
    const auto &texts = m_rows[row].texts;
    bool anyNumber = false;
    for (int c = 1; c < kColumnCount; ++c)
        anyNumber = anyNumber || !texts[c].isEmpty();
    if (texts[0].isEmpty() ? anyNumber : (!parseDrawNumber(texts[0]) || duplicates[row]))
        return 0;
    for (int c = 1; c < kColumnCount; ++c)
        if (!texts[c].isEmpty() && !parseNumber(texts[c]))
            return c;
    return -1;
}

std::optional<DrawFault> DrawTableModel::firstFault() const {
    const std::vector<bool> duplicates = duplicateRows();
    for (int i = 0; i < rowCount(); ++i) {
        const int c = faultColumn(i, duplicates);
        if (c >= 0)
            return DrawFault{i, c, c == 0 ? drawNumberFaultMessage() : numberFaultMessage()};
    }
    return std::nullopt;
}

bool DrawTableModel::heldByRowOutside(int drawNumber, const std::vector<int> &group) const {
    for (int i = 0; i < rowCount(); ++i)
        if (m_rows[i].stored && m_rows[i].stored->drawNumber == drawNumber &&
            std::find(group.begin(), group.end(), i) == group.end())
            return true;
    return false;
}

// Writes the rows (valid and pending) in one transaction. Before anything is written, each
// draw a row was read as must still be in the database as it was read, and a draw number a
// row moves to must be free or held by a row of the same group; otherwise nothing is written.
DrawTableModel::Attempt DrawTableModel::write(const std::vector<int> &rows) {
    Attempt attempt;
    // Only what passes the check is ever turned into a record: a faulty cell must not become
    // an empty field on its way to the database.
    const std::vector<bool> duplicates = duplicateRows();
    for (int i : rows) {
        if (faultColumn(i, duplicates) >= 0) {
            attempt.outcome = Outcome::Blocked;
            attempt.row = i;
            return attempt;
        }
    }
    std::vector<std::optional<DrawRecord>> records(rows.size()); // nullopt: the row was emptied
    QSet<int> heldByGroup;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Row &row = m_rows[rows[k]];
        if (row.stored)
            heldByGroup.insert(row.stored->drawNumber);
        if (allEmpty(row.texts))
            continue;
        DrawRecord r;
        r.drawNumber = *parseDrawNumber(row.texts[0]);
        for (int f = 0; f < DrawRecord::kFieldCount; ++f)
            r.numbers[f] = parseNumber(row.texts[f + 1]);
        if (row.stored)
            r.drawDate = row.stored->drawDate; // the date belongs to the draw, even renumbered
        records[k] = r;
    }

    StoreError error;
    const bool written = m_store->transaction(error, [&] {
        StoreError readError;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const Row &row = m_rows[rows[k]];
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
            const Row &row = m_rows[rows[k]];
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
            const Row &row = m_rows[rows[k]];
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
void DrawTableModel::showRecord(int row, const std::optional<DrawRecord> &record) {
    Row &r = m_rows[row];
    r.stored = record;
    r.texts = record ? textsOf(*record) : std::array<QString, kColumnCount>{};
    r.refused = false;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1), {Qt::DisplayRole, Qt::EditRole});
}

StoreProblem DrawTableModel::resolveConflict(const Attempt &attempt) {
    const int row = attempt.row;
    const Row &r = m_rows[row];
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
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
        break;
    case ConflictKind::Added:
        message = QStringLiteral("%1は保存しませんでした。回数 %2 のデータは、この画面に読み込んだ後に他のプログラムが"
                                 "追加しました。保存されている内容を表示します。")
                      .arg(name)
                      .arg(attempt.found->drawNumber);
        if (r.stored) {
            // The row goes back to its own draw; the draw that appeared is shown below it.
            showRecord(row, r.stored);
            beginInsertRows(QModelIndex(), row + 1, row + 1);
            m_rows.insert(m_rows.begin() + row + 1, makeRow(attempt.found));
            endInsertRows();
        } else {
            showRecord(row, attempt.found);
        }
        break;
    }
    return {StoreProblem::Kind::Conflict, row, message + QLatin1Char('\n') + typed};
}

std::vector<StoreProblem> DrawTableModel::storeRowsLeft(int currentRow) {
    const quint64 current = currentRow >= 0 && currentRow < rowCount() ? m_rows[currentRow].id : 0;
    std::vector<quint64> ids;
    for (int i = 0; i < rowCount(); ++i)
        if (m_rows[i].id != current && !m_rows[i].refused && isPending(i))
            ids.push_back(m_rows[i].id);
    return storeRows(ids, false);
}

std::vector<StoreProblem> DrawTableModel::storeAll() {
    std::vector<quint64> ids;
    for (int i = 0; i < rowCount(); ++i)
        if (isPending(i))
            ids.push_back(m_rows[i].id);
    return storeRows(ids, true);
}

std::vector<StoreProblem> DrawTableModel::storeRows(const std::vector<quint64> &ids, bool reportUnstored) {
    std::vector<StoreProblem> problems;
    if (!m_store)
        return problems;
    auto refused = [&](int row, const StoreError &error) {
        m_rows[row].refused = true;
        problems.push_back({StoreProblem::Kind::Refused, row,
                            QStringLiteral("%1を保存できませんでした。データベースは変更されていません。\n%2\n%3")
                                .arg(rowName(row, m_rows[row].texts[0]), error.message, typedText(m_rows[row].texts))});
    };

    std::vector<quint64> remaining = ids;
    while (!remaining.empty()) {
        std::vector<quint64> waiting;
        bool progress = false;
        for (const quint64 id : remaining) {
            const int i = indexOf(id);
            if (i < 0 || !isPending(i))
                continue;
            if (faultColumn(i, duplicateRows()) >= 0) {
                if (reportUnstored)
                    problems.push_back({StoreProblem::Kind::Invalid, i,
                                        QStringLiteral("%1は入力に誤りがあるため保存できませんでした。\n%2")
                                            .arg(rowName(i, m_rows[i].texts[0]), typedText(m_rows[i].texts))});
                continue;
            }
            const Attempt attempt = write({i});
            switch (attempt.outcome) {
            case Outcome::Written:
                progress = true;
                break;
            case Outcome::Blocked:
                waiting.push_back(id);
                break;
            case Outcome::Conflict:
                problems.push_back(resolveConflict(attempt));
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
            if (const int i = indexOf(id); i >= 0 && isPending(i))
                group.push_back(i);
        if (group.empty())
            break;
        const Attempt attempt = write(group);
        if (attempt.outcome == Outcome::Written)
            break;
        if (attempt.outcome == Outcome::Conflict) {
            const quint64 settled = m_rows[attempt.row].id;
            problems.push_back(resolveConflict(attempt));
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
            refused(indexOf(id), attempt.error);
        break;
    }
    return problems;
}
