#include "core/wheel/CoverSearch.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
using Mask = Subsets::Mask;
constexpr Mask bit(int element) { return Mask(1) << element; }

// The work between two looks at the clock and the cancel callback, and the time between two
// progress reports.
constexpr std::uint64_t kCheckEvery = 1 << 16;
constexpr auto kReportEvery = std::chrono::milliseconds(25);

// The floor the annealing cools to. Costs are whole m-sets, so temperatures are in m-sets too.
constexpr double kCold = 0.1;
// A move costs about this many m-sets' work besides the m-sets it looks at.
constexpr std::uint64_t kMoveWork = 40;
} // namespace

CoverSearch::CoverSearch(int v, int t, int m, std::uint64_t seed, Heat heat)
    : m_v(v), m_t(t), m_m(m), m_heat(heat), m_all(Subsets::firstElements(v)), m_rng(seed) {
    const std::size_t sets = Subsets::binomial(v, m);
    m_cover.assign(sets, 0);
    m_uncovered.resize(sets);
    m_slot.resize(sets);
    for (std::size_t r = 0; r < sets; ++r) {
        m_uncovered[r] = std::uint32_t(r);
        m_slot[r] = std::int32_t(r);
    }
    m_holders.resize(Subsets::binomial(v, t - 1));
}

std::uint64_t CoverSearch::coveredByOneTicket(int v, int t, int m) {
    std::uint64_t n = 0;
    for (int j = t; j <= m; ++j)
        n += Subsets::binomial(7, j) * Subsets::binomial(v - 7, m - j);
    return n;
}

template <typename F> void CoverSearch::forEachCovered(Mask ticket, F &&f) {
    const Mask outside = m_all & ~ticket;
    for (int j = m_t; j <= m_m; ++j)
        Subsets::forEach(ticket, j, [&](Mask inside) {
            Subsets::forEach(outside, m_m - j, [&](Mask rest) {
                f(std::uint32_t(Subsets::rank(inside | rest)));
                return true;
            });
            return true;
        });
    m_work += coveredByOneTicket(m_v, m_t, m_m);
}

void CoverSearch::markUncovered(std::uint32_t rank) {
    m_slot[rank] = std::int32_t(m_uncovered.size());
    m_uncovered.push_back(rank);
}

void CoverSearch::markCovered(std::uint32_t rank) {
    const std::int32_t slot = m_slot[rank];
    const std::uint32_t moved = m_uncovered.back();
    m_uncovered[std::size_t(slot)] = moved;
    m_slot[moved] = slot;
    m_uncovered.pop_back();
    m_slot[rank] = -1;
}

// Every (t-1)-subset of a ticket gains or loses it as a holder.
void CoverSearch::hold(Mask subsets, std::uint32_t ticket) {
    Subsets::forEach(subsets, m_t - 1, [&](Mask s) {
        m_holders[Subsets::rank(s)].push_back(ticket);
        return true;
    });
}

void CoverSearch::release(Mask subsets, std::uint32_t ticket) {
    Subsets::forEach(subsets, m_t - 1, [&](Mask s) {
        std::vector<std::uint32_t> &list = m_holders[Subsets::rank(s)];
        *std::find(list.begin(), list.end(), ticket) = list.back();
        list.pop_back();
        return true;
    });
}

void CoverSearch::add(Mask ticket) {
    hold(ticket, std::uint32_t(m_tickets.size()));
    m_tickets.push_back(ticket);
    forEachCovered(ticket, [&](std::uint32_t r) {
        if (m_cover[r]++ == 0)
            markCovered(r);
    });
}

// The last ticket takes the place of the one removed.
void CoverSearch::remove(std::size_t ticket) {
    forEachCovered(m_tickets[ticket], [&](std::uint32_t r) {
        if (--m_cover[r] == 0)
            markUncovered(r);
    });
    release(m_tickets[ticket], std::uint32_t(ticket));
    const std::size_t last = m_tickets.size() - 1;
    if (ticket != last) {
        release(m_tickets[last], std::uint32_t(last));
        hold(m_tickets[last], std::uint32_t(ticket));
        m_tickets[ticket] = m_tickets[last];
    }
    m_tickets.pop_back();
}

std::uint64_t CoverSearch::countWith(Mask ticket, std::uint32_t cover) {
    std::uint64_t n = 0;
    forEachCovered(ticket, [&](std::uint32_t r) { n += m_cover[r] == cover; });
    return n;
}

CoverSearch::Mask CoverSearch::unrank(std::uint64_t rank) const {
    Mask set = 0;
    int top = m_v - 1;
    for (int i = m_m; i >= 1; --i) {
        while (Subsets::binomial(top, i) > rank)
            --top;
        set |= bit(top);
        rank -= Subsets::binomial(top, i);
        --top;
    }
    return set;
}

int CoverSearch::randomElement(Mask of) {
    for (std::uint32_t skip = m_rng.below(std::uint32_t(std::popcount(of))); skip > 0; --skip)
        of &= of - 1;
    return std::countr_zero(of);
}

CoverSearch::Mask CoverSearch::randomSubset(Mask of, int k) {
    Mask chosen = 0;
    for (int i = 0; i < k; ++i) {
        const int e = randomElement(of);
        chosen |= bit(e);
        of &= ~bit(e);
    }
    return chosen;
}

// A ticket through t elements of the target, completed one element at a time by the element
// that covers most m-sets still uncovered (those meeting the ticket so far in t-1 elements).
CoverSearch::Mask CoverSearch::greedyTicket(Mask target) {
    Mask ticket = randomSubset(target, m_t);
    for (int size = m_t; size < 7; ++size) {
        int chosen = -1;
        std::uint64_t most = 0, ties = 0;
        for (Mask candidates = m_all & ~ticket; candidates; candidates &= candidates - 1) {
            const int e = std::countr_zero(candidates);
            std::uint64_t gain = 0;
            Subsets::forEach(ticket, m_t - 1, [&](Mask k) {
                Subsets::forEach(m_all & ~(ticket | bit(e)), m_m - m_t, [&](Mask f) {
                    gain += m_cover[Subsets::rank(k | f | bit(e))] == 0;
                    ++m_work;
                    return true;
                });
                return true;
            });
            if (chosen < 0 || gain > most) {
                chosen = e;
                most = gain;
                ties = 1;
            } else if (gain == most && m_rng.below(std::uint32_t(++ties)) == 0) {
                chosen = e;
            }
        }
        ticket |= bit(chosen);
    }
    return ticket;
}

// Until every m-set is met: a greedy ticket through a random uncovered one.
void CoverSearch::greedy() {
    while (!m_uncovered.empty() && !stopRequested(true))
        add(greedyTicket(unrank(m_uncovered[m_rng.below(std::uint32_t(m_uncovered.size()))])));
}

void CoverSearch::setTemperature(double temperature) {
    m_temperature = temperature;
    m_movesAtTemperature = 0;
    for (int d = 0; d < 9; ++d)
        m_accept[d] = std::exp(-d / temperature);
}

// An uncovered m-set, a ticket that meets it in the most elements (t-1 when there is one), and
// one of that ticket's other numbers swapped for one of the m-set's: it then meets the m-set in
// one element more.
CoverSearch::Move CoverSearch::propose() {
    const Mask target = unrank(m_uncovered[m_rng.below(std::uint32_t(m_uncovered.size()))]);
    Move move;
    // Tickets holding t-1 of the target: each holds one (t-1)-subset of it, so the lists do not
    // overlap and one index into their joined length picks uniformly.
    std::array<const std::vector<std::uint32_t> *, 35> lists{};
    std::size_t count = 0, joined = 0;
    Subsets::forEach(target, m_t - 1, [&](Mask s) {
        const std::vector<std::uint32_t> &list = m_holders[Subsets::rank(s)];
        lists[count++] = &list;
        joined += list.size();
        return true;
    });
    m_work += 2 * count;
    if (joined > 0) {
        std::size_t pick = m_rng.below(std::uint32_t(joined));
        for (std::size_t i = 0;; ++i) {
            if (pick < lists[i]->size()) {
                move.ticket = (*lists[i])[pick];
                break;
            }
            pick -= lists[i]->size();
        }
    } else {
        int most = -1;
        std::uint32_t ties = 0;
        for (std::size_t i = 0; i < m_tickets.size(); ++i) {
            const int common = std::popcount(m_tickets[i] & target);
            if (common > most) {
                most = common;
                ties = 1;
                move.ticket = i;
            } else if (common == most && m_rng.below(++ties) == 0) {
                move.ticket = i;
            }
        }
        m_work += m_tickets.size() / 2;
    }
    const Mask ticket = m_tickets[move.ticket];
    move.out = randomElement(ticket & ~target);
    move.in = randomElement(target & ~ticket);
    return move;
}

// The m-sets the move changes: those meeting the ticket less its leaving number in exactly t-1
// elements, with the leaving number and not the arriving one (they lose this ticket) or the
// other way round (they gain it). Returns the change in the number of uncovered m-sets.
int CoverSearch::evaluate(const Move &move) {
    const Mask kept = m_tickets[move.ticket] & ~bit(move.out);
    const Mask others = m_all & ~(kept | bit(move.out) | bit(move.in));
    m_keep.clear();
    m_fill.clear();
    Subsets::forEach(kept, m_t - 1, [&](Mask s) {
        m_keep.push_back(s);
        return true;
    });
    Subsets::forEach(others, m_m - m_t, [&](Mask s) {
        m_fill.push_back(s);
        return true;
    });
    m_lose.clear();
    m_gain.clear();
    int delta = 0;
    for (const Mask k : m_keep)
        for (const Mask f : m_fill) {
            const auto lose = std::uint32_t(Subsets::rank(k | f | bit(move.out)));
            const auto gain = std::uint32_t(Subsets::rank(k | f | bit(move.in)));
            delta += (m_cover[lose] == 1) - (m_cover[gain] == 0);
            m_lose.push_back(lose);
            m_gain.push_back(gain);
        }
    m_work += 2 * m_lose.size() + kMoveWork;
    return delta;
}

void CoverSearch::apply(const Move &move) {
    for (const std::uint32_t r : m_lose)
        if (--m_cover[r] == 0)
            markUncovered(r);
    for (const std::uint32_t r : m_gain)
        if (m_cover[r]++ == 0)
            markCovered(r);
    const Mask kept = m_tickets[move.ticket] & ~bit(move.out);
    const auto ticket = std::uint32_t(move.ticket);
    // The (t-1)-subsets with the leaving element lose the ticket, those with the arriving one gain it.
    Subsets::forEach(kept, m_t - 2, [&](Mask s) {
        std::vector<std::uint32_t> &list = m_holders[Subsets::rank(s | bit(move.out))];
        *std::find(list.begin(), list.end(), ticket) = list.back();
        list.pop_back();
        m_holders[Subsets::rank(s | bit(move.in))].push_back(ticket);
        return true;
    });
    m_tickets[move.ticket] = kept | bit(move.in);
    m_work += m_lose.size() + 4 * Subsets::binomial(6, m_t - 2);
}

// Drives the uncovered m-sets to none; false when the budget ran out first.
bool CoverSearch::anneal() {
    const std::uint64_t round = std::max<std::uint64_t>(200, m_tickets.size() * 7);
    while (!m_uncovered.empty()) {
        if (stopRequested())
            return false;
        const Move move = propose();
        const int delta = evaluate(move);
        if (delta <= 0 || m_rng.unit() < m_accept[std::min(delta, 8)])
            apply(move);
        if (++m_movesAtTemperature >= round)
            setTemperature(m_temperature * m_heat.cooling >= kCold ? m_temperature * m_heat.cooling
                           : ++m_heatings % 2                      ? m_heat.hot
                                                                   : m_heat.warm);
    }
    return true;
}

// The ticket whose loss uncovers the fewest m-sets goes.
void CoverSearch::dropWeakestTicket() {
    std::size_t weakest = 0;
    std::uint64_t fewest = ~std::uint64_t(0);
    for (std::size_t i = 0; i < m_tickets.size() && fewest > 0; ++i)
        if (const std::uint64_t alone = countWith(m_tickets[i], 1); alone < fewest) {
            fewest = alone;
            weakest = i;
        }
    remove(weakest);
}

// Tickets of the best design that every m-set they meet can spare, and repeated tickets, go.
void CoverSearch::pruneBest() {
    std::fill(m_cover.begin(), m_cover.end(), 0);
    std::vector<Mask> tickets = m_best;
    std::sort(tickets.begin(), tickets.end());
    tickets.erase(std::unique(tickets.begin(), tickets.end()), tickets.end());
    m_tickets.clear();
    for (const Mask t : tickets) {
        m_tickets.push_back(t);
        forEachCovered(t, [&](std::uint32_t r) { ++m_cover[r]; });
    }
    for (std::size_t i = m_tickets.size(); i-- > 0;)
        if (countWith(m_tickets[i], 1) == 0) {
            forEachCovered(m_tickets[i], [&](std::uint32_t r) { --m_cover[r]; });
            m_tickets.erase(m_tickets.begin() + std::ptrdiff_t(i));
        }
    m_best = m_tickets;
}

bool CoverSearch::stopRequested(bool greedyPhase) {
    if (m_work >= m_nextCheck) {
        m_nextCheck = m_work + kCheckEvery;
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - m_start).count();
        if ((m_limits->work && m_work >= m_limits->work) || (m_limits->seconds > 0 && elapsed >= m_limits->seconds))
            m_stopped = true;
        if ((m_limits->halt && m_limits->halt->load(std::memory_order_relaxed)) ||
            (m_limits->haltAtWork && m_work >= m_limits->haltAtWork->load(std::memory_order_relaxed)))
            m_halted = true;
        if (m_limits->progress && now - m_lastReport >= kReportEvery) {
            m_lastReport = now;
            const double byWork = m_limits->work ? double(m_work) / double(m_limits->work) : 0;
            const double byTime = m_limits->seconds > 0 ? elapsed / m_limits->seconds : 0;
            if (!m_limits->progress(std::min(1.0, std::max(byWork, byTime)), int(m_best.size())))
                m_cancelled = m_halted = true;
        }
    }
    return m_halted || (m_stopped && !greedyPhase);
}

void CoverSearch::post() {
    m_best = m_tickets;
    if (m_limits->posted)
        m_limits->posted->store(int(m_best.size()), std::memory_order_relaxed);
}

CoverSearch::End CoverSearch::run(const Limits &limits, int lowerBound) {
    m_limits = &limits;
    m_start = std::chrono::steady_clock::now();
    m_lastReport = m_start;
    greedy();
    if (m_halted) {
        m_best.clear();
        return m_cancelled ? End::Cancelled : End::Budget;
    }
    post();
    setTemperature(m_heat.warm);
    while (int(m_tickets.size()) > lowerBound) {
        dropWeakestTicket();
        if (!anneal())
            break;
        post();
    }
    pruneBest();
    if (m_cancelled)
        return End::Cancelled;
    m_boundWork = m_work;
    return int(m_best.size()) <= lowerBound ? End::LowerBound : End::Budget;
}
