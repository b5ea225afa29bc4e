#pragma once

#include "core/history/DrawPrizes.h"
#include "core/history/DrawRules.h"

#include <QString>

#include <array>
#include <optional>

// One draw: 回数 and its nine number fields (seven main numbers, then the two bonus numbers).
// A field may be empty: the data entry window stores rows with empty number cells.
struct DrawRecord {
    static constexpr int kFieldCount = DrawRules::kFieldCount; // 第1数字..第7数字, ボーナス数字1, ボーナス数字2
    static constexpr int kMainCount = DrawRules::kMainCount;

    int drawNumber = 0;                                     // 回数
    std::array<std::optional<int>, kFieldCount> numbers{}; // index 0..8 = field 1..9
    QString drawDate;                                       // 抽せん日, kept for import/export only
    std::optional<DrawPrizes> prizes; // 当せん金, when a result file gave them (not in the snapshot)

    // Every computation skips a draw unless all nine fields hold a number.
    bool isComplete() const {
        for (const auto &n : numbers)
            if (!n)
                return false;
        return true;
    }
    // Field k counted from 1 (1..7 main, 8 and 9 bonus); only meaningful for complete draws.
    int number(int k) const { return numbers[k - 1].value_or(0); }

    bool operator==(const DrawRecord &) const = default;
};

// The ten column names of the draw view, in order.
inline const std::array<QString, 10> &drawColumnNames() {
    static const std::array<QString, 10> names = {
        QStringLiteral("回数"),    QStringLiteral("第1数字"),       QStringLiteral("第2数字"),
        QStringLiteral("第3数字"), QStringLiteral("第4数字"),       QStringLiteral("第5数字"),
        QStringLiteral("第6数字"), QStringLiteral("第7数字"),       QStringLiteral("ボーナス数字1"),
        QStringLiteral("ボーナス数字2")};
    return names;
}
