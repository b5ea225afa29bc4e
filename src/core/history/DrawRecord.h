#pragma once

#include "core/history/DrawPrizes.h"
#include "core/history/DrawRules.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

// An optional value kept apart from its holder: a holder without one costs a pointer, not the
// value's room. Copies copy the value, and two compare equal when both are empty or both hold
// equal values, as with std::optional.
template <typename T> class OptionalBox {
public:
    OptionalBox() = default;
    OptionalBox(const T &value) : m_value(std::make_unique<T>(value)) {}
    OptionalBox(const std::optional<T> &value) : m_value(value ? std::make_unique<T>(*value) : nullptr) {}
    OptionalBox(const OptionalBox &other) : m_value(other.m_value ? std::make_unique<T>(*other.m_value) : nullptr) {}
    OptionalBox(OptionalBox &&) noexcept = default;
    OptionalBox &operator=(const OptionalBox &other) {
        if (this != &other)
            m_value = other.m_value ? std::make_unique<T>(*other.m_value) : nullptr;
        return *this;
    }
    OptionalBox &operator=(OptionalBox &&) noexcept = default;

    bool has_value() const { return m_value != nullptr; }
    explicit operator bool() const { return has_value(); }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return m_value.get(); }
    void reset() { m_value.reset(); }

    friend bool operator==(const OptionalBox &a, const OptionalBox &b) {
        return a.has_value() == b.has_value() && (!a.has_value() || *a == *b);
    }

private:
    std::unique_ptr<T> m_value;
};

// One draw: 回数 and its nine number fields (seven main numbers, then the two bonus numbers).
// A field may be empty: the data entry window stores rows with empty number cells.
struct DrawRecord {
    static constexpr int kFieldCount = DrawRules::kFieldCount; // 第1数字..第7数字, ボーナス数字1, ボーナス数字2
    static constexpr int kMainCount = DrawRules::kMainCount;

    int drawNumber = 0;                                     // 回数
    std::array<std::optional<int>, kFieldCount> numbers{}; // index 0..8 = field 1..9
    QString drawDate;                                       // 抽せん日, kept for import/export only
    // 当せん金, when a result file gave them (not in the snapshot). Boxed: most records have none,
    // and a start-up reading thousands of records pays for every page they fill.
    OptionalBox<DrawPrizes> prizes;

    // Every computation skips a draw unless all nine fields hold a number.
    bool isComplete() const {
        for (const auto &n : numbers)
            if (!n)
                return false;
        return true;
    }
    // Field k counted from 1 (1..7 main, 8 and 9 bonus); only meaningful for complete draws.
    int number(int k) const { return numbers[k - 1].value_or(0); }

    bool operator==(const DrawRecord &) const = default;
};

// The ten column names of the draw view, in order.
inline const std::array<QString, 10> &drawColumnNames() {
    static const std::array<QString, 10> names = {
        QStringLiteral("回数"),    QStringLiteral("第1数字"),       QStringLiteral("第2数字"),
        QStringLiteral("第3数字"), QStringLiteral("第4数字"),       QStringLiteral("第5数字"),
        QStringLiteral("第6数字"), QStringLiteral("第7数字"),       QStringLiteral("ボーナス数字1"),
        QStringLiteral("ボーナス数字2")};
    return names;
}
