#include "core/grid/GridJson.h"

#include "core/io/CsvText.h"
#include "core/io/JsonWriter.h"

#include <QHash>
#include <QSaveFile>

// A sheet repeats the same few texts and colours thousands of times, so each distinct one is
// escaped once.
QByteArray GridJson::quoted(const QString &s) {
    static QHash<QString, QByteArray> cache;
    auto it = cache.constFind(s);
    if (it != cache.constEnd())
        return *it;
    return *cache.insert(s, JsonWriter::quoted(s));
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

QByteArray colour(const std::optional<Rgb> &c) {
    return c ? colour(*c) : QByteArrayLiteral("null");
}

// One member a line at the top, one grid a line, a few members a line in a grid, one cell a line.
constexpr JsonWriter::Layout kWindow{.open = "\n  ", .separator = ",\n  ", .close = "\n"};
constexpr JsonWriter::Layout kGrids{.open = "\n    ", .separator = ",\n    ", .close = "\n  "};
constexpr JsonWriter::Layout kGrid{.open = "\n      ", .close = "\n    ", .lineSeparator = ",\n      "};
constexpr JsonWriter::Layout kCells{.open = "\n        ", .separator = ",\n        ", .close = "\n      "};

void writeNumbers(JsonWriter &w, const std::vector<int> &values) {
    w.beginArray();
    for (const int v : values)
        w.integer(v);
    w.endArray();
}

void writeCell(JsonWriter &w, const GridCell &c, int col, int row) {
    w.beginObject().key("col").integer(col).key("row").integer(row);
    w.key("text").json(quoted(c.text));
    w.key("fore").json(colour(c.fore)).key("back").json(colour(c.back));
    w.key("align").json(c.align == Align::Left ? QByteArrayLiteral("\"left\"") : QByteArrayLiteral("\"center\""));
    w.key("borders").beginObject().key("left").json(colour(c.borders()[GridCell::LeftIndex]));
    w.key("right").json(colour(c.borders()[GridCell::RightIndex]));
    w.key("top").json(colour(c.borders()[GridCell::TopIndex]));
    w.key("bottom").json(colour(c.borders()[GridCell::BottomIndex])).endObject();
    w.endObject();
}

void writeGrid(JsonWriter &w, const ResultGrid &g) {
    w.beginObject(kGrid);
    w.key("columns").integer(g.columns()).key("rows").integer(g.rows()).breakLine();
    w.key("visibleColumns").integer(g.visibleColumns()).key("visibleRows").integer(g.visibleRows()).breakLine();
    w.key("frozenColumns").integer(g.frozenColumns()).key("frozenRows").integer(g.frozenRows()).breakLine();
    w.key("overflow").boolean(g.overflow()).breakLine();
    writeNumbers(w.key("columnWidths"), g.columnWidths());
    writeNumbers(w.breakLine().key("rowHeights"), g.rowHeights());
    w.breakLine().key("cells").beginArray(kCells);
    for (int row = 1; row <= g.rows(); ++row) {
        for (int col = 1; col <= g.columns(); ++col) {
            const GridCell &c = g.cell(col, row);
            if (!c.isDefault())
                writeCell(w, c, col, row);
        }
    }
    w.endArray();
    w.endObject();
}
} // namespace

QByteArray GridJson::toJson(const WindowExport &w) {
    JsonWriter json;
    json.beginObject(kWindow);
    json.key("window").json(quoted(w.window));
    json.key("caption").json(quoted(w.caption));
    json.key("description").json(quoted(w.description));
    json.key("grids").beginArray(kGrids);
    for (const ResultGrid &g : w.grids)
        writeGrid(json, g);
    json.endArray().endObject();
    return json.take() + '\n';
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
