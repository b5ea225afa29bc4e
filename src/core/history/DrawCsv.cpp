// Reading draw lists: the three layouts told apart by their heading, and the dates they write.
#include "core/history/DrawCsv.h"

#include "core/history/DrawRules.h"
#include "core/io/Cp932.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {
const QString kDrawDate = QStringLiteral("抽せん日");

// 開催回,日付,第1数字,…,BONUS数字2, each name also as other result files spell it.
bool isPublishedHeading(const QStringList &heading) {
    if (heading.size() < DrawRecord::kFieldCount + 2)
        return false;
    auto either = [&heading](int column, const QString &a, const QString &b) {
        return heading[column] == a || heading[column] == b;
    };
    if (!either(0, QStringLiteral("開催回"), QStringLiteral("回別")) ||
        !either(1, QStringLiteral("日付"), kDrawDate))
        return false;
    for (int k = 1; k <= DrawRecord::kMainCount; ++k)
        if (!either(k + 1, QStringLiteral("第%1数字").arg(k), QStringLiteral("本数字%1").arg(k)))
            return false;
    for (int k = 1; k <= DrawRules::kBonusCount; ++k)
        if (!either(DrawRecord::kMainCount + k + 1, QStringLiteral("BONUS数字%1").arg(k),
                    QStringLiteral("ボーナス数字%1").arg(k)))
            return false;
    return true;
}

QStringList compactHeading() {
    return {kDrawDate, QStringLiteral("本数字"), QStringLiteral("ボーナス数字"), QStringLiteral("回別")};
}

using DrawRules::parseDigits;

// Collects the first error; later checks stop once one is found.
struct RowReader {
    int line;
    std::optional<DrawCsvError> error;

    bool fail(const QString &field, const QString &reason) {
        if (!error)
            error = DrawCsvError{line, field, reason};
        return false;
    }

    // 回数, plain or written as 第12回.
    bool drawNumber(const QString &field, const QString &raw, DrawRecord &r) {
        static const QRegularExpression pattern(QStringLiteral("^第?\\s*([0-9０-９]+)\\s*回?$"));
        const QString text = raw.trimmed();
        if (text.isEmpty())
            return fail(field, QStringLiteral("回数がありません"));
        const QRegularExpressionMatch m = pattern.match(text);
        const std::optional<int> value = m.hasMatch() ? parseDigits(m.captured(1)) : std::nullopt;
        if (!value || *value < DrawRules::kMinDrawNumber)
            return fail(field, QStringLiteral("「%1」は回数（正の整数）ではありません").arg(text));
        if (!DrawRules::isDrawNumber(*value))
            return fail(field,
                        QStringLiteral("回数 %1 は大きすぎます（%2 まで）").arg(*value).arg(DrawRules::kMaxDrawNumber));
        r.drawNumber = *value;
        return true;
    }

    bool number(const QString &field, const QString &raw, bool emptyAllowed, std::optional<int> &out) {
        const QString text = raw.trimmed();
        if (text.isEmpty()) {
            if (emptyAllowed)
                return true;
            return fail(field, QStringLiteral("数字がありません"));
        }
        const std::optional<int> value = DrawRules::parseNumber(text);
        if (!value)
            return fail(field, QStringLiteral("「%1」は %2 から %3 の数字ではありません")
                                   .arg(text, QString::number(DrawRules::kMinNumber),
                                        QString::number(DrawRules::kMaxNumber)));
        out = *value;
        return true;
    }

    bool date(const QString &field, const QString &raw, DrawRecord &r) {
        const std::optional<QString> date = DrawCsv::normaliseDate(raw.trimmed());
        if (!date)
            return fail(field,
                        QStringLiteral("「%1」は日付ではありません（2013/04/05 または 2013-04-05 の形にしてください）")
                            .arg(raw.trimmed()));
        r.drawDate = *date;
        return true;
    }

    // The nine numbers of one draw must all differ; fieldNames name them for the message.
    bool distinct(const DrawRecord &r, const std::array<QString, DrawRecord::kFieldCount> &fieldNames) {
        for (int k = 0; k < DrawRecord::kFieldCount; ++k) {
            if (!r.numbers[k])
                continue;
            for (int j = 0; j < k; ++j)
                if (r.numbers[j] == r.numbers[k])
                    return fail(fieldNames[k], DrawRules::repeatedNumberText(*r.numbers[k], fieldNames[j]));
        }
        return true;
    }
};

// Published and compact files end their heading or rows with a comma now and then: one empty
// field at the end of either side does not make the counts differ.
bool fieldCountFits(const QStringList &heading, const QStringList &row) {
    if (row.size() == heading.size())
        return true;
    if (row.size() == heading.size() + 1)
        return row.last().trimmed().isEmpty();
    if (row.size() + 1 == heading.size())
        return heading.last().isEmpty();
    return false;
}

// Lines end as splitRows ends them: at CRLF, LF or a lone CR.
int lineOfOffset(const QByteArray &bytes, qsizetype offset) {
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    return line;
}

bool blank(const DrawCsv::Row &row) {
    return std::all_of(row.fields.begin(), row.fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
}
} // namespace

namespace DrawCsv {

QStringList oursHeading(bool withDate) {
    QStringList names;
    for (const QString &name : drawColumnNames())
        names << name;
    if (withDate)
        names.insert(1, kDrawDate);
    return names;
}

std::optional<QString> normaliseDate(const QString &text) {
    if (text.isEmpty())
        return QString();
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9０-９]{4})\\s*(?:[/\\-.]|年)\\s*([0-9０-９]{1,2})\\s*(?:[/\\-.]|月)\\s*([0-9０-９]{1,2})\\s*日?"
        "(?:\\s*[(（][月火水木金土日][)）])?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(*parseDigits(m.captured(1)), *parseDigits(m.captured(2)), *parseDigits(m.captured(3)));
    if (!date.isValid())
        return std::nullopt;
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

std::optional<QString> normaliseTypedDate(const QString &raw) {
    static const QRegularExpression eightDigits(QStringLiteral("^[0-9０-９]{8}$"));
    const QString text = raw.trimmed();
    if (!eightDigits.match(text).hasMatch())
        return normaliseDate(text);
    const QDate date(*parseDigits(text.left(4)), *parseDigits(text.mid(4, 2)), *parseDigits(text.mid(6, 2)));
    return date.isValid() ? std::optional<QString>(date.toString(QStringLiteral("yyyy-MM-dd"))) : std::nullopt;
}

QString shownDate(const QString &date) {
    QString shown = date;
    return shown.replace(QLatin1Char('-'), QLatin1Char('/'));
}

ParseResult parse(const QByteArray &bytes) {
    ParseResult result;
    auto failed = [&result](DrawCsvError error) {
        result.records.clear();
        result.errors = {error};
        result.error = std::move(error);
        return result;
    };

    const Cp932::Decoded decoded = Cp932::decodeUtf8OrCp932(bytes);
    if (!decoded.ok())
        return failed({lineOfOffset(bytes, decoded.firstBadByte), QString(),
                       QStringLiteral("UTF-8 としても CP932（シフトJIS）としても読めない文字があります")});

    std::vector<Row> rows;
    DrawCsvError splitError;
    if (!splitRows(decoded.text, rows, splitError))
        return failed(splitError);
    rows.erase(std::remove_if(rows.begin(), rows.end(), blank), rows.end());
    if (rows.empty())
        return failed({1, QString(), QStringLiteral("見出し行がありません")});

    QStringList heading;
    for (const QString &name : rows.front().fields)
        heading << name.trimmed();
    const int headingLine = rows.front().line;
    if (heading == oursHeading(true) || heading == oursHeading(false) ||
        heading == oursHeading(true) + DrawPrizes::columnNames()) {
        result.layout = Layout::Ours;
        result.hasDates = heading.size() != DrawRecord::kFieldCount + 1;
    } else if (isPublishedHeading(heading)) {
        result.layout = Layout::Published;
        result.hasDates = true;
    } else if (heading.mid(0, compactHeading().size()) == compactHeading()) {
        result.layout = Layout::Compact;
        result.hasDates = true;
    } else {
        return failed({headingLine, QString(),
                       QStringLiteral("見出し行が分かりません（「回数,抽せん日,第1数字,…」「開催回,日付,第1数字,…」"
                                      "「抽せん日,本数字,ボーナス数字,回別,…」のどれかにしてください）")});
    }

    const std::optional<PrizeColumns> prizeColumns = DrawCsv::prizeColumns(heading);
    result.hasPrizes = prizeColumns.has_value();

    // The nine number fields as this layout's heading names them.
    std::array<QString, DrawRecord::kFieldCount> fieldNames;
    for (int k = 0; k < DrawRecord::kFieldCount; ++k) {
        if (result.layout == Layout::Compact)
            fieldNames[k] = k < DrawRecord::kMainCount
                                ? QStringLiteral("本数字の %1 番目").arg(k + 1)
                                : QStringLiteral("ボーナス数字の %1 番目").arg(k - DrawRecord::kMainCount + 1);
        else
            fieldNames[k] = heading[(result.layout == Layout::Ours && !result.hasDates) ? k + 1 : k + 2];
    }

    QHash<int, int> lineOfDraw;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const Row &row = rows[i];
        const QStringList &f = row.fields;
        RowReader reader{row.line, std::nullopt};
        const bool countOk = result.layout == Layout::Ours ? f.size() == heading.size() : fieldCountFits(heading, f);
        if (!countOk) {
            result.errors.push_back({row.line, QString(),
                                     QStringLiteral("列の数が %1 ではなく %2 です").arg(heading.size()).arg(f.size())});
            continue;
        }

        DrawRecord r;
        QString drawNumberField;
        switch (result.layout) {
        case Layout::Ours: {
            drawNumberField = heading[0];
            reader.drawNumber(heading[0], f[0], r);
            const int first = result.hasDates ? 2 : 1;
            if (result.hasDates)
                reader.date(heading[1], f[1], r);
            for (int k = 0; k < DrawRecord::kFieldCount; ++k)
                reader.number(fieldNames[k], f[first + k], true, r.numbers[k]);
            break;
        }
        case Layout::Published:
            drawNumberField = heading[0];
            reader.drawNumber(heading[0], f[0], r);
            reader.date(heading[1], f[1], r);
            for (int k = 0; k < DrawRecord::kFieldCount; ++k)
                reader.number(fieldNames[k], f[2 + k], false, r.numbers[k]);
            break;
        case Layout::Compact: {
            drawNumberField = heading[3];
            reader.drawNumber(heading[3], f[3], r);
            reader.date(heading[0], f[0], r);
            // simplified() also folds the ideographic space.
            const QStringList mains = f[1].simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QStringList bonus = f[2].simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (mains.size() != DrawRecord::kMainCount)
                reader.fail(heading[1], QStringLiteral("数字が %1 個あります（%2 個を空白で区切って書いてください）")
                                            .arg(mains.size())
                                            .arg(DrawRecord::kMainCount));
            if (bonus.size() != DrawRecord::kFieldCount - DrawRecord::kMainCount)
                reader.fail(heading[2], QStringLiteral("数字が %1 個あります（%2 個を空白で区切って書いてください）")
                                            .arg(bonus.size())
                                            .arg(DrawRecord::kFieldCount - DrawRecord::kMainCount));
            if (!reader.error) {
                for (int k = 0; k < DrawRecord::kFieldCount; ++k)
                    reader.number(fieldNames[k],
                                  k < DrawRecord::kMainCount ? mains[k] : bonus[k - DrawRecord::kMainCount], false,
                                  r.numbers[k]);
            }
            break;
        }
        }
        if (!reader.error)
            reader.distinct(r, fieldNames);
        if (QString field, reason; !reader.error && prizeColumns) {
            std::optional<DrawPrizes> prizes;
            if (readPrizes(heading, *prizeColumns, f, prizes, field, reason))
                r.prizes = prizes;
            else
                reader.fail(field, reason);
        }
        if (!reader.error && lineOfDraw.contains(r.drawNumber))
            reader.fail(
                drawNumberField,
                QStringLiteral("回数 %1 は %2 行目にもあります").arg(r.drawNumber).arg(lineOfDraw.value(r.drawNumber)));
        if (reader.error) {
            result.errors.push_back(*reader.error);
            continue;
        }
        lineOfDraw.insert(r.drawNumber, row.line);
        result.records.push_back(std::move(r));
    }
    if (!result.errors.empty()) {
        result.records.clear();
        result.error = result.errors.front();
    }
    return result;
}

} // namespace DrawCsv
