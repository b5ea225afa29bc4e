#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/settings/PredictionOptions.h"

#include <vector>

// One builder per analysis window: the whole content of the window, computed from the
// snapshot as the window computes it while loading.
ResultGrid buildAppearanceFrequency(const DrawHistory &history); // 出現頻度分析
ResultGrid buildNumbersByCount(const DrawHistory &history);      // 回数別出現分析
ResultGrid buildAppearanceCount(const DrawHistory &history);     // 出現回数分析
ResultGrid buildAppearanceInterval(const DrawHistory &history);  // 出現間隔分析
ResultGrid buildNumberInterval(const DrawHistory &history);      // 数字間隔分析
ResultGrid buildSpread(const DrawHistory &history);              // バラツキ分析
ResultGrid buildCarryOver(const DrawHistory &history);           // 引っ張り分析
ResultGrid buildConsecutiveSkip(const DrawHistory &history);     // 連番飛び石分析
ResultGrid buildNumberSum(const DrawHistory &history);           // 数字合計分析
ResultGrid buildLowHighPattern(const DrawHistory &history);      // 低数字高数字の組合せパターン分析
ResultGrid buildEvenOddPattern(const DrawHistory &history);      // 偶数奇数の組合せパターン分析
ResultGrid buildFourGroupTrend(const DrawHistory &history);      // 分割4傾向分析
ResultGrid buildGroupSplit6(const DrawHistory &history);         // 分割6データ分析
ResultGrid buildGroupSplit7(const DrawHistory &history);         // 分割7データ分析
ResultGrid buildGroupSplit9(const DrawHistory &history);         // 分割9データ分析
ResultGrid buildLastDigitTrend(const DrawHistory &history);      // 下一桁出現傾向分析
ResultGrid buildLastDigitRuns(const DrawHistory &history);       // 下一桁連続出現回数分析
