#include "core/backtest/BacktestText.h"

#include "core/backtest/Backtest.h"
#include "core/check/PrizeTier.h"

#include <QStringList>

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

QString BacktestText::yenNote(const Backtest::Report &report) {
    if (report.drawsTested == 0)
        return {};
    const int without = int(report.withoutPrizes.size());
    if (without == report.drawsTested)
        return QStringLiteral("検証した回には当せん金のデータがないため、金額は計算していません。");
    QString text = QStringLiteral("金額は、7個の予想を毎回1口%1円で買ったとして、当せん金のデータがある%2回分で"
                                  "数えています。偶然の行は、同じ回に同じ口数をでたらめに選んで買ったときの平均です"
                                  "（売上のうち賞金に充てられるのは平均%3%）。")
                       .arg(PrizeTier::kTicketPrice)
                       .arg(report.drawsWithPrizes())
                       .arg(QString::number(PrizeTier::kPayoutShare * 100.0, 'f', 0));
    if (without > 0) {
        constexpr int kNamed = 10;
        QStringList named;
        for (int i = 0; i < without && i < kNamed; ++i)
            named << QStringLiteral("第%1回").arg(report.withoutPrizes[std::size_t(i)]);
        if (without > kNamed)
            named.last() += QStringLiteral("ほか");
        text += QStringLiteral("当せん金のデータがない%1回分（%2）は金額に含めていません。")
                    .arg(without)
                    .arg(named.join(QStringLiteral("、")));
    }
    return text;
}
