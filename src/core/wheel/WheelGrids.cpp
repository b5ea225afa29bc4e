#include "core/wheel/WheelGrids.h"

#include "core/analysis/FourGroupTrendAnalysis.h"
#include "core/check/CheckGrids.h"
#include "core/grid/GridSetUp.h"
#include "core/wheel/WheelVerifier.h"

#include <cmath>

namespace {
// Summary rows and columns.
enum SummaryRow {
    kHeadingRow = 1,
    kPoolRow,
    kGuaranteeRow,
    kCasesRow,
    kCountRow,
    kCostRow,
    kConditionRow,
    kFirstTierRow
};
constexpr int kSummaryRows = kFirstTierRow + WheelOdds::kTiers - 1;
constexpr int kWheelColumn = 2, kRandomColumn = 3, kSummaryColumns = 3;

// Ticket grid columns.
constexpr int kFirstNumberColumn = 2;
constexpr int kTicketColumns = kFirstNumberColumn + DrawRules::kMainCount - 1;

using WheelInput::grouped;

QString ticketsText(std::uint64_t n) {
    return grouped(qint64(n)) + QStringLiteral("枚");
}

QString yenText(std::uint64_t tickets) {
    return grouped(qint64(tickets) * Wheel::kTicketPrice) + QStringLiteral("円");
}
} // namespace

WheelReport WheelReport::of(WheelBuilder::Result result, bool full) {
    WheelReport report{std::move(result), full, std::nullopt};
    if (report.result.wheel)
        report.odds = WheelOdds::of(*report.result.wheel);
    return report;
}

namespace WheelGrids {

QString chanceText(double p) {
    if (p <= 0)
        return QStringLiteral("0%");
    QString text = CheckGrids::expectedText(p * 100) + u'%';
    if (p <= 0.5)
        text += QStringLiteral("（約%1回に1回）").arg(grouped(std::llround(1 / p)));
    return text;
}

ResultGrid summary(const WheelReport *report) {
    ResultGrid grid(kSummaryColumns, kSummaryRows);
    GridSetUp{.visibleColumns = kSummaryColumns,
              .visibleRows = kSummaryRows,
              .rowHeight = 10,
              .columnWidth = 28,
              .columnWidths = {{1, 30}}}
        .applyTo(grid);
    grid.all().border(AllSides, Palette::LightBlue);
    grid.block(1, kHeadingRow, kSummaryColumns, kHeadingRow).back(Palette::LightPink);
    grid.block(1, kPoolRow, 1, kSummaryRows).fore(Palette::Red).back(Palette::LightYellow).align(Align::Left);
    grid.setText(kWheelColumn, kHeadingRow, QStringLiteral("この組合せ"));
    grid.setText(kRandomColumn, kHeadingRow, QStringLiteral("でたらめに選んだ同じ枚数"));
    grid.setText(1, kPoolRow, QStringLiteral("プールの数字"));
    grid.setText(1, kGuaranteeRow, QStringLiteral("保証"));
    grid.setText(1, kCasesRow, QStringLiteral("確かめた場合の数"));
    grid.setText(1, kCountRow, QStringLiteral("枚数"));
    grid.setText(1, kCostRow, QStringLiteral("金額（1枚%1円）").arg(Wheel::kTicketPrice));
    grid.setText(1, kConditionRow, QStringLiteral("保証の条件が成り立つ確率"));
    for (int i = 0; i < WheelOdds::kTiers; ++i)
        grid.setText(1, kFirstTierRow + i,
                     QStringLiteral("%1等以上が当たる確率").arg(WheelOdds::kTier[std::size_t(i)]));

    const Wheel *wheel = report && report->result.wheel ? &*report->result.wheel : nullptr;
    if (wheel) {
        const std::uint64_t count = wheel->tickets.size();
        const Guarantee g = wheel->guarantee;
        grid.setText(kWheelColumn, kPoolRow, QStringLiteral("%1個").arg(wheel->pool.size()));
        grid.setText(kWheelColumn, kGuaranteeRow,
                     report->full ? QStringLiteral("全組合せ") : WheelInput::guaranteeText(g));
        grid.setText(kWheelColumn, kCasesRow,
                     QStringLiteral("%1通りすべて").arg(grouped(qint64(WheelVerifier::casesChecked(*wheel)))));
        grid.setText(kWheelColumn, kCountRow, ticketsText(count));
        grid.setText(kRandomColumn, kCountRow, ticketsText(count));
        grid.setText(kWheelColumn, kCostRow, yenText(count));
        grid.setText(kRandomColumn, kCostRow, yenText(count));
        grid.setText(kWheelColumn, kConditionRow, chanceText(report->odds->condition()));
        for (int i = 0; i < WheelOdds::kTiers; ++i) {
            grid.setText(kWheelColumn, kFirstTierRow + i, chanceText(report->odds->tier(i)));
            grid.setText(kRandomColumn, kFirstTierRow + i, chanceText(report->odds->randomTickets[std::size_t(i)]));
        }
    }
    grid.parkCursor();
    return grid;
}

ResultGrid tickets(const Wheel *wheel) {
    const int count = wheel ? int(std::min<std::size_t>(wheel->tickets.size(), kMaxTicketRows)) : 0;
    ResultGrid grid(kTicketColumns, 1 + count);
    GridSetUp{.visibleColumns = kTicketColumns,
              .visibleRows = 25,
              .frozenRows = 1,
              .frozenColumns = 1,
              .rowHeight = 10,
              .rowHeights = {{1, 15}},
              .columnWidth = 5,
              .columnWidths = {{1, 8}}}
        .applyTo(grid);
    grid.all().border(AllSides, Palette::LightBlue);
    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    grid.block(1, 1, kTicketColumns, 1).fore(Palette::Black).back(Palette::LightPink);
    // The seven number columns read as one heading cell.
    grid.block(kFirstNumberColumn, 1, kTicketColumns, 1).noBorder();
    grid.block(kFirstNumberColumn, 1, kTicketColumns, 1).border(Bottom);
    grid.setOverflow(true);
    grid.setText(1, 1, QStringLiteral("チケット"));
    grid.cellBlock(kFirstNumberColumn + 2, 1).align(Align::Left);
    grid.setText(kFirstNumberColumn + 2, 1, QStringLiteral(" 買 う 数 字"));
    for (int row = 2; row <= count + 1; ++row) {
        grid.setText(1, row, row - 1);
        const auto numbers = WheelInput::ticketNumbers(wheel->tickets[std::size_t(row - 2)]);
        for (int i = 0; i < DrawRules::kMainCount; ++i) {
            const int n = numbers[std::size_t(i)];
            grid.setText(kFirstNumberColumn + i, row, n);
            grid.cellBlock(kFirstNumberColumn + i, row)
                .back(FourGroupTrendAnalysis::groupColour(FourGroupTrendAnalysis::groupOf(n)));
        }
    }
    grid.parkCursor();
    return grid;
}

QString statusText(const WheelReport &report) {
    const WheelBuilder::Result &r = report.result;
    if (!r.wheel)
        return r.outcome == WheelBuilder::Outcome::Cancelled
                   ? QStringLiteral("キャンセルしたため、組合せは作っていません。")
                   : r.message + QStringLiteral("組合せは作っていません。");
    const Wheel &w = *r.wheel;
    const std::uint64_t count = w.tickets.size();
    QString text;
    if (report.full)
        text = QStringLiteral("プール%1個の全組合せ%2（%3）です。")
                   .arg(w.pool.size())
                   .arg(ticketsText(count), yenText(count));
    else
        text = QStringLiteral("%1プール%2個で%3を保証する組合せ%4（%5）です。")
                   .arg(r.outcome == WheelBuilder::Outcome::Cancelled
                            ? QStringLiteral("キャンセルしました。それまでに見つけた、")
                            : QString())
                   .arg(w.pool.size())
                   .arg(WheelInput::guaranteeText(w.guarantee), ticketsText(count), yenText(count));
    text += QStringLiteral("本数字%1個以上がプールに入れば%2個以上当たる券があることを、プールの%1個の組合せ"
                           "%3通りすべてで確かめました。")
                .arg(w.guarantee.drawn)
                .arg(w.guarantee.match)
                .arg(grouped(qint64(WheelVerifier::casesChecked(w))));
    if (!report.full) {
        if (r.outcome == WheelBuilder::Outcome::AtBound)
            text += QStringLiteral("これより少ない枚数では保証できません。");
        else
            text += QStringLiteral("どの組合せも%1以上は要ります。").arg(ticketsText(std::uint64_t(r.lowerBound)));
    }
    if (count > std::uint64_t(kMaxTicketRows))
        text += QStringLiteral("表には先頭の%1枚を表示しています。").arg(grouped(kMaxTicketRows));
    return text;
}

QByteArray ticketFile(const Wheel &wheel, bool csv) {
    QByteArray out;
    out.reserve(qsizetype(wheel.tickets.size()) * (csv ? 22 : 21));
    for (const DrawRules::NumberMask ticket : wheel.tickets) {
        const auto numbers = WheelInput::ticketNumbers(ticket);
        for (int i = 0; i < DrawRules::kMainCount; ++i) {
            if (i)
                out += csv ? ',' : ' ';
            out += QByteArray::number(numbers[std::size_t(i)]);
        }
        out += csv ? "\r\n" : "\n";
    }
    return out;
}

} // namespace WheelGrids
