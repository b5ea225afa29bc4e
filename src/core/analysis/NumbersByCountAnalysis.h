#pragma once

#include "core/analysis/Builders.h"

// 回数別出現分析: one row per appearance count that occurs, listing the numbers drawn exactly that
// often. It only lays out the start-up aggregates. Built by buildNumbersByCount.
namespace NumbersByCount {
inline constexpr int kCountColumnWidth = 5;
inline constexpr int kNumbersColumnWidth = 20;
} // namespace NumbersByCount
