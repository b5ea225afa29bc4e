#include "backtest/BacktestExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace {
// Expectations to six decimals: enough to compare, short to read.
double rounded(double x) {
    return std::round(x * 1e6) / 1e6;
}

template <typename Container> QJsonArray array(const Container &values) {
    QJsonArray a;
    for (const auto v : values)
        a.append(rounded(double(v)));
    return a;
}

QJsonObject methodJson(const Backtest::MethodSummary &m, int method, bool oneSetting) {
    QJsonObject o{
        {QStringLiteral("method"), Backtest::methodName(method)},
        {QStringLiteral("drawsTested"), m.drawsTested},
        {QStringLiteral("numbers"), double(m.numbers)},
        {QStringLiteral("mainHits"), double(m.mainHits)},
        {QStringLiteral("bonusHits"), double(m.bonusHits)},
        {QStringLiteral("expectedMainHits"), rounded(m.expectedMainHits)},
        {QStringLiteral("expectedBonusHits"), rounded(m.expectedBonusHits)},
        {QStringLiteral("mainHitVariance"), rounded(m.mainHitVariance)},
        {QStringLiteral("pValue"), m.pValue.value},
        {QStringLiteral("pValueMethod"), m.pValue.exact ? QStringLiteral("exact") : QStringLiteral("normal")},
        {QStringLiteral("meanHits"), rounded(m.meanHits)},
        {QStringLiteral("distribution"), array(m.distribution)},
        {QStringLiteral("expectedDistribution"), array(m.expectedDistribution)},
        {QStringLiteral("setsOfSeven"), m.setsOfSeven},
        {QStringLiteral("tiers"), array(m.tiers)},
        {QStringLiteral("expectedTiers"), array(m.expectedTiers)},
    };
    o.insert(QStringLiteral("meanInterval"), m.meanLow <= m.meanHigh
                                                 ? QJsonValue(QJsonArray{rounded(m.meanLow), rounded(m.meanHigh)})
                                                 : QJsonValue(QJsonValue::Null));
    if (oneSetting)
        o.insert(QStringLiteral("adjustedPValue"), m.adjustedPValue);
    return o;
}

QString csvField(const QString &text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}
} // namespace

QByteArray BacktestExport::toJson(const Backtest::Report &report) {
    QJsonArray settings;
    for (const Backtest::SettingResult &s : report.settings) {
        QJsonArray methods;
        for (int m = 0; m < Backtest::kMethodCount; ++m)
            methods.append(methodJson(s.methods[std::size_t(m)], m, !report.allSettings));
        QJsonObject o{{QStringLiteral("reflectOffset"), s.reflectOffset}, {QStringLiteral("methods"), methods}};
        if (report.allSettings) {
            o.insert(QStringLiteral("rank"), s.rank);
            o.insert(QStringLiteral("excessMainHits"), rounded(s.excessHits));
            o.insert(QStringLiteral("pValue"), s.pValue);
            o.insert(QStringLiteral("adjustedPValue"), s.adjustedPValue);
        }
        settings.append(o);
    }
    const QJsonObject root{
        {QStringLiteral("from"), report.range.from},
        {QStringLiteral("to"), report.range.to},
        {QStringLiteral("drawsTested"), report.drawsTested},
        {QStringLiteral("firstTested"), report.firstTested},
        {QStringLiteral("lastTested"), report.lastTested},
        {QStringLiteral("allSettings"), report.allSettings},
        {QStringLiteral("comparisons"), report.comparisons},
        {QStringLiteral("correction"), QStringLiteral("holm")},
        {QStringLiteral("settings"), settings},
        {QStringLiteral("verdict"), report.verdict},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
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
                               csvField(Backtest::methodName(i)),
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
