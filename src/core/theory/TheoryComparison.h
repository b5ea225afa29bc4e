#pragma once

#include "core/history/DrawHistory.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Draw numbers from..to, both included; by default every draw.
struct TheoryRange {
    int from = DrawRules::kMinDrawNumber;
    int to = DrawRules::kMaxDrawNumber;
};

// The complete draws of a range, oldest first, each as the mask of its seven main numbers; a
// draw with an empty field is left out and counted.
struct RangeDraws {
    std::vector<DrawRules::NumberMask> draws;
    int skipped = 0;
};
RangeDraws rangeDraws(const DrawHistory &history, TheoryRange range);

// One comparison of what was drawn with what chance predicts: a row per category, and the
// goodness-of-fit test over the whole table.
struct TheoryTable {
    QString name;
    QStringList categories; // every category, also where the test merges small ones
    std::vector<int> observed;
    std::vector<double> expected;
    std::vector<int> bins;           // the test's bin of each category; categories merged share one
    std::optional<double> statistic; // unset when there is too little to test
    int df = 0;
    std::optional<double> p;
    std::optional<double> pHolm; // corrected for the number of tables tested

    double difference(int i) const { return observed[std::size_t(i)] - expected[std::size_t(i)]; }
};

struct TheoryReport {
    int draws = 0;   // complete draws compared
    int skipped = 0; // draws of the range left out for an empty field
    std::vector<TheoryTable> tables;
};

// The tables in this order: 合計, 奇数の個数, 低数字の個数, 連番の組数, 前回からの引っ張り,
// 出現間隔, 出現回数.
namespace TheoryComparison {
constexpr int kTableCount = 7;
constexpr int kSumBandWidth = 10;
TheoryReport compare(const DrawHistory &history, TheoryRange range = {});
TheoryReport compare(const RangeDraws &draws);
} // namespace TheoryComparison
