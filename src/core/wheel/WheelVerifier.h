#pragma once

#include "core/wheel/Wheel.h"

#include <cstdint>
#include <optional>

// The check every wheel passes before it is shown: each of the C(v,m) sets of m numbers of the
// pool, one by one, must meet some ticket in at least t numbers. Written apart from the search,
// so that it shares none of the search's bookkeeping.
namespace WheelVerifier {

// The first set of m pool numbers (ordered by its largest number, then the next largest...) that
// no ticket meets in t numbers; nullopt when the guarantee holds.
std::optional<DrawRules::NumberMask> firstUncovered(const Wheel &wheel);

inline bool holds(const Wheel &wheel) { return !firstUncovered(wheel); }

// How many sets the check goes through: C(v, m).
std::uint64_t casesChecked(const Wheel &wheel);

} // namespace WheelVerifier
