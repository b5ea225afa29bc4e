#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

#include <optional>

// The two combination pattern windows: the seven main numbers of every complete draw split
// into two classes, counted, and the count turned into a pattern letter "A".."H". Bonus numbers
// are shown but never classified. buildLowHighPattern and buildEvenOddPattern (analysis/Builders.h)
// are this with their classing.
namespace PatternAnalysis {
enum class Classing {
    LowHigh, // 低数字 1..18 / 高数字 19 and up; the pattern index is the low count
    EvenOdd, // 偶数 / 奇数; the pattern index is the odd count
};

inline constexpr int kColumns = 13;
inline constexpr int kVisibleRows = 51;

struct Pattern {
    QString letter;
    std::optional<Rgb> back; // none: the cell keeps whatever colour it had
};

// Letter and colour of pattern index 0..7; any other index gives an empty letter and no colour.
Pattern pattern(int index);

ResultGrid build(const DrawHistory &history, Classing classing);
} // namespace PatternAnalysis
