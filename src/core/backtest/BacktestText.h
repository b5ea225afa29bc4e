#pragma once

#include <QString>

namespace Backtest {
struct Report;
}

// The verdict's sentences, apart from the figures that choose them.
namespace BacktestText {

QString noDrawsTested();
// One setting: a method told apart from chance, or the best of the methods when none is.
QString methodVerdict(int method, bool aboveChance, double adjustedP, int comparisons);
QString noMethodVerdict(int best, double p, double adjustedP, int comparisons);
// All settings: the same for a setting, named by its ReflectOffset.
QString settingVerdict(int reflectOffset, bool aboveChance, double adjustedP, int comparisons);
QString noSettingVerdict(int reflectOffset, double p, double adjustedP, int comparisons);

// How the yen were counted, and the tested draws without prize data by number; empty when no
// draw was tested.
QString yenNote(const Backtest::Report &report);

} // namespace BacktestText
