#include "core/check/CheckGrids.h"
#include "core/check/TicketChecker.h"
#include "core/prediction/PredictionEngine.h"
#include "support/Histories.h"

#include <QtTest>

namespace {
// Draw 1: main numbers 1..7, bonus numbers 8 and 9.
const DrawSpec kDraw1{1, {1, 2, 3, 4, 5, 6, 7, 8, 9}};

Ticket ticket(const QString &text) {
    const std::optional<Ticket> t = TicketList::parseLine(text);
    return t ? *t : Ticket{};
}

QList<qulonglong> listOf(const TierCounts &counts) {
    return QList<qulonglong>(counts.begin(), counts.end());
}
} // namespace

class TestTicketChecker : public QObject {
    Q_OBJECT
private slots:
    void tiers_data() {
        QTest::addColumn<QString>("ticket");
        QTest::addColumn<int>("mainHits");
        QTest::addColumn<int>("bonusHits");
        QTest::addColumn<int>("tier");
        QTest::newRow("7 main") << "7 6 5 4 3 2 1" << 7 << 0 << 1;
        QTest::newRow("6 main + bonus 1") << "1 2 3 4 5 6 8" << 6 << 1 << 2;
        QTest::newRow("6 main + bonus 2") << "1 2 3 4 5 6 9" << 6 << 1 << 2;
        QTest::newRow("6 main alone") << "1 2 3 4 5 6 10" << 6 << 0 << 3;
        QTest::newRow("5 main + 2 bonus") << "1 2 3 4 5 8 9" << 5 << 2 << 4;
        QTest::newRow("4 main") << "1 2 3 4 10 11 12" << 4 << 0 << 5;
        QTest::newRow("3 main + 1 bonus") << "1 2 3 9 10 11 12" << 3 << 1 << 6;
        QTest::newRow("3 main + 2 bonus") << "1 2 3 8 9 10 11" << 3 << 2 << 6;
        QTest::newRow("3 main alone") << "1 2 3 10 11 12 13" << 3 << 0 << 0;
        QTest::newRow("2 main + 2 bonus") << "1 2 8 9 10 11 12" << 2 << 2 << 0;
    }
    void tiers() {
        QFETCH(QString, ticket);
        QFETCH(int, mainHits);
        QFETCH(int, bonusHits);
        QFETCH(int, tier);
        const DrawHistory history = makeHistory({kDraw1});
        const Ticket t = ::ticket(ticket);
        const CheckResult result = TicketChecker(history, DrawRange::latest(history)).check({t});

        const TicketMatch m = TicketChecker::match(t.mask, result.draws.at(0));
        QCOMPARE(m.mainHits, mainHits);
        QCOMPARE(m.bonusHits, bonusHits);
        QCOMPARE(m.tier, tier);
        QCOMPARE(std::popcount(m.main), mainHits); // the matched numbers themselves
        QCOMPARE(m.main | m.bonus, t.mask & (DrawRules::NumberMask(0x3FF) & ~DrawRules::NumberMask(1)));

        TierCounts expected{};
        if (tier)
            expected[std::size_t(tier - 1)] = 1;
        QCOMPARE(listOf(result.tiers), listOf(expected));
        QCOMPARE(listOf(result.tickets.at(0).tiers), listOf(expected));
        QCOMPARE(result.tickets.at(0).wins.size(), std::size_t(tier ? 1 : 0));
    }

    // Every possible ticket against one draw: the counts behind the expected values.
    void allTicketsAgainstOneDraw() {
        const DrawHistory history = makeHistory({kDraw1, {2, {30, 2, 17, 37, 9, 24, 11, 1, 36}}});
        const TicketChecker checker(history, {2, 2});
        TierCounts total{};
        std::uint64_t tickets = 0;
        std::vector<DrawRules::NumberMask> batch;
        const auto flush = [&] {
            const TierCounts counts = checker.countTiers(batch);
            for (int t = 0; t < PrizeTier::kTierCount; ++t)
                total[std::size_t(t)] += counts[std::size_t(t)];
            tickets += batch.size();
            batch.clear();
        };
        // Seven set bits among bits 0..36, in increasing order (the next number with as many
        // bits), shifted to bits 1..37.
        constexpr std::uint64_t kLimit = std::uint64_t(1) << 37;
        for (std::uint64_t v = (1 << 7) - 1; v < kLimit;) {
            batch.push_back(v << 1);
            if (batch.size() == 1 << 20)
                flush();
            const std::uint64_t c = v & -v, r = v + c;
            v = (((r ^ v) >> 2) / c) | r;
        }
        flush();
        QCOMPARE(tickets, PrizeTier::kAllTickets);
        QCOMPARE(listOf(total), (QList<qulonglong>{1, 14, 196, 9135, 142100, 242550}));
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tickets");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("separators and full-width digits")
            << "7 6 5 4 3 2 1\n８,９,１０,１１,１２,１３,１４\r\n\n15\t16\t17\t18\t19\t20\t21\n"
               "22、23　24，25  26 27 28\n\"29\",\"30\",\"31\",\"32\",\"33\",\"34\",\"35\"\n,,,\n"
            << QStringList{"1 2 3 4 5 6 7", "8 9 10 11 12 13 14", "15 16 17 18 19 20 21", "22 23 24 25 26 27 28",
                           "29 30 31 32 33 34 35"}
            << QStringList{};
        QTest::newRow("six numbers, named by line")
            << "1 2 3 4 5 6 7\n\n1 2 3 4 5 6" << QStringList{"1 2 3 4 5 6 7"}
            << QStringList{"3行目: 数字が6個あります。1行に7個の数字を書いてください。"};
        QTest::newRow("eight numbers") << "1 2 3 4 5 6 7 8" << QStringList{}
                                       << QStringList{"1行目: 数字が8個あります。1行に7個の数字を書いてください。"};
        QTest::newRow("outside 1..37, not a number, twice")
            << "1 2 3 4 5 6 38\n0 1 2 3 4 5 6\n1 2 3 4 5 6 x\n1 2 3 4 5 6 ６" << QStringList{}
            << QStringList{"1行目: 「38」は1～37の数字ではありません。", "2行目: 「0」は1～37の数字ではありません。",
                           "3行目: 「x」は1～37の数字ではありません。", "4行目: 6 が2回書かれています。"};
        QTest::newRow("placeholders shown as typed")
            << "1 2 3 %1 5 6 %2" << QStringList{} << QStringList{"1行目: 「%1」は1～37の数字ではありません。"};
        QTest::newRow("a lone surrogate spoils its own line only")
            << QStringLiteral("1 2 3 4 5 6 7\n1 2 3 4 5 6 ") + QChar(0xD800) + QStringLiteral("\n8 9 10 11 12 13 14")
            << QStringList{"1 2 3 4 5 6 7", "8 9 10 11 12 13 14"}
            << QStringList{QStringLiteral("2行目: 「") + QChar(0xFFFD) + QStringLiteral("」は1～37の数字ではありません。")};
        QTest::newRow("a surrogate pair is one character, shown as typed")
            << QStringLiteral("1 2 3 4 5 6 \U0001F600\n8 9 10 11 12 13 14") << QStringList{"8 9 10 11 12 13 14"}
            << QStringList{QStringLiteral("1行目: 「\U0001F600」は1～37の数字ではありません。")};
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(QStringList, tickets);
        QFETCH(QStringList, errors);
        const TicketList::Parsed parsed = TicketList::parse(text);
        QStringList got, messages;
        for (const Ticket &t : parsed.tickets)
            got << t.text();
        for (const TicketError &e : parsed.errors)
            messages << e.message;
        QCOMPARE(got, tickets);
        QCOMPARE(messages, errors);
        // What the window writes back reads as the same tickets.
        QCOMPARE(TicketList::parse(TicketList::toText(parsed.tickets)).tickets, parsed.tickets);
    }

    // Draws missing from the history, incomplete or malformed are skipped and counted.
    void rangeWithMissingDraws() {
        const DrawHistory history = makeHistory({
            kDraw1,
            {2, {10, 11, 12, 13, 14, 15, 16, 1, 2}},
            {3, {1, 2, 3, 4, 5, 6, 7, 8, 0}}, // bonus 2 missing
            {4, {1, 1, 2, 3, 4, 5, 6, 7, 8}}, // a main number twice
            {5, {1, 2, 3, 4, 20, 21, 22, 5, 23}},
            {6, {1, 2, 3, 4, 5, 6, 7, 7, 8}}, // a bonus number among the main numbers
            {7, {1, 2, 3, 4, 5, 6, 7, 8, 8}}, // a bonus number twice
            {8, {1, 2, 3, 4, 5, 6, 7, 8, 0}}, // the latest draw, incomplete
        });
        QCOMPARE(DrawRange::all(history).from, 1);
        QCOMPARE(DrawRange::all(history).to, 8);
        QCOMPARE(DrawRange::latest(history).from, 7);
        QCOMPARE(DrawRange::latest(history).to, 7);

        const std::vector<Ticket> tickets{ticket("1 2 3 4 5 6 7"), ticket("10 11 12 1 2 30 31")};
        const CheckResult result = TicketChecker(history, {1, 9}).check(tickets);
        QCOMPARE(result.drawsChecked(), 3);
        QCOMPARE(result.drawsSkipped, 6);
        // Ticket 1: 1等 in draw 1, 5等 in draw 5 (4 main + bonus 5); ticket 2: 6等 in draw 2.
        QList<int> draws;
        for (const TicketWin &w : result.tickets[0].wins)
            draws << result.draws[w.drawIndex].drawNumber << w.tier;
        QCOMPARE(draws, (QList<int>{1, 1, 5, 5}));
        QCOMPARE(listOf(result.tickets[1].tiers), (QList<qulonglong>{0, 0, 0, 0, 0, 1}));
        QCOMPARE(listOf(result.tiers), (QList<qulonglong>{1, 0, 0, 0, 1, 1}));
        QCOMPARE(result.expected()[5], 6.0 * 242550 / 10295472);

        const ResultGrid grid = CheckGrids::results(tickets, result, CheckGrids::Rows::All);
        QCOMPARE(grid.rows(), 1 + 2 * 3);
        QCOMPARE(CheckGrids::results(tickets, result, CheckGrids::Rows::Wins).rows(), 1 + 3);
        // Ticket 2 against draw 2: 10, 11, 12 among the main numbers, 1 and 2 among the bonus.
        QCOMPARE(grid.text(2, 6), QStringLiteral("2"));
        QCOMPARE(grid.text(3, 6), QStringLiteral("1"));
        QCOMPARE(grid.cell(3, 6).back, CheckGrids::kBonusHit);
        QCOMPARE(grid.cell(5, 6).back, CheckGrids::kMainHit);
        QCOMPARE(grid.cell(8, 6).back, Palette::White);
        QCOMPARE(grid.text(12, 6), QStringLiteral("6等"));
        QCOMPARE(grid.text(12, 7), QStringLiteral("はずれ"));
    }

    // The sentence above the grids: the range, what was checked, and skipped draws only if any.
    void rangeText_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("text");
        QTest::newRow("one draw") << 2 << 2 << "第2回の1回分にチケット1枚を照合しました。";
        QTest::newRow("none skipped") << 1 << 2 << "第1回～第2回の2回分にチケット1枚を照合しました。";
        QTest::newRow("two skipped") << 1 << 4
                                     << "第1回～第4回の2回分にチケット1枚を照合しました。"
                                        "データがないか数字が欠けている2回分は除きました。";
        QTest::newRow("nothing to check") << 0 << 0 << "照合する回がありません。";
    }
    void rangeText() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, text);
        const DrawHistory history = makeHistory({kDraw1, {2, {10, 11, 12, 13, 14, 15, 16, 1, 2}}, {3, {1, 2, 3}}});
        const CheckResult result = TicketChecker(history, {from, to}).check({ticket("1 2 3 4 5 6 7")});
        QCOMPARE(CheckGrids::rangeText(result), text);
    }

    // Three significant digits, but never fewer than one decimal and never an exponent.
    void expectedText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("tiny") << 1.16556e-6 << "0.00000117";
        QTest::newRow("below one") << 0.28271 << "0.283";
        QTest::newRow("tens") << 70.676 << "70.7";
        QTest::newRow("hundreds") << 283.43 << "283.4";
        QTest::newRow("tens of thousands") << 12345.678 << "12345.7";
    }
    void expectedText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(CheckGrids::expectedText(value), text);
    }

    // The prediction's tickets: its one-shot set, then the second row of its repeated set (the
    // first row is the one-shot set again). Five disjoint patterns in turn, options off: the
    // sources are draws 24 and 23 (patterns 29..35 and 22..28); bonus 1 is 36 in every draw.
    void ticketsFromPrediction() {
        std::vector<DrawSpec> draws;
        for (int n = 1; n <= 25; ++n) {
            const int first = 7 * (n % 5) + 1;
            draws.push_back({n, {first, first + 1, first + 2, first + 3, first + 4, first + 5, first + 6, 36, 37}});
        }
        const DrawHistory history = makeHistory(draws);
        QStringList got;
        for (const Ticket &t : TicketList::fromPrediction(predictSets(history, PredictionOptions{})))
            got << t.text();
        QCOMPARE(got, (QStringList{"29 30 31 32 33 34 35", "22 23 24 25 26 27 28"}));
    }
};

QTEST_GUILESS_MAIN(TestTicketChecker)
#include "TestTicketChecker.moc"
