#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The rules of a ロト7 draw, in one place: every reader of numbers (importer, data entry,
// ticket checker, backtest, database schema) takes its bounds and its digit rule from here.
namespace DrawRules {

constexpr int kMinNumber = 1;
constexpr int kMaxNumber = 37;           // numbers are 1..37
constexpr int kNumberSlots = kMaxNumber + 1; // arrays indexed by number; entry 0 unused
constexpr int kMainCount = 7;            // seven main numbers per draw and per ticket
constexpr int kBonusCount = 2;
constexpr int kFieldCount = kMainCount + kBonusCount;
constexpr int kMinDrawNumber = 1;
constexpr int kMaxDrawNumber = 32767;    // 回数 is a 16-bit signed integer in stored files
constexpr int kNumberDigits = 2;         // digits of kMaxNumber: what an entry cell takes
constexpr int kDrawNumberDigits = 5;     // digits of kMaxDrawNumber

constexpr bool isNumber(int n) { return n >= kMinNumber && n <= kMaxNumber; }
constexpr bool isDrawNumber(int n) { return n >= kMinDrawNumber && n <= kMaxDrawNumber; }

// n brought back into 1..37 by one turn of the wheel: 38 is 1, 0 is 37. Callers keep n within
// -36..74, where one turn is enough.
constexpr int wrapNumber(int n) {
    if (n > kMaxNumber)
        return n - kMaxNumber;
    if (n < kMinNumber)
        return n + kMaxNumber;
    return n;
}

// The value of a number typed or read from a file: ASCII or full-width decimal digits with
// optional surrounding spaces (ASCII or ideographic), nothing else. Digits of other scripts are
// not digits here. nullopt for anything else, or for a value beyond maxDigits digits (leading
// zeros do not count: "007" is 7).
std::optional<int> parseDigits(const QString &text, int maxDigits = 6);

// parseDigits within 1..37, or within 1..32767.
std::optional<int> parseNumber(const QString &text);
std::optional<int> parseDrawNumber(const QString &text);

// The nine numbers of a draw all differ: the reason given for one that repeats the number of
// an earlier field, in the importer and the data entry window alike ("5 が 第4数字 と重複しています").
QString repeatedNumberText(int number, const QString &earlierField);

// A set of numbers 1..37 as bits 1..37 of a 64-bit mask.
using NumberMask = std::uint64_t;
constexpr NumberMask maskOf(int n) { return NumberMask(1) << n; }

} // namespace DrawRules
