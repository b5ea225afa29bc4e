#include "core/history/ImportPlan.h"
#include "core/io/InputFile.h"

#include "core/history/DrawStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <map>

namespace {
bool byDrawNumber(const DrawRecord &a, const DrawRecord &b) {
    return a.drawNumber < b.drawNumber;
}
} // namespace

ImportPlan ImportPlan::make(const QByteArray &bytes, const std::vector<DrawRecord> &stored) {
    ImportPlan plan;
    if (const qsizetype lines = bytes.count('\n'); lines > kMaxLines) {
        plan.m_fileProblem =
            QStringLiteral("行が多すぎるため読みません（%1 行。当選データのファイルは %2 行もありません）。")
                .arg(lines)
                .arg(kMaxLines);
        return plan;
    }
    DrawCsv::ParseResult parsed = DrawCsv::parse(bytes);
    if (!parsed.errors.empty()) {
        plan.m_unreadable = parsed.errors;
        return plan;
    }
    plan.m_file = std::move(parsed.records);
    plan.m_fileHasDates = parsed.hasDates;
    plan.compare(stored);
    return plan;
}

void ImportPlan::compare(const std::vector<DrawRecord> &stored) {
    m_added.clear();
    m_differences.clear();
    m_identical = 0;
    std::map<int, const DrawRecord *> byNumber;
    for (const DrawRecord &r : stored)
        byNumber[r.drawNumber] = &r;
    for (DrawRecord r : m_file) {
        const auto found = byNumber.find(r.drawNumber);
        if (found == byNumber.end()) {
            m_added.push_back(std::move(r));
            continue;
        }
        // A file without dates says nothing about them: the stored one stays.
        if (!m_fileHasDates)
            r.drawDate = found->second->drawDate;
        // Nor does one without prizes, or a draw whose prize fields are empty.
        if (!r.prizes)
            r.prizes = found->second->prizes;
        if (r == *found->second)
            ++m_identical;
        else
            m_differences.push_back({*found->second, std::move(r)});
    }
    std::sort(m_added.begin(), m_added.end(), byDrawNumber);
    std::sort(m_differences.begin(), m_differences.end(),
              [](const Difference &a, const Difference &b) { return a.file.drawNumber < b.file.drawNumber; });
}

ImportPlan ImportPlan::forFile(const QString &path, const ConnectionString &connection, StoreError &error) {
    ImportPlan plan;
    QString problem;
    const std::optional<QByteArray> bytes = InputFile::read(path, kMaxFileBytes, problem);
    if (!bytes) {
        plan.m_fileProblem = problem;
        return plan;
    }
    auto store = DrawStore::open(connection, error);
    if (!store)
        return plan;
    const std::vector<DrawRecord> stored = store->readAll(error);
    if (error)
        return plan;
    return make(*bytes, stored);
}

std::vector<DrawRecord> ImportPlan::writes(Choice choice) const {
    if (!canImport())
        return {};
    std::vector<DrawRecord> records = m_added;
    if (choice == Choice::TakeFile) {
        for (const Difference &d : m_differences)
            records.push_back(d.file);
    }
    std::sort(records.begin(), records.end(), byDrawNumber);
    return records;
}

ImportPlan::Summary ImportPlan::summaryFor(const std::vector<DrawRecord> &records) const {
    const int replaced = int(records.size() - m_added.size());
    return {int(m_added.size()), replaced, m_identical + int(m_differences.size()) - replaced};
}

bool ImportPlan::writeWithin(DrawStore &store, const std::vector<DrawRecord> &records, StoreError &error) const {
    std::map<int, const DrawRecord *> expected; // nullptr: not stored when planned
    for (const DrawRecord &r : m_added)
        expected[r.drawNumber] = nullptr;
    for (const Difference &d : m_differences)
        expected[d.stored.drawNumber] = &d.stored;
    for (const DrawRecord &r : records) {
        const std::optional<DrawRecord> now = store.read(r.drawNumber, error);
        if (error)
            return false;
        const DrawRecord *planned = expected.at(r.drawNumber);
        if (now.has_value() != (planned != nullptr) || (now && *now != *planned)) {
            error = store.writeError(QStringLiteral("回数 %1 が取り込みの確認の後でほかのプログラムから変更されました。"
                                                    "もう一度取り込んでください")
                                         .arg(r.drawNumber));
            return false;
        }
    }
    return store.storeWithin(records, error);
}

bool ImportPlan::apply(DrawStore &store, Choice choice, Summary &summary, StoreError &error) const {
    error = {};
    summary = {};
    if (!canImport())
        return false;
    const std::vector<DrawRecord> records = writes(choice);
    if (!records.empty() && !store.transaction(error, [&] { return writeWithin(store, records, error); }))
        return false;
    summary = summaryFor(records);
    return true;
}

bool ImportPlan::apply(const ConnectionString &connection, Choice choice, Summary &summary, StoreError &error) const {
    auto store = DrawStore::open(connection, error);
    return store && apply(*store, choice, summary, error);
}

bool ImportPlan::importInto(const ConnectionString &connection, Choice choice, Summary &summary, StoreError &error) {
    error = {};
    summary = {};
    if (!canImport())
        return false;
    if (DrawStore::isVacant(connection.databasePath)) {
        compare({});
        const std::vector<DrawRecord> records = writes(choice);
        const auto fill = [&](DrawStore &store) { return writeWithin(store, records, error); };
        if (!DrawStore::create(connection, error, fill))
            return false;
        summary = summaryFor(records);
        return true;
    }
    auto store = DrawStore::open(connection, error, DrawStore::OpenMode::CreateIfMissing);
    if (!store)
        return false;
    const std::vector<DrawRecord> stored = store->readAll(error);
    if (error)
        return false;
    compare(stored);
    return apply(*store, choice, summary, error);
}

QStringList ImportPlan::summaryLines() const {
    if (!m_fileProblem.isEmpty())
        return {m_fileProblem};
    if (!m_unreadable.empty())
        return {QStringLiteral("読めない行: %1 行").arg(m_unreadable.size()),
                QStringLiteral("読めない行があるため、このファイルからは何も取り込みません。"
                               "ファイルを直してから、もう一度取り込んでください。")};
    return {QStringLiteral("新しい当選データ: %1 件").arg(m_added.size()),
            QStringLiteral("登録済みと同じ当選データ: %1 件（取り込みません）").arg(m_identical),
            QStringLiteral("登録済みと異なる当選データ: %1 件").arg(m_differences.size())};
}

QStringList ImportPlan::unreadableLines(int limit) const {
    QStringList lines;
    for (const DrawCsvError &e : m_unreadable) {
        if (lines.size() == limit) {
            lines << QStringLiteral("ほかに %1 行あります。").arg(qsizetype(m_unreadable.size()) - limit);
            break;
        }
        lines << e.text();
    }
    return lines;
}

QString ImportPlan::describe(const DrawRecord &record) {
    auto field = [&record](int k) {
        const std::optional<int> &n = record.numbers[std::size_t(k)];
        return n ? QStringLiteral("%1").arg(*n, 2, 10, QLatin1Char('0')) : QStringLiteral("--");
    };
    QStringList mains, bonus;
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        (k < DrawRecord::kMainCount ? mains : bonus) << field(k);
    const QString date = record.drawDate.isEmpty() ? QStringLiteral("日付なし") : DrawCsv::shownDate(record.drawDate);
    return QStringLiteral("%1　%2（%3）").arg(date, mains.join(QLatin1Char(' ')), bonus.join(QLatin1Char(' ')));
}

QString ImportPlan::differingFields(const Difference &difference) {
    QStringList fields;
    if (difference.stored.drawDate != difference.file.drawDate)
        fields << QStringLiteral("抽せん日");
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        if (difference.stored.numbers[std::size_t(k)] != difference.file.numbers[std::size_t(k)])
            fields << drawColumnNames()[std::size_t(k) + 1];
    if (difference.stored.prizes != difference.file.prizes)
        fields << QStringLiteral("当せん金");
    return fields.join(QStringLiteral("、"));
}
