#include "core/entry/DrawRowCheck.h"

#include "core/history/DrawCsv.h"
#include "core/history/DrawRules.h"

#include <QDate>

#include <QHash>

namespace DrawRowCheck {

QString normalised(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= u'０' && u <= u'９')
            out += QChar(char16_t(u - u'０' + u'0'));
        else if (u == u'\u3000')
            out += QLatin1Char(' ');
        else
            out += ch;
    }
    return out.trimmed();
}

namespace {
// A date as it is stored, 2026-07-31, read without building texts: every stored row holds one.
std::optional<QDate> storedDate(const QString &text) {
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return std::nullopt;
    int parts[3] = {0, 0, 0};
    for (int i = 0, part = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        parts[part] = parts[part] * 10 + (u - u'0');
    }
    return QDate(parts[0], parts[1], parts[2]);
}
} // namespace

QString typedDate(const QString &text) {
    const QString value = normalised(text);
    return DrawCsv::normaliseTypedDate(value).value_or(value);
}

bool isDateText(const QString &text) {
    if (const auto date = storedDate(text))
        return date->isValid();
    return !text.isEmpty() && DrawCsv::normaliseTypedDate(text).has_value();
}

QString shownText(const QString &text, int column) {
    return column == DrawRow::kDateColumn && storedDate(text) ? DrawCsv::shownDate(text) : text;
}

namespace {
// The texts of the numbers 1..37, made once and shared by every cell that shows one: a table
// of thousands of draws then holds one string per draw number instead of ten per row.
QString numberText(int n) {
    static const auto texts = [] {
        std::array<QString, DrawRules::kNumberSlots> t;
        for (int i = DrawRules::kMinNumber; i <= DrawRules::kMaxNumber; ++i)
            t[i] = QString::number(i);
        return t;
    }();
    return DrawRules::isNumber(n) ? texts[n] : QString::number(n);
}

// Whether a cell shows the value as the table writes it (plain decimal digits), read digit by
// digit from the right without building the text.
bool shows(const QString &text, std::optional<int> value) {
    if (!value)
        return text.isEmpty();
    if (*value < 0)
        return text == QString::number(*value);
    int rest = *value;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i].unicode() != u'0' + rest % 10 || (rest < 10 && i > 0))
            return false;
        rest /= 10;
    }
    return !text.isEmpty() && rest == 0;
}
} // namespace

DrawRow::Texts textsOf(const DrawRecord &record) {
    DrawRow::Texts texts;
    texts[0] = QString::number(record.drawNumber);
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        if (record.numbers[k])
            texts[k + 1] = numberText(*record.numbers[k]);
    texts[DrawRow::kDateColumn] = record.drawDate;
    return texts;
}

bool allEmpty(const DrawRow::Texts &texts) {
    for (const QString &t : texts)
        if (!t.isEmpty())
            return false;
    return true;
}

bool isPending(const DrawRow &row) {
    if (!row.stored)
        return !allEmpty(row.texts);
    // Every row is looked at whenever the cursor leaves one: compare without building texts.
    const DrawRecord &stored = *row.stored;
    if (!shows(row.texts[0], stored.drawNumber))
        return true;
    for (int k = 0; k < DrawRecord::kFieldCount; ++k)
        if (!shows(row.texts[k + 1], stored.numbers[k]))
            return true;
    return row.texts[DrawRow::kDateColumn] != stored.drawDate;
}

std::vector<bool> duplicateRows(const std::vector<DrawRow> &rows) {
    std::vector<bool> duplicate(rows.size(), false);
    QHash<int, std::vector<int>> rowsOf;
    for (int i = 0; i < int(rows.size()); ++i)
        if (const auto n = DrawRules::parseDrawNumber(rows[i].texts[0]))
            rowsOf[*n].push_back(i);
    for (auto it = rowsOf.cbegin(); it != rowsOf.cend(); ++it) {
        const std::vector<int> &sharing = it.value();
        if (sharing.size() < 2)
            continue;
        int owner = sharing.front();
        for (int i : sharing)
            if (rows[i].stored && rows[i].stored->drawNumber == it.key())
                owner = i;
        for (int i : sharing)
            duplicate[i] = i != owner;
    }
    return duplicate;
}

DrawNumberFault drawNumberFault(const DrawRow::Texts &texts, bool duplicate) {
    if (texts[0].isEmpty()) {
        // A row left wholly empty is no draw and needs no number.
        for (int c = 1; c < DrawRow::kColumnCount; ++c)
            if (!texts[c].isEmpty())
                return DrawNumberFault::Missing;
        return DrawNumberFault::None;
    }
    if (!DrawRules::parseDrawNumber(texts[0]))
        return DrawNumberFault::NotANumber;
    return duplicate ? DrawNumberFault::Duplicate : DrawNumberFault::None;
}

int repeatedColumn(const DrawRow::Texts &texts, int c) {
    const std::optional<int> n = DrawRules::parseNumber(texts[c]);
    if (!n)
        return -1;
    for (int j = 1; j < c; ++j)
        if (DrawRules::parseNumber(texts[j]) == n)
            return j;
    return -1;
}

int faultColumn(const DrawRow::Texts &texts, bool duplicate) {
    if (drawNumberFault(texts, duplicate) != DrawNumberFault::None)
        return 0;
    for (int c = 1; c < DrawRow::kDateColumn; ++c)
        if (!texts[c].isEmpty() && (!DrawRules::parseNumber(texts[c]) || repeatedColumn(texts, c) >= 0))
            return c;
    const QString &date = texts[DrawRow::kDateColumn];
    return date.isEmpty() || isDateText(date) ? -1 : DrawRow::kDateColumn;
}

DrawRecord recordOf(const DrawRow &row) {
    DrawRecord r;
    r.drawNumber = DrawRules::parseDrawNumber(row.texts[0]).value_or(0);
    for (int f = 0; f < DrawRecord::kFieldCount; ++f)
        r.numbers[f] = DrawRules::parseNumber(row.texts[f + 1]);
    const QString &date = row.texts[DrawRow::kDateColumn];
    r.drawDate = date.isEmpty() ? QString() : DrawCsv::normaliseTypedDate(date).value_or(date);
    return r;
}

} // namespace DrawRowCheck
