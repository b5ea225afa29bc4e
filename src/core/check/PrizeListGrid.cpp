#include "core/check/PrizeListGrid.h"

#include "core/grid/GridSetUp.h"

#include <QLocale>

namespace {
constexpr int kDrawColumn = 1;
constexpr int kFirstWinnersColumn = 2; // 1等口数..6等口数, then 1等賞金..6等賞金, as the result files
constexpr int kFirstPrizeColumn = kFirstWinnersColumn + DrawPrizes::kTierCount;
constexpr int kCarryOverColumn = kFirstPrizeColumn + DrawPrizes::kTierCount;
constexpr int kColumns = kCarryOverColumn;
constexpr int kVisibleRows = 30;

const QString kNoData = QStringLiteral("－");
const QString kNoWinner = QStringLiteral("該当なし");

void writeDraw(ResultGrid &grid, int row, const DrawRecord &draw, const DrawPrizes *prizes) {
    grid.setText(kDrawColumn, row, draw.drawNumber);
    if (!prizes) {
        for (int c = kFirstWinnersColumn; c <= kColumns; ++c)
            grid.setText(c, row, kNoData);
        grid.block(kFirstWinnersColumn, row, kColumns, row).back(Palette::Grey225);
        return;
    }
    for (int t = 0; t < DrawPrizes::kTierCount; ++t) {
        const qint64 winners = prizes->winners[std::size_t(t)];
        grid.setText(kFirstWinnersColumn + t, row, PrizeListGrid::amountText(winners));
        grid.setText(kFirstPrizeColumn + t, row,
                     winners == 0 ? kNoWinner : PrizeListGrid::amountText(prizes->prize[std::size_t(t)]));
    }
    grid.setText(kCarryOverColumn, row, PrizeListGrid::amountText(prizes->carryOver));
    if (prizes->carryOver > 0)
        grid.cellBlock(kCarryOverColumn, row).fore(Palette::Red);
}
} // namespace

QString PrizeListGrid::amountText(qint64 value) {
    static const QLocale locale(QLocale::Japanese);
    return locale.toString(value);
}

ResultGrid PrizeListGrid::build(const DrawHistory &history) {
    const std::vector<DrawRecord> &records = history.records();
    const int rows = 1 + int(records.size());
    ResultGrid grid(kColumns, rows);
    // Widths for the largest amounts the tiers see: billions for 1等 and the carry-over.
    GridSetUp{.visibleColumns = kColumns,
              .visibleRows = kVisibleRows,
              .frozenRows = 1,
              .frozenColumns = 1,
              .rowHeight = 10,
              .columnWidth = 8,
              .columnWidths = {{kDrawColumn, 6},
                               {kFirstPrizeColumn, 13},
                               {kFirstPrizeColumn + 1, 11},
                               {kFirstPrizeColumn + 2, 9},
                               {kCarryOverColumn, 16}}}
        .applyTo(grid);
    grid.all().border(AllSides);
    grid.block(1, 1, kColumns, 1).fore(Palette::Blue).back(Palette::LightPink);
    grid.block(kDrawColumn, 2, kDrawColumn, -1).back(Palette::LightYellow);

    grid.setText(kDrawColumn, 1, QStringLiteral("回数"));
    const QStringList &names = DrawPrizes::columnNames();
    for (int c = kFirstWinnersColumn; c <= kColumns; ++c)
        grid.setText(c, 1, names[c - kFirstWinnersColumn]);

    const std::map<int, DrawPrizes> &prizes = history.prizes();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto found = prizes.find(records[i].drawNumber);
        writeDraw(grid, 2 + int(i), records[i], found == prizes.end() ? nullptr : &found->second);
    }
    grid.parkCursor();
    return grid;
}

PrizeListGrid::Coverage PrizeListGrid::coverage(const DrawHistory &history) {
    Coverage c;
    for (const DrawRecord &r : history.records())
        ++(history.prizes().contains(r.drawNumber) ? c.withPrizes : c.withoutPrizes);
    return c;
}

std::vector<PrizeListGrid::ChartPoint> PrizeListGrid::chartPoints(const DrawHistory &history) {
    std::vector<ChartPoint> points;
    for (const DrawRecord &r : history.records()) {
        const auto found = history.prizes().find(r.drawNumber);
        if (found == history.prizes().end())
            continue;
        const DrawPrizes &p = found->second;
        points.push_back(
            {r.drawNumber, p.winners[0] > 0 ? std::optional<qint64>(p.prize[0]) : std::nullopt, p.carryOver});
    }
    return points;
}
