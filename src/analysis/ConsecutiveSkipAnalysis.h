#pragma once

#include "analysis/Builders.h"

// 連番飛び石分析: for every complete draw, the neighbouring main numbers (in stored order) that
// differ by 1 (連番, left block) and by 2 (飛び石, right block). Bonus numbers only decide
// whether a draw is complete.
