#include "core/check/TicketList.h"

#include "core/io/Cp932.h"
#include "core/io/InputFile.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <bit>

namespace {
// Spaces, tabs and commas, in their ASCII and full-width forms, and the Japanese comma.
const QRegularExpression &separators() {
    static const QRegularExpression re(QStringLiteral("[ \\t,\\x{3000}\\x{FF0C}\\x{3001}]+"));
    return re;
}

// A lone surrogate (pasted from a broken source) makes the text invalid UTF-16, and a regular
// expression then matches nothing in it: the whole paste would read as one bad line. As the
// replacement character it is just one bad token on its own line.
QString withoutLoneSurrogates(const QString &text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
            ++i;
        else if (out[i].isSurrogate())
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

// A spreadsheet may quote every field of its CSV.
QString unquoted(const QString &token) {
    if (token.size() >= 2 && token.front() == u'"' && token.back() == u'"')
        return token.mid(1, token.size() - 2);
    return token;
}
} // namespace

Ticket Ticket::of(std::array<int, DrawRules::kMainCount> numbers) {
    std::sort(numbers.begin(), numbers.end());
    Ticket t;
    t.numbers = numbers;
    for (const int n : numbers)
        t.mask |= DrawRules::maskOf(n);
    return t;
}

QString Ticket::text() const {
    QStringList parts;
    for (const int n : numbers)
        parts << QString::number(n);
    return parts.join(u' ');
}

namespace TicketList {

std::optional<Ticket> parseLine(const QString &line, QString *reason) {
    const auto fail = [reason](const QString &why) -> std::optional<Ticket> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const QStringList tokens = line.split(separators(), Qt::SkipEmptyParts);
    std::vector<int> numbers;
    for (const QString &token : tokens) {
        const std::optional<int> n = DrawRules::parseDigits(unquoted(token));
        if (!n || !DrawRules::isNumber(*n))
            return fail(QStringLiteral("「%1」は%2～%3の数字ではありません。")
                            .arg(token, QString::number(DrawRules::kMinNumber),
                                 QString::number(DrawRules::kMaxNumber)));
        numbers.push_back(*n);
    }
    if (numbers.size() != std::size_t(DrawRules::kMainCount))
        return fail(QStringLiteral("数字が%1個あります。1行に%2個の数字を書いてください。")
                        .arg(numbers.size())
                        .arg(DrawRules::kMainCount));
    DrawRules::NumberMask seen = 0;
    for (const int n : numbers) {
        if (seen & DrawRules::maskOf(n))
            return fail(QStringLiteral("%1 が2回書かれています。").arg(n));
        seen |= DrawRules::maskOf(n);
    }
    std::array<int, DrawRules::kMainCount> seven{};
    std::copy(numbers.begin(), numbers.end(), seven.begin());
    return Ticket::of(seven);
}

Parsed parse(const QString &text) {
    Parsed parsed;
    const QStringList lines = withoutLoneSurrogates(text).split(QRegularExpression(QStringLiteral("\\r\\n|\\n|\\r")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // A line of separators only (an empty spreadsheet row) is blank too.
        if (lines[i].split(separators(), Qt::SkipEmptyParts).isEmpty())
            continue;
        QString reason;
        if (const std::optional<Ticket> t = parseLine(lines[i], &reason))
            parsed.tickets.push_back(*t);
        else
            parsed.errors.push_back({int(i + 1), QStringLiteral("%1行目: %2").arg(QString::number(i + 1), reason)});
    }
    return parsed;
}

std::optional<QString> readText(const QString &path, QString *error) {
    QString message;
    const std::optional<QByteArray> bytes = InputFile::read(path, kMaxFileBytes, message);
    if (!bytes) {
        if (error)
            *error = message;
        return std::nullopt;
    }
    return Cp932::decodeUtf8OrCp932(*bytes).text;
}

Parsed readFile(const QString &path) {
    QString error;
    const std::optional<QString> text = readText(path, &error);
    if (!text)
        return {{}, {{0, error}}};
    Parsed parsed = parse(*text);
    for (TicketError &e : parsed.errors)
        e.message = QStringLiteral("%1 の%2").arg(path, e.message);
    return parsed;
}

QString toText(const std::vector<Ticket> &tickets) {
    QString out;
    for (const Ticket &t : tickets)
        out += t.text() + u'\n';
    return out;
}

std::vector<Ticket> fromPrediction(const Prediction::Sets &sets) {
    // The repeated set's first row of seven is the one-shot set, so the two rows are the
    // one-shot set and the rest of the repeated set; a row short of seven is no ticket.
    std::vector<Ticket> tickets;
    const auto take = [&](DrawRules::NumberMask set) {
        if (std::popcount(set) != DrawRules::kMainCount)
            return;
        std::array<int, DrawRules::kMainCount> numbers{};
        std::size_t i = 0;
        for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
            if (set & DrawRules::maskOf(n))
                numbers[i++] = n;
        tickets.push_back(Ticket::of(numbers));
    };
    const DrawRules::NumberMask oneShot = sets[Prediction::OneShot];
    take(oneShot);
    if (std::popcount(sets[Prediction::Repeated]) == Prediction::kRepeatedCount)
        take(sets[Prediction::Repeated] & ~oneShot);
    return tickets;
}

} // namespace TicketList
