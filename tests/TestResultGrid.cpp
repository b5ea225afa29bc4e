#include "core/grid/GridJson.h"
#include "core/grid/ResultGrid.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using B = std::optional<Rgb>;

class TestResultGrid : public QObject {
    Q_OBJECT
private slots:
    void blockRanges_data() {
        QTest::addColumn<int>("c1");
        QTest::addColumn<int>("r1");
        QTest::addColumn<int>("c2");
        QTest::addColumn<int>("r2");
        QTest::addColumn<int>("painted");
        // 4 columns x 3 rows
        QTest::newRow("all") << -1 << -1 << -1 << -1 << 12;
        QTest::newRow("all rows of column 2") << 2 << -1 << 2 << -1 << 3;
        QTest::newRow("one cell") << 3 << 2 << 3 << 2 << 1;
        QTest::newRow("cut at the edge") << 3 << 1 << 9 << 9 << 6;
        QTest::newRow("first after last") << 1 << 3 << 4 << 2 << 0;
        QTest::newRow("outside") << 5 << 1 << 6 << 3 << 0;
    }
    void blockRanges() {
        QFETCH(int, c1);
        QFETCH(int, r1);
        QFETCH(int, c2);
        QFETCH(int, r2);
        QFETCH(int, painted);
        ResultGrid g(4, 3);
        g.block(c1, r1, c2, r2).back(Palette::LightPink);
        int n = 0;
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 4; ++c)
                n += g.cell(c, r).back == Palette::LightPink;
        QCOMPARE(n, painted);
    }

    void bordersOutlineSidesNone() {
        ResultGrid g(3, 2);
        g.all().border(AllSides);
        g.block(1, 1, 3, 1).noBorder();
        QCOMPARE(g.cell(2, 1).borders(), (std::array<B, 4>{}));
        QCOMPARE(g.cell(2, 2).borders()[GridCell::TopIndex], B(Palette::Black));
        g.block(1, 1, 3, 1).outline(Palette::LightBlue);
        // outline: outer sides only
        QCOMPARE(g.cell(1, 1).borders(), (std::array<B, 4>{Palette::LightBlue, std::nullopt, Palette::LightBlue, Palette::LightBlue}));
        QCOMPARE(g.cell(2, 1).borders(), (std::array<B, 4>{std::nullopt, std::nullopt, Palette::LightBlue, Palette::LightBlue}));
        QCOMPARE(g.cell(3, 1).borders()[GridCell::RightIndex], B(Palette::LightBlue));
        // sides: only the named ones, on every cell; later settings override earlier ones
        g.block(2, 1, 2, 2).border(Left, Palette::Red);
        QCOMPARE(g.cell(2, 1).borders()[GridCell::LeftIndex], B(Palette::Red));
        QCOMPARE(g.cell(2, 1).borders()[GridCell::TopIndex], B(Palette::LightBlue));
        QCOMPARE(g.cell(2, 2).borders()[GridCell::LeftIndex], B(Palette::Red));
        QCOMPARE(g.cell(2, 2).borders()[GridCell::BottomIndex], B(Palette::Black));
    }

    void writesOutsideAreIgnored() {
        ResultGrid g(2, 2);
        g.setText(3, 1, QStringLiteral("x"));
        g.setText(0, 0, QStringLiteral("x"));
        g.setColumnWidth(5, 9);
        g.cellBlock(3, 3).back(Palette::Red);
        QVERIFY(g == ResultGrid(2, 2));
    }

    void resizeKeepsCells() {
        ResultGrid g(2, 2);
        g.setText(2, 2, QStringLiteral("a"));
        g.setColumnWidth(-1, 5);
        g.setSize(3, 4);
        QCOMPARE(g.text(2, 2), QStringLiteral("a"));
        QCOMPARE(g.columnWidths(), (std::vector<int>{5, 5, ResultGrid::kDefaultColumnWidth}));
        QCOMPARE(int(g.rowHeights().size()), 4);
    }

    void jsonListsOnlyChangedCells() {
        ResultGrid g(2, 2);
        g.setText(1, 1, QStringLiteral("数字"));
        g.cellBlock(2, 2).back(Palette::White).fore(Palette::Black); // explicitly default: not a difference
        g.cellBlock(2, 1).align(Align::Left).border(Bottom, Palette::LightBlue);
        g.freezeRows(1);
        g.setVisibleArea(2, 2);
        const WindowExport w{QStringLiteral("w\"1"), QStringLiteral("c"), QString(), {g}};
        const QJsonObject o = QJsonDocument::fromJson(GridJson::toJson(w)).object();
        QCOMPARE(o.value("window").toString(), QStringLiteral("w\"1"));
        const QJsonObject grid = o.value("grids").toArray().at(0).toObject();
        QCOMPARE(grid.value("frozenRows").toInt(), 1);
        QCOMPARE(grid.value("columnWidths").toArray().size(), 2);
        const QJsonArray cells = grid.value("cells").toArray();
        QCOMPARE(cells.size(), 2);
        QCOMPARE(cells.at(0).toObject().value("text").toString(), QStringLiteral("数字"));
        const QJsonObject second = cells.at(1).toObject();
        QCOMPARE(second.value("col").toInt(), 2);
        QCOMPARE(second.value("align").toString(), QStringLiteral("left"));
        QCOMPARE(second.value("borders").toObject().value("bottom").toString(), QStringLiteral("#88C4FF"));
        QVERIFY(second.value("borders").toObject().value("top").isNull());
    }

    void csvQuotesAndSeparatesGrids() {
        ResultGrid a(2, 1), b(1, 1);
        a.setText(1, 1, QStringLiteral("1,3"));
        a.setText(2, 1, QStringLiteral("say \"hi\""));
        b.setText(1, 1, QStringLiteral("x"));
        const WindowExport w{QStringLiteral("w"), QStringLiteral("c"), QString(), {a, b}};
        QCOMPARE(GridCsv::toCsv(w), QByteArray("\"1,3\",\"say \"\"hi\"\"\"\r\n\r\nx\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestResultGrid)
#include "TestResultGrid.moc"
