#include "core/history/DrawRules.h"

namespace DrawRules {

std::optional<int> parseDigits(const QString &text, int maxDigits) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto isSpace = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\u3000'; };
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    int value = 0;
    int significant = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t u = text[i].unicode();
        int d;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'０' && u <= u'９')
            d = u - u'０';
        else
            return std::nullopt;
        if (value == 0 && d == 0)
            continue;
        if (++significant > maxDigits)
            return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

QString repeatedNumberText(int number, const QString &earlierField) {
    return QStringLiteral("%1 が %2 と重複しています").arg(QString::number(number), earlierField);
}

std::optional<int> parseNumber(const QString &text) {
    const std::optional<int> v = parseDigits(text, kNumberDigits);
    return v && isNumber(*v) ? v : std::nullopt;
}

std::optional<int> parseDrawNumber(const QString &text) {
    const std::optional<int> v = parseDigits(text, kDrawNumberDigits);
    return v && isDrawNumber(*v) ? v : std::nullopt;
}

} // namespace DrawRules
