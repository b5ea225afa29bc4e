#include "core/backtest/BacktestExport.h"

#include "core/io/CsvText.h"
#include "core/io/JsonWriter.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace {
// Expectations to six decimals: enough to compare, short to read.
double rounded(double x) {
    return std::round(x * 1e6) / 1e6;
}

// A few members a line at the top, one setting a line, and in each setting one method a line
// with its members on three lines.
constexpr JsonWriter::Layout kReport{.open = "\n  ", .close = "\n", .lineSeparator = ",\n  "};
constexpr JsonWriter::Layout kSettings{.open = "\n    ", .separator = ",\n    ", .close = "\n  "};
constexpr JsonWriter::Layout kSetting{.lineSeparator = ",\n     "};
constexpr JsonWriter::Layout kMethods{.open = "\n      ", .separator = ",\n      ", .close = "\n     "};
constexpr JsonWriter::Layout kMethod{.lineSeparator = ",\n        "};

// Every figure goes through Qt's number text, counts too.
template <typename Container> void writeRounded(JsonWriter &w, const Container &values) {
    w.beginArray();
    for (const auto v : values)
        w.number(rounded(double(v)));
    w.endArray();
}

void writeMethod(JsonWriter &w, const Backtest::MethodSummary &m, int method, bool oneSetting) {
    w.beginObject(kMethod);
    w.key("method").string(Backtest::methodName(method));
    w.key("drawsTested").number(m.drawsTested);
    w.key("numbers").number(double(m.numbers));
    w.key("mainHits").number(double(m.mainHits));
    w.key("bonusHits").number(double(m.bonusHits));
    w.key("expectedMainHits").number(rounded(m.expectedMainHits));
    w.key("expectedBonusHits").number(rounded(m.expectedBonusHits));
    w.key("mainHitVariance").number(rounded(m.mainHitVariance));
    w.key("pValue").number(m.pValue.value);
    w.key("pValueMethod").string(m.pValue.exact ? QStringLiteral("exact") : QStringLiteral("normal"));
    w.key("meanHits").number(rounded(m.meanHits));
    writeRounded(w.breakLine().key("distribution"), m.distribution);
    writeRounded(w.key("expectedDistribution"), m.expectedDistribution);
    w.breakLine().key("setsOfSeven").number(m.setsOfSeven);
    writeRounded(w.key("tiers"), m.tiers);
    writeRounded(w.key("expectedTiers"), m.expectedTiers);
    w.breakLine().key("meanInterval");
    if (m.meanLow <= m.meanHigh)
        writeRounded(w, std::array{m.meanLow, m.meanHigh});
    else
        w.null();
    if (oneSetting)
        w.key("adjustedPValue").number(m.adjustedPValue);
    // The yen, where the draws tested have prize data; null where no ticket met such a draw.
    w.breakLine().key("prizeTickets").number(m.prizeTickets);
    w.key("cost").number(double(m.cost()));
    if (m.prizeTickets > 0) {
        w.key("won").number(double(m.won));
        w.key("expectedWon").number(rounded(m.expectedWon));
    } else {
        w.key("won").null().key("expectedWon").null();
    }
    w.endObject();
}

} // namespace

QByteArray BacktestExport::toJson(const Backtest::Report &report) {
    JsonWriter w;
    w.beginObject(kReport);
    w.key("from").number(report.range.from).key("to").number(report.range.to).breakLine();
    w.key("drawsTested").number(report.drawsTested);
    w.key("firstTested").number(report.firstTested);
    w.key("lastTested").number(report.lastTested).breakLine();
    w.key("allSettings").boolean(report.allSettings);
    w.key("comparisons").number(report.comparisons);
    w.key("correction").string(QStringLiteral("holm")).breakLine();
    w.key("settings").beginArray(kSettings);
    for (const Backtest::SettingResult &s : report.settings) {
        w.beginObject(kSetting).key("reflectOffset").number(s.reflectOffset);
        if (report.allSettings) {
            w.key("rank").number(s.rank);
            w.key("excessMainHits").number(rounded(s.excessHits));
            w.key("pValue").number(s.pValue);
            w.key("adjustedPValue").number(s.adjustedPValue);
        }
        w.breakLine().key("methods").beginArray(kMethods);
        for (int m = 0; m < Backtest::kMethodCount; ++m)
            writeMethod(w, s.methods[std::size_t(m)], m, !report.allSettings);
        w.endArray().endObject();
    }
    w.endArray().breakLine();
    w.key("verdict").string(report.verdict).breakLine();
    w.key("drawsWithoutPrizes").number(double(report.withoutPrizes.size()));
    w.key("withoutPrizes").beginArray();
    for (const int draw : report.withoutPrizes)
        w.number(draw);
    w.endArray().endObject();
    return w.take() + '\n';
}

QByteArray BacktestExport::toCsv(const Backtest::Report &report) {
    QStringList heading = {QStringLiteral("reflectOffset"),    QStringLiteral("method"),
                           QStringLiteral("drawsTested"),      QStringLiteral("numbers"),
                           QStringLiteral("mainHits"),         QStringLiteral("bonusHits"),
                           QStringLiteral("expectedMainHits"), QStringLiteral("expectedBonusHits"),
                           QStringLiteral("pValue"),           QStringLiteral("pValueMethod"),
                           QStringLiteral("meanHits"),         QStringLiteral("meanLow"),
                           QStringLiteral("meanHigh")};
    for (int t = 1; t <= 6; ++t)
        heading << QStringLiteral("tier%1").arg(t);
    heading << QStringLiteral("prizeTickets") << QStringLiteral("cost") << QStringLiteral("won")
            << QStringLiteral("expectedWon");
    QString out = heading.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const Backtest::SettingResult &s : report.settings) {
        for (int i = 0; i < Backtest::kMethodCount; ++i) {
            const Backtest::MethodSummary &m = s.methods[std::size_t(i)];
            const bool interval = m.meanLow <= m.meanHigh;
            QStringList row = {QString::number(s.reflectOffset),
                               CsvText::quoteField(Backtest::methodName(i)),
                               QString::number(m.drawsTested),
                               QString::number(m.numbers),
                               QString::number(m.mainHits),
                               QString::number(m.bonusHits),
                               QString::number(rounded(m.expectedMainHits), 'g', 12),
                               QString::number(rounded(m.expectedBonusHits), 'g', 12),
                               QString::number(m.pValue.value, 'g', 6),
                               m.pValue.exact ? QStringLiteral("exact") : QStringLiteral("normal"),
                               QString::number(rounded(m.meanHits), 'g', 12),
                               interval ? QString::number(rounded(m.meanLow), 'g', 12) : QString(),
                               interval ? QString::number(rounded(m.meanHigh), 'g', 12) : QString()};
            for (const int n : m.tiers)
                row << QString::number(n);
            const bool yen = m.prizeTickets > 0;
            row << QString::number(m.prizeTickets) << QString::number(m.cost())
                << (yen ? QString::number(m.won) : QString())
                << (yen ? QString::number(rounded(m.expectedWon), 'g', 15) : QString());
            out += row.join(QLatin1Char(',')) + QLatin1String("\r\n");
        }
    }
    return out.toUtf8();
}
