#pragma once

#include "core/theory/PairAnalysis.h"
#include "core/theory/TheoryComparison.h"

#include <QByteArray>

namespace TheoryJson {
// One UTF-8 object and a newline: "draws", "skipped", "tables" (each with "name", "categories",
// "observed", "expected", "statistic", "df", "p", "pHolm"; null where there was too little to
// test) and "pairs" ([a, b, observed, expected] for every a < b), members in this order.
// Expected counts and statistics to six decimals, p-values in full.
QByteArray toJson(const TheoryReport &report, const PairReport &pairs);
} // namespace TheoryJson
