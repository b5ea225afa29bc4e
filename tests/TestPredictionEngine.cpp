#include "core/analysis/Builders.h"
#include "core/prediction/PredictionEngine.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>

namespace {
// A neutral draw: its numbers come back every draw (gap 1), so they never reach the cycle table.
constexpr std::array<int, 9> kFiller{30, 31, 32, 33, 34, 35, 36, 37, 29};

// Draws 1..last built from fillers. overrides "N:k=v;..." puts v at position k of draw N;
// "N=a,b,...,i" replaces the whole draw; missing and incomplete list draw numbers.
DrawHistory buildHistory(int last, const QString &overrides, const QList<int> &missing = {},
                         const QList<int> &incomplete = {}) {
    std::map<int, std::array<int, 9>> draws;
    for (int n = 1; n <= last; ++n)
        draws[n] = kFiller;
    for (const QString &item : overrides.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (item.contains(QLatin1Char(':'))) {
            const QStringList parts = item.split(QRegularExpression(QStringLiteral("[:=]")));
            draws[parts[0].toInt()][std::size_t(parts[1].toInt() - 1)] = parts[2].toInt();
        } else {
            const QStringList parts = item.split(QLatin1Char('='));
            const QStringList values = parts[1].split(QLatin1Char(','));
            for (int k = 0; k < 9; ++k)
                draws[parts[0].toInt()][std::size_t(k)] = values[k].toInt();
        }
    }
    std::vector<DrawRecord> records;
    for (auto &[n, numbers] : draws) {
        if (missing.contains(n))
            continue;
        if (incomplete.contains(n))
            numbers[4] = 0;
        records.push_back(makeDraw(n, numbers));
    }
    return DrawHistory(std::move(records));
}

// The non-empty cycle cells as "row:column=text" in row-major order.
QString cycleCells(const PredictionEngine &engine) {
    QStringList cells;
    for (int r = 1; r <= PredictionEngine::kCycleRows; ++r)
        for (int c = 1; c <= PredictionEngine::kCycleColumns; ++c)
            if (!engine.cycleCell(r, c).isEmpty())
                cells << QStringLiteral("%1:%2=%3").arg(r).arg(c).arg(engine.cycleCell(r, c));
    return cells.join(QLatin1Char(';'));
}

// The number cells of a grid, rows joined by "/", cells by ",", trailing empty cells dropped.
QString numberRows(const ResultGrid &grid) {
    QStringList rows;
    for (int r = 2; r <= grid.rows(); ++r) {
        QStringList cells;
        for (int c = 2; c <= grid.columns(); ++c)
            cells << grid.text(c, r);
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        rows << cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char('/'));
}

PredictionOptions flags(const QList<int> &on) {
    PredictionOptions o;
    for (int i : on)
        o.ReflectFlag[std::size_t(i)] = true;
    return o;
}

PredictionEngine opened(const DrawHistory &history, const PredictionOptions &options = {}) {
    PredictionEngine engine;
    engine.options() = options;
    engine.layOutGrids();
    engine.runCycleMethod(history);
    return engine;
}

// The cycle method as a plain backward search over the table of draws, draw by draw.
std::array<std::array<QString, 8>, 4> literalCycleTable(const DrawHistory &history) {
    std::array<std::array<QString, 8>, 4> table{};
    int largest = 0;
    for (const DrawRecord &d : history.records())
        largest = std::max(largest, d.drawNumber);
    std::vector<std::array<int, 10>> byDraw(std::size_t(largest) + 1, std::array<int, 10>{});
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        const int n = draw.drawNumber;
        for (int k = 1; k <= 9; ++k)
            byDraw[std::size_t(n)][std::size_t(k)] = draw.number(k);
        for (int k = 1; k <= 8; ++k) {
            const int v = draw.number(k);
            int gap = 0;
            for (int d = n - 1; d >= 1 && gap == 0; --d)
                for (int j = 1; j <= 7; ++j)
                    if (byDraw[std::size_t(d)][std::size_t(j)] == v)
                        gap = n - d;
            const int row = gap == 7 ? 0 : gap == 9 ? 1 : gap == 11 ? 2 : gap == 12 ? 3 : -1;
            if (row < 0)
                continue;
            const QString text = QString::number(v);
            bool elsewhere = false;
            for (int c = 0; c < 8; ++c)
                elsewhere = elsewhere || (c != k - 1 && table[std::size_t(row)][std::size_t(c)] == text);
            if (!elsewhere)
                table[std::size_t(row)][std::size_t(k - 1)] = text;
        }
    }
    return table;
}

// Ascending draw numbers with gaps, some incomplete draws, nine distinct numbers per draw.
DrawHistory randomHistory(quint32 seed, int draws) {
    QRandomGenerator rng(seed);
    std::vector<DrawRecord> records;
    int n = 0;
    for (int i = 0; i < draws; ++i) {
        n += rng.bounded(10) == 0 ? 1 + rng.bounded(4) : 1;
        std::vector<int> pool(37);
        std::iota(pool.begin(), pool.end(), 1);
        std::shuffle(pool.begin(), pool.end(), std::mt19937(rng.generate()));
        std::array<int, 9> numbers{};
        std::copy_n(pool.begin(), 9, numbers.begin());
        if (rng.bounded(20) == 0)
            numbers[std::size_t(rng.bounded(9))] = 0;
        records.push_back(makeDraw(n, numbers));
    }
    return DrawHistory(std::move(records));
}
} // namespace

class TestPredictionEngine : public QObject {
    Q_OBJECT
private slots:
    void cycleMethod_data() {
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("overrides");
        QTest::addColumn<QList<int>>("missing");
        QTest::addColumn<QList<int>>("incomplete");
        QTest::addColumn<QString>("expected");
        const QList<int> none;
        // 14 as 第3数字 of draw 20, earlier among the main numbers of draw 20 - gap.
        QTest::newRow("gap 7") << 20 << "13:1=14;20:3=14" << none << none << "1:3=14";
        QTest::newRow("gap 9") << 20 << "11:7=14;20:3=14" << none << none << "2:3=14";
        QTest::newRow("gap 11") << 20 << "9:2=14;20:3=14" << none << none << "3:3=14";
        QTest::newRow("gap 12") << 20 << "8:5=14;20:3=14" << none << none << "4:3=14";
        QTest::newRow("gap 8 changes nothing") << 20 << "12:1=14;20:3=14" << none << none << "";
        QTest::newRow("gap 10 changes nothing") << 20 << "10:1=14;20:3=14" << none << none << "";
        QTest::newRow("most recent appearance counts") << 20 << "11:1=14;13:2=14;20:3=14" << none << none << "1:3=14";
        QTest::newRow("earlier bonus 1 is not searched") << 20 << "11:1=14;13:8=14;20:3=14" << none << none << "2:3=14";
        QTest::newRow("earlier bonus 2 is not searched") << 20 << "11:1=14;13:9=14;20:3=14" << none << none << "2:3=14";
        QTest::newRow("bonus 1 is a candidate") << 20 << "13:4=14;20:8=14" << none << none << "1:8=14";
        QTest::newRow("bonus 2 is not a candidate") << 20 << "13:4=14;20:9=14" << none << none << "";
        QTest::newRow("missing draw is never the appearance")
            << 20 << "11:1=14;13:1=14;20:3=14" << QList<int>{13} << none << "2:3=14";
        QTest::newRow("incomplete draw is skipped")
            << 20 << "11:1=14;13:1=14;20:3=14" << none << QList<int>{13} << "2:3=14";
        QTest::newRow("incomplete current draw is no candidate")
            << 20 << "13:1=14;20:3=14" << none << QList<int>{20} << "";
        // Row 1 holds 14 in column 3 (draw 20); draw 30 offers 14 for column 5: refused.
        QTest::newRow("duplicate refused") << 30 << "13:1=14;20:3=14;23:1=14;30:5=14" << none << none << "1:3=14";
        QTest::newRow("refused candidate keeps the older text")
            << 30 << "13:1=14;20:3=14;15:1=5;22:5=5;23:1=14;30:5=14" << none << none << "1:3=14;1:5=5";
        QTest::newRow("later candidate replaces the cell")
            << 30 << "13:1=14;20:3=14;23:2=15;30:3=15" << none << none << "1:3=15";
        // A bonus 1 in column 8 blocks the same number elsewhere in its row.
        QTest::newRow("bonus column takes part in the duplicate rule")
            << 30 << "13:1=14;20:8=14;23:2=14;30:3=14" << none << none << "1:8=14";
        QTest::newRow("short history") << 7 << "1=1,2,3,4,5,6,7,8,9;7=1,2,3,4,5,6,7,8,9" << none << none << "";
    }
    void cycleMethod() {
        QFETCH(int, last);
        QFETCH(QString, overrides);
        QFETCH(QList<int>, missing);
        QFETCH(QList<int>, incomplete);
        QFETCH(QString, expected);
        const PredictionEngine engine = opened(buildHistory(last, overrides, missing, incomplete));
        QCOMPARE(cycleCells(engine), expected);
        // Grid 0 shows table columns 1..7 only.
        for (int r = 1; r <= 4; ++r)
            for (int c = 1; c <= 7; ++c)
                QCOMPARE(engine.grid(0).text(c + 1, r + 1), engine.cycleCell(r, c));
    }

    void cycleMethodMatchesBackwardSearch_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("draws");
        for (quint32 seed : {1u, 7u, 42u, 2024u, 31337u})
            QTest::addRow("seed %u", seed) << seed << 300;
        QTest::addRow("short") << 5u << 9;
    }
    void cycleMethodMatchesBackwardSearch() {
        QFETCH(quint32, seed);
        QFETCH(int, draws);
        const DrawHistory history = randomHistory(seed, draws);
        const PredictionEngine engine = opened(history);
        const auto expected = literalCycleTable(history);
        int filled = 0;
        for (int r = 1; r <= 4; ++r)
            for (int c = 1; c <= 8; ++c) {
                QCOMPARE(engine.cycleCell(r, c), expected[std::size_t(r - 1)][std::size_t(c - 1)]);
                filled += !expected[std::size_t(r - 1)][std::size_t(c - 1)].isEmpty();
            }
        if (draws > 100)
            QVERIFY(filled > 20); // the comparison is not between two empty tables
    }

    void cycleTableStartsEmptyEachRun() {
        PredictionEngine engine = opened(buildHistory(20, "13:1=14;20:3=14"));
        QCOMPARE(cycleCells(engine), QStringLiteral("1:3=14"));
        engine.layOutGrids();
        engine.runCycleMethod(buildHistory(20, "13:1=15;20:5=15"));
        QCOMPARE(cycleCells(engine), QStringLiteral("1:5=15"));
    }

    void reflectOffset_data() {
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<int>("offset");
        QTest::newRow("none") << QList<int>{} << 0;
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 92;
        QTest::newRow("index 8") << QList<int>{8} << 11;
        QTest::newRow("index 10 and 11") << QList<int>{10, 11} << 19;
    }
    void reflectOffset() {
        QFETCH(QList<int>, on);
        QFETCH(int, offset);
        PredictionEngine engine;
        engine.options() = flags(on);
        QCOMPARE(engine.reflectOffset(), offset);
    }

    void predictions_data() {
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("overrides");
        QTest::addColumn<QList<int>>("missing");
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<QString>("elimination");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("oneShot");
        const QList<int> none;
        // Fillers: positions 1..7 hold 30..36, so the 21 candidates are the first seven again.
        const QString fillerElimination = QStringLiteral("15,10,12,20,29,36,11//");
        QTest::newRow("fillers only") << 40 << "" << none << none << fillerElimination << "/"
                                      << "";
        // Candidate 4 (第5数字 of draw 31) 32 + 32 = 64 -> 27; candidate 5 (第6数字 of draw 28) 37 + 1 -> 1.
        QTest::newRow("wrap-around") << 40 << "31:5=32;28:6=37" << none << none << "15,10,12,20,27,1,11/29,36/"
                                     << "/"
                                     << "";
        // Candidate 7 (第1数字 of draw 35) 1 + 22 = 23 is new; its duplicates were skipped without a gap.
        QTest::newRow("skipped duplicates leave no gap") << 40 << "35:1=1" << none << none << "15,10,12,20,29,36,11/23/"
                                                         << "/"
                                                         << "";
        QTest::newRow("missing source draw reads as zeros")
            << 40 << "" << QList<int>{36} << none << "22,10,12,20,29,36,11/15/"
            << "/"
            << "";
        // S0 = draw 39 unique: its eight numbers, bonus 1 included, bonus 2 never.
        QTest::newRow("bonus number predicted")
            << 40 << "39=10,11,12,13,14,15,16,17,18" << none << none << fillerElimination << "10,11,12,13,14,15,16/17"
            << "10,11,12,13,14,15,16";
        // 10 comes back in S3 (draw 36): it occurs twice in the 32 cells.
        QTest::newRow("qualification looks at all four draws") << 40 << "39=10,11,12,13,14,15,16,17,18;36:8=10" << none
                                                               << none << fillerElimination << "11,12,13,14,15,16,17/"
                                                               << "11,12,13,14,15,16,17";
        QTest::newRow("stops after fourteen")
            << 40 << "39=1,2,3,4,5,6,7,8,33;38=9,10,11,12,13,14,15,16,33;37=17,18,19,20,21,22,23,24,33" << none << none
            << "15,10,12,20,29,36,11//"
            << "1,2,3,4,5,6,7/8,9,10,11,12,13,14"
            << "1,2,3,4,5,6,7";
        // S1 (draw 38) missing: S0, then S2.
        QTest::newRow("missing S1") << 40 << "39=1,2,3,4,5,6,7,8,33;37=17,18,19,20,21,22,23,24,33" << QList<int>{38}
                                    << none << "15,10,12,20,29,36,11//"
                                    << "1,2,3,4,5,6,7/8,17,18,19,20,21,22"
                                    << "1,2,3,4,5,6,7";
        // Index 0 (weight 1): S0 becomes draw 38.
        QTest::newRow("offset shifts the source draws")
            << 40 << "38=10,11,12,13,14,15,16,17,18" << none << QList<int>{0} << "15,10,12,20,29,36,11//"
            << "10,11,12,13,14,15,16/17"
            << "10,11,12,13,14,15,16";
        // Every source draw below 1: the bare Add of every formula, nothing repeated.
        QTest::newRow("short history, large offset")
            << 20 << "" << none << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << "22,16,17,24,32,1,12//"
            << "/"
            << "";
        // No draw at all: a notice instead of the formulas' constants.
        QTest::newRow("empty history") << 0 << "" << none << none << "当選データがありません//"
                                       << "/"
                                       << "";
    }
    void predictions() {
        QFETCH(int, last);
        QFETCH(QString, overrides);
        QFETCH(QList<int>, missing);
        QFETCH(QList<int>, on);
        QFETCH(QString, elimination);
        QFETCH(QString, repeated);
        QFETCH(QString, oneShot);
        const DrawHistory history = buildHistory(last, overrides, missing);
        const PredictionEngine engine = opened(history, flags(on));
        QCOMPARE(numberRows(engine.grid(1)), elimination);
        QCOMPARE(numberRows(engine.grid(2)), repeated);
        QCOMPARE(numberRows(engine.grid(3)), oneShot);
    }

    void sameWeightedSumSameGrids_data() {
        QTest::addColumn<QList<int>>("first");
        QTest::addColumn<QList<int>>("second");
        QTest::newRow("0+1 and 10") << QList<int>{0, 1} << QList<int>{10};
        QTest::newRow("2+3 and 1") << QList<int>{2, 3} << QList<int>{1};
        QTest::newRow("5+11+0 and 6") << QList<int>{5, 11, 0} << QList<int>{6};
    }
    void sameWeightedSumSameGrids() {
        QFETCH(QList<int>, first);
        QFETCH(QList<int>, second);
        const DrawHistory history = realHistory();
        QCOMPARE(buildPredictionGrids(history, flags(first)), buildPredictionGrids(history, flags(second)));
        QVERIFY(buildPredictionGrids(history, flags(first)) != buildPredictionGrids(history, {}));
    }

    void recomputeClearsOldNumbers() {
        PredictionEngine engine = opened(buildHistory(40, "39=10,11,12,13,14,15,16,17,18"));
        QCOMPARE(numberRows(engine.grid(2)), QStringLiteral("10,11,12,13,14,15,16/17"));
        engine.setReflectFlag(4, true); // weight 10: S0 becomes draw 29, a filler
        engine.recompute();
        QCOMPARE(numberRows(engine.grid(2)), QStringLiteral("/"));
        QCOMPARE(numberRows(engine.grid(3)), QString());
        engine.setReflectFlag(4, false);
        engine.recompute();
        QCOMPARE(numberRows(engine.grid(2)), QStringLiteral("10,11,12,13,14,15,16/17"));
    }

    void layout_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("cycle") << 0 << 5 << QStringList{"", " 7回周期法", " 9回周期法", "11回周期法", "12回周期法"};
        QTest::newRow("elimination") << 1 << 4 << QStringList{"", "", "消去法", ""};
        QTest::newRow("repeated") << 2 << 3 << QStringList{"", "連発予想", ""};
        QTest::newRow("one-shot") << 3 << 2 << QStringList{"", "１発予想"};
    }
    void layout() {
        QFETCH(int, index);
        QFETCH(int, rows);
        QFETCH(QStringList, labels);
        const PredictionEngine engine = opened(DrawHistory());
        const ResultGrid &g = engine.grid(index);
        QCOMPARE(describeSheet(g),
                 QStringLiteral("8x%1 visible 8x%1 frozen rows 0 columns 0 overflow parked").arg(rows));
        QCOMPARE(g.columnWidths(), (std::vector<int>{8, 5, 5, 5, 5, 5, 5, 5}));
        QCOMPARE(g.rowHeights(), std::vector<int>(std::size_t(rows), 10));
        for (int r = 1; r <= rows; ++r)
            QCOMPARE(g.text(1, r), labels[r - 1]);

        const QString header =
            QString(30, QLatin1Char(' ')) + QStringLiteral("本 数 字") + QString(26, QLatin1Char(' '));
        QCOMPARE(g.text(2, 1), header);
        QCOMPARE(g.cell(2, 1).align, Align::Left);
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(g.cell(c, 1).fore, Palette::Blue);
            QCOMPARE(g.cell(c, 1).back, Palette::LightPink);
            if (c >= 2)
                QCOMPARE(bordersText(g.cell(c, 1)), QString());
        }
        for (int r = 2; r <= rows; ++r)
            QCOMPARE(g.cell(1, r).back, Palette::White);

        if (index == 0) {
            QCOMPARE(bordersText(g.cell(1, 1)), QStringLiteral("RTB"));
            QCOMPARE(bordersText(g.cell(1, 3)), QStringLiteral("RTB"));
            QCOMPARE(bordersText(g.cell(4, 3)), QStringLiteral("TB"));
        } else {
            QCOMPARE(bordersText(g.cell(1, 1)), QStringLiteral("LRTB"));
            QCOMPARE(bordersText(g.cell(5, rows)), QStringLiteral("LRTB"));
            // The label column of the number rows reads as one cell.
            QCOMPARE(bordersText(g.cell(1, 2)), index == 3 ? QStringLiteral("LRTB") : QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestPredictionEngine)
#include "TestPredictionEngine.moc"
