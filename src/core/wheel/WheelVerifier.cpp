#include "core/wheel/WheelVerifier.h"

#include "core/wheel/Subsets.h"

#include <vector>

namespace WheelVerifier {

std::optional<DrawRules::NumberMask> firstUncovered(const Wheel &wheel) {
    const int v = int(wheel.pool.size());
    const int t = wheel.guarantee.match, m = wheel.guarantee.drawn;
    // Pool numbers as elements 0..v-1.
    std::array<int, DrawRules::kNumberSlots> index{};
    index.fill(-1);
    for (int i = 0; i < v; ++i)
        index[std::size_t(wheel.pool[std::size_t(i)])] = i;
    const auto inPool = [&](DrawRules::NumberMask numbers) {
        Subsets::Mask set = 0;
        for (; numbers; numbers &= numbers - 1)
            if (const int i = index[std::size_t(std::countr_zero(numbers))]; i >= 0)
                set |= Subsets::Mask(1) << i;
        return set;
    };
    // A set of m meets a ticket in t numbers exactly when it holds t numbers of that ticket:
    // mark every t-subset of every ticket, then look for a marked t-subset in each m-set.
    std::vector<bool> held(Subsets::binomial(v, t));
    for (const DrawRules::NumberMask ticket : wheel.tickets)
        Subsets::forEach(inPool(ticket), t, [&](Subsets::Mask s) {
            held[Subsets::rank(s)] = true;
            return true;
        });
    const Subsets::Mask last = Subsets::firstElements(m) << (v - m);
    for (Subsets::Mask set = Subsets::firstElements(m);; set = Subsets::nextOfSameSize(set)) {
        const bool met = !Subsets::forEach(set, t, [&](Subsets::Mask s) { return !held[Subsets::rank(s)]; });
        if (!met) {
            DrawRules::NumberMask numbers = 0;
            for (Subsets::Mask s = set; s; s &= s - 1)
                numbers |= DrawRules::maskOf(wheel.pool[std::size_t(std::countr_zero(s))]);
            return numbers;
        }
        if (set == last)
            return std::nullopt;
    }
}

std::uint64_t casesChecked(const Wheel &wheel) {
    return Subsets::binomial(int(wheel.pool.size()), wheel.guarantee.drawn);
}

} // namespace WheelVerifier
