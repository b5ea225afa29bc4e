#include "core/backtest/BacktestText.h"

#include "core/backtest/Backtest.h"

#include <array>

namespace {
QString direction(bool above) {
    return above ? QStringLiteral("偶然より多く当たっています") : QStringLiteral("偶然より当たりが少なくなっています");
}
} // namespace

const QString &Backtest::methodName(int method) {
    static const std::array<QString, kMethodCount> names = {
        QStringLiteral("7回周期法"),  QStringLiteral("9回周期法"), QStringLiteral("11回周期法"),
        QStringLiteral("12回周期法"), QStringLiteral("消去法"),    QStringLiteral("連発予想"),
        QStringLiteral("１発予想"),
    };
    return names[std::size_t(method)];
}

QString Backtest::pText(double p) {
    if (p < 0.0001)
        return QStringLiteral("p < 0.0001");
    if (p < 0.01)
        return QStringLiteral("p = %1").arg(QString::number(p, 'g', 2));
    return QStringLiteral("p = %1").arg(QString::number(p, 'f', 2));
}

QString BacktestText::noDrawsTested() {
    return QStringLiteral("範囲内に検証できる回がありません");
}

QString BacktestText::methodVerdict(int method, bool aboveChance, double adjustedP, int comparisons) {
    return QStringLiteral("%1は%2 (補正後 %3、%4 通りを比較)")
        .arg(Backtest::methodName(method), direction(aboveChance), Backtest::pText(adjustedP))
        .arg(comparisons);
}

QString BacktestText::noMethodVerdict(int best, double p, double adjustedP, int comparisons) {
    return QStringLiteral("どの手法も偶然と区別できません (最良の手法: %1、%2、補正後 %3、%4 通りを比較)")
        .arg(Backtest::methodName(best), Backtest::pText(p), Backtest::pText(adjustedP))
        .arg(comparisons);
}

QString BacktestText::settingVerdict(int reflectOffset, bool aboveChance, double adjustedP, int comparisons) {
    return QStringLiteral("反映オフセット %1 の設定は%2 (補正後 %3、%4 通りを比較)")
        .arg(reflectOffset)
        .arg(direction(aboveChance), Backtest::pText(adjustedP))
        .arg(comparisons);
}

QString BacktestText::noSettingVerdict(int reflectOffset, double p, double adjustedP, int comparisons) {
    return QStringLiteral(
               "どの設定も偶然と区別できません (最良の設定: 反映オフセット %1、%2、補正後 %3、%4 通りを比較)")
        .arg(reflectOffset)
        .arg(Backtest::pText(p), Backtest::pText(adjustedP))
        .arg(comparisons);
}
