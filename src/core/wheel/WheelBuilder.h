#pragma once

#include "core/wheel/Wheel.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Builds wheels: as few tickets as a search of a few seconds finds for a guarantee, or every
// ticket of the pool (the full wheel). Whatever is returned has passed WheelVerifier.
namespace WheelBuilder {

struct Progress {
    double fraction = 0; // of the budget spent, 0..1
    int best = 0;        // tickets of the smallest wheel found so far; 0 before the first
};
// Called now and then from the thread that called build; returning false cancels the build.
using ProgressCallback = std::function<bool(const Progress &)>;

struct Options {
    double seconds = 2.0;
    std::uint64_t seed = 20'261'208;
    // The search's work budget; 0: what this machine does in about `seconds`. The same pool,
    // guarantee, seed and work budget give the same tickets, unless the machine is so busy that
    // the time runs out first.
    std::uint64_t work = 0;
    ProgressCallback progress;
};

enum class Outcome {
    Built,      // the budget was spent; the smallest wheel found
    AtBound,    // no wheel of this guarantee on this pool can have fewer tickets
    Cancelled,  // wheel holds the smallest one found before the cancel, if any
    Refused,    // nothing built: message says why
    Failed      // a wheel was built but failed its check: not shown (a fault of the search)
};

struct Result {
    Outcome outcome = Outcome::Refused;
    std::optional<Wheel> wheel; // verified
    QString message;            // the reason for a refusal
    int lowerBound = 0;         // no wheel has fewer tickets
    std::uint64_t work = 0;
};

// The full wheel is written out ticket by ticket: C(24, 7) fits.
constexpr std::uint64_t kMaxFullTickets = 400'000;

// Work units one core of this machine gets through in a good second, for Options::work (a
// core does 150 to 280 million, whichever the guarantee; the rest is left for the check, the
// odds and a busy machine).
constexpr double kWorkPerSecond = 100e6;

// Why this pool and guarantee cannot be searched (too large a problem, a guarantee only the
// full wheel gives); empty when they can.
QString problem(const std::vector<int> &pool, Guarantee g);

// A proven lower bound on the tickets of any wheel: the largest of the Schönheim bound (t = m),
// the count bound (each ticket meets a fixed number of m-sets) and the bound from taking numbers
// out of the pool ticket by ticket until the rest meets every ticket in fewer than t.
int lowerBound(int poolSize, Guarantee g);

// pool: ascending, 7..37 different numbers 1..37; g from WheelInput::parseGuarantee.
Result build(const std::vector<int> &pool, Guarantee g, const Options &options = {});

// Every seven numbers of the pool, refused when that costs more than costLimit yen. The
// guarantee is any the full wheel holds (all of them); it is checked all the same.
Result full(const std::vector<int> &pool, Guarantee g, long long costLimit = WheelInput::kDefaultFullCostLimit);

} // namespace WheelBuilder
