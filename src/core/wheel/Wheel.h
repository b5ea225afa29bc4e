#pragma once

#include "core/history/DrawRules.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// A wheel: tickets of seven numbers from a pool, with a guarantee "t if m": whenever at least m
// of the seven main numbers drawn are in the pool, some ticket holds at least t of them.
struct Guarantee {
    int match = 0; // t
    int drawn = 0; // m
    bool operator==(const Guarantee &) const = default;
};

struct Wheel {
    std::vector<int> pool; // ascending
    Guarantee guarantee;
    std::vector<DrawRules::NumberMask> tickets; // each seven numbers of the pool, ascending by numbers

    static constexpr int kTicketPrice = 300; // yen
    long long cost() const { return static_cast<long long>(tickets.size()) * kTicketPrice; }
};

namespace WheelInput {

constexpr int kMinPool = DrawRules::kMainCount;
constexpr int kMinMatch = 2;
constexpr int kMaxMatch = 6; // seven of seven is every ticket: the full wheel
// The full wheel is refused above this cost unless the user raises the limit.
constexpr long long kDefaultFullCostLimit = 100'000;

// A pool as typed: numbers 1..37 separated by spaces, commas or tabs (full-width ones too), each
// once, at least seven. Ascending; nullopt and the reason when it is not a pool.
std::optional<std::vector<int>> parsePool(const QString &text, QString *reason);

// "t/m" (or "t if m"); nullopt and the reason when it is not a guarantee a wheel can give.
std::optional<Guarantee> parseGuarantee(const QString &text, QString *reason);
// The reason a guarantee cannot be built by search, empty when it can.
QString guaranteeProblem(Guarantee g);

// The numbers of a mask, ascending.
std::vector<int> numbersOf(DrawRules::NumberMask mask);
DrawRules::NumberMask maskOf(const std::vector<int> &numbers);
std::array<int, DrawRules::kMainCount> ticketNumbers(DrawRules::NumberMask ticket);

// "3 if 3" as the window and the messages show it: 「3 if 3」
QString guaranteeText(Guarantee g);
// 1,234,567
QString grouped(long long n);

} // namespace WheelInput
