#include "core/catalog/AnalysisCatalog.h"

#include "core/analysis/Builders.h"
#include "core/check/PrizeListGrid.h"
#include "core/prediction/PredictionEngine.h"
#include "core/theory/TheoryGrids.h"

std::vector<ResultGrid> CatalogEntry::grids(const DrawHistory &history, const PredictionOptions &options) const {
    if (build) {
        // Moved, not copied: an initializer list would copy the whole sheet.
        std::vector<ResultGrid> one;
        one.push_back(build(history));
        return one;
    }
    if (buildGrids)
        return buildGrids(history);
    if (predict)
        return predict(history, options);
    return {};
}

namespace {
std::vector<CatalogEntry> makeEntries() {
    return {
        {.formName = "出現頻度分析",
         .caption = "出現頻度分析",
         .menuItem = "mnuSyutugenHindo",
         .menuText = "出現頻度分析",
         .submenuName = "mnuHindo",
         .submenuText = "頻度分析",
         .description = "過去の当選番号の出現回数を数字別に分析します",
         .widthTwips = 11300,
         .heightTwips = 10700,
         .build = &buildAppearanceFrequency},
        {.formName = "回数別出現分析",
         .caption = "回数別頻度分析",
         .menuItem = "mnuSyutugenKaisu",
         .menuText = "回数別出現分析",
         .submenuName = "mnuHindo",
         .submenuText = "頻度分析",
         .description = "過去の当選番号から出現回数別の数字を分析します",
         .widthTwips = 3405,
         .heightTwips = 8355,
         .build = &buildNumbersByCount},
        {.formName = "出現間隔分析",
         .caption = "出現間隔分析",
         .menuItem = "mnuSyutugenKankaku",
         .menuText = "出現間隔分析",
         .submenuName = "mnuKankaku",
         .submenuText = "間隔分析",
         .description = "過去の当選数字が何回前に出現しているか分析します",
         .widthTwips = 12070,
         .heightTwips = 13920,
         .build = &buildAppearanceInterval},
        {.formName = "数字間隔分析",
         .caption = "数字間隔分析",
         .menuItem = "mnuNumberKankaku",
         .menuText = "数字間隔分析",
         .submenuName = "mnuKankaku",
         .submenuText = "間隔分析",
         .description = "当選数字を第１数字～第７数字別に前回数字との数字の間隔を分析します",
         .widthTwips = 12070,
         .heightTwips = 13905,
         .build = &buildNumberInterval},
        {.formName = "出現回数分析",
         .caption = "出現回数分析",
         .menuItem = "mnuZenkaiSyutugen",
         .menuText = "出現回数分析",
         .description = "過去の当選数字が何回出現したか分析します",
         .widthTwips = 12080,
         .heightTwips = 13995,
         .build = &buildAppearanceCount},
        {.formName = "バラツキ分析",
         .caption = "バラツキ分析",
         .menuItem = "mnuBaratsuki",
         .menuText = "バラツキ分析",
         .description = "過去の当選番号のバラツキを数字別に分析します",
         .widthTwips = 11080,
         .heightTwips = 12750,
         .build = &buildSpread},
        {.formName = "引っ張り分析",
         .caption = "引っ張り分析",
         .menuItem = "mnuHippari",
         .menuText = "引っ張り分析",
         .description = "過去の当選数字に前回出現した数字が入っているか分析します",
         .widthTwips = 9680,
         .heightTwips = 13600,
         .build = &buildCarryOver},
        {.formName = "連番飛び石分析",
         .caption = "連番・飛び石分析",
         .menuItem = "mnuRenbanTobiishi",
         .menuText = "連番・飛び石分析",
         .description = "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します",
         .widthTwips = 8310,
         .heightTwips = 13500,
         .build = &buildConsecutiveSkip},
        {.formName = "数字合計分析",
         .caption = "数字合計分析",
         .menuItem = "mnuHonsuji",
         .menuText = "数字合計分析",
         .description = "過去の当選番号の本数字＋ボーナス数字合計を分析します",
         .widthTwips = 8970,
         .heightTwips = 13800,
         .build = &buildNumberSum},
        {.formName = "低数字高数字の組合せパターン分析",
         .caption = "低数字・高数字の組合せパターン分析",
         .menuItem = "mnuLowHightPattern",
         .menuText = "低数字・高数字の組合せパターン分析",
         .submenuName = "mnuPattern",
         .submenuText = "組合せパターン分析",
         .description = "過去の当選番号を低数字（０１～１８）と高数字（１９～３７）に分けて組合せパター"
                            "ンを分析します（ボーナス数字は入れていません）",
         .widthTwips = 8750,
         .heightTwips = 13700,
         .build = &buildLowHighPattern},
        {.formName = "偶数奇数の組合せパターン分析",
         .caption = "偶数・奇数の組合せパターン分析",
         .menuItem = "mnuKisuGusuPattern",
         .menuText = "偶数・奇数の組合せパターン分析",
         .submenuName = "mnuPattern",
         .submenuText = "組合せパターン分析",
         .description = "過去の当選番号を偶数と奇数に分類して分析します",
         .widthTwips = 8750,
         .heightTwips = 13700,
         .build = &buildEvenOddPattern},
        {.formName = "分割4傾向分析",
         .caption = "4分割傾向分析",
         .menuItem = "mnu5BunkatsuKeiko",
         .menuText = "4分割傾向分析",
         .description = "過去の当選番号を４つのグループに分けて傾向を分析します",
         .widthTwips = 9090,
         .heightTwips = 13750,
         .build = &buildFourGroupTrend},
        {.formName = "分割6データ分析",
         .caption = "6分割データ分析",
         .menuItem = "mnu6BunkatsuData",
         .menuText = "6分割データ分析",
         .submenuName = "mnuBunkatsuData",
         .submenuText = "分割データ分析",
         .description = "過去の当選番号の６グループに分類して分析します",
         .widthTwips = 12365,
         .heightTwips = 12600,
         .build = &buildGroupSplit6},
        {.formName = "分割7データ分析",
         .caption = "7分割データ分析",
         .menuItem = "mnu7BunkatsuData",
         .menuText = "7分割データ分析",
         .submenuName = "mnuBunkatsuData",
         .submenuText = "分割データ分析",
         .description = "過去の当選番号の７グループに分類して分析します",
         .widthTwips = 12365,
         .heightTwips = 12600,
         .build = &buildGroupSplit7},
        {.formName = "分割9データ分析",
         .caption = "9分割データ分析",
         .menuItem = "mnu11BunkatsuData",
         .menuText = "9分割データ分析",
         .submenuName = "mnuBunkatsuData",
         .submenuText = "分割データ分析",
         .description = "過去の当選番号の９グループに分類して分析します",
         .widthTwips = 12365,
         .heightTwips = 12600,
         .build = &buildGroupSplit9},
        {.formName = "下一桁出現傾向分析",
         .caption = "下一桁出現傾向分析",
         .menuItem = "mnuLastChar",
         .menuText = "下一桁出現傾向分析",
         .description = "過去の当選番号の下一桁の数字の出現傾向を分析します",
         .widthTwips = 7400,
         .heightTwips = 13980,
         .build = &buildLastDigitTrend},
        {.formName = "下一桁連続出現回数分析",
         .caption = "下一桁連続出現回数分析",
         .menuItem = "mnuLastCharRenzoku",
         .menuText = "下一桁連続出現回数分析",
         .description = "過去の当選番号の下一桁数字が何回続けて出現しているか分析します",
         .widthTwips = 7400,
         .heightTwips = 13935,
         .build = &buildLastDigitRuns},
        {.kind = WindowKind::TheoryComparison,
         .formName = "理論との比較",
         .caption = "理論との比較",
         .menuItem = "mnuRironHikaku",
         .menuText = "理論との比較",
         .description = "当選数字の合計、奇数・低数字の個数、連番、前回からの引っ張り、出現間隔、出現回"
                        "数を、どの組合せも同じ確率で出る（まったくの偶然）とした場合の期待値と比べます。"
                        "p値が0.05以上なら、その差は偶然のばらつきで説明でき、偏りがあるとは言えません。"
                        "0.05未満なら、偶然だけでこれほどの差が出るのは20回に1回もなく、偏りがあると考え"
                        "られます（補正後のp値は7つの表を調べたことを考えに入れた値で、こちらで判断します）",
         .widthTwips = 16500,
         .heightTwips = 13500,
         .buildGrids = &TheoryGrids::comparisonGrids},
        {.kind = WindowKind::PairAnalysis,
         .formName = "ペア出現分析",
         .caption = "ペア出現分析",
         .menuItem = "mnuPairSyutugen",
         .menuText = "ペア出現分析",
         .description = "2つの数字が同じ回に一緒に出た回数を数字の組ごとに示し、偶然の期待値より多い組"
                        "を赤、少ない組を青で塗り分けます。よく出た組と出ていない組（2数字と3数字）を期待"
                        "値、p値とともに挙げます（補正後のp値は666組、3数字は7,770組すべてを調べたことを"
                        "考えに入れた値です）",
         .widthTwips = 20100,
         .heightTwips = 10500,
         .buildGrids = &TheoryGrids::pairGrids},
        {.kind = WindowKind::Prediction,
         .formName = "一発ズバリオ予想",
         .caption = "一発ズバリオ予想",
         .menuItem = "mnuYoso",
         .menuText = "一発ズバリオ予想(&D)",
         .description = "各データ分析の結果を元に周期法、消去法、連発ズバリオ、一発ズバリオの各手法を用いて当選数字を"
                        "予想します。",
         .widthTwips = 10080,
         .heightTwips = 8400,
         .predict = &buildPredictionGrids},
        {.kind = WindowKind::DataEntry,
         .formName = "当選データ入力",
         .caption = "当選データ入力",
         .menuItem = "mnuMasterInput",
         .menuText = "当選データ入力(&I)",
         .description = "当選数字を開催回数毎に入力します。ここのデータが分析対象になります",
         .widthTwips = 9000,
         .heightTwips = 13450},
        {.kind = WindowKind::PrizeList,
         .formName = "当せん金一覧",
         .caption = "当せん金一覧",
         .menuItem = "mnuTousenkinIchiran",
         .menuText = "当せん金一覧(&P)",
         .description = "開催回ごとに1等～6等の当せん口数と1口あたりの当せん金、キャリーオーバーを示します"
                        "（金額は円、当せん金のデータがない回は「－」）",
         .widthTwips = 16800,
         .heightTwips = 13200,
         .build = &PrizeListGrid::build},
        {.kind = WindowKind::TicketCheck,
         .formName = "当選照合",
         .caption = "当選照合",
         .menuItem = "mnuTousenSyougou",
         .menuText = "当選照合(&T)",
         .description = "購入した数字を過去の当選数字と照合し、等級ごとの当選数を偶然の期待値と比べます",
         .widthTwips = 14400,
         .heightTwips = 10200},
        {.kind = WindowKind::Backtest,
         .formName = "予想の検証",
         .caption = "予想の検証",
         .menuItem = "mnuBacktest",
         .menuText = "予想の検証(&B)",
         .description = "過去の各回を、その回より前の当選データだけで予想し直して実際の当選数字と照合し、"
                        "でたらめに選んだ同じ個数の数字が偶然に当たる数と比べます",
         .widthTwips = 19800,
         .heightTwips = 14400},
        {.kind = WindowKind::Wheel,
         .formName = "組合せ購入",
         .caption = "組合せ購入",
         .menuItem = "mnuKumiawase",
         .menuText = "組合せ購入(&C)",
         .description = "予想した数字（プール）から少ない枚数の組合せを作ります。本数字がプールに決まった個数"
                        "以上入れば、どれかの券が決まった個数以上当たることを、すべての場合を調べて確かめます",
         .widthTwips = 16800,
         .heightTwips = 11400},
    };
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
const CatalogEntry &AnalysisCatalog::wheel() {
    return *find(QStringLiteral("mnuKumiawase"));
}
