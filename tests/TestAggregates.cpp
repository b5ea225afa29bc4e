#include "core/history/DrawCsv.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/history/ImportPlan.h"
#include "support/Histories.h"

#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <set>

// A draw as a list: 回数 then nine fields, 0 for an empty one.
using Draws = QList<QList<int>>;

namespace {
std::vector<DrawRecord> recordsOf(const Draws &draws) {
    std::vector<DrawRecord> records;
    for (const QList<int> &d : draws) {
        std::array<int, 9> numbers{};
        for (int k = 0; k < 9; ++k)
            numbers[std::size_t(k)] = d[k + 1];
        records.push_back(makeDraw(d[0], numbers));
    }
    return records;
}

QList<int> countsOf(const StartupAggregates &a) {
    return QList<int>(a.AppearanceCount.begin() + 1, a.AppearanceCount.end());
}

// The aggregates counted another way: straight from the CSV lines, grouped through a map.
struct Independent {
    int records = 0;
    int latest = 0;
    QList<int> counts = QList<int>(37, 0);
    QStringList numbersByCount;
    int countGroupTotal = 0;
};

Independent countCsv(const QString &path) {
    Independent result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::map<int, QList<QByteArray>> byDraw;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QList<QByteArray> f = lines[i].trimmed().split(',');
        byDraw[f[0].toInt()] = f;
    }
    result.records = int(byDraw.size());
    for (const auto &[number, f] : byDraw) {
        bool complete = true;
        for (int k = 2; k < 11; ++k)
            complete = complete && !f[k].isEmpty();
        if (!complete)
            continue;
        for (int k = 2; k < 11; ++k)
            ++result.counts[f[k].toInt() - 1];
        result.latest = std::max(result.latest, number);
    }
    std::map<int, QStringList> numbersWithCount;
    for (int n = 1; n <= 37; ++n)
        numbersWithCount[result.counts[n - 1]] << QString::number(n);
    const int max = *std::max_element(result.counts.begin(), result.counts.end());
    for (int c = 0; c <= max; ++c)
        result.numbersByCount << numbersWithCount[c].join(QLatin1Char(','));
    std::set<int> distinct(result.counts.begin(), result.counts.end());
    result.countGroupTotal = 1 + int(distinct.size());
    return result;
}
} // namespace

class TestAggregates : public QObject {
    Q_OBJECT
private slots:
    void smallHistories_data() {
        QTest::addColumn<Draws>("draws");
        QTest::addColumn<int>("latest");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("countGroupTotal");
        QTest::addColumn<QStringList>("numbersByCount");
        QTest::addColumn<QList<int>>("someCounts"); // pairs: number, count

        QString all;
        for (int n = 1; n <= 37; ++n)
            all += (n > 1 ? QStringLiteral(",") : QString()) + QString::number(n);
        QString without1to9;
        for (int n = 10; n <= 37; ++n)
            without1to9 += (n > 10 ? QStringLiteral(",") : QString()) + QString::number(n);

        QTest::newRow("empty table") << Draws{} << 0 << 0 << 0 << QStringList{} << QList<int>{1, 0, 37, 0};
        QTest::newRow("no complete draw") << Draws{{1, 1, 2, 3, 4, 5, 6, 7, 8, 0}, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}} << 0
                                          << 0 << 2 << QStringList{all} << QList<int>{1, 0, 8, 0};
        QTest::newRow("incomplete draw with the highest number")
            << Draws{{1, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {2, 11, 12, 13, 14, 15, 16, 17, 18, 0}} << 1 << 1 << 3
            << QStringList{without1to9, QStringLiteral("1,2,3,4,5,6,7,8,9")} << QList<int>{11, 0, 9, 1};
        QTest::newRow("gaps between draw numbers")
            << Draws{{3, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {7, 0, 2, 3, 4, 5, 6, 7, 8, 9}, {12, 1, 2, 3, 4, 5, 6, 7, 8, 9}}
            << 12 << 2 << 3 << QStringList{without1to9, QString(), QStringLiteral("1,2,3,4,5,6,7,8,9")}
            << QList<int>{1, 2, 2, 2};
        // Number 10 is a main number once and a bonus number twice: every field counts.
        QTest::newRow("bonus numbers count")
            << Draws{{1, 10, 2, 3, 4, 5, 6, 7, 8, 9}, {2, 1, 2, 3, 4, 5, 6, 7, 10, 9}, {3, 1, 2, 3, 4, 5, 6, 7, 8, 10}}
            << 3 << 3 << 4
            << QStringList{QStringLiteral(
                               "11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37"),
                           QString(), QStringLiteral("1,8,9"), QStringLiteral("2,3,4,5,6,7,10")}
            << QList<int>{10, 3, 8, 2, 9, 2};
        // 1 and 3 drawn five times, 2 seven times: ascending numbers within a count.
        QTest::newRow("numbers by count ascending")
            << Draws{{1, 1, 2, 3, 11, 12, 13, 14, 15, 16}, {2, 1, 2, 3, 17, 18, 19, 20, 21, 22},
                     {3, 1, 2, 3, 23, 24, 25, 26, 27, 28}, {4, 1, 2, 3, 29, 30, 31, 32, 33, 34},
                     {5, 3, 2, 1, 35, 36, 37, 4, 5, 6},    {6, 2, 7, 8, 9, 10, 11, 12, 13, 14},
                     {7, 2, 7, 8, 9, 10, 11, 12, 13, 14}}
            << 7 << 7 << 6
            << QStringList{QString(),
                           QStringLiteral("4,5,6,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37"),
                           QStringLiteral("7,8,9,10"),
                           QStringLiteral("11,12,13,14"),
                           QString(),
                           QStringLiteral("1,3"),
                           QString(),
                           QStringLiteral("2")}
            << QList<int>{1, 5, 2, 7, 3, 5, 11, 3};
    }
    void smallHistories() {
        QFETCH(Draws, draws);
        QFETCH(int, latest);
        QFETCH(int, max);
        QFETCH(int, countGroupTotal);
        QFETCH(QStringList, numbersByCount);
        QFETCH(QList<int>, someCounts);
        const DrawHistory history(recordsOf(draws));
        const StartupAggregates &a = history.aggregates();
        QCOMPARE(a.records, int(draws.size()));
        QCOMPARE(a.LatestDrawNumber, latest);
        QCOMPARE(a.MaxAppearance, max);
        QCOMPARE(a.MinAppearance, 0);
        QCOMPARE(a.CountGroupTotal, countGroupTotal);
        QCOMPARE(a.NumbersByCount, numbersByCount);
        for (qsizetype i = 0; i < someCounts.size(); i += 2)
            QCOMPARE(a.AppearanceCount[std::size_t(someCounts[i])], someCounts[i + 1]);
    }

    // MinAppearance stays 0 even when every number has been drawn.
    void minimumIsZeroWhenAllDrawn() {
        Draws draws;
        for (int d = 0; d < 5; ++d) {
            QList<int> draw{d + 1};
            for (int k = 0; k < 9; ++k)
                draw << (d * 9 + k) % 37 + 1;
            draws << draw;
        }
        const StartupAggregates a = DrawHistory::computeAggregates(recordsOf(draws));
        QVERIFY(*std::min_element(a.AppearanceCount.begin() + 1, a.AppearanceCount.end()) > 0);
        QCOMPARE(a.MinAppearance, 0);
        QVERIFY(a.NumbersByCount[0].isEmpty());
    }

    // The real history, through the importer and the database as the program reads it, against
    // a count made straight from the CSV file.
    void realHistoryThroughDatabase() {
        const QString csv = QStringLiteral(TEST_DATA_DIR "/loto7-draws-688.csv");
        const Independent expected = countCsv(csv);
        QCOMPARE(expected.records, 688);

        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ImportPlan plan = ImportPlan::make(file.readAll(), {});
        QVERIFY(plan.canImport());
        QTemporaryDir dir;
        const ConnectionString connection = ConnectionString::forDatabase(dir.filePath(QStringLiteral("real.mdb")));
        StoreError error;
        {
            auto store = DrawStore::open(connection, error, DrawStore::OpenMode::CreateIfMissing);
            QVERIFY2(store, qPrintable(error.message));
            ImportPlan::Summary summary;
            QVERIFY2(plan.apply(*store, ImportPlan::Choice::TakeFile, summary, error), qPrintable(error.message));
        }
        const std::optional<DrawHistory> history = loadDrawHistory(connection, error);
        QVERIFY2(history, qPrintable(error.message));

        for (const StartupAggregates &a : {history->aggregates(), ::realHistory().aggregates()}) {
            QCOMPARE(a.records, expected.records);
            QCOMPARE(a.LatestDrawNumber, expected.latest);
            QCOMPARE(countsOf(a), expected.counts);
            QCOMPARE(a.MaxAppearance, int(expected.numbersByCount.size()) - 1);
            QCOMPARE(a.MinAppearance, 0);
            QCOMPARE(a.NumbersByCount, expected.numbersByCount);
            QCOMPARE(a.CountGroupTotal, expected.countGroupTotal);
        }
    }
};

QTEST_GUILESS_MAIN(TestAggregates)
#include "TestAggregates.moc"
