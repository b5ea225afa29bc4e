#pragma once

#include "core/history/DrawRules.h"

#include <array>

// What the prediction window predicts, as data: the numbers of each method as a set. The
// window, the ticket list taken from it and the backtest's replay all speak of these.
namespace Prediction {

// The seven predicted sets, in the window's order: the four cycle rows, then the elimination,
// repeated and one-shot sets.
enum Method { Cycle7, Cycle9, Cycle11, Cycle12, Elimination, Repeated, OneShot, kMethodCount };
constexpr int kCycleMethods = 4;

// The one-shot set holds the first seven numbers of the repeated set, which holds at most
// fourteen; its second row of seven is the repeated set without the one-shot set.
constexpr int kOneShotCount = 7;
constexpr int kRepeatedCount = 14;

using Sets = std::array<DrawRules::NumberMask, kMethodCount>;

} // namespace Prediction
