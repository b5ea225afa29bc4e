#include "core/history/DrawHistory.h"

#include "core/history/DrawStore.h"

DrawHistory::DrawHistory(std::vector<DrawRecord> records)
    : m_records(std::move(records)), m_aggregates(computeAggregates(m_records)) {}

StartupAggregates DrawHistory::computeAggregates(const std::vector<DrawRecord> &records) {
    StartupAggregates a;
    a.records = int(records.size());
    // An empty table skips the accumulation and the grouping alike: everything stays zero.
    if (records.empty())
        return a;

    for (const DrawRecord &r : records) {
        if (!r.isComplete())
            continue;
        for (const auto &n : r.numbers) {
            // The data entry window and the database refuse anything that is not a number; a value
            // found there anyway cannot be counted and is left out rather than crash.
            if (DrawRules::isNumber(*n))
                ++a.AppearanceCount[*n];
        }
        a.LatestDrawNumber = r.drawNumber;
    }

    a.MaxAppearance = 0;
    a.MinAppearance = 0;
    a.CountGroupTotal = 1;
    a.NumbersByCount = QStringList{QString()};
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n) {
        const int c = a.AppearanceCount[n];
        if (c > a.MaxAppearance) {
            a.MaxAppearance = c;
            while (a.NumbersByCount.size() <= c)
                a.NumbersByCount.append(QString());
        }
        if (c < a.MinAppearance)
            a.MinAppearance = c;
        QString &text = a.NumbersByCount[c];
        if (text.isEmpty()) {
            text = QString::number(n);
            ++a.CountGroupTotal;
        } else {
            text += QLatin1Char(',') + QString::number(n);
        }
    }
    return a;
}

namespace {
std::optional<DrawHistory> readSnapshot(const DrawStore &store, StoreError &error, QString *skipped) {
    std::vector<DrawRecord> records = store.readHistory(error, skipped);
    if (error)
        return std::nullopt;
    std::map<int, DrawPrizes> prizes = store.readPrizes(error);
    if (error)
        return std::nullopt;
    DrawHistory history(std::move(records));
    history.setPrizes(std::move(prizes));
    return history;
}
} // namespace

std::optional<DrawHistory> loadDrawHistory(const ConnectionString &connection, StoreError &error, QString *skipped) {
    const std::unique_ptr<DrawStore> store = DrawStore::open(connection, error);
    if (!store)
        return std::nullopt;
    return readSnapshot(*store, error, skipped);
}

BackgroundLoad loadDrawHistoryAsync(ConnectionString connection) {
    std::promise<HistoryLoad> promise;
    BackgroundLoad load{promise.get_future(), {}};
    load.thread = std::jthread([connection = std::move(connection), promise = std::move(promise)]() mutable {
        try {
            HistoryLoad result;
            const std::unique_ptr<DrawStore> store = DrawStore::open(connection, result.error);
            if (store)
                result.history = readSnapshot(*store, result.error, &result.skipped);
            // Before the store closes: closing it is no reason for start-up to wait.
            promise.set_value(std::move(result));
        } catch (...) {
            promise.set_exception(std::current_exception());
        }
    });
    return load;
}
