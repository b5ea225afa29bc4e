#pragma once

#include "core/analysis/Builders.h"

// 出現回数分析: every complete draw with its nine numbers and, beside them, how often each number
// had appeared in the earlier complete draws. Built by buildAppearanceCount.
namespace AppearanceCount {
inline constexpr int kColumns = 19;
inline constexpr int kFirstDataRow = 3;
} // namespace AppearanceCount
