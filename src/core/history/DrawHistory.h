#pragma once

#include "core/history/DrawRecord.h"

#include "core/history/ConnectionString.h"
#include "core/history/DrawStore.h"

#include <QStringList>

#include <array>
#include <future>
#include <map>
#include <optional>
#include <thread>
#include <vector>

// The start-up aggregates, computed once from the snapshot. Field names are the program's
// established names for them.
struct StartupAggregates {
    std::array<int, DrawRules::kNumberSlots> AppearanceCount{}; // index = number; entry 0 unused
    int LatestDrawNumber = 0;              // 回数 of the last complete draw, 0 if none
    int MaxAppearance = 0;
    int MinAppearance = 0;
    QStringList NumbersByCount; // index = count 0..MaxAppearance; empty list for an empty table
    int CountGroupTotal = 0;    // 1 + number of non-empty NumbersByCount entries; 0 for an empty table
    int records = 0;            // rows in the snapshot, complete or not
};

// The one read-only snapshot of all draws in ascending 回数, taken at start-up.
class DrawHistory {
public:
    DrawHistory() = default;
    // The records must be in ascending 回数 (as the view query returns them).
    explicit DrawHistory(std::vector<DrawRecord> records);

    const std::vector<DrawRecord> &records() const { return m_records; }
    const StartupAggregates &aggregates() const { return m_aggregates; }
    int latestDrawNumber() const { return m_aggregates.LatestDrawNumber; }
    bool empty() const { return m_records.empty(); }
    // 当せん金 by 回数, for the draws that have them.
    const std::map<int, DrawPrizes> &prizes() const { return m_prizes; }
    void setPrizes(std::map<int, DrawPrizes> prizes) { m_prizes = std::move(prizes); }

    static StartupAggregates computeAggregates(const std::vector<DrawRecord> &records);

private:
    std::vector<DrawRecord> m_records;
    StartupAggregates m_aggregates;
    std::map<int, DrawPrizes> m_prizes;
};

// Opens the database and takes the snapshot, as start-up does; nullopt and error on failure.
// skipped, when given, receives the sentence about rows left out of it (DrawStore::readHistory).
std::optional<DrawHistory> loadDrawHistory(const ConnectionString &connection, StoreError &error,
                                           QString *skipped = nullptr);

struct HistoryLoad {
    std::optional<DrawHistory> history;
    StoreError error;
    QString skipped;
};
// loadDrawHistory on another thread, so that start-up opens the encrypted database while the
// window system and the fonts are being set up. The history is handed over as soon as it is
// read; the thread closes the database after that, and is joined when this goes.
struct BackgroundLoad {
    std::future<HistoryLoad> history;
    std::jthread thread;
};
BackgroundLoad loadDrawHistoryAsync(ConnectionString connection);
