// In-process benchmarks of the program's own code, on two histories (the real one and a long
// synthetic one). Prints rows of the results table; bench/run adds the whole-process rows.
//   nanazubario-bench core|gui|memory SMALL_DB LARGE_DB
//   nanazubario-bench list   (the windows the command line exports)
#include "BenchTable.h"

#include "core/catalog/AnalysisCatalog.h"
#include "core/backtest/Backtest.h"
#include "core/check/TicketChecker.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawStore.h"
#include "core/prediction/PredictionEngine.h"
#include "gui/shell/JapaneseTexts.h"
#include "gui/shell/MainFrm.h"

#include <QFile>
#include <QMdiSubWindow>

#include <QApplication>
#include <QMdiArea>
#include <QTimer>

#include <cstdio>
#include <random>

namespace {
constexpr int kRuns = 7;
constexpr double kWindowTargetMs = 100.0;
constexpr double kDataEntryTargetMs = 20.0; // the data entry window, on 5000 draws
constexpr double kMaxRatio = 10.0;
constexpr double kTheoryGridsMs = 50.0; // 理論との比較 and ペア出現分析, on 5000 draws

DrawHistory loadOrDie(const QString &path) {
    StoreError error;
    std::optional<DrawHistory> history = loadDrawHistory(ConnectionString::forDatabase(path), error);
    if (!history) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message));
        std::exit(1);
    }
    return *history;
}

QString sizeLabel(const DrawHistory &h) {
    return QStringLiteral("%1 draws").arg(h.records().size());
}

void benchCore(const QString &smallDb, const QString &largeDb) {
    for (const QString &db : {smallDb, largeDb}) {
        const Timing t = timeRuns(kRuns, [&] { loadOrDie(db); });
        printRow(QStringLiteral("load snapshot + aggregates"), sizeLabel(loadOrDie(db)), t, 0);
    }
    const DrawHistory small = loadOrDie(smallDb), large = loadOrDie(largeDb);
    const PredictionOptions options;
    for (const CatalogEntry &e : AnalysisCatalog::entries()) {
        if (!e.exportable())
            continue;
        // The two sizes take turns, so that a change in the machine's speed during the run
        // touches both alike and the ratio stays about the code.
        std::vector<double> smallMs, largeMs;
        for (int run = 0; run < kRuns; ++run) {
            smallMs.push_back(timeRuns(1, [&] { e.grids(small, options); }).median);
            largeMs.push_back(timeRuns(1, [&] { e.grids(large, options); }).median);
        }
        const Timing ts = summarise(smallMs), tl = summarise(largeMs);
        const double ratio = tl.median / std::max(ts.median, 1e-6);
        printRow(QStringLiteral("build %1").arg(e.formName), sizeLabel(small), ts, 0);
        const bool theory = e.kind == WindowKind::TheoryComparison || e.kind == WindowKind::PairAnalysis;
        printRow(QStringLiteral("build %1").arg(e.formName), sizeLabel(large), tl, theory ? kTheoryGridsMs : 0,
                 QStringLiteral("ratio %1 (< %2 %3)")
                     .arg(ratio, 0, 'f', 1)
                     .arg(kMaxRatio)
                     .arg(ratio < kMaxRatio ? "PASS" : "FAIL"));
    }
}
// Closes every child window and lets the closing finish.
void closeAll(MainFrm &frame) {
    frame.mdiArea()->closeAllSubWindows();
    while (!frame.mdiArea()->subWindowList().isEmpty())
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // What closing queued (the data entry window's check for stored changes) is closing's time,
    // not the next opening's.
    QCoreApplication::processEvents();
}

// Opens every window as its menu item does, until it has painted; each run starts with no
// window open (the data entry window opens only then). `only` names one window, for profiling.
void benchWindows(const QString &smallDb, const QString &largeDb, const QString &only = {}) {
    for (const QString &db : {smallDb, largeDb}) {
        MainFrm frame;
        if (!frame.startUp(db))
            std::exit(1);
        frame.showOffscreen();
        QCoreApplication::processEvents();
        const QString size = sizeLabel(frame.history());
        for (const CatalogEntry &e : AnalysisCatalog::entries()) {
            if (!only.isEmpty() && e.formName != only)
                continue;
            std::vector<double> ms;
            for (int run = 0; run < kRuns; ++run) {
                closeAll(frame);
                QElapsedTimer timer;
                timer.start();
                QMdiSubWindow *window = frame.openWindow(e.formName);
                if (!window)
                    std::exit(1);
                window->repaint();
                ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            closeAll(frame);
            printRow(QStringLiteral("open %1 (until painted)").arg(e.formName), size, summarise(ms),
                     e.kind == WindowKind::DataEntry ? kDataEntryTargetMs : kWindowTargetMs);
        }
    }
}

// Peak resident memory of the process, in MiB.
double peakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Every window open at once on the long history.
void benchMemory(const QString &largeDb) {
    MainFrm frame;
    if (!frame.startUp(largeDb))
        std::exit(1);
    frame.showOffscreen();
    // The data entry window opens only while no other window is open: it goes first.
    frame.openWindow(AnalysisCatalog::dataEntry().formName);
    for (const CatalogEntry &e : AnalysisCatalog::entries())
        if (e.kind != WindowKind::DataEntry)
            if (QMdiSubWindow *window = frame.openWindow(e.formName))
                window->repaint();
    QCoreApplication::processEvents();
    const double mib = peakMemoryMiB();
    QTextStream(stdout) << QStringLiteral(
                               "| peak memory, every window open | %1 | %2 MiB | | | < 150 MB %3 | %4 windows |")
                               .arg(sizeLabel(frame.history()))
                               .arg(mib, 0, 'f', 1)
                               .arg(mib * 1.048576 < 150 ? "PASS" : "FAIL")
                               .arg(frame.mdiArea()->subWindowList().size())
                        << Qt::endl;
}
void benchRecompute(const QString &smallDb, const QString &largeDb) {
    std::array<Timing, 2> t;
    std::array<QString, 2> sizes;
    int i = 0;
    for (const QString &db : {smallDb, largeDb}) {
        const DrawHistory history = loadOrDie(db);
        PredictionEngine engine;
        engine.layOutGrids();
        engine.runCycleMethod(history);
        int flip = 0;
        // An option click: one flag changes, then the recompute.
        t[i] = timeRuns(kRuns, [&] {
            engine.setReflectFlag(flip % 12, !engine.reflectFlag(flip % 12));
            ++flip;
            engine.recompute();
        });
        sizes[i++] = sizeLabel(history);
    }
    const double ratio = t[1].median / std::max(t[0].median, 1e-6);
    printRow(QStringLiteral("prediction recompute after an option click"), sizes[0], t[0], 0);
    printRow(QStringLiteral("prediction recompute after an option click"), sizes[1], t[1], 0,
             QStringLiteral("ratio %1 (< %2 %3)")
                 .arg(ratio, 0, 'f', 1)
                 .arg(kMaxRatio)
                 .arg(ratio < kMaxRatio ? "PASS" : "FAIL"));
}

// The walk-forward backtest over every complete draw: one setting, then every reachable one.
void benchBacktest(const QString &smallDb, const QString &largeDb) {
    constexpr double kOneSettingMs = 100.0, kAllSettingsMs = 1000.0;
    for (const QString &db : {smallDb, largeDb}) {
        const DrawHistory history = loadOrDie(db);
        const Timing one = timeRuns(kRuns, [&] { Backtest::runOne(history, {}, 0); });
        printRow(QStringLiteral("backtest, one setting"), sizeLabel(history), one, kOneSettingMs);
        const Timing all = timeRuns(kRuns, [&] { Backtest::runAll(history, {}); });
        printRow(QStringLiteral("backtest, all %1 settings").arg(Backtest::reachableOffsets().size()),
                 sizeLabel(history), all, kAllSettingsMs);
    }
}

// Checking 10,000 tickets (seeded, random) against every draw of the long history.
void benchCheck(const QString &largeDb) {
    constexpr int kTickets = 10'000;
    constexpr double kTargetMs = 1000.0;
    const DrawHistory history = loadOrDie(largeDb);
    std::mt19937 random(20261207);
    std::vector<Ticket> tickets;
    std::array<int, 37> pool{};
    for (int n = 1; n <= 37; ++n)
        pool[std::size_t(n - 1)] = n;
    for (int i = 0; i < kTickets; ++i) {
        std::shuffle(pool.begin(), pool.end(), random);
        std::array<int, 7> seven{};
        std::copy_n(pool.begin(), 7, seven.begin());
        tickets.push_back(Ticket::of(seven));
    }
    std::size_t wins = 0;
    const Timing t = timeRuns(kRuns, [&] {
        const CheckResult result = TicketChecker(history, DrawRange::all(history)).check(tickets);
        wins = 0;
        for (const std::uint64_t n : result.tiers)
            wins += n;
    });
    printRow(QStringLiteral("check %1 tickets against every draw").arg(kTickets), sizeLabel(history), t, kTargetMs,
             QStringLiteral("%1 wins").arg(wins));
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QLatin1String("list")) {
        for (const QString &name : AnalysisCatalog::formNames(true))
            std::printf("%s\n", qPrintable(name));
        return 0;
    }
    if (args.size() != 4 && !(args.size() == 5 && args[1] == QLatin1String("gui"))) {
        std::fprintf(stderr, "usage: nanazubario-bench core|gui|memory SMALL_DB LARGE_DB [FORM (gui only)]\n");
        return 2;
    }
    JapaneseTexts::useFont();
    if (args[1] == QLatin1String("core")) {
        benchCore(args[2], args[3]);
        benchRecompute(args[2], args[3]);
        benchBacktest(args[2], args[3]);
        benchCheck(args[3]);
    } else if (args[1] == QLatin1String("gui"))
        benchWindows(args[2], args[3], args.value(4));
    else if (args[1] == QLatin1String("memory"))
        benchMemory(args[3]);
    return 0;
}
