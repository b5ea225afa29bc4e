#include "analysis/AnalysisCatalog.h"

#include "analysis/Builders.h"

std::vector<ResultGrid> CatalogEntry::grids(const DrawHistory &history, const PredictionOptions &options) const {
    if (build) {
        // Moved, not copied: an initializer list would copy the whole sheet.
        std::vector<ResultGrid> one;
        one.push_back(build(history));
        return one;
    }
    if (predict)
        return predict(history, options);
    return {};
}

namespace {
const std::vector<LegendItem> &markLegend() {
    static const std::vector<LegendItem> items = {
        {LegendItem::Kind::Dot, Palette::MainMark, QStringLiteral("：本数字"), QStringLiteral("Picture1"),
         QStringLiteral("Label2")},
        {LegendItem::Kind::Dot, Palette::Bonus1Mark, QStringLiteral("：ボーナス数字1"), QStringLiteral("Picture1"),
         QStringLiteral("Label3")},
        {LegendItem::Kind::Dot, Palette::Bonus2Mark, QStringLiteral("：ボーナス数字2"), QStringLiteral("Picture1"),
         QStringLiteral("Label3")},
    };
    return items;
}

std::vector<LegendItem> groupSplitLegend() {
    std::vector<LegendItem> items = markLegend();
    items.push_back({LegendItem::Kind::Swatch, Palette::Grey210, QStringLiteral("：該当する当選番号なし"),
                     QStringLiteral("Label5"), QStringLiteral("Label4")});
    return items;
}

CatalogEntry analysis(QString formName, QString caption, QString menuItem, QString menuText, QString description,
                      int width, int height, AnalysisBuilder build) {
    CatalogEntry e{WindowKind::Analysis,
                   std::move(formName),
                   std::move(caption),
                   std::move(menuItem),
                   std::move(menuText),
                   QString(),
                   QString(),
                   std::move(description),
                   width,
                   height,
                   true};
    e.build = build;
    return e;
}

CatalogEntry inSubmenu(CatalogEntry e, const char *name, const QString &text) {
    e.submenuName = QString::fromLatin1(name);
    e.submenuText = text;
    return e;
}

std::vector<CatalogEntry> makeEntries() {
    std::vector<CatalogEntry> list;

    CatalogEntry frequency =
        analysis("出現頻度分析", "出現頻度分析", "mnuSyutugenHindo", "出現頻度分析",
                 "過去の当選番号の出現回数を数字別に分析します", 11300, 10700, &buildAppearanceFrequency);
    frequency.hasPrint = false;
    frequency.legendPlace = LegendPlace::BelowGrid;
    frequency.legend = markLegend();
    list.push_back(inSubmenu(frequency, "mnuHindo", "頻度分析"));
    list.push_back(
        inSubmenu(analysis("回数別出現分析", "回数別頻度分析", "mnuSyutugenKaisu", "回数別出現分析",
                           "過去の当選番号から出現回数別の数字を分析します", 3405, 8355, &buildNumbersByCount),
                  "mnuHindo", "頻度分析"));

    CatalogEntry interval =
        analysis("出現間隔分析", "出現間隔分析", "mnuSyutugenKankaku", "出現間隔分析",
                 "過去の当選数字が何回前に出現しているか分析します", 12070, 13920, &buildAppearanceInterval);
    interval.yield = EventYield::None;
    list.push_back(inSubmenu(interval, "mnuKankaku", "間隔分析"));
    CatalogEntry numberInterval = analysis("数字間隔分析", "数字間隔分析", "mnuNumberKankaku", "数字間隔分析",
                                           "当選数字を第１数字～第７数字別に前回数字との数字の間隔を分析します", 12070,
                                           13905, &buildNumberInterval);
    numberInterval.yield = EventYield::None;
    list.push_back(inSubmenu(numberInterval, "mnuKankaku", "間隔分析"));

    list.push_back(analysis("出現回数分析", "出現回数分析", "mnuZenkaiSyutugen", "出現回数分析",
                            "過去の当選数字が何回出現したか分析します", 12080, 13995, &buildAppearanceCount));

    CatalogEntry spread = analysis("バラツキ分析", "バラツキ分析", "mnuBaratsuki", "バラツキ分析",
                                   "過去の当選番号のバラツキを数字別に分析します", 11080, 12750, &buildSpread);
    spread.legendPlace = LegendPlace::AboveGrid;
    spread.legend = markLegend();
    spread.gridFollowsResize = true;
    list.push_back(spread);

    CatalogEntry carryOver =
        analysis("引っ張り分析", "引っ張り分析", "mnuHippari", "引っ張り分析",
                 "過去の当選数字に前回出現した数字が入っているか分析します", 9680, 13600, &buildCarryOver);
    carryOver.yield = EventYield::AfterCompute;
    carryOver.legendPlace = LegendPlace::BesideDescription;
    carryOver.legend = {{LegendItem::Kind::Swatch, Palette::CarryOver, QStringLiteral(":前回の数字"),
                         QStringLiteral("Label2"), QStringLiteral("Label3")}};
    list.push_back(carryOver);

    CatalogEntry consecutive =
        analysis("連番飛び石分析", "連番・飛び石分析", "mnuRenbanTobiishi", "連番・飛び石分析",
                 "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します", 8310, 13500, &buildConsecutiveSkip);
    consecutive.yield = EventYield::AfterCompute;
    list.push_back(consecutive);

    list.push_back(analysis("数字合計分析", "数字合計分析", "mnuHonsuji", "数字合計分析",
                            "過去の当選番号の本数字＋ボーナス数字合計を分析します", 8970, 13800, &buildNumberSum));

    list.push_back(inSubmenu(analysis("低数字高数字の組合せパターン分析", "低数字・高数字の組合せパターン分析",
                                      "mnuLowHightPattern", "低数字・高数字の組合せパターン分析",
                                      "過去の当選番号を低数字（０１～１８）と高数字（１９～３７）に分けて組合せパター"
                                      "ンを分析します（ボーナス数字は入れていません）",
                                      8750, 13700, &buildLowHighPattern),
                             "mnuPattern", "組合せパターン分析"));
    list.push_back(
        inSubmenu(analysis("偶数奇数の組合せパターン分析", "偶数・奇数の組合せパターン分析", "mnuKisuGusuPattern",
                           "偶数・奇数の組合せパターン分析", "過去の当選番号を偶数と奇数に分類して分析します", 8750,
                           13700, &buildEvenOddPattern),
                  "mnuPattern", "組合せパターン分析"));

    list.push_back(analysis("分割4傾向分析", "4分割傾向分析", "mnu5BunkatsuKeiko", "4分割傾向分析",
                            "過去の当選番号を４つのグループに分けて傾向を分析します", 9090, 13750,
                            &buildFourGroupTrend));

    struct Split {
        const char *form, *caption, *menuItem, *menuText, *description;
        AnalysisBuilder build;
    };
    const Split splits[] = {
        {"分割6データ分析", "6分割データ分析", "mnu6BunkatsuData", "6分割データ分析",
         "過去の当選番号の６グループに分類して分析します", &buildGroupSplit6},
        {"分割7データ分析", "7分割データ分析", "mnu7BunkatsuData", "7分割データ分析",
         "過去の当選番号の７グループに分類して分析します", &buildGroupSplit7},
        {"分割9データ分析", "9分割データ分析", "mnu11BunkatsuData", "9分割データ分析",
         "過去の当選番号の９グループに分類して分析します", &buildGroupSplit9},
    };
    for (const Split &s : splits) {
        CatalogEntry e = analysis(s.form, s.caption, s.menuItem, s.menuText, s.description, 12365, 12600, s.build);
        e.legendPlace = LegendPlace::BelowGrid;
        e.legend = groupSplitLegend();
        list.push_back(inSubmenu(e, "mnuBunkatsuData", "分割データ分析"));
    }

    list.push_back(analysis("下一桁出現傾向分析", "下一桁出現傾向分析", "mnuLastChar", "下一桁出現傾向分析",
                            "過去の当選番号の下一桁の数字の出現傾向を分析します", 7400, 13980, &buildLastDigitTrend));
    list.push_back(analysis("下一桁連続出現回数分析", "下一桁連続出現回数分析", "mnuLastCharRenzoku",
                            "下一桁連続出現回数分析", "過去の当選番号の下一桁数字が何回続けて出現しているか分析します",
                            7400, 13935, &buildLastDigitRuns));

    CatalogEntry prediction{
        WindowKind::Prediction,
        "一発ズバリオ予想",
        "一発ズバリオ予想",
        "mnuYoso",
        "一発ズバリオ予想(&D)",
        QString(),
        QString(),
        "各データ分析の結果を元に周期法、消去法、連発ズバリオ、一発ズバリオの各手法を用いて当選数字を"
        "予想します。",
        10080,
        8400,
        true};
    prediction.predict = &buildPredictionGrids;
    list.push_back(prediction);

    list.push_back(CatalogEntry{
        WindowKind::DataEntry, "当選データ入力", "当選データ入力", "mnuMasterInput", "当選データ入力(&I)", QString(),
        QString(), "当選数字を開催回数毎に入力します。ここのデータが分析対象になります", 9000, 13450, false});

    list.push_back(CatalogEntry{
        WindowKind::TicketCheck, "当選照合", "当選照合", "mnuTousenSyougou", "当選照合(&T)", QString(), QString(),
        "購入した数字を過去の当選数字と照合し、等級ごとの当選数を偶然の期待値と比べます", 14400, 10200, true});

    list.push_back(CatalogEntry{WindowKind::Backtest, "予想の検証", "予想の検証", "mnuBacktest", "予想の検証(&B)",
                                QString(), QString(),
                                "過去の各回を、その回より前の当選データだけで予想し直して実際の当選数字と照合し、"
                                "でたらめに選んだ同じ個数の数字が偶然に当たる数と比べます",
                                19800, 14400, true});
    return list;
}
} // namespace

const std::vector<CatalogEntry> &AnalysisCatalog::entries() {
    static const std::vector<CatalogEntry> list = makeEntries();
    return list;
}

const CatalogEntry *AnalysisCatalog::find(const QString &name) {
    for (const CatalogEntry &e : entries())
        if (e.formName == name || e.menuItem == name)
            return &e;
    return nullptr;
}

QStringList AnalysisCatalog::formNames(bool exportableOnly) {
    QStringList names;
    for (const CatalogEntry &e : entries())
        if (!exportableOnly || e.exportable())
            names << e.formName;
    return names;
}

QString AnalysisCatalog::unknownWindowMessage(const QString &name, bool exportableOnly) {
    return QStringLiteral("不明なウィンドウです: %1（指定できるもの: %2）")
        .arg(name, formNames(exportableOnly).join(QStringLiteral("、")));
}

const CatalogEntry &AnalysisCatalog::prediction() {
    return *find(QStringLiteral("mnuYoso"));
}
const CatalogEntry &AnalysisCatalog::dataEntry() {
    return *find(QStringLiteral("mnuMasterInput"));
}
const CatalogEntry &AnalysisCatalog::ticketCheck() {
    return *find(QStringLiteral("mnuTousenSyougou"));
}
