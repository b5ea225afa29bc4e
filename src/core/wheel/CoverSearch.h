#pragma once

#include "core/wheel/Subsets.h"

#include <bit>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// The search behind WheelBuilder, on the elements 0..v-1 of a pool: tickets of seven elements
// such that every m-set meets one of them in at least t elements. Each m-set keeps the number
// of tickets that meet it so (its cover count), so a change of one number in one ticket is
// judged by looking only at the m-sets that change is able to gain or lose.
//
// A greedy start, then simulated annealing: with one ticket fewer than the last complete
// design, the number of uncovered m-sets is driven to zero by moving one number of one ticket
// at a time; each success drops another ticket. Every random choice comes from one generator
// with a fixed seed, so a run that ends by its work budget is the same every time. How hot the
// annealing runs is the caller's choice (Heat): no one schedule suits every design.
class CoverSearch {
public:
    using Mask = Subsets::Mask;

    struct Limits {
        // Work units (one per m-set looked at): the budget that keeps a run repeatable.
        std::uint64_t work = 0;
        // Wall-clock cap in seconds, for a machine too busy to spend the work in time; 0: none.
        double seconds = 0;
        // Called now and then with the share of the budget spent and the size of the best
        // design so far (0 before the first); returning false cancels.
        std::function<bool(double fraction, int best)> progress;
        // Set from elsewhere (another search, a cancel): stop as soon as seen, greedy start too.
        const std::atomic<bool> *halt = nullptr;
        // Set from elsewhere (the work after which another search reached the lower bound): stop,
        // greedy start too, once this much work is done. A search stopped so has done at least
        // that much work, so whether it reached the bound with less does not depend on timing.
        const std::atomic<std::uint64_t> *haltAtWork = nullptr;
        // Where the size of the best design so far is posted, for another thread to read.
        std::atomic<int> *posted = nullptr;
    };
    // The annealing cools by `cooling` every round of moves down to a fixed floor, then warms up
    // again, to `warm` and `hot` in turn.
    struct Heat {
        double warm, hot, cooling;
    };
    // Some designs shrink at a mild heat, others only after a hotter one; some only at a low one.
    static constexpr Heat kMild{0.5, 0.8, 0.995}, kLow{0.4, 0.4, 0.99};
    enum class End { LowerBound, Budget, Cancelled };

    // Elements 0..v-1 (7 <= v <= 63), 2 <= t <= m <= 7, t <= 6.
    CoverSearch(int v, int t, int m, std::uint64_t seed, Heat heat = kMild);

    // Runs until a design of lowerBound tickets is found, the budget is spent or the run is
    // cancelled or halted. Only a cancel or a halt stops the greedy start, so the budget's end
    // leaves a design.
    End run(const Limits &limits, int lowerBound);

    // The smallest complete design found, without tickets it does not need; empty when
    // cancelled before the first one.
    const std::vector<Mask> &best() const { return m_best; }
    std::uint64_t work() const { return m_work; }
    // The work done when the best design first had lowerBound tickets (End::LowerBound).
    std::uint64_t boundWork() const { return m_boundWork; }

    // The m-sets one ticket meets in at least t elements: sum over j >= t of C(7,j) C(v-7,m-j).
    static std::uint64_t coveredByOneTicket(int v, int t, int m);

private:
    struct Rng { // xoshiro256**, seeded by splitmix64
        std::uint64_t s[4];
        explicit Rng(std::uint64_t seed) {
            for (std::uint64_t &word : s) {
                std::uint64_t z = seed += 0x9E3779B97F4A7C15ULL;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
                word = z ^ (z >> 31);
            }
        }
        std::uint64_t next() {
            const std::uint64_t result = std::rotl(s[1] * 5, 7) * 9, shifted = s[1] << 17;
            s[2] ^= s[0];
            s[3] ^= s[1];
            s[1] ^= s[2];
            s[0] ^= s[3];
            s[2] ^= shifted;
            s[3] = std::rotl(s[3], 45);
            return result;
        }
        std::uint32_t below(std::uint32_t n) { return std::uint32_t(((next() >> 32) * n) >> 32); }
        double unit() { return double(next() >> 11) * 0x1.0p-53; }
    };
    struct Move {
        std::size_t ticket = 0;
        int out = 0, in = 0; // elements
    };

    template <typename F> void forEachCovered(Mask ticket, F &&f);
    void add(Mask ticket);
    void remove(std::size_t ticket);
    void hold(Mask subsets, std::uint32_t ticket);
    void release(Mask subsets, std::uint32_t ticket);
    std::uint64_t countWith(Mask ticket, std::uint32_t cover); // covered m-sets with that count
    void markUncovered(std::uint32_t rank);
    void markCovered(std::uint32_t rank);
    Mask unrank(std::uint64_t rank) const;
    Mask randomSubset(Mask of, int k);
    int randomElement(Mask of);

    Mask greedyTicket(Mask target);
    void greedy();
    bool anneal();
    Move propose();
    int evaluate(const Move &move);
    void apply(const Move &move);
    void dropWeakestTicket();
    void pruneBest();
    bool stopRequested(bool greedyPhase = false);
    void post(); // the current design is the best

    const int m_v, m_t, m_m;
    const Heat m_heat;
    const Mask m_all;
    Rng m_rng;
    std::vector<std::uint32_t> m_cover;     // per m-set, by rank
    std::vector<std::uint32_t> m_uncovered; // ranks of the m-sets with count 0
    std::vector<std::int32_t> m_slot;       // where a rank stands in m_uncovered, -1 if covered
    std::vector<Mask> m_tickets, m_best;
    // Per (t-1)-set, by rank: the tickets that hold it. A ticket that meets an uncovered m-set
    // in t-1 elements holds exactly one of its (t-1)-subsets, so these lists give every ticket
    // one move away from covering it.
    std::vector<std::vector<std::uint32_t>> m_holders;
    std::vector<std::uint32_t> m_lose, m_gain; // the last evaluated move's m-sets
    std::vector<Mask> m_keep, m_fill;          // its parts: t-1 of the ticket, m-t outside

    // Annealing temperature and the chance of taking a move that uncovers d more m-sets.
    double m_temperature = 0;
    std::uint64_t m_movesAtTemperature = 0, m_heatings = 0;
    double m_accept[9] = {};
    void setTemperature(double temperature);

    const Limits *m_limits = nullptr;
    std::uint64_t m_work = 0, m_nextCheck = 0, m_boundWork = 0;
    std::chrono::steady_clock::time_point m_start, m_lastReport;
    bool m_stopped = false, m_halted = false, m_cancelled = false;
};
