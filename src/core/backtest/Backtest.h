#pragma once

#include "core/backtest/HitStatistics.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawRules.h"
#include "core/prediction/PredictedSets.h"
#include "core/settings/PredictionOptions.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The walk-forward replay of the prediction window: every complete draw of a range is
// predicted from the draws before it only, as the window would have predicted it on that day,
// and the predictions are checked against the draw and against what chance gives.
namespace Backtest {

// The seven predicted sets, as the prediction window names them.
using enum Prediction::Method;
constexpr int kCycleMethods = Prediction::kCycleMethods;
constexpr bool dependsOnOptions(int method) {
    return method >= kCycleMethods;
}
constexpr int kOptionMethods = kMethodCount - kCycleMethods;
const QString &methodName(int method);

constexpr double kSignificance = 0.05;

// The ReflectOffset of a set of options, and every value some set of options produces.
int reflectOffsetOf(const PredictionOptions &options);
const std::vector<int> &reachableOffsets();

// Draw numbers, both ends included.
struct Range {
    int from = DrawRules::kMinDrawNumber;
    int to = DrawRules::kMaxDrawNumber;
};

using Sets = Prediction::Sets;

// One tested draw under one setting (kept only when asked for: the charts need it).
struct DrawOutcome {
    int drawNumber = 0;
    Sets sets{};
    std::array<std::uint8_t, kMethodCount> mainHits{};
    std::array<std::uint8_t, kMethodCount> bonusHits{};
};

struct MethodSummary {
    int drawsTested = 0;
    long long numbers = 0; // the set sizes, summed over the tested draws
    long long mainHits = 0;
    long long bonusHits = 0;
    long long squaredHits = 0;
    std::array<int, HitStatistics::kMaxHits + 1> distribution{}; // draws by main hits
    HitStatistics::SizeCounts drawsBySize{};
    int setsOfSeven = 0;        // draws whose set had exactly seven numbers
    std::array<int, 6> tiers{}; // those sets by prize tier 1等..6等

    // By chance, for random sets of the same sizes.
    double expectedMainHits = 0;
    double mainHitVariance = 0;
    double expectedBonusHits = 0;
    std::array<double, HitStatistics::kMaxHits + 1> expectedDistribution{};
    std::array<double, 6> expectedTiers{};
    HitStatistics::PValue pValue;
    // Among the methods of a one-setting run (Holm); 1 in an all-settings run.
    double adjustedPValue = 1.0;

    // Main hits per draw with its 95 % interval (normal approximation); the interval is empty
    // (low > high) below two draws.
    double meanHits = 0, meanLow = 1, meanHigh = 0;

    // In yen, over the draws with prize data whose set had seven numbers, played as one ticket
    // a draw: what the tickets won at that draw's prize per winner, and what random tickets
    // would have won on average in the same draws.
    int prizeTickets = 0;
    qint64 won = 0;
    double expectedWon = 0;
    qint64 cost() const;
};

struct SettingResult {
    int reflectOffset = 0;
    std::array<MethodSummary, kMethodCount> methods;
    // All-settings runs: the smallest p-value of the option-dependent methods times their
    // number (Bonferroni within the setting), then Holm's adjustment across the settings.
    double pValue = 1.0;
    double adjustedPValue = 1.0;
    double excessHits = 0; // option-dependent methods: main hits minus their expectation
    int rank = 1;          // 1 = the setting the verdict speaks of
    std::vector<DrawOutcome> draws;
};

struct Report {
    Range range;
    int drawsTested = 0;
    int firstTested = 0, lastTested = 0;
    bool allSettings = false;
    std::vector<SettingResult> settings; // ascending ReflectOffset
    int comparisons = 0;                 // methods (one setting) or settings compared
    int best = 0;                        // the method (one setting) or setting index the verdict names
    QString verdict;
    // The tested draws without prize data, by number: the yen leave them out.
    std::vector<int> withoutPrizes;
    int drawsWithPrizes() const { return drawsTested - int(withoutPrizes.size()); }

    const SettingResult &bestSetting() const { return allSettings ? settings[std::size_t(best)] : settings.front(); }
    bool anyExactPValue() const;
    bool anyApproximatePValue() const;
};

// One setting, or every reachable one. keepDraws keeps each draw's sets and hits.
Report runOne(const DrawHistory &history, Range range, int reflectOffset, bool keepDraws = false);
Report runAll(const DrawHistory &history, Range range, bool keepDraws = false);

// The verdict from the figures of report.settings (p-values, hits and their expectation and
// variance) and report.drawsTested: fills the adjusted p-values, excessHits and rank, then
// comparisons, best and verdict. runOne and runAll call it; settings must not be empty.
void judge(Report &report);

// The predicted sets for each complete draw of the range, for one setting: what the
// prediction window shows when the history ends just before that draw.
std::vector<DrawOutcome> predictions(const DrawHistory &history, Range range, int reflectOffset);

// "p = 0.41", "p = 0.0031", "p < 0.0001"
QString pText(double p);

// The running total of main hits minus its expectation, with two standard deviations of
// chance, after each tested draw.
struct CumulativePoint {
    int drawNumber;
    double excess;
    double twoSigma;
};
std::vector<CumulativePoint> cumulativeExcess(const SettingResult &setting, int method);

} // namespace Backtest
