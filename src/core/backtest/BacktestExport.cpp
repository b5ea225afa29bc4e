#include "core/backtest/BacktestExport.h"

#include "core/grid/GridJson.h"
#include "core/io/CsvText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <array>
#include <cmath>

namespace {
// Expectations to six decimals: enough to compare, short to read.
double rounded(double x) {
    return std::round(x * 1e6) / 1e6;
}

// Numbers as Qt's JSON writer writes them.
QByteArray number(double x) {
    const QByteArray a = QJsonDocument(QJsonArray{x}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

template <typename Container> QByteArray array(const Container &values) {
    QByteArray out = "[";
    for (const auto v : values)
        out += (out.size() > 1 ? ", " : "") + number(rounded(double(v)));
    return out + ']';
}

// "name": value. Written by hand, unlike QJsonObject, so that members keep this order.
QByteArray member(const char *name, const QByteArray &value) {
    return QByteArray("\"") + name + "\": " + value;
}

QByteArray methodJson(const Backtest::MethodSummary &m, int method, bool oneSetting) {
    QByteArray o = "{" + member("method", GridJson::quoted(Backtest::methodName(method)));
    o += ", " + member("drawsTested", number(m.drawsTested));
    o += ", " + member("numbers", number(double(m.numbers)));
    o += ", " + member("mainHits", number(double(m.mainHits)));
    o += ", " + member("bonusHits", number(double(m.bonusHits)));
    o += ", " + member("expectedMainHits", number(rounded(m.expectedMainHits)));
    o += ", " + member("expectedBonusHits", number(rounded(m.expectedBonusHits)));
    o += ", " + member("mainHitVariance", number(rounded(m.mainHitVariance)));
    o += ", " + member("pValue", number(m.pValue.value));
    o += ", " + member("pValueMethod", m.pValue.exact ? "\"exact\"" : "\"normal\"");
    o += ", " + member("meanHits", number(rounded(m.meanHits)));
    o += ",\n        " + member("distribution", array(m.distribution));
    o += ", " + member("expectedDistribution", array(m.expectedDistribution));
    o += ",\n        " + member("setsOfSeven", number(m.setsOfSeven));
    o += ", " + member("tiers", array(m.tiers));
    o += ", " + member("expectedTiers", array(m.expectedTiers));
    o += ",\n        " + member("meanInterval", m.meanLow <= m.meanHigh ? array(std::array{m.meanLow, m.meanHigh})
                                                                        : QByteArray("null"));
    if (oneSetting)
        o += ", " + member("adjustedPValue", number(m.adjustedPValue));
    return o + '}';
}

} // namespace

QByteArray BacktestExport::toJson(const Backtest::Report &report) {
    QByteArray out = "{\n  " + member("from", number(report.range.from));
    out += ", " + member("to", number(report.range.to));
    out += ",\n  " + member("drawsTested", number(report.drawsTested));
    out += ", " + member("firstTested", number(report.firstTested));
    out += ", " + member("lastTested", number(report.lastTested));
    out += ",\n  " + member("allSettings", report.allSettings ? "true" : "false");
    out += ", " + member("comparisons", number(report.comparisons));
    out += ", " + member("correction", "\"holm\"");
    out += ",\n  " + member("settings", "[");
    for (std::size_t i = 0; i < report.settings.size(); ++i) {
        const Backtest::SettingResult &s = report.settings[i];
        out += i ? ",\n    {" : "\n    {";
        out += member("reflectOffset", number(s.reflectOffset));
        if (report.allSettings) {
            out += ", " + member("rank", number(s.rank));
            out += ", " + member("excessMainHits", number(rounded(s.excessHits)));
            out += ", " + member("pValue", number(s.pValue));
            out += ", " + member("adjustedPValue", number(s.adjustedPValue));
        }
        out += ",\n     " + member("methods", "[");
        for (int m = 0; m < Backtest::kMethodCount; ++m)
            out += (m ? ",\n      " : "\n      ") + methodJson(s.methods[std::size_t(m)], m, !report.allSettings);
        out += "\n     ]}";
    }
    out += report.settings.empty() ? "]" : "\n  ]";
    out += ",\n  " + member("verdict", GridJson::quoted(report.verdict)) + "\n}\n";
    return out;
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
            out += row.join(QLatin1Char(',')) + QLatin1String("\r\n");
        }
    }
    return out.toUtf8();
}
