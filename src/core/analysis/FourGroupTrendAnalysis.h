#pragma once

#include "core/grid/Palette.h"

#include <QString>

// 分割4傾向分析: the number range split into four groups by tens; for every complete draw each of
// its nine numbers (bonus numbers included) coloured by its group, and the count per group.
// The grid itself comes from buildFourGroupTrend (analysis/Builders.h).
namespace FourGroupTrendAnalysis {
inline constexpr int kColumns = 14;
inline constexpr int kVisibleRows = 51;
inline constexpr int kGroups = 4;

// 1 for 1..9, 2 for 10..19, 3 for 20..29, 4 for every other value.
int groupOf(int number);
// Colour of a number cell of group g (1..4), and the heading of its count column.
Rgb groupColour(int group);
QString groupHeading(int group);
} // namespace FourGroupTrendAnalysis
