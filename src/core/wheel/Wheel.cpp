#include "core/wheel/Wheel.h"

#include <QRegularExpression>

#include <bit>

namespace WheelInput {

namespace {
// As in a ticket list: spaces, tabs and commas, ASCII and full-width, and the Japanese comma.
const QRegularExpression &separators() {
    static const QRegularExpression re(QStringLiteral("[ \\t,\\x{3000}\\x{FF0C}\\x{3001}]+"));
    return re;
}

template <typename T> std::optional<T> refuse(QString *reason, const QString &why) {
    if (reason)
        *reason = why;
    return std::nullopt;
}
} // namespace

std::optional<std::vector<int>> parsePool(const QString &text, QString *reason) {
    DrawRules::NumberMask seen = 0;
    for (const QString &token : text.split(separators(), Qt::SkipEmptyParts)) {
        const std::optional<int> n = DrawRules::parseDigits(token);
        if (!n || !DrawRules::isNumber(*n))
            return refuse<std::vector<int>>(reason, QStringLiteral("プールの「%1」は%2～%3の数字ではありません。")
                                                        .arg(token, QString::number(DrawRules::kMinNumber),
                                                             QString::number(DrawRules::kMaxNumber)));
        if (seen & DrawRules::maskOf(*n))
            return refuse<std::vector<int>>(reason, QStringLiteral("プールに %1 が2回あります。").arg(*n));
        seen |= DrawRules::maskOf(*n);
    }
    const int count = std::popcount(seen);
    if (count < kMinPool)
        return refuse<std::vector<int>>(reason, QStringLiteral("プールの数字が%1個です。%2個以上の数字を指定してください。")
                                                    .arg(count)
                                                    .arg(kMinPool));
    return numbersOf(seen);
}

std::optional<Guarantee> parseGuarantee(const QString &text, QString *reason) {
    static const QRegularExpression form(QStringLiteral("^\\s*([^/／]+)[/／]([^/／]+)$"));
    const QRegularExpressionMatch match = form.match(text);
    const int t = match.hasMatch() ? DrawRules::parseDigits(match.captured(1), 2).value_or(-1) : -1;
    const int m = match.hasMatch() ? DrawRules::parseDigits(match.captured(2), 2).value_or(-1) : -1;
    if (t < 0 || m < 0)
        return refuse<Guarantee>(reason, QStringLiteral("「%1」は保証ではありません。「3/3」のように 当たり数/条件の数 で"
                                                        "指定してください。")
                                             .arg(text));
    if (m > DrawRules::kMainCount)
        return refuse<Guarantee>(reason, QStringLiteral("条件の数 %1 が本数字の数 %2 を超えています（「%3」）。")
                                             .arg(m)
                                             .arg(DrawRules::kMainCount)
                                             .arg(text));
    if (t > m)
        return refuse<Guarantee>(
            reason, QStringLiteral("当たり数 %1 が条件の数 %2 を超えています（「%3」）。").arg(t).arg(m).arg(text));
    if (t < kMinMatch)
        return refuse<Guarantee>(reason, QStringLiteral("当たり数は%1以上にしてください（「%2」）。").arg(kMinMatch).arg(text));
    return Guarantee{t, m};
}

QString guaranteeProblem(Guarantee g) {
    if (g.match > kMaxMatch)
        return QStringLiteral("%1は全組合せでしか保証できません。").arg(guaranteeText(g));
    return {};
}

std::vector<int> numbersOf(DrawRules::NumberMask mask) {
    std::vector<int> numbers;
    for (; mask; mask &= mask - 1)
        numbers.push_back(std::countr_zero(mask));
    return numbers;
}

DrawRules::NumberMask maskOf(const std::vector<int> &numbers) {
    DrawRules::NumberMask mask = 0;
    for (const int n : numbers)
        mask |= DrawRules::maskOf(n);
    return mask;
}

std::array<int, DrawRules::kMainCount> ticketNumbers(DrawRules::NumberMask ticket) {
    std::array<int, DrawRules::kMainCount> numbers{};
    for (int i = 0; ticket && i < DrawRules::kMainCount; ++i, ticket &= ticket - 1)
        numbers[std::size_t(i)] = std::countr_zero(ticket);
    return numbers;
}

QString guaranteeText(Guarantee g) {
    return QStringLiteral("「本数字%2個がプールにあれば%1個以上」").arg(g.match).arg(g.drawn);
}

QString grouped(long long n) {
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return n < 0 ? u'-' + digits : digits;
}

} // namespace WheelInput
