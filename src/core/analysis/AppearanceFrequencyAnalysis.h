#pragma once

#include "core/analysis/Builders.h"

// 出現頻度分析: for every number a row of "●", one per appearance in time order, coloured by
// the field it was drawn in (main number, bonus 1, bonus 2). Built by buildAppearanceFrequency.
namespace AppearanceFrequency {
inline constexpr int kRowOffset = 2; // number n sits in row n + kRowOffset
inline constexpr int kRows = kRowOffset + DrawRules::kMaxNumber; // two heading rows and the numbers
inline constexpr int kVisibleColumns = 51;
} // namespace AppearanceFrequency
