// Reading the prize columns of result files: winners, prize per winner and the carry-over.
#include "core/history/DrawCsv.h"

#include <QRegularExpression>

namespace {
// A field that says nobody won the tier.
bool saysNone(const QString &text) {
    return text.isEmpty() || text == QStringLiteral("該当なし") || text == QStringLiteral("-") ||
           text == QStringLiteral("－");
}

enum class Amount { None, Value, Negative, Bad };

// Digits with or without thousands separators, full-width too, 円 or 口 after them.
Amount readAmount(QString text, qint64 &value) {
    text = text.trimmed();
    if (saysNone(text))
        return Amount::None;
    static const QRegularExpression pattern(
        QStringLiteral("^([-−▲△])?\\s*([0-9０-９]{1,3}(?:[,，][0-9０-９]{3})+|[0-9０-９]+)\\s*(?:円|口)?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return Amount::Bad;
    QString digits;
    for (const QChar c : m.captured(2))
        if (c != u',' && c != u'，')
            digits += c.unicode() >= u'０' && c.unicode() <= u'９' ? QChar(u'0' + (c.unicode() - u'０')) : c;
    // Nineteen digits would overflow; no draw comes near a trillion yen anyway.
    if (digits.size() > 15)
        return Amount::Bad;
    value = digits.toLongLong();
    return m.captured(1).isEmpty() || value == 0 ? Amount::Value : Amount::Negative;
}
} // namespace

namespace DrawCsv {

std::optional<PrizeColumns> prizeColumns(const QStringList &heading) {
    PrizeColumns columns{};
    const QStringList &names = DrawPrizes::columnNames();
    for (int c = 0; c < DrawPrizes::kColumnCount; ++c) {
        columns[std::size_t(c)] = int(heading.indexOf(names[c]));
        if (columns[std::size_t(c)] < 0)
            return std::nullopt;
    }
    return columns;
}

bool readPrizes(const QStringList &heading, const PrizeColumns &columns, const QStringList &fields,
                std::optional<DrawPrizes> &out, QString &field, QString &reason) {
    out.reset();
    std::array<qint64, DrawPrizes::kColumnCount> values{};
    bool any = false;
    for (int c = 0; c < DrawPrizes::kColumnCount; ++c) {
        const int column = columns[std::size_t(c)];
        const QString text = column < fields.size() ? fields[column].trimmed() : QString();
        field = heading[column];
        const bool isWinners = c < DrawPrizes::kTierCount;
        switch (readAmount(text, values[std::size_t(c)])) {
        case Amount::None:
            break;
        case Amount::Value:
            any = true;
            break;
        case Amount::Negative:
            reason = QStringLiteral("「%1」は負の数です").arg(text);
            return false;
        case Amount::Bad:
            reason = isWinners ? QStringLiteral("「%1」は口数（0 以上の整数）ではありません").arg(text)
                               : QStringLiteral("「%1」は金額（0 以上の円）ではありません").arg(text);
            return false;
        }
    }
    if (!any)
        return true; // this draw's prizes are not in the file
    for (int t = 0; t < DrawPrizes::kTierCount; ++t) {
        const qint64 winners = values[std::size_t(t)];
        const qint64 prize = values[std::size_t(DrawPrizes::kTierCount + t)];
        if (winners > 0 && prize == 0) {
            field = heading[columns[std::size_t(DrawPrizes::kTierCount + t)]];
            reason = QStringLiteral("%1等口数が %2 口あるのに賞金がありません").arg(t + 1).arg(winners);
            return false;
        }
        if (winners == 0 && prize > 0) {
            field = heading[columns[std::size_t(t)]];
            reason = QStringLiteral("%1等賞金があるのに口数がありません").arg(t + 1);
            return false;
        }
    }
    out = DrawPrizes::fromValues(values);
    field.clear();
    return true;
}

} // namespace DrawCsv
