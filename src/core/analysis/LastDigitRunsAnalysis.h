#pragma once

#include "core/history/DrawHistory.h"

#include <array>
#include <vector>

// Per last digit 0..9, one item per drawn number ending in that digit, in history order: the
// draw number, repeated when a draw holds several such numbers (up to four: 1, 11, 21, 31).
using LastDigitDraws = std::array<std::vector<int>, 10>;

// Fills the lists from the complete draws of the history, main and bonus numbers alike.
LastDigitDraws collectLastDigitDraws(const DrawHistory &history);
