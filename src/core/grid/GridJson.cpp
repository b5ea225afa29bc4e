#include "core/grid/GridJson.h"

#include "core/io/CsvText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

// A sheet repeats the same few texts and colours thousands of times, so each distinct one is
// escaped once.
QByteArray GridJson::quoted(const QString &s) {
    static QHash<QString, QByteArray> cache;
    auto it = cache.constFind(s);
    if (it != cache.constEnd())
        return *it;
    QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return *cache.insert(s, array.mid(1, array.size() - 2));
}

namespace {
using GridJson::quoted;

QByteArray colour(Rgb c) {
    static QHash<quint32, QByteArray> cache;
    const quint32 key = quint32(c.r) << 16 | quint32(c.g) << 8 | c.b;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    return *cache.insert(key, quoted(c.hex()));
}

QByteArray colour(const std::optional<Rgb> &c) { return c ? colour(*c) : QByteArrayLiteral("null"); }

void appendNumbers(QByteArray &out, const std::vector<int> &values) {
    out += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            out += ", ";
        out += QByteArray::number(values[i]);
    }
    out += ']';
}

void appendCell(QByteArray &out, const GridCell &c, int col, int row) {
    out += "{\"col\": " + QByteArray::number(col) + ", \"row\": " + QByteArray::number(row);
    out += ", \"text\": " + quoted(c.text);
    out += ", \"fore\": " + colour(c.fore) + ", \"back\": " + colour(c.back);
    out += ", \"align\": ";
    out += c.align == Align::Left ? "\"left\"" : "\"center\"";
    out += ", \"borders\": {\"left\": " + colour(c.borders[GridCell::LeftIndex]);
    out += ", \"right\": " + colour(c.borders[GridCell::RightIndex]);
    out += ", \"top\": " + colour(c.borders[GridCell::TopIndex]);
    out += ", \"bottom\": " + colour(c.borders[GridCell::BottomIndex]) + "}}";
}

void appendGrid(QByteArray &out, const ResultGrid &g) {
    out += "    {\n";
    out += "      \"columns\": " + QByteArray::number(g.columns()) + ", \"rows\": " + QByteArray::number(g.rows()) +
           ",\n";
    out += "      \"visibleColumns\": " + QByteArray::number(g.visibleColumns()) +
           ", \"visibleRows\": " + QByteArray::number(g.visibleRows()) + ",\n";
    out += "      \"frozenColumns\": " + QByteArray::number(g.frozenColumns()) +
           ", \"frozenRows\": " + QByteArray::number(g.frozenRows()) + ",\n";
    out += QByteArray("      \"overflow\": ") + (g.overflow() ? "true" : "false") + ",\n";
    out += "      \"columnWidths\": ";
    appendNumbers(out, g.columnWidths());
    out += ",\n      \"rowHeights\": ";
    appendNumbers(out, g.rowHeights());
    out += ",\n      \"cells\": [";
    bool first = true;
    for (int row = 1; row <= g.rows(); ++row) {
        for (int col = 1; col <= g.columns(); ++col) {
            const GridCell &c = g.cell(col, row);
            if (c.isDefault())
                continue;
            out += first ? "\n        " : ",\n        ";
            first = false;
            appendCell(out, c, col, row);
        }
    }
    out += first ? "]\n" : "\n      ]\n";
    out += "    }";
}
} // namespace

QByteArray GridJson::toJson(const WindowExport &w) {
    QByteArray out;
    out += "{\n";
    out += "  \"window\": " + quoted(w.window) + ",\n";
    out += "  \"caption\": " + quoted(w.caption) + ",\n";
    out += "  \"description\": " + quoted(w.description) + ",\n";
    out += "  \"grids\": [";
    for (std::size_t i = 0; i < w.grids.size(); ++i) {
        out += i ? ",\n" : "\n";
        appendGrid(out, w.grids[i]);
    }
    out += w.grids.empty() ? "]\n" : "\n  ]\n";
    out += "}\n";
    return out;
}

QByteArray GridCsv::toCsv(const WindowExport &w) {
    QString out;
    for (std::size_t i = 0; i < w.grids.size(); ++i) {
        if (i)
            out += QLatin1String("\r\n");
        const ResultGrid &g = w.grids[i];
        for (int row = 1; row <= g.rows(); ++row) {
            for (int col = 1; col <= g.columns(); ++col) {
                if (col > 1)
                    out += QLatin1Char(',');
                out += CsvText::quoteField(g.text(col, row));
            }
            out += QLatin1String("\r\n");
        }
    }
    return out.toUtf8();
}

bool GridCsv::save(const QString &path, const WindowExport &w, bool byteOrderMark, QString *error) {
    QSaveFile file(path);
    const QByteArray bytes = (byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + toCsv(w);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
