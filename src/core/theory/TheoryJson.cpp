#include "core/theory/TheoryJson.h"

#include "core/grid/GridJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {
double rounded(double x) {
    return std::round(x * 1e6) / 1e6;
}

// Numbers as Qt's JSON writer writes them.
QByteArray number(double x) {
    const QByteArray a = QJsonDocument(QJsonArray{x}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

QByteArray optional(const std::optional<double> &x, bool round) {
    return x ? number(round ? rounded(*x) : *x) : QByteArray("null");
}

template <typename Values, typename Write> QByteArray list(const Values &values, Write write) {
    QByteArray out = "[";
    for (const auto &v : values)
        out += (out.size() > 1 ? ", " : "") + write(v);
    return out + ']';
}

// "name": value. Written by hand, unlike QJsonObject, so that members keep this order.
QByteArray member(const char *name, const QByteArray &value) {
    return QByteArray("\"") + name + "\": " + value;
}

QByteArray table(const TheoryTable &t) {
    QByteArray out = "{" + member("name", GridJson::quoted(t.name));
    out += ", " + member("categories", list(t.categories, GridJson::quoted));
    out += ", " + member("observed", list(t.observed, [](int v) { return QByteArray::number(v); }));
    out += ", " + member("expected", list(t.expected, [](double v) { return number(rounded(v)); }));
    out += ", " + member("statistic", optional(t.statistic, true));
    out += ", " + member("df", QByteArray::number(t.df));
    out += ", " + member("p", optional(t.p, false));
    out += ", " + member("pHolm", optional(t.pHolm, false));
    return out + '}';
}
} // namespace

QByteArray TheoryJson::toJson(const TheoryReport &report, const PairReport &pairs) {
    QByteArray out = "{" + member("draws", QByteArray::number(report.draws));
    out += ", " + member("skipped", QByteArray::number(report.skipped));
    out += ",\n " + member("tables", "[");
    for (std::size_t i = 0; i < report.tables.size(); ++i)
        out += (i ? ",\n            " : "") + table(report.tables[i]);
    out += "],\n " + member("pairs", "[");
    // One line for each first number.
    for (std::size_t i = 0; i < pairs.pairs.size(); ++i) {
        const NumberCombination &c = pairs.pairs[i];
        if (i)
            out += c.numbers[0] != pairs.pairs[i - 1].numbers[0] ? ",\n           " : ", ";
        out += '[' + QByteArray::number(c.numbers[0]) + ", " + QByteArray::number(c.numbers[1]) + ", " +
               QByteArray::number(c.observed) + ", " + number(rounded(c.expected)) + ']';
    }
    return out + "]}\n";
}
