#pragma once

#include "analysis/Builders.h"

// 引っ張り分析: every complete draw with its nine numbers; a number that was also one of the
// previous complete draw's nine numbers (main or bonus, any position) is highlighted.
// The colour key beside the description belongs to the window.
