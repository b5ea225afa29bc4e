#include "core/wheel/WheelBuilder.h"

#include "core/wheel/CoverSearch.h"
#include "core/wheel/Subsets.h"
#include "core/wheel/WheelVerifier.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

namespace WheelBuilder {

namespace {
constexpr int kTicketSize = DrawRules::kMainCount;
// The search keeps a count per m-set of the pool: C(v, m) of them at most.
constexpr std::uint64_t kMaxCases = 1'500'000;
constexpr double kSearchShare = 0.85;

Result refused(const QString &message) {
    Result r;
    r.message = message;
    return r;
}

// Tickets on pool positions as tickets of pool numbers, in the order of their numbers.
std::vector<DrawRules::NumberMask> toNumbers(const std::vector<Subsets::Mask> &design, const std::vector<int> &pool) {
    std::vector<DrawRules::NumberMask> tickets;
    for (Subsets::Mask set : design) {
        DrawRules::NumberMask numbers = 0;
        for (; set; set &= set - 1)
            numbers |= DrawRules::maskOf(pool[std::size_t(std::countr_zero(set))]);
        tickets.push_back(numbers);
    }
    std::sort(tickets.begin(), tickets.end(), [](DrawRules::NumberMask a, DrawRules::NumberMask b) {
        return WheelInput::ticketNumbers(a) < WheelInput::ticketNumbers(b);
    });
    return tickets;
}

// Only a verified wheel leaves the builder.
Result checked(Result r) {
    if (r.wheel && !WheelVerifier::holds(*r.wheel)) {
        r.wheel.reset();
        r.outcome = Outcome::Failed;
        r.message = QStringLiteral("作った組合せが保証を満たしていません。組合せは表示しません。");
    }
    return r;
}
} // namespace

QString problem(const std::vector<int> &pool, Guarantee g) {
    if (const QString why = WheelInput::guaranteeProblem(g); !why.isEmpty())
        return why;
    const std::uint64_t cases = Subsets::binomial(int(pool.size()), g.drawn);
    if (cases > kMaxCases)
        return QStringLiteral("プール%1個で%2を保証するには%3通りの確認が要り、大きすぎて作れません（%4通りまで）。")
            .arg(pool.size())
            .arg(WheelInput::guaranteeText(g), WheelInput::grouped(qint64(cases)),
                 WheelInput::grouped(qint64(kMaxCases)));
    return {};
}

int lowerBound(int v, Guarantee g) {
    const int t = g.match, m = g.drawn;
    // Taking at most 8-t numbers out per ticket leaves a rest meeting each ticket in fewer than
    // t; while m numbers are left, they form an m-set no ticket covers.
    int bound = (v - m) / (kTicketSize + 1 - t) + 1;
    const std::uint64_t perTicket = CoverSearch::coveredByOneTicket(v, t, m);
    const std::uint64_t cases = Subsets::binomial(v, m);
    bound = std::max(bound, int((cases + perTicket - 1) / perTicket));
    if (t == m) { // Schönheim: C(v,k,t) >= ceil(v/k C(v-1,k-1,t-1))
        std::uint64_t s = 1;
        for (int i = t - 1; i >= 0; --i) {
            const std::uint64_t n = std::uint64_t(v - i), k = std::uint64_t(kTicketSize - i);
            s = (n * s + k - 1) / k;
        }
        bound = std::max(bound, int(s));
    }
    return bound;
}

// Two searches at two heats, side by side on two threads, each with the whole budget; the
// smaller design wins. The first one to reach the lower bound stops the other once that has done
// as much work; of two designs at the bound the one reached with less work wins, and the first
// search's on a tie or when neither is at the bound. So the winner does not depend on timing.
Result build(const std::vector<int> &pool, Guarantee g, const Options &options) {
    if (const QString why = problem(pool, g); !why.isEmpty())
        return refused(why);
    const int v = int(pool.size());
    Result r;
    r.lowerBound = lowerBound(v, g);
    CoverSearch mild(v, g.match, g.drawn, options.seed, CoverSearch::kMild);
    CoverSearch low(v, g.match, g.drawn, options.seed + 1, CoverSearch::kLow);
    std::atomic<bool> haltLow = false;
    std::atomic<std::uint64_t> mildAtBound = UINT64_MAX, lowAtBound = UINT64_MAX;
    std::atomic<int> postedLow = 0;
    CoverSearch::Limits mildLimits, lowLimits;
    mildLimits.work = lowLimits.work = options.work ? options.work : std::uint64_t(options.seconds * kWorkPerSecond);
    // The check and the clean-up after the search take their share of the time too.
    mildLimits.seconds = lowLimits.seconds = options.seconds * kSearchShare;
    mildLimits.haltAtWork = &lowAtBound;
    lowLimits.haltAtWork = &mildAtBound;
    lowLimits.halt = &haltLow;
    lowLimits.posted = &postedLow;
    if (options.progress)
        mildLimits.progress = [&](double fraction, int best) {
            const int other = postedLow.load(std::memory_order_relaxed);
            const bool goOn = options.progress(Progress{fraction, best && other ? std::min(best, other) : best + other});
            if (!goOn)
                haltLow = true;
            return goOn;
        };
    CoverSearch::End lowEnd = CoverSearch::End::Budget;
    std::thread second([&] {
        lowEnd = low.run(lowLimits, r.lowerBound);
        if (lowEnd == CoverSearch::End::LowerBound)
            lowAtBound = low.boundWork();
    });
    const CoverSearch::End mildEnd = mild.run(mildLimits, r.lowerBound);
    if (mildEnd == CoverSearch::End::LowerBound)
        mildAtBound = mild.boundWork();
    else if (mildEnd == CoverSearch::End::Cancelled)
        haltLow = true;
    second.join();

    r.work = mild.work() + low.work();
    const bool bothAtBound = mildEnd == CoverSearch::End::LowerBound && lowEnd == CoverSearch::End::LowerBound;
    const bool lowWins =
        !low.best().empty() &&
        (mild.best().empty() || low.best().size() < mild.best().size() ||
         (bothAtBound && low.best().size() == mild.best().size() && low.boundWork() < mild.boundWork()));
    const CoverSearch &winner = lowWins ? low : mild;
    const CoverSearch::End end = lowWins ? lowEnd : mildEnd;
    r.outcome = mildEnd == CoverSearch::End::Cancelled ? Outcome::Cancelled
                : end == CoverSearch::End::LowerBound   ? Outcome::AtBound
                                                        : Outcome::Built;
    if (!winner.best().empty())
        r.wheel = Wheel{pool, g, toNumbers(winner.best(), pool)};
    return checked(std::move(r));
}

Result full(const std::vector<int> &pool, Guarantee g, long long costLimit) {
    const int v = int(pool.size());
    const std::uint64_t count = Subsets::binomial(v, kTicketSize);
    const long long cost = qint64(count) * Wheel::kTicketPrice;
    if (count > kMaxFullTickets)
        return refused(QStringLiteral("プール%1個の全組合せは%2枚で、作れるのは%3枚までです。")
                           .arg(v)
                           .arg(WheelInput::grouped(qint64(count)), WheelInput::grouped(qint64(kMaxFullTickets))));
    if (cost > costLimit)
        return refused(QStringLiteral("プール%1個の全組合せは%2枚（%3円）で、上限の%4円を超えます。")
                           .arg(v)
                           .arg(WheelInput::grouped(qint64(count)), WheelInput::grouped(cost),
                                WheelInput::grouped(costLimit)));
    std::vector<Subsets::Mask> design;
    design.reserve(count);
    Subsets::forEach(Subsets::firstElements(v), kTicketSize, [&](Subsets::Mask s) {
        design.push_back(s);
        return true;
    });
    Result r;
    r.lowerBound = lowerBound(v, g);
    r.outcome = std::uint64_t(r.lowerBound) == count ? Outcome::AtBound : Outcome::Built;
    r.wheel = Wheel{pool, g, toNumbers(design, pool)};
    return checked(std::move(r));
}

} // namespace WheelBuilder
