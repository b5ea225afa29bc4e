#include "core/backtest/BacktestGrids.h"

#include "core/grid/GridSetUp.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kLabelColumn = 1;
constexpr int kKindColumn = 2;
constexpr int kFirstHitColumn = 3; // 0 hits .. 7 hits
constexpr int kNumbersColumn = kFirstHitColumn + HitStatistics::kMaxHits + 1;
constexpr int kMainColumn = kNumbersColumn + 1;
constexpr int kMeanColumn = kMainColumn + 1;
constexpr int kIntervalColumn = kMeanColumn + 1;
constexpr int kPColumn = kIntervalColumn + 1;
constexpr int kAdjustedColumn = kPColumn + 1;
constexpr int kBonusColumn = kAdjustedColumn + 1;
constexpr int kFirstTierColumn = kBonusColumn + 1;
constexpr int kMethodColumns = kFirstTierColumn + 5;
constexpr int kCostColumn = kMethodColumns + 1;
constexpr int kWonColumn = kCostColumn + 1;
constexpr int kReturnColumn = kWonColumn + 1;
constexpr int kYenColumns = kReturnColumn;

QString decimal(double x, int places) {
    return QString::number(x, 'f', places);
}

// p-values as the grid shows them: two decimals, small ones with two significant digits.
QString pCell(double p) {
    if (p < 0.0001)
        return QStringLiteral("<0.0001");
    return p < 0.01 ? QString::number(p, 'g', 2) : decimal(p, 2);
}

// Expected counts: one decimal, two below 10; tiny ones are not shown as a plain zero.
QString expectedCount(double x) {
    if (x == 0)
        return QStringLiteral("0");
    if (x < 0.01)
        return QStringLiteral("<0.01");
    return decimal(x, x < 10 ? 2 : 1);
}

void heading(ResultGrid &grid, int columns) {
    grid.block(1, 1, columns, 1).fore(Palette::Blue).back(Palette::LightPink);
    grid.all().border(AllSides);
    grid.freezeRows(1);
}

// The yen columns of a method's two rows.
void writeYen(ResultGrid &grid, const Backtest::MethodSummary &s, int observed) {
    const int chance = observed + 1;
    if (s.prizeTickets == 0) {
        for (int col = kCostColumn; col <= kReturnColumn; ++col)
            grid.setText(col, observed, QStringLiteral("－"));
        return;
    }
    const QLocale locale(QLocale::Japanese);
    const double cost = double(s.cost());
    grid.setText(kCostColumn, observed, locale.toString(s.cost()));
    grid.setText(kWonColumn, observed, locale.toString(s.won));
    grid.setText(kWonColumn, chance, locale.toString(qint64(std::llround(s.expectedWon))));
    grid.setText(kReturnColumn, observed, decimal(100.0 * double(s.won) / cost, 1) + QStringLiteral("%"));
    grid.setText(kReturnColumn, chance, decimal(100.0 * s.expectedWon / cost, 1) + QStringLiteral("%"));
}
} // namespace

ResultGrid BacktestGrids::methodGrid(const Backtest::SettingResult &setting, bool oneSetting, bool withYen) {
    const int rows = 1 + 2 * Backtest::kMethodCount;
    const int columns = withYen ? kYenColumns : kMethodColumns;
    ResultGrid grid(columns, rows);
    GridSetUp{.visibleColumns = columns,
              .visibleRows = rows,
              .rowHeight = 10,
              .columnWidth = 5,
              .columnWidths = {{kLabelColumn, 8},
                               {kKindColumn, 4},
                               {kNumbersColumn, 7},
                               {kMainColumn, 6},
                               {kIntervalColumn, 9},
                               {kPColumn, 6},
                               {kAdjustedColumn, 6},
                               {kBonusColumn, 7},
                               {kCostColumn, 9},
                               {kWonColumn, 11},
                               {kReturnColumn, 7}}}
        .applyTo(grid);
    heading(grid, columns);

    grid.setText(kLabelColumn, 1, QStringLiteral("手法"));
    for (int h = 0; h <= HitStatistics::kMaxHits; ++h)
        grid.setText(kFirstHitColumn + h, 1, QStringLiteral("%1個").arg(h));
    grid.setText(kNumbersColumn, 1, QStringLiteral("延べ数字"));
    grid.setText(kMainColumn, 1, QStringLiteral("本数字"));
    grid.setText(kMeanColumn, 1, QStringLiteral("平均"));
    grid.setText(kIntervalColumn, 1, QStringLiteral("95%区間"));
    grid.setText(kPColumn, 1, QStringLiteral("p値"));
    grid.setText(kAdjustedColumn, 1, QStringLiteral("補正後"));
    grid.setText(kBonusColumn, 1, QStringLiteral("ボーナス"));
    for (int t = 1; t <= 6; ++t)
        grid.setText(kFirstTierColumn + t - 1, 1, QStringLiteral("%1等").arg(t));
    grid.setText(kCostColumn, 1, QStringLiteral("購入額"));
    grid.setText(kWonColumn, 1, QStringLiteral("当せん金"));
    grid.setText(kReturnColumn, 1, QStringLiteral("還元率"));

    for (int m = 0; m < Backtest::kMethodCount; ++m) {
        const Backtest::MethodSummary &s = setting.methods[std::size_t(m)];
        const int observed = 2 + 2 * m, chance = observed + 1;
        // The label reads as one cell over the method's two rows.
        grid.setText(kLabelColumn, observed, Backtest::methodName(m));
        grid.cellAt(kLabelColumn, observed)->setBorder(GridCell::BottomIndex, std::nullopt);
        grid.cellAt(kLabelColumn, chance)->setBorder(GridCell::TopIndex, std::nullopt);
        grid.block(kLabelColumn, observed, kLabelColumn, chance).back(Palette::LightYellow);
        grid.block(kKindColumn, chance, columns, chance).back(Palette::Grey225);
        grid.setText(kKindColumn, observed, QStringLiteral("実績"));
        grid.setText(kKindColumn, chance, QStringLiteral("偶然"));

        for (int h = 0; h <= HitStatistics::kMaxHits; ++h) {
            grid.setText(kFirstHitColumn + h, observed, s.distribution[std::size_t(h)]);
            grid.setText(kFirstHitColumn + h, chance, expectedCount(s.expectedDistribution[std::size_t(h)]));
        }
        grid.setText(kNumbersColumn, observed, QString::number(s.numbers));
        grid.setText(kMainColumn, observed, QString::number(s.mainHits));
        grid.setText(kMainColumn, chance, decimal(s.expectedMainHits, 1));
        grid.setText(kMeanColumn, observed, decimal(s.meanHits, 2));
        if (s.drawsTested > 0)
            grid.setText(kMeanColumn, chance, decimal(s.expectedMainHits / s.drawsTested, 2));
        if (s.meanLow <= s.meanHigh)
            grid.setText(kIntervalColumn, observed,
                         QStringLiteral("%1～%2").arg(decimal(s.meanLow, 2), decimal(s.meanHigh, 2)));
        grid.setText(kPColumn, observed, pCell(s.pValue.value));
        if (oneSetting) {
            grid.setText(kAdjustedColumn, observed, pCell(s.adjustedPValue));
            if (s.adjustedPValue < Backtest::kSignificance)
                grid.cellBlock(kAdjustedColumn, observed).fore(Palette::Red);
        }
        if (s.pValue.value < Backtest::kSignificance)
            grid.cellBlock(kPColumn, observed).fore(Palette::Red);
        grid.setText(kBonusColumn, observed, QString::number(s.bonusHits));
        grid.setText(kBonusColumn, chance, decimal(s.expectedBonusHits, 1));
        for (int t = 0; t < 6; ++t) {
            const int col = kFirstTierColumn + t;
            if (s.setsOfSeven == 0) {
                grid.setText(col, observed, QStringLiteral("－"));
                continue;
            }
            grid.setText(col, observed, s.tiers[std::size_t(t)]);
            grid.setText(col, chance, expectedCount(s.expectedTiers[std::size_t(t)]));
        }
        if (withYen)
            writeYen(grid, s, observed);
    }
    grid.parkCursor();
    return grid;
}

ResultGrid BacktestGrids::settingsGrid(const Backtest::Report &report, int highlightOffset) {
    enum { Rank = 1, Offset, FirstMethod, Excess = FirstMethod + 2 * Backtest::kOptionMethods, P, Adjusted, Columns };
    const int last = Columns - 1;
    const int rows = 1 + int(report.settings.size());
    ResultGrid grid(last, rows);
    GridSetUp{.visibleColumns = last,
              .visibleRows = std::min(rows, 12),
              .frozenRows = 1,
              .rowHeight = 10,
              .columnWidth = 6,
              .columnWidths = {{Rank, 4}, {Offset, 10}}}
        .applyTo(grid);
    heading(grid, last);
    grid.setText(Rank, 1, QStringLiteral("順位"));
    grid.setText(Offset, 1, QStringLiteral("反映オフセット"));
    for (int i = 0; i < Backtest::kOptionMethods; ++i) {
        grid.setText(FirstMethod + 2 * i, 1, Backtest::methodName(Backtest::kCycleMethods + i));
        grid.setText(FirstMethod + 2 * i + 1, 1, QStringLiteral("偶然"));
    }
    grid.setText(Excess, 1, QStringLiteral("差"));
    grid.setText(P, 1, QStringLiteral("p値"));
    grid.setText(Adjusted, 1, QStringLiteral("補正後"));

    for (const Backtest::SettingResult &s : report.settings) {
        const int row = 1 + s.rank;
        grid.setText(Rank, row, s.rank);
        grid.setText(Offset, row, s.reflectOffset);
        for (int i = 0; i < Backtest::kOptionMethods; ++i) {
            const Backtest::MethodSummary &m = s.methods[std::size_t(Backtest::kCycleMethods + i)];
            grid.setText(FirstMethod + 2 * i, row, QString::number(m.mainHits));
            grid.setText(FirstMethod + 2 * i + 1, row, decimal(m.expectedMainHits, 1));
        }
        grid.setText(Excess, row, (s.excessHits > 0 ? QStringLiteral("+") : QString()) + decimal(s.excessHits, 1));
        grid.setText(P, row, pCell(s.pValue));
        grid.setText(Adjusted, row, pCell(s.adjustedPValue));
        if (s.adjustedPValue < Backtest::kSignificance)
            grid.cellBlock(Adjusted, row).fore(Palette::Red);
        if (s.reflectOffset == highlightOffset)
            grid.block(1, row, last, row).back(Palette::LightGreen);
    }
    grid.parkCursor();
    return grid;
}
