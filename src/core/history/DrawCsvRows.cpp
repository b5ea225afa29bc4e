// Cutting CSV text into rows of fields, and saying where a draw list is wrong.
#include "core/history/DrawCsv.h"

QString DrawCsvError::text() const {
    if (field.isEmpty())
        return QStringLiteral("%1 行目: %2。").arg(QString::number(line), reason);
    return QStringLiteral("%1 行目、%2: %3。").arg(QString::number(line), field, reason);
}

namespace DrawCsv {

bool splitRows(const QString &text, std::vector<Row> &rows, DrawCsvError &error) {
    rows.clear();
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        Row row;
        row.line = line;
        for (;;) {
            QString field;
            if (i < n && text[i] == QLatin1Char('"')) {
                const int openedOn = line;
                ++i;
                for (;;) {
                    if (i >= n) {
                        error = {openedOn, QStringLiteral("%1 列目").arg(row.fields.size() + 1),
                                 QStringLiteral("引用符（\"）が閉じていません")};
                        return false;
                    }
                    const QChar c = text[i];
                    if (c == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            field += c;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == QLatin1Char('\n') ||
                        (c == QLatin1Char('\r') && (i + 1 >= n || text[i + 1] != QLatin1Char('\n'))))
                        ++line;
                    field += c;
                    ++i;
                }
                if (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r') &&
                    text[i] != QLatin1Char('\n')) {
                    error = {line, QStringLiteral("%1 列目").arg(row.fields.size() + 1),
                             QStringLiteral("閉じた引用符（\"）の後に余分な文字があります")};
                    return false;
                }
            } else {
                const qsizetype start = i;
                while (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r') &&
                       text[i] != QLatin1Char('\n'))
                    ++i;
                field = text.mid(start, i - start);
            }
            row.fields << field;
            if (i < n && text[i] == QLatin1Char(',')) {
                ++i;
                continue;
            }
            break;
        }
        // The row ends at CRLF, LF, a lone CR or the end of the text.
        if (i < n && text[i] == QLatin1Char('\r'))
            ++i;
        if (i < n && text[i] == QLatin1Char('\n'))
            ++i;
        ++line;
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace DrawCsv
