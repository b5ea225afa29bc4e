#include "core/analysis/Builders.h"
#include "support/GridAssertions.h"
#include "support/Histories.h"

#include <QtTest>

#include <utility>
#include <vector>

namespace {
ResultGrid build(int groups, const DrawHistory &history) {
    switch (groups) {
    case 6:
        return buildGroupSplit6(history);
    case 7:
        return buildGroupSplit7(history);
    default:
        return buildGroupSplit9(history);
    }
}

using Columns = std::vector<std::pair<int, int>>;

// First and last grid column of every group, as the windows letter them (number n in column n + 1).
Columns groupColumns(int groups) {
    switch (groups) {
    case 6:
        return {{2, 7}, {8, 13}, {14, 19}, {20, 25}, {26, 31}, {32, 38}};
    case 7:
        return {{2, 6}, {7, 11}, {12, 16}, {17, 21}, {22, 26}, {27, 31}, {32, 38}};
    default:
        return {{2, 5}, {6, 9}, {10, 13}, {14, 17}, {18, 21}, {22, 25}, {26, 29}, {30, 33}, {34, 38}};
    }
}

// Back colour of a draw-row cell of group k when the group is not empty: bands on Ｂ, Ｄ, Ｆ, Ｈ.
Rgb bandColour(int k) {
    return k % 2 == 1 ? Palette::LightCyan : Palette::White;
}

const QString kLetters = QStringLiteral("ＡＢＣＤＥＦＧＨＩ");
const QString kMark = QStringLiteral("●");
} // namespace

class TestGroupSplitAnalysis : public QObject {
    Q_OBJECT
private slots:
    void sheet_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("visibleColumns");
        QTest::newRow("7 groups") << 7 << 45;
        QTest::newRow("6 groups") << 6 << 39;
        QTest::newRow("9 groups") << 9 << 39;
    }
    void sheet() {
        QFETCH(int, groups);
        QFETCH(int, visibleColumns);
        const ResultGrid g =
            build(groups, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, {5, {1, 2, 3, 4, 5, 6, 7, 8, 9}}}));
        QCOMPARE(describeSheet(g),
                 QStringLiteral("39x8 visible %1x53 frozen rows 3 columns 0 overflow parked").arg(visibleColumns));
        std::vector<int> widths(39, 2);
        widths.front() = widths.back() = 3;
        QCOMPARE(g.columnWidths(), widths);
        QCOMPARE(g.rowHeights(), (std::vector<int>{15, 12, 9, 9, 9, 9, 9, 9}));
    }

    void headings_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("letters");
        QTest::newRow("7 groups") << 7 << QStringLiteral(" 数　　 字")
                                  << QStringList{QStringLiteral("         Ａ          "),
                                                 QStringLiteral("         Ｂ          "),
                                                 QStringLiteral("         Ｃ          "),
                                                 QStringLiteral("         Ｄ          "),
                                                 QStringLiteral("         Ｅ          "),
                                                 QStringLiteral("         Ｆ          "),
                                                 QStringLiteral("             Ｇ          ")};
        QTest::newRow("6 groups") << 6 << QStringLiteral("  数　　 字")
                                  << QStringList{QStringLiteral("           Ａ            "),
                                                 QStringLiteral("           Ｂ            "),
                                                 QStringLiteral("           Ｃ            "),
                                                 QStringLiteral("           Ｄ            "),
                                                 QStringLiteral("           Ｅ            "),
                                                 QStringLiteral("             Ｆ          ")};
        QTest::newRow("9 groups") << 9 << QStringLiteral("数　　 字")
                                  << QStringList{
                                         QStringLiteral("       Ａ        "),  QStringLiteral("       Ｂ        "),
                                         QStringLiteral("       Ｃ        "),  QStringLiteral("       Ｄ        "),
                                         QStringLiteral("       Ｅ        "),  QStringLiteral("       Ｆ        "),
                                         QStringLiteral("       Ｇ        "),  QStringLiteral("       Ｈ        "),
                                         QStringLiteral("         Ｉ        ")};
    }
    void headings() {
        QFETCH(int, groups);
        QFETCH(QString, title);
        QFETCH(QStringList, letters);
        const ResultGrid g = build(groups, makeHistory({{2, {1, 2, 3, 4, 5, 6, 7, 8, 9}}}));
        const QString yellow = QStringLiteral("|red|yellow|center|");

        // Row 1: one light-blue outlined pink block over the number columns, title in column 18.
        QCOMPARE(describe(g.cell(1, 1)), yellow);
        QCOMPARE(describe(g.cell(2, 1)), QStringLiteral("|black|pink|left|ltb"));
        QCOMPARE(describe(g.cell(18, 1)), QStringLiteral("%1|black|pink|left|tb").arg(title));
        QCOMPARE(describe(g.cell(38, 1)), QStringLiteral("|black|pink|left|rtb"));
        QCOMPARE(describe(g.cell(39, 1)), yellow);

        // Row 2: each group outlined with no lines inside, its letter left-aligned in its first column.
        const Columns columns = groupColumns(groups);
        QCOMPARE(int(columns.size()), letters.size());
        QCOMPARE(describe(g.cell(1, 2)), yellow);
        for (int k = 0; k < int(columns.size()); ++k) {
            const auto [first, last] = columns[std::size_t(k)];
            const QString back = colourName(bandColour(k));
            QCOMPARE(describe(g.cell(first, 2)),
                     QStringLiteral("%1|black|%2|left|l%3tb").arg(letters[k], back, first == last ? "r" : ""));
            QVERIFY(letters[k].contains(kLetters[k]));
            QCOMPARE(describe(g.cell(last, 2)), QStringLiteral("|black|%1|center|rtb").arg(back));
            for (int col = first + 1; col < last; ++col)
                QCOMPARE(describe(g.cell(col, 2)), QStringLiteral("|black|%1|center|tb").arg(back));
        }

        // Row 3: 回 at both ends, the numbers in blue, light-blue lines all round every cell.
        QCOMPARE(describe(g.cell(1, 3)), QString("回" + yellow + "lrtb"));
        QCOMPARE(describe(g.cell(39, 3)), QString("回" + yellow + "lrtb"));
        for (int k = 0; k < int(columns.size()); ++k)
            for (int col = columns[std::size_t(k)].first; col <= columns[std::size_t(k)].second; ++col)
                QCOMPARE(describe(g.cell(col, 3)),
                         QStringLiteral("%1|blue|%2|center|lrtb").arg(col - 1).arg(colourName(bandColour(k))));
    }

    void drawRow_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<std::vector<int>>("numbers"); // seven main numbers, then the two bonus numbers
        QTest::addColumn<QString>("grey");             // letters of the empty groups

        const std::vector<int> lowAndTop{1, 2, 3, 4, 5, 6, 7, 36, 37};
        QTest::newRow("7: 1-7 with bonus 36 37") << 7 << lowAndTop << QStringLiteral("ＣＤＥＦ");
        QTest::newRow("9: 1-7 with bonus 36 37") << 9 << lowAndTop << QStringLiteral("ＣＤＥＦＧＨ");
        QTest::newRow("7: a bonus alone keeps its group")
            << 7 << std::vector<int>{1, 2, 3, 4, 5, 6, 7, 13, 36} << QStringLiteral("ＤＥＦ");
        QTest::newRow("7: 5|6 and 31..37")
            << 7 << std::vector<int>{5, 6, 31, 32, 33, 34, 35, 36, 37} << QStringLiteral("ＣＤＥＦ");
        QTest::newRow("6: 6|7 and 31..37")
            << 6 << std::vector<int>{6, 7, 31, 32, 33, 34, 35, 36, 37} << QStringLiteral("ＣＤＥ");
        QTest::newRow("9: 4|5, 32|33..37")
            << 9 << std::vector<int>{4, 5, 32, 33, 34, 35, 36, 37, 29} << QStringLiteral("ＣＤＥＦＧ");
    }
    void drawRow() {
        QFETCH(int, groups);
        QFETCH(std::vector<int>, numbers);
        QFETCH(QString, grey);
        std::array<int, 9> fields{};
        std::copy(numbers.begin(), numbers.end(), fields.begin());
        const ResultGrid g = build(groups, makeHistory({{1, fields}}));
        QCOMPARE(g.rows(), 4);

        const QString drawNumber = QStringLiteral("1|red|yellow|center|lrtb");
        QCOMPARE(describe(g.cell(1, 4)), drawNumber);
        QCOMPARE(describe(g.cell(39, 4)), drawNumber);
        const Columns columns = groupColumns(groups);
        for (int k = 0; k < int(columns.size()); ++k) {
            const Rgb back = grey.contains(kLetters[k]) ? Palette::Grey210 : bandColour(k);
            for (int col = columns[std::size_t(k)].first; col <= columns[std::size_t(k)].second; ++col) {
                const auto field = std::find(numbers.begin(), numbers.end(), col - 1);
                const QString text = field == numbers.end() ? QString() : kMark;
                const Rgb fore =
                    field == numbers.end() ? Palette::Black : Palette::markColour(int(field - numbers.begin()) + 1);
                QCOMPARE(describe(g.cell(col, 4)),
                         QStringLiteral("%1|%2|%3|center|lrtb").arg(text, colourName(fore), colourName(back)));
            }
        }
    }

    // Incomplete draws (first, middle and last record) leave no row; a missing draw number leaves
    // none either; the rows left over at the bottom stay empty but keep their colours and lines.
    void skippedDraws_data() {
        QTest::addColumn<int>("groups");
        QTest::newRow("7 groups") << 7;
        QTest::newRow("6 groups") << 6;
        QTest::newRow("9 groups") << 9;
    }
    void skippedDraws() {
        QFETCH(int, groups);
        const ResultGrid g = build(groups, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
                                                        {2, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                                        {4, {11, 12, 13, 14, 15, 16, 17, 18, 19}},
                                                        {5, {0, 12, 13, 14, 15, 16, 17, 18, 19}},
                                                        {6, {31, 32, 33, 34, 35, 36, 37, 30, 29}},
                                                        {7, {31, 32, 33, 34, 35, 36, 37, 30, 0}}}));
        QCOMPARE(g.rows(), 6 + 3);
        QCOMPARE(g.text(1, 4), QStringLiteral("2"));
        QCOMPARE(g.text(39, 5), QStringLiteral("4"));
        QCOMPARE(g.text(1, 6), QStringLiteral("6"));
        QCOMPARE(g.text(12, 5), kMark);
        QCOMPARE(g.text(32, 6), kMark);
        const Columns columns = groupColumns(groups);
        for (int row = 7; row <= 9; ++row) {
            QCOMPARE(describe(g.cell(1, row)), QStringLiteral("|red|yellow|center|lrtb"));
            for (int k = 0; k < int(columns.size()); ++k)
                for (int col = columns[std::size_t(k)].first; col <= columns[std::size_t(k)].second; ++col)
                    QCOMPARE(describe(g.cell(col, row)),
                             QStringLiteral("|black|%1|center|lrtb").arg(colourName(bandColour(k))));
        }
    }

    void emptyHistory_data() { skippedDraws_data(); }
    void emptyHistory() {
        QFETCH(int, groups);
        const ResultGrid g = build(groups, DrawHistory());
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.columns(), 39);
        QCOMPARE(g.rowHeights(), (std::vector<int>{15, 12, 9}));
        QCOMPARE(g.text(1, 3), QStringLiteral("回"));
        QCOMPARE(g.text(38, 3), QStringLiteral("37"));
    }

    // A value outside 1..37 cannot come from the database; it must not overwrite a draw number.
    // The 9-group map counts it into its last group, the others ignore it.
    void strayValue_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<bool>("lastGroupGrey");
        QTest::newRow("7 groups") << 7 << true;
        QTest::newRow("9 groups") << 9 << false;
    }
    void strayValue() {
        QFETCH(int, groups);
        QFETCH(bool, lastGroupGrey);
        DrawRecord r = makeDraw(3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        r.numbers[8] = 38;
        const ResultGrid g = build(groups, DrawHistory({r}));
        QCOMPARE(g.text(39, 4), QStringLiteral("3"));
        QCOMPARE(g.cell(39, 4).fore, Palette::Red);
        QCOMPARE(g.cell(38, 4).back == Palette::Grey210, lastGroupGrey);
    }

    void realHistorySpotCheck_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cell");
        // Draw 1: 7 10 12 17 23 28 34, bonus 3 15.
        QTest::newRow("7: draw 1, bonus 1 in Ａ") << 7 << 4 << 4 << QStringLiteral("●|bonus1|white|center|lrtb");
        QTest::newRow("7: draw 1, main in band Ｂ") << 7 << 8 << 4 << QStringLiteral("●|main|cyan|center|lrtb");
        // Draw 688: 4 21 25 28 30 35 37, bonus 12 16; nothing in 6..10.
        QTest::newRow("7: draw 688, Ｂ empty") << 7 << 7 << 691 << QStringLiteral("|black|grey210|center|lrtb");
        // Draw 2: 20 24 29 31 33 34 35, bonus 12 32; Ａ, Ｂ, Ｄ, Ｇ empty.
        QTest::newRow("9: draw 2, Ａ empty") << 9 << 2 << 5 << QStringLiteral("|black|grey210|center|lrtb");
        QTest::newRow("9: draw 2, Ｂ empty over the band")
            << 9 << 9 << 5 << QStringLiteral("|black|grey210|center|lrtb");
        QTest::newRow("9: draw 2, bonus 2 in band Ｈ") << 9 << 33 << 5 << QStringLiteral("●|bonus2|cyan|center|lrtb");
    }
    void realHistorySpotCheck() {
        QFETCH(int, groups);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, cell);
        static const DrawHistory history = realHistory();
        QCOMPARE(history.latestDrawNumber(), 688);
        const ResultGrid g = build(groups, history);
        QCOMPARE(g.rows(), 691);
        QCOMPARE(describe(g.cell(col, row)), cell);
    }
};

QTEST_GUILESS_MAIN(TestGroupSplitAnalysis)
#include "TestGroupSplitAnalysis.moc"
