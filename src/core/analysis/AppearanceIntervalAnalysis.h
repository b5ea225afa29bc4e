#pragma once

#include "core/analysis/Builders.h"

#include <QString>

// 出現間隔分析: for every draw and each of its nine numbers, how many draws earlier that number was
// last drawn (as a main or a bonus number). Built by buildAppearanceInterval.
namespace AppearanceInterval {
// "初回" for 0 (no earlier appearance), otherwise "N回前"; nothing for a negative interval.
QString intervalText(int interval);
} // namespace AppearanceInterval
