#include "gui/analysis/AnalysisWindowLook.h"

#include <QHash>

namespace {
std::vector<LegendItem> markLegend() {
    return {
        {LegendItem::Kind::Dot, Palette::MainMark, QStringLiteral("：本数字"), QStringLiteral("Picture1"),
         QStringLiteral("Label2")},
        {LegendItem::Kind::Dot, Palette::Bonus1Mark, QStringLiteral("：ボーナス数字1"), QStringLiteral("Picture1"),
         QStringLiteral("Label3")},
        {LegendItem::Kind::Dot, Palette::Bonus2Mark, QStringLiteral("：ボーナス数字2"), QStringLiteral("Picture1"),
         QStringLiteral("Label3")},
    };
}

std::vector<LegendItem> groupSplitLegend() {
    std::vector<LegendItem> items = markLegend();
    items.push_back({LegendItem::Kind::Swatch, Palette::Grey210, QStringLiteral("：該当する当選番号なし"),
                     QStringLiteral("Label5"), QStringLiteral("Label4")});
    return items;
}

QHash<QString, AnalysisWindowLook> makeLooks() {
    const AnalysisWindowLook groupSplit{.legendPlace = LegendPlace::BelowGrid, .legend = groupSplitLegend()};
    AnalysisWindowLook narrowSplit = groupSplit;
    narrowSplit.widthFollowsGrid = true;
    return {
        {QStringLiteral("出現頻度分析"),
         {.hasPrint = false, .legendPlace = LegendPlace::BelowGrid, .legend = markLegend()}},
        {QStringLiteral("出現間隔分析"), {.yield = EventYield::None}},
        {QStringLiteral("数字間隔分析"), {.yield = EventYield::None}},
        {QStringLiteral("バラツキ分析"), {.legendPlace = LegendPlace::AboveGrid, .legend = markLegend()}},
        {QStringLiteral("引っ張り分析"),
         {.yield = EventYield::AfterCompute,
          .legendPlace = LegendPlace::BesideDescription,
          .legend = {{LegendItem::Kind::Swatch, Palette::CarryOver, QStringLiteral(":前回の数字"),
                      QStringLiteral("Label2"), QStringLiteral("Label3")}}}},
        {QStringLiteral("連番飛び石分析"), {.yield = EventYield::AfterCompute}},
        {QStringLiteral("分割6データ分析"), narrowSplit},
        {QStringLiteral("分割7データ分析"), groupSplit},
        {QStringLiteral("分割9データ分析"), narrowSplit},
        {QStringLiteral("当選データ入力"), {.hasPrint = false}},
    };
}
} // namespace

const AnalysisWindowLook &AnalysisWindowLook::of(const QString &formName) {
    static const QHash<QString, AnalysisWindowLook> looks = makeLooks();
    static const AnalysisWindowLook plain;
    const auto it = looks.constFind(formName);
    return it == looks.constEnd() ? plain : *it;
}
