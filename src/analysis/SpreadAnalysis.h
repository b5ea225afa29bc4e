#pragma once

#include "analysis/Builders.h"

// バラツキ分析: a dot chart, one row per complete draw and one column per number, with a
// "●" in the colour of the field's kind (main, bonus 1, bonus 2) wherever the number was drawn.
// The colour key above the grid belongs to the window.
