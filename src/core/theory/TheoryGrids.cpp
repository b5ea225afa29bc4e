#include "core/theory/TheoryGrids.h"

#include "core/grid/GridSetUp.h"
#include "core/theory/ChanceLaws.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kColourLimit = 3.0;

QString decimal(double x, int places) {
    return QString::number(x, 'f', places);
}

// p-values: two decimals, small ones with two significant digits.
QString pCell(const std::optional<double> &p) {
    if (!p)
        return QStringLiteral("－");
    if (*p < 0.0001)
        return QStringLiteral("<0.0001");
    return *p < 0.01 ? QString::number(*p, 'g', 2) : decimal(*p, 2);
}

// A difference that rounds to nothing shows neither sign: "0.00", not "-0.00".
QString signedDecimal(double x, int places) {
    const QString text = decimal(x, places);
    if (text.toDouble() == 0)
        return decimal(0, places);
    return x > 0 ? QLatin1Char('+') + text : text;
}

void heading(ResultGrid &grid, int columns, const QStringList &names) {
    grid.block(1, 1, columns, 1).fore(Palette::Blue).back(Palette::LightPink);
    grid.all().border(AllSides);
    grid.freezeRows(1);
    for (int c = 0; c < names.size(); ++c)
        grid.setText(c + 1, 1, names[c]);
}

void markSignificant(ResultGrid &grid, int col, int row, const std::optional<double> &p) {
    if (p && *p < TheoryGrids::kSignificance)
        grid.cellBlock(col, row).fore(Palette::Red);
}

int observations(const TheoryTable &t) {
    int n = 0;
    for (const int o : t.observed)
        n += o;
    return n;
}
} // namespace

ResultGrid TheoryGrids::summaryGrid(const TheoryReport &report) {
    enum { Name = 1, Count, Statistic, Df, P, Holm, Columns = Holm };
    const int rows = 1 + int(report.tables.size());
    ResultGrid grid(Columns, rows);
    GridSetUp{
        .visibleColumns = Columns, .visibleRows = rows, .rowHeight = 10, .columnWidth = 7, .columnWidths = {{Name, 14}}}
        .applyTo(grid);
    heading(grid, Columns,
            {QStringLiteral("表"), QStringLiteral("件数"), QStringLiteral("χ²"), QStringLiteral("自由度"),
             QStringLiteral("p値"), QStringLiteral("補正後")});
    grid.block(Name, 2, Name, rows).back(Palette::LightYellow);
    for (int i = 0; i < int(report.tables.size()); ++i) {
        const TheoryTable &t = report.tables[std::size_t(i)];
        const int row = 2 + i;
        grid.setText(Name, row, t.name);
        grid.setText(Count, row, observations(t));
        grid.setText(Statistic, row, t.statistic ? decimal(*t.statistic, 2) : QStringLiteral("－"));
        if (t.statistic)
            grid.setText(Df, row, t.df);
        grid.setText(P, row, pCell(t.p));
        grid.setText(Holm, row, pCell(t.pHolm));
        markSignificant(grid, P, row, t.p);
        markSignificant(grid, Holm, row, t.pHolm);
    }
    grid.parkCursor();
    return grid;
}

ResultGrid TheoryGrids::tableGrid(const TheoryTable &table) {
    enum { Category = 1, Observed, Expected, Difference, Bin, Columns = Bin };
    const int rows = 1 + int(table.categories.size());
    ResultGrid grid(Columns, rows);
    GridSetUp{.visibleColumns = Columns,
              .visibleRows = std::min(rows, 40),
              .rowHeight = 10,
              .columnWidth = 7,
              .columnWidths = {{Category, 9}}}
        .applyTo(grid);
    heading(grid, Columns,
            {table.name, QStringLiteral("実績"), QStringLiteral("期待値"), QStringLiteral("差"),
             QStringLiteral("検定の区分")});
    grid.block(Category, 2, Category, rows).back(Palette::LightYellow);
    for (int i = 0; i < int(table.categories.size()); ++i) {
        const int row = 2 + i;
        grid.setText(Category, row, table.categories[i]);
        grid.setText(Observed, row, table.observed[std::size_t(i)]);
        grid.setText(Expected, row, decimal(table.expected[std::size_t(i)], 2));
        grid.setText(Difference, row, signedDecimal(table.difference(i), 2));
        if (table.statistic) {
            const int bin = table.bins[std::size_t(i)];
            grid.setText(Bin, row, bin + 1);
            // Categories the test gathers into one bin read as one band.
            const auto shared = std::count(table.bins.begin(), table.bins.end(), bin);
            if (shared > 1)
                grid.cellBlock(Bin, row).back(Palette::Grey225);
        }
    }
    grid.parkCursor();
    return grid;
}

std::vector<ResultGrid> TheoryGrids::comparisonGrids(const TheoryReport &report) {
    std::vector<ResultGrid> grids{summaryGrid(report)};
    for (const TheoryTable &t : report.tables)
        grids.push_back(tableGrid(t));
    return grids;
}

Rgb TheoryGrids::divergingColour(double z) {
    const double t = std::min(std::abs(z), kColourLimit) / kColourLimit;
    const int faded = int(std::lround(255 - 175 * t));
    return z >= 0 ? Rgb(255, faded, faded) : Rgb(faded, faded, 255);
}

ResultGrid TheoryGrids::pairMatrixGrid(const PairReport &report) {
    constexpr int kSide = DrawRules::kMaxNumber + 1;
    ResultGrid grid(kSide, kSide);
    GridSetUp{.visibleColumns = kSide,
              .visibleRows = kSide,
              .frozenRows = 1,
              .frozenColumns = 1,
              .rowHeight = 10,
              .columnWidth = 3}
        .applyTo(grid);
    grid.all().border(AllSides, Palette::LightBlue);
    grid.block(1, 1, kSide, 1).back(Palette::LightPink);
    grid.block(1, 2, 1, kSide).back(Palette::LightYellow);
    const double p = ChanceLaws::pairProbability();
    const double sd = std::sqrt(report.draws * p * (1 - p));
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n) {
        grid.setText(n + 1, 1, n);
        grid.setText(1, n + 1, n);
    }
    for (int a = DrawRules::kMinNumber; a <= DrawRules::kMaxNumber; ++a)
        for (int b = DrawRules::kMinNumber; b <= DrawRules::kMaxNumber; ++b) {
            if (a == b) {
                grid.cellBlock(b + 1, a + 1).back(Palette::Grey210);
                continue;
            }
            const int count = report.together[std::size_t(a)][std::size_t(b)];
            grid.setText(b + 1, a + 1, count);
            if (sd > 0)
                grid.cellBlock(b + 1, a + 1).back(divergingColour((count - report.pairExpected) / sd));
        }
    grid.parkCursor();
    return grid;
}

ResultGrid TheoryGrids::legendGrid() {
    const int steps = 2 * int(kColourLimit) + 1;
    ResultGrid grid(steps + 1, 1);
    GridSetUp{
        .visibleColumns = steps + 1, .visibleRows = 1, .rowHeight = 10, .columnWidth = 5, .columnWidths = {{1, 16}}}
        .applyTo(grid);
    grid.all().border(AllSides);
    grid.setText(1, 1, QStringLiteral("期待値からの隔たり（σ）"));
    for (int i = 0; i < steps; ++i) {
        const int z = i - int(kColourLimit);
        grid.setText(2 + i, 1, z > 0 ? QStringLiteral("+%1").arg(z) : QString::number(z));
        grid.cellBlock(2 + i, 1).back(divergingColour(z));
    }
    grid.parkCursor();
    return grid;
}

ResultGrid TheoryGrids::extremesGrid(const PairReport &report) {
    enum { Kind = 1, Numbers, Observed, Expected, P, Holm, Columns = Holm };
    struct Section {
        QString name;
        std::vector<NumberCombination> rows;
    };
    const std::vector<Section> sections{
        {QStringLiteral("多いペア"), PairAnalysis::mostFrequent(report.pairs, kListed)},
        {QStringLiteral("少ないペア"), PairAnalysis::leastFrequent(report.pairs, kListed)},
        {QStringLiteral("多いトリプル"), PairAnalysis::mostFrequent(report.triples, kListed)},
        {QStringLiteral("少ないトリプル"), PairAnalysis::leastFrequent(report.triples, kListed)}};
    int rows = 1;
    for (const Section &s : sections)
        rows += int(s.rows.size());
    ResultGrid grid(Columns, rows);
    GridSetUp{.visibleColumns = Columns,
              .visibleRows = std::min(rows, 41),
              .rowHeight = 10,
              .columnWidth = 7,
              .columnWidths = {{Kind, 10}, {Numbers, 10}}}
        .applyTo(grid);
    heading(grid, Columns,
            {QStringLiteral("区分"), QStringLiteral("数字"), QStringLiteral("出現"), QStringLiteral("期待値"),
             QStringLiteral("p値"), QStringLiteral("補正後")});
    int row = 2;
    for (const Section &s : sections) {
        if (!s.rows.empty())
            grid.block(Kind, row, Kind, row + int(s.rows.size()) - 1).back(Palette::LightYellow);
        for (const NumberCombination &c : s.rows) {
            QStringList numbers;
            for (int k = 0; k < c.size(); ++k)
                numbers << QString::number(c.numbers[std::size_t(k)]);
            grid.setText(Kind, row, s.name);
            grid.setText(Numbers, row, numbers.join(u'-'));
            grid.setText(Observed, row, c.observed);
            grid.setText(Expected, row, decimal(c.expected, 2));
            grid.setText(P, row, pCell(c.p));
            grid.setText(Holm, row, pCell(c.pHolm));
            markSignificant(grid, Holm, row, c.pHolm);
            ++row;
        }
    }
    grid.parkCursor();
    return grid;
}

std::vector<ResultGrid> TheoryGrids::pairGrids(const PairReport &report) {
    return {pairMatrixGrid(report), legendGrid(), extremesGrid(report)};
}

std::vector<ResultGrid> TheoryGrids::comparisonGrids(const DrawHistory &history) {
    return comparisonGrids(TheoryComparison::compare(history));
}

std::vector<ResultGrid> TheoryGrids::pairGrids(const DrawHistory &history) {
    return pairGrids(PairAnalysis::analyse(history));
}
