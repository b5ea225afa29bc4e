#pragma once

#include <QString>
#include <QStringList>

#include <array>

// What one draw paid, as the result files give it: the winners and the prize per winner of
// each tier (index 0 = 1等) and the carry-over to the next draw, all in yen. A tier nobody won
// has 0 winners and a prize of 0.
struct DrawPrizes {
    static constexpr int kTierCount = 6;

    std::array<qint64, kTierCount> winners{}; // 口数
    std::array<qint64, kTierCount> prize{};   // 賞金, yen per winner
    qint64 carryOver = 0;                     // キャリーオーバー

    bool operator==(const DrawPrizes &) const = default;

    // The thirteen column names, in the order of the result files: 1等口数..6等口数,
    // 1等賞金..6等賞金, キャリーオーバー.
    static const QStringList &columnNames() {
        static const QStringList names = [] {
            QStringList n;
            for (int t = 1; t <= kTierCount; ++t)
                n << QStringLiteral("%1等口数").arg(t);
            for (int t = 1; t <= kTierCount; ++t)
                n << QStringLiteral("%1等賞金").arg(t);
            n << QStringLiteral("キャリーオーバー");
            return n;
        }();
        return names;
    }
    static constexpr int kColumnCount = 2 * kTierCount + 1;

    // The thirteen values in the order of columnNames().
    std::array<qint64, kColumnCount> values() const {
        std::array<qint64, kColumnCount> v{};
        for (int t = 0; t < kTierCount; ++t) {
            v[std::size_t(t)] = winners[std::size_t(t)];
            v[std::size_t(kTierCount + t)] = prize[std::size_t(t)];
        }
        v[kColumnCount - 1] = carryOver;
        return v;
    }
    static DrawPrizes fromValues(const std::array<qint64, kColumnCount> &v) {
        DrawPrizes p;
        for (int t = 0; t < kTierCount; ++t) {
            p.winners[std::size_t(t)] = v[std::size_t(t)];
            p.prize[std::size_t(t)] = v[std::size_t(kTierCount + t)];
        }
        p.carryOver = v[kColumnCount - 1];
        return p;
    }
};
