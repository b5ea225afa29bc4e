#include "core/theory/TheoryJson.h"

#include "core/io/JsonWriter.h"

#include <cmath>

namespace {
// The object's members after "skipped" and the pairs of each next first number on lines of
// their own, the tables one under another.
constexpr JsonLayout kTop{.lineSeparator = ",\n "};
constexpr JsonLayout kTables{.separator = ",\n            "};
constexpr JsonLayout kPairs{.lineSeparator = ",\n           "};

double rounded(double x) {
    return std::round(x * 1e6) / 1e6;
}

void optional(JsonWriter &w, const std::optional<double> &x, bool round) {
    if (x)
        w.number(round ? rounded(*x) : *x);
    else
        w.null();
}

void table(JsonWriter &w, const TheoryTable &t) {
    w.beginObject().key("name").string(t.name);
    w.key("categories").beginArray();
    for (const QString &c : t.categories)
        w.string(c);
    w.endArray().key("observed").beginArray();
    for (const int v : t.observed)
        w.integer(v);
    w.endArray().key("expected").beginArray();
    for (const double v : t.expected)
        w.number(rounded(v));
    w.endArray().key("statistic");
    optional(w, t.statistic, true);
    w.key("df").integer(t.df).key("p");
    optional(w, t.p, false);
    w.key("pHolm");
    optional(w, t.pHolm, false);
    w.endObject();
}
} // namespace

QByteArray TheoryJson::toJson(const TheoryReport &report, const PairReport &pairs) {
    JsonWriter w;
    w.beginObject(kTop).key("draws").integer(report.draws).key("skipped").integer(report.skipped);
    w.breakLine().key("tables").beginArray(kTables);
    for (const TheoryTable &t : report.tables)
        table(w, t);
    w.endArray().breakLine().key("pairs").beginArray(kPairs);
    for (std::size_t i = 0; i < pairs.pairs.size(); ++i) {
        const NumberCombination &c = pairs.pairs[i];
        if (i && c.numbers[0] != pairs.pairs[i - 1].numbers[0])
            w.breakLine();
        w.beginArray().integer(c.numbers[0]).integer(c.numbers[1]).integer(c.observed).number(rounded(c.expected));
        w.endArray();
    }
    w.endArray().endObject();
    return w.take() + '\n';
}
