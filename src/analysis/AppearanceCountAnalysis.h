#pragma once

#include "analysis/Builders.h"

// 出現回数分析: every complete draw with its nine numbers and, beside them, how often each number
// had appeared in the earlier complete draws. Built by buildAppearanceCount.
namespace AppearanceCount {
inline constexpr int kColumns = 19;
inline constexpr int kFirstDataRow = 3;
inline constexpr int kFirstCountColumn = 11; // the count of the number in column k - 9
} // namespace AppearanceCount
