#include "core/backtest/Backtest.h"

#include "core/backtest/BacktestTally.h"
#include "core/backtest/BacktestWalk.h"
#include "core/prediction/PredictionEngine.h"

#include <algorithm>
#include <numeric>

namespace {
using DrawRules::maskOf;
using DrawRules::NumberMask;

Backtest::Report run(const DrawHistory &history, Backtest::Range range, const std::vector<int> &offsets, bool keepDraws,
                     bool allSettings) {
    Backtest::Report report;
    report.range = range;
    report.allSettings = allSettings;
    report.settings.resize(offsets.size());
    for (std::size_t s = 0; s < offsets.size(); ++s)
        report.settings[s].reflectOffset = offsets[s];

    int largest = 0;
    for (const DrawRecord &draw : history.records())
        if (Backtest::usable(draw))
            largest = std::max(largest, draw.drawNumber);
    Backtest::Walk walk(largest);
    // The cycle rows do not depend on the options: counted once, shared by every setting.
    std::array<Backtest::MethodSummary, Backtest::kCycleMethods> cycles;

    for (const DrawRecord &draw : history.records()) {
        if (!Backtest::usable(draw))
            continue;
        const int t = draw.drawNumber;
        if (t > range.to)
            break;
        if (t >= range.from) {
            NumberMask main = 0, bonus = 0;
            for (int k = 1; k <= DrawRules::kMainCount; ++k)
                main |= maskOf(draw.number(k));
            for (int k = DrawRules::kMainCount + 1; k <= DrawRules::kFieldCount; ++k)
                bonus |= maskOf(draw.number(k));

            const auto paid = history.prizes().find(t);
            const DrawPrizes *prizes = paid == history.prizes().end() ? nullptr : &paid->second;
            if (!prizes)
                report.withoutPrizes.push_back(t);

            Backtest::DrawOutcome outcome;
            outcome.drawNumber = t;
            walk.cycleSets(outcome.sets);
            for (int m = 0; m < Backtest::kCycleMethods; ++m) {
                const PrizeTier::Hits h =
                    Backtest::tally(cycles[std::size_t(m)], outcome.sets[std::size_t(m)], main, bonus, prizes);
                outcome.mainHits[std::size_t(m)] = std::uint8_t(h.main);
                outcome.bonusHits[std::size_t(m)] = std::uint8_t(h.bonus);
            }
            for (Backtest::SettingResult &s : report.settings) {
                walk.optionSets(s.reflectOffset, outcome.sets);
                for (int m = Backtest::kCycleMethods; m < Backtest::kMethodCount; ++m) {
                    const PrizeTier::Hits h =
                        Backtest::tally(s.methods[std::size_t(m)], outcome.sets[std::size_t(m)], main, bonus, prizes);
                    outcome.mainHits[std::size_t(m)] = std::uint8_t(h.main);
                    outcome.bonusHits[std::size_t(m)] = std::uint8_t(h.bonus);
                }
                if (keepDraws)
                    s.draws.push_back(outcome);
            }
            if (report.drawsTested++ == 0)
                report.firstTested = t;
            report.lastTested = t;
        }
        walk.add(draw);
    }

    for (Backtest::SettingResult &s : report.settings) {
        std::copy(cycles.begin(), cycles.end(), s.methods.begin());
        for (auto &m : s.methods)
            Backtest::finishSummary(m);
    }
    if (!report.settings.empty())
        Backtest::judge(report);
    return report;
}
} // namespace

int Backtest::reflectOffsetOf(const PredictionOptions &options) {
    int sum = 0;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        if (options.ReflectFlag[std::size_t(i)])
            sum += PredictionEngine::kReflectWeights[std::size_t(i)];
    return sum;
}

const std::vector<int> &Backtest::reachableOffsets() {
    static const std::vector<int> offsets = [] {
        const int total =
            std::accumulate(PredictionEngine::kReflectWeights.begin(), PredictionEngine::kReflectWeights.end(), 0);
        std::vector<bool> reachable(std::size_t(total) + 1);
        reachable[0] = true;
        for (const int w : PredictionEngine::kReflectWeights)
            for (int s = total; s >= w; --s)
                reachable[std::size_t(s)] = reachable[std::size_t(s)] || reachable[std::size_t(s - w)];
        std::vector<int> list;
        for (int s = 0; s <= total; ++s)
            if (reachable[std::size_t(s)])
                list.push_back(s);
        return list;
    }();
    return offsets;
}

bool Backtest::Report::anyExactPValue() const {
    for (const auto &s : settings)
        for (const auto &m : s.methods)
            if (m.pValue.exact)
                return true;
    return false;
}

bool Backtest::Report::anyApproximatePValue() const {
    for (const auto &s : settings)
        for (const auto &m : s.methods)
            if (!m.pValue.exact)
                return true;
    return false;
}

Backtest::Report Backtest::runOne(const DrawHistory &history, Range range, int reflectOffset, bool keepDraws) {
    return run(history, range, {reflectOffset}, keepDraws, false);
}

Backtest::Report Backtest::runAll(const DrawHistory &history, Range range, bool keepDraws) {
    return run(history, range, reachableOffsets(), keepDraws, true);
}

std::vector<Backtest::DrawOutcome> Backtest::predictions(const DrawHistory &history, Range range, int reflectOffset) {
    return runOne(history, range, reflectOffset, true).settings.front().draws;
}
