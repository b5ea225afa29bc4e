#include "core/check/CheckGrids.h"

#include "core/grid/GridSetUp.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
// Result grid columns.
constexpr int kTicketColumn = 1;
constexpr int kDrawColumn = 2;
constexpr int kFirstNumberColumn = 3;
constexpr int kMainHitsColumn = kFirstNumberColumn + DrawRules::kMainCount;
constexpr int kBonusHitsColumn = kMainHitsColumn + 1;
constexpr int kTierColumn = kBonusHitsColumn + 1;
constexpr int kResultColumns = kTierColumn;

// Summary grid columns and rows.
constexpr int kSummaryColumns = 4;
constexpr int kFirstTierRow = 2;
constexpr int kTotalRow = kFirstTierRow + PrizeTier::kTierCount;

const std::array<QString, PrizeTier::kTierCount> &tierRules() {
    static const std::array<QString, PrizeTier::kTierCount> rules = {
        QStringLiteral("本数字7個すべて"), QStringLiteral("本数字6個とボーナス数字1個"),
        QStringLiteral("本数字6個"),       QStringLiteral("本数字5個"),
        QStringLiteral("本数字4個"),       QStringLiteral("本数字3個とボーナス数字1個か2個"),
    };
    return rules;
}

void writeResultRow(ResultGrid &grid, int row, int ticketNumber, const Ticket &ticket, const CheckedDraw &draw) {
    const TicketMatch m = TicketChecker::match(ticket.mask, draw);
    grid.setText(kTicketColumn, row, ticketNumber);
    grid.setText(kDrawColumn, row, draw.drawNumber);
    for (int i = 0; i < DrawRules::kMainCount; ++i) {
        const int n = ticket.numbers[std::size_t(i)];
        const int col = kFirstNumberColumn + i;
        grid.setText(col, row, n);
        if (m.main & DrawRules::maskOf(n))
            grid.cellBlock(col, row).back(CheckGrids::kMainHit);
        else if (m.bonus & DrawRules::maskOf(n))
            grid.cellBlock(col, row).back(CheckGrids::kBonusHit);
    }
    grid.setText(kMainHitsColumn, row, m.mainHits);
    grid.setText(kBonusHitsColumn, row, m.bonusHits);
    grid.setText(kTierColumn, row, PrizeTier::tierName(m.tier));
    if (m.tier != PrizeTier::kNone)
        grid.cellBlock(kTierColumn, row).fore(Palette::Red);
}
} // namespace

namespace CheckGrids {

std::uint64_t resultRowCount(const CheckResult &result, Rows rows) {
    if (rows == Rows::All)
        return std::uint64_t(result.ticketCount) * result.draws.size();
    std::uint64_t wins = 0;
    for (const std::uint64_t n : result.tiers)
        wins += n;
    return wins;
}

ResultGrid results(const std::vector<Ticket> &tickets, const CheckResult &result, Rows rows) {
    const int shown = int(std::min<std::uint64_t>(resultRowCount(result, rows), kMaxResultRows));
    ResultGrid grid(kResultColumns, 1 + shown);
    GridSetUp{.visibleColumns = kResultColumns,
              .visibleRows = 30,
              .frozenRows = 1,
              .frozenColumns = 2,
              .rowHeight = 10,
              .rowHeights = {{1, 15}},
              .columnWidth = 5,
              .columnWidths =
                  {{kTicketColumn, 7}, {kDrawColumn, 7}, {kMainHitsColumn, 7}, {kBonusHitsColumn, 9}, {kTierColumn, 7}}}
        .applyTo(grid);
    grid.all().border(AllSides, Palette::LightBlue);
    grid.block(kTicketColumn, -1, kDrawColumn, -1).fore(Palette::Red).back(Palette::LightYellow);

    grid.block(1, 1, kResultColumns, 1).fore(Palette::Black).back(Palette::LightPink);
    // The seven number columns read as one heading cell.
    grid.block(kFirstNumberColumn, 1, kMainHitsColumn - 1, 1).noBorder();
    grid.block(kFirstNumberColumn, 1, kMainHitsColumn - 1, 1).border(Bottom);
    grid.setOverflow(true);
    grid.setText(kTicketColumn, 1, QStringLiteral("チケット"));
    grid.setText(kDrawColumn, 1, QStringLiteral("回数"));
    grid.cellBlock(kFirstNumberColumn + 2, 1).align(Align::Left);
    grid.setText(kFirstNumberColumn + 2, 1, QStringLiteral(" 選 ん だ 数 字"));
    grid.setText(kMainHitsColumn, 1, QStringLiteral("本数字"));
    grid.setText(kBonusHitsColumn, 1, QStringLiteral("ボーナス"));
    grid.setText(kTierColumn, 1, QStringLiteral("等級"));

    int row = 2;
    for (std::size_t t = 0; t < tickets.size() && row <= grid.rows(); ++t) {
        if (rows == Rows::All) {
            for (std::size_t d = 0; d < result.draws.size() && row <= grid.rows(); ++d)
                writeResultRow(grid, row++, int(t + 1), tickets[t], result.draws[d]);
        } else {
            for (const TicketWin &w : result.tickets[t].wins) {
                if (row > grid.rows())
                    break;
                writeResultRow(grid, row++, int(t + 1), tickets[t], result.draws[w.drawIndex]);
            }
        }
    }
    grid.parkCursor();
    return grid;
}

ResultGrid summary(const CheckResult &result) {
    ResultGrid grid(kSummaryColumns, kTotalRow);
    GridSetUp{.visibleColumns = kSummaryColumns,
              .visibleRows = kTotalRow,
              .rowHeight = 10,
              .columnWidth = 10,
              .columnWidths = {{1, 6}, {2, 26}, {4, 12}}}
        .applyTo(grid);
    grid.all().border(AllSides, Palette::LightBlue);
    grid.block(1, 1, kSummaryColumns, 1).back(Palette::LightPink);
    grid.block(1, 2, 1, kTotalRow).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(2, 2, 2, kTotalRow).align(Align::Left);
    grid.setText(1, 1, QStringLiteral("等級"));
    grid.setText(2, 1, QStringLiteral("当選条件"));
    grid.setText(3, 1, QStringLiteral("当選数"));
    grid.setText(4, 1, QStringLiteral("偶然の期待値"));

    const std::array<double, PrizeTier::kTierCount> expected = result.expected();
    std::uint64_t observedTotal = 0;
    double expectedTotal = 0;
    for (int t = 0; t < PrizeTier::kTierCount; ++t) {
        const int row = kFirstTierRow + t;
        grid.setText(1, row, PrizeTier::tierName(t + 1));
        grid.setText(2, row, QLatin1Char(' ') + tierRules()[std::size_t(t)]);
        grid.setText(3, row, QString::number(result.tiers[std::size_t(t)]));
        grid.setText(4, row, expectedText(expected[std::size_t(t)]));
        observedTotal += result.tiers[std::size_t(t)];
        expectedTotal += expected[std::size_t(t)];
    }
    grid.setText(1, kTotalRow, QStringLiteral("合計"));
    grid.setText(3, kTotalRow, QString::number(observedTotal));
    grid.setText(4, kTotalRow, expectedText(expectedTotal));
    grid.block(1, kTotalRow, kSummaryColumns, kTotalRow).border(Top, Palette::Black);
    grid.parkCursor();
    return grid;
}

QString rangeText(const CheckResult &result) {
    if (result.range.empty())
        return QStringLiteral("照合する回がありません。");
    QString text = result.range.from == result.range.to
                       ? QStringLiteral("第%1回").arg(result.range.from)
                       : QStringLiteral("第%1回～第%2回").arg(result.range.from).arg(result.range.to);
    text += QStringLiteral("の%1回分にチケット%2枚を照合しました。").arg(result.drawsChecked()).arg(result.ticketCount);
    if (result.drawsSkipped > 0)
        text += QStringLiteral("データがないか数字が欠けている%1回分は除きました。").arg(result.drawsSkipped);
    return text;
}

QString yenText(const CheckResult &result) {
    if (result.draws.empty())
        return {};
    const QLocale locale(QLocale::Japanese);
    const auto yen = [&locale](qint64 v) { return locale.toString(v) + QStringLiteral("円"); };
    const QString paid = QStringLiteral("購入額 %1（%2円×%3枚×%4回）")
                             .arg(yen(result.paid()))
                             .arg(PrizeTier::kTicketPrice)
                             .arg(result.ticketCount)
                             .arg(result.drawsChecked());
    if (result.drawsWithoutPrizes == result.drawsChecked())
        return QStringLiteral("照合した回には当せん金のデータがないため、当せん金額は分かりません（%1）。").arg(paid);
    // The return is taken over the draws whose prizes are known, so that a draw without data
    // neither counts as nothing won nor hides what was paid for it.
    const int drawsWithPrizes = result.drawsChecked() - result.drawsWithoutPrizes;
    const qint64 paidWithPrizes = qint64(PrizeTier::kTicketPrice) * result.ticketCount * drawsWithPrizes;
    const double share = paidWithPrizes > 0 ? 100.0 * double(result.won) / double(paidWithPrizes) : 0.0;
    const QString over = result.drawsWithoutPrizes > 0
                             ? QStringLiteral("当せん金のデータがある%1回分で").arg(drawsWithPrizes)
                             : QString();
    QString text = QStringLiteral("当せん金 %1 ／ %2：%3還元率 %4%（売上のうち賞金に充てられるのは平均 %5%）。")
                       .arg(yen(result.won), paid, over, QString::number(share, 'f', 1),
                            QString::number(PrizeTier::kPayoutShare * 100.0, 'f', 0));
    if (result.drawsWithoutPrizes > 0) {
        constexpr int kNamed = 10;
        QStringList named;
        for (std::size_t d = 0; d < result.draws.size() && named.size() < kNamed; ++d)
            if (!result.prizes[d])
                named << QStringLiteral("第%1回").arg(result.draws[d].drawNumber);
        if (result.drawsWithoutPrizes > kNamed)
            named.last() += QStringLiteral("ほか");
        text += QStringLiteral("当せん金のデータがない%1回分（%2）の当選は金額に含めていません。")
                    .arg(result.drawsWithoutPrizes)
                    .arg(named.join(QStringLiteral("、")));
    }
    return text;
}

QString expectedText(double value) {
    if (value <= 0)
        return QStringLiteral("0");
    // Three significant digits, at least one decimal, never an exponent.
    const int magnitude = int(std::floor(std::log10(value)));
    const int decimals = std::clamp(2 - magnitude, 1, 12);
    return QString::number(value, 'f', decimals);
}

} // namespace CheckGrids
