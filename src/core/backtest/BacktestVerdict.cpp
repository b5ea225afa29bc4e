#include "core/backtest/Backtest.h"
#include "core/backtest/BacktestText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

// The verdict reads only the figures of the report, so it can be tried on made-up ones.
namespace {
// How far above chance a method lies, in standard deviations of chance.
double standardised(const Backtest::MethodSummary &m) {
    return m.mainHitVariance > 0 ? (double(m.mainHits) - m.expectedMainHits) / std::sqrt(m.mainHitVariance) : 0.0;
}

void judgeOneSetting(Backtest::Report &report) {
    auto &methods = report.settings.front().methods;
    std::vector<double> p;
    for (const auto &m : methods)
        p.push_back(m.pValue.value);
    const std::vector<double> adjusted = HitStatistics::holmAdjusted(p);
    for (std::size_t i = 0; i < methods.size(); ++i)
        methods[i].adjustedPValue = adjusted[i];
    report.comparisons = Backtest::kMethodCount;

    const auto smallest = std::min_element(adjusted.begin(), adjusted.end());
    if (*smallest < Backtest::kSignificance) {
        report.best = int(smallest - adjusted.begin());
        const auto &m = methods[std::size_t(report.best)];
        report.verdict =
            BacktestText::methodVerdict(report.best, m.mainHits > m.expectedMainHits, *smallest, report.comparisons);
        return;
    }
    report.best = 0;
    for (int i = 1; i < Backtest::kMethodCount; ++i)
        if (standardised(methods[std::size_t(i)]) > standardised(methods[std::size_t(report.best)]))
            report.best = i;
    const auto &m = methods[std::size_t(report.best)];
    report.verdict = BacktestText::noMethodVerdict(report.best, m.pValue.value, m.adjustedPValue, report.comparisons);
}

void judgeAllSettings(Backtest::Report &report) {
    std::vector<double> p;
    for (auto &s : report.settings) {
        double smallest = 1.0;
        s.excessHits = 0;
        for (int m = Backtest::kCycleMethods; m < Backtest::kMethodCount; ++m) {
            smallest = std::min(smallest, s.methods[std::size_t(m)].pValue.value);
            s.excessHits += double(s.methods[std::size_t(m)].mainHits) - s.methods[std::size_t(m)].expectedMainHits;
        }
        s.pValue = std::min(1.0, Backtest::kOptionMethods * smallest);
        p.push_back(s.pValue);
    }
    const std::vector<double> adjusted = HitStatistics::holmAdjusted(p);
    std::vector<std::size_t> order(report.settings.size());
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        report.settings[i].adjustedPValue = adjusted[i];
    // Ranked by hits above chance; equal settings keep ascending ReflectOffset.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return report.settings[a].excessHits > report.settings[b].excessHits + 1e-9;
    });
    for (std::size_t r = 0; r < order.size(); ++r)
        report.settings[order[r]].rank = int(r) + 1;
    report.comparisons = int(report.settings.size());

    const auto smallest = std::min_element(adjusted.begin(), adjusted.end());
    if (*smallest < Backtest::kSignificance) {
        report.best = int(smallest - adjusted.begin());
        const auto &s = report.settings[std::size_t(report.best)];
        report.verdict = BacktestText::settingVerdict(s.reflectOffset, s.excessHits > 0, *smallest, report.comparisons);
        return;
    }
    report.best = int(order.front());
    const auto &s = report.settings[std::size_t(report.best)];
    report.verdict = BacktestText::noSettingVerdict(s.reflectOffset, s.pValue, s.adjustedPValue, report.comparisons);
}
} // namespace

void Backtest::judge(Report &report) {
    if (report.drawsTested == 0) {
        report.comparisons = report.allSettings ? int(report.settings.size()) : kMethodCount;
        report.verdict = BacktestText::noDrawsTested();
        return;
    }
    if (report.allSettings)
        judgeAllSettings(report);
    else
        judgeOneSetting(report);
}
