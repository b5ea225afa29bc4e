// The wheel: its check, the sizes proven optimal, the exact odds, repeatability, and what the
// command line refuses. Expected odds were counted apart, by going through all C(37,7) draws.
#include "core/wheel/WheelBuilder.h"
#include "core/wheel/WheelOdds.h"
#include "core/wheel/WheelVerifier.h"
#include "support/Files.h"

#include <QtTest>

#include <bit>
#include <numeric>

namespace {
using Tickets = std::vector<std::vector<int>>;

std::vector<int> numbersFrom(int first, int last) {
    std::vector<int> numbers(std::size_t(last - first + 1));
    std::iota(numbers.begin(), numbers.end(), first);
    return numbers;
}

Wheel wheelOf(std::vector<int> pool, Guarantee g, const Tickets &tickets) {
    Wheel w{std::move(pool), g, {}};
    for (const std::vector<int> &t : tickets)
        w.tickets.push_back(WheelInput::maskOf(t));
    return w;
}

// Ends by its work budget, never by the clock: the same tickets on any machine.
WheelBuilder::Options repeatable(std::uint64_t work) {
    WheelBuilder::Options o;
    o.seconds = 3600;
    o.work = work;
    return o;
}

const Tickets kThreeParts = {numbersFrom(1, 7), numbersFrom(8, 14), numbersFrom(15, 21)};
} // namespace

Q_DECLARE_METATYPE(Guarantee)
Q_DECLARE_METATYPE(Tickets)

class TestWheel : public QObject {
    Q_OBJECT

private slots:
    void everyTicketIsNeeded_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<Guarantee>("g");
        for (const auto &[v, g] : {std::pair{10, Guarantee{3, 3}}, {14, {4, 4}}, {12, {5, 5}}, {16, {3, 7}},
                                   {18, {4, 7}}, {13, {5, 7}}, {11, {6, 7}}, {9, {2, 2}}})
            QTest::addRow("%d %d/%d", v, g.match, g.drawn) << v << g;
    }
    // A built wheel holds; with any one ticket taken out the check names a set that no ticket
    // left meets in t numbers.
    void everyTicketIsNeeded() {
        QFETCH(int, v);
        QFETCH(Guarantee, g);
        const WheelBuilder::Result r = WheelBuilder::build(numbersFrom(1, v), g, repeatable(5'000'000));
        QVERIFY(r.wheel);
        QVERIFY(WheelVerifier::holds(*r.wheel));
        for (std::size_t i = 0; i < r.wheel->tickets.size(); ++i) {
            Wheel less = *r.wheel;
            less.tickets.erase(less.tickets.begin() + std::ptrdiff_t(i));
            const std::optional<DrawRules::NumberMask> missed = WheelVerifier::firstUncovered(less);
            QVERIFY2(missed, qPrintable(QStringLiteral("ticket %1").arg(i)));
            QCOMPARE(std::popcount(*missed), g.drawn);
            QCOMPARE(*missed & ~WheelInput::maskOf(less.pool), DrawRules::NumberMask(0));
            for (const DrawRules::NumberMask t : less.tickets)
                QVERIFY(std::popcount(t & *missed) < g.match);
        }
    }

    // Three disjoint tickets on 21 numbers: seven drawn numbers put three into one of them. Two
    // tickets miss, first of all, the set with the smallest largest numbers.
    void firstUncoveredSet() {
        QVERIFY(WheelVerifier::holds(wheelOf(numbersFrom(1, 21), {3, 7}, kThreeParts)));
        const Wheel two = wheelOf(numbersFrom(1, 21), {3, 7}, {kThreeParts[0], kThreeParts[1]});
        QCOMPARE(WheelVerifier::firstUncovered(two).value_or(0), WheelInput::maskOf({1, 2, 8, 9, 15, 16, 17}));
        QCOMPARE(WheelVerifier::casesChecked(two), std::uint64_t(116'280));
    }

    void provenSizes_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<Guarantee>("g");
        QTest::addColumn<int>("size");
        for (const auto &[v, g, size] :
             {std::tuple{10, Guarantee{3, 3}, 6}, {14, {3, 3}, 15}, {15, {3, 3}, 15}, {7, {3, 7}, 1}, {11, {3, 7}, 1},
              {12, {3, 7}, 2}, {16, {3, 7}, 2}, {17, {3, 7}, 3}, {21, {3, 7}, 3}})
            QTest::addRow("%d %d/%d", v, g.match, g.drawn) << v << g << size;
    }
    void provenSizes() {
        QFETCH(int, v);
        QFETCH(Guarantee, g);
        QFETCH(int, size);
        const WheelBuilder::Result r = WheelBuilder::build(numbersFrom(37 - v + 1, 37), g, repeatable(60'000'000));
        QVERIFY(r.wheel);
        QCOMPARE(int(r.wheel->tickets.size()), size);
        QVERIFY(WheelVerifier::holds(*r.wheel));
    }

    void odds_data() {
        QTest::addColumn<std::vector<int>>("pool");
        QTest::addColumn<Guarantee>("g");
        QTest::addColumn<Tickets>("tickets");
        QTest::addColumn<quint64>("condition");
        QTest::addColumn<std::vector<quint64>>("tiers");   // draws winning 5等, 4等, 3等 or better
        QTest::addColumn<std::vector<double>>("random"); // as many random tickets
        QTest::newRow("one ticket") << numbersFrom(1, 7) << Guarantee{4, 4} << Tickets{numbersFrom(1, 7)}
                                    << quint64(151'446) << std::vector<quint64>{151'446, 9'346, 211}
                                    << std::vector<double>{0.014709961816223676, 0.0009077777104342569,
                                                           2.0494446490651425e-05};
        QTest::newRow("three apart") << numbersFrom(1, 21) << Guarantee{3, 7} << kThreeParts << quint64(116'280)
                                     << std::vector<quint64>{454'338, 28'038, 633}
                                     << std::vector<double>{0.04348391950409073, 0.0027208616982517244,
                                                            6.148207941355152e-05};
        QTest::newRow("three overlapping")
            << numbersFrom(1, 14) << Guarantee{3, 3}
            << Tickets{{1, 2, 3, 4, 5, 6, 7}, {4, 5, 6, 7, 8, 9, 10}, {1, 2, 8, 9, 11, 12, 13}} << quint64(5'574'998)
            << std::vector<quint64>{427'294, 27'741, 633}
            << std::vector<double>{0.04348391950409073, 0.0027208616982517244, 6.148207941355152e-05};
        Tickets all8;
        for (int left = 8; left >= 1; --left) {
            std::vector<int> t = numbersFrom(1, 8);
            t.erase(t.begin() + left - 1);
            all8.push_back(t);
        }
        QTest::newRow("full wheel of 8") << numbersFrom(1, 8) << Guarantee{7, 7} << all8 << quint64(8)
                                         << std::vector<quint64>{279'336, 23'556, 820}
                                         << std::vector<double>{0.1117959791378445, 0.0072391898371332525,
                                                                0.00016394381178181923};
    }
    void odds() {
        QFETCH(std::vector<int>, pool);
        QFETCH(Guarantee, g);
        QFETCH(Tickets, tickets);
        QFETCH(quint64, condition);
        QFETCH(std::vector<quint64>, tiers);
        QFETCH(std::vector<double>, random);
        const WheelOdds odds = WheelOdds::of(wheelOf(pool, g, tickets));
        QCOMPARE(odds.conditionDraws, condition);
        for (int i = 0; i < WheelOdds::kTiers; ++i) {
            QCOMPARE(odds.tierDraws[std::size_t(i)], tiers[std::size_t(i)]);
            QCOMPARE(odds.randomTickets[std::size_t(i)], random[std::size_t(i)]);
        }
    }

    // Also where both searches reach the lower bound, and the one first there stops the other:
    // which design wins must not depend on which thread ran faster.
    void sameInputSameTickets_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<Guarantee>("g");
        QTest::newRow("14 4/4") << 5 << 18 << Guarantee{4, 4};
        QTest::newRow("11 3/7, at the bound") << 1 << 11 << Guarantee{3, 7};
    }
    void sameInputSameTickets() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(Guarantee, g);
        const WheelBuilder::Result a = WheelBuilder::build(numbersFrom(first, last), g, repeatable(8'000'000));
        QVERIFY(a.wheel);
        for (int run = 0; run < 6; ++run) {
            const WheelBuilder::Result b = WheelBuilder::build(numbersFrom(first, last), g, repeatable(8'000'000));
            QVERIFY(b.wheel);
            QCOMPARE(b.wheel->tickets, a.wheel->tickets);
        }
    }

    // The window's キャンセル: the first progress report that answers false ends the search;
    // what was found so far, if anything, is still a checked wheel.
    void cancel() {
        WheelBuilder::Options o = repeatable(4'000'000'000);
        int reports = 0;
        o.progress = [&](const WheelBuilder::Progress &) { return ++reports > 1 ? false : true; };
        const WheelBuilder::Result r = WheelBuilder::build(numbersFrom(1, 21), {5, 5}, o);
        QCOMPARE(r.outcome, WheelBuilder::Outcome::Cancelled);
        QCOMPARE(reports, 2);
        QVERIFY(!r.wheel || WheelVerifier::holds(*r.wheel));
    }

    void cliRefuses_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString none = QStringLiteral("\n組合せは作っていません。\n");
        const auto row = [](const char *name, const QString &pool, const QString &g, const QString &message,
                            const QStringList &more = {}) {
            QTest::newRow(name) << (QStringList{"wheel", "--pool", pool, "--guarantee", g} + more) << message;
        };
        row("number twice", "1 2 3 4 5 6 7 7", "3/3", QStringLiteral("プールに 7 が2回あります。") + none);
        row("number 38", "1 2 3 4 5 6 38", "3/3", QStringLiteral("プールの「38」は1～37の数字ではありません。") + none);
        row("number 0", "0 1 2 3 4 5 6", "3/3", QStringLiteral("プールの「0」は1～37の数字ではありません。") + none);
        row("six numbers", "1 2 3 4 5 6", "3/3",
            QStringLiteral("プールの数字が6個です。7個以上の数字を指定してください。") + none);
        row("t over m", "1 2 3 4 5 6 7 8", "4/3",
            QStringLiteral("当たり数 4 が条件の数 3 を超えています（「4/3」）。") + none);
        row("m over 7", "1 2 3 4 5 6 7 8", "3/8",
            QStringLiteral("条件の数 8 が本数字の数 7 を超えています（「3/8」）。") + none);
        row("t under 2", "1 2 3 4 5 6 7 8", "1/3", QStringLiteral("当たり数は2以上にしてください（「1/3」）。") + none);
        row("no slash", "1 2 3 4 5 6 7 8", "3",
            QStringLiteral("「3」は保証ではありません。「3/3」のように 当たり数/条件の数 で指定してください。") + none);
        row("7 if 7 searched", "1 2 3 4 5 6 7 8", "7/7", QStringLiteral("「本数字7個がプールにあれば7個以上」は全組合せでしか保証できません。") + none);
        row("no time", "1 2 3 4 5 6 7 8", "3/3",
            QStringLiteral("--seconds には0より大きく3600以下の秒数を指定してください: 0\n"), {"--seconds", "0"});
        QTest::newRow("full over the limit")
            << QStringList{"wheel", "--pool", "1 2 3 4 5 6 7 8 9 10 11 12", "--full"}
            << QStringLiteral("プール12個の全組合せは792枚（237,600円）で、上限の100,000円を超えます。\n"
                              "--max-cost で上限を上げられます。") + none;
    }
    void cliRefuses() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, message);
        QVERIFY(run.out.isEmpty());
    }

    // The full wheel of eight numbers: every output member, counted apart.
    void cliFullWheel_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("json") << "json"
                              << QByteArray("{\"pool\": [1, 2, 3, 4, 5, 6, 7, 8], \"guarantee\": {\"match\": 7, \"if\": 7}, "
                                            "\"tickets\": [[1, 2, 3, 4, 5, 6, 7], [1, 2, 3, 4, 5, 6, 8], "
                                            "[1, 2, 3, 4, 5, 7, 8], [1, 2, 3, 4, 6, 7, 8], [1, 2, 3, 5, 6, 7, 8], "
                                            "[1, 2, 4, 5, 6, 7, 8], [1, 3, 4, 5, 6, 7, 8], [2, 3, 4, 5, 6, 7, 8]],\n"
                                            " \"count\": 8, \"cost\": 2400, \"verified\": true,\n"
                                            " \"conditionProbability\": 7.770406252379687e-07, "
                                            "\"atLeastTierProbability\": {\"5\": 0.027131927511434152, "
                                            "\"4\": 0.0022879961210131986, \"3\": 7.964666408689179e-05}}\n");
        QTest::newRow("csv") << "csv"
                             << QStringLiteral("数字1,数字2,数字3,数字4,数字5,数字6,数字7\r\n1,2,3,4,5,6,7\r\n"
                                               "1,2,3,4,5,6,8\r\n1,2,3,4,5,7,8\r\n1,2,3,4,6,7,8\r\n1,2,3,5,6,7,8\r\n"
                                               "1,2,4,5,6,7,8\r\n1,3,4,5,6,7,8\r\n2,3,4,5,6,7,8\r\n")
                                    .toUtf8();
    }
    void cliFullWheel() {
        QFETCH(QString, format);
        QFETCH(QByteArray, out);
        const CliRun run = runCli({"wheel", "--pool", "8 7 6 5 4 3 2 1", "--full", "--format", format});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, out);
    }
};

QTEST_GUILESS_MAIN(TestWheel)
#include "TestWheel.moc"
