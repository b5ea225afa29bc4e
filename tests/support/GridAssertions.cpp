#include "support/GridAssertions.h"

#include "support/Histories.h"

#include <QtTest>

#include <tuple>
#include <utility>

QString colourName(Rgb colour) {
    static const std::vector<std::pair<Rgb, const char *>> names = {
        {Palette::Black, "black"},      {Palette::White, "white"},          {Palette::Red, "red"},
        {Palette::Blue, "blue"},        {Palette::LightYellow, "yellow"},   {Palette::LightPink, "pink"},
        {Palette::LightCyan, "cyan"},   {Palette::PaleCyan, "paleCyan"},    {Palette::LightBlue, "lightBlue"},
        {Palette::LightGreen, "green"}, {Palette::LightMagenta, "magenta"}, {Palette::LightViolet, "violet"},
        {Palette::MainMark, "main"},    {Palette::Bonus1Mark, "bonus1"},    {Palette::Bonus2Mark, "bonus2"},
        {Palette::Grey210, "grey210"},  {Palette::Grey225, "grey225"},      {Palette::CarryOver, "carryOver"}};
    for (const auto &[rgb, name] : names)
        if (rgb == colour)
            return QLatin1String(name);
    return colour.hex();
}

QString bordersText(const GridCell &cell) {
    QString s;
    const char sides[] = "LRTB";
    for (std::size_t i = 0; i < cell.borders().size(); ++i) {
        const std::optional<Rgb> &line = cell.borders()[i];
        if (!line)
            continue;
        const QChar side = QLatin1Char(sides[i]);
        if (*line == Palette::Black)
            s += side;
        else if (*line == Palette::LightBlue)
            s += side.toLower();
        else
            s += side + QLatin1Char('(') + colourName(*line) + QLatin1Char(')');
    }
    return s;
}

QString describe(const GridCell &cell) {
    return QStringList{cell.text, colourName(cell.fore), colourName(cell.back),
                       cell.align == Align::Left ? QStringLiteral("left") : QStringLiteral("center"), bordersText(cell)}
        .join(QLatin1Char('|'));
}

void compareCells(const ResultGrid &grid, const QStringList &cells) {
    for (const QString &expected : cells) {
        const int colon = expected.indexOf(QLatin1Char(':'));
        const QStringList at = expected.left(colon).split(QLatin1Char(','));
        QCOMPARE(QStringLiteral("%1,%2:").arg(at[0], at[1]) + describe(grid.cell(at[0].toInt(), at[1].toInt())),
                 expected);
    }
}

QString rowTexts(const ResultGrid &grid, int row) {
    QStringList texts;
    for (int col = 1; col <= grid.columns(); ++col)
        texts << grid.text(col, row);
    return texts.join(QLatin1Char(','));
}

QStringList columnTexts(const ResultGrid &grid, int col) {
    QStringList texts;
    for (int row = 1; row <= grid.rows(); ++row)
        texts << grid.text(col, row);
    return texts;
}

QString describeSheet(const ResultGrid &grid) {
    QString text = QStringLiteral("%1x%2 visible %3x%4 frozen rows %5 columns %6")
                       .arg(grid.columns())
                       .arg(grid.rows())
                       .arg(grid.visibleColumns())
                       .arg(grid.visibleRows())
                       .arg(grid.frozenRows())
                       .arg(grid.frozenColumns());
    if (grid.overflow())
        text += QStringLiteral(" overflow");
    if (grid.cursorParked())
        text += QStringLiteral(" parked");
    return text;
}

const DrawHistory &namedHistory(const HistoryTable &table, const QString &name) {
    if (name == QLatin1String("real")) {
        static const DrawHistory real = realHistory();
        return real;
    }
    return table.at(name);
}

const ResultGrid &builtGrid(GridBuilder build, const HistoryTable &table, const QString &name) {
    static std::map<std::tuple<GridBuilder, const HistoryTable *, QString>, ResultGrid> grids;
    const auto key = std::make_tuple(build, &table, name);
    auto it = grids.find(key);
    if (it == grids.end())
        it = grids.emplace(key, build(namedHistory(table, name))).first;
    return it->second;
}

void addCellColumns() {
    QTest::addColumn<QString>("history");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
}

void checkCell(GridBuilder build, const HistoryTable &table) {
    QFETCH(QString, history);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, expected);
    const ResultGrid &grid = builtGrid(build, table, history);
    QVERIFY2(grid.contains(col, row), "cell outside the sheet");
    QCOMPARE(describe(grid.cell(col, row)), expected);
}
