#pragma once

#include "core/analysis/Builders.h"

#include <QString>

// 数字間隔分析: every draw beside the previous complete draw, position by position
// (第1数字 with the previous 第1数字, and so on through both bonus numbers).

// Text of one difference: "+5", "0", "-12".
QString numberDifferenceText(int difference);
