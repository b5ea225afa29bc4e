#pragma once

#include "core/history/DrawRecord.h"

// 数字合計分析: every complete draw with the sum of its seven main numbers, its two bonus numbers
// and the sum of all nine. The grid itself comes from buildNumberSum (analysis/Builders.h).
namespace NumberSumAnalysis {
inline constexpr int kColumns = 12;
inline constexpr int kVisibleRows = 51;

// Sum of the seven main numbers of a complete draw (at most the seven highest numbers: 238).
int mainNumberSum(const DrawRecord &draw);
} // namespace NumberSumAnalysis
