// The wheel builder at its default budget: for every guarantee 3/3..5/5 and 3/7..6/7 on pools
// of 10, 14, 18 and 21 numbers, the tickets it finds, the proven lower bound, and the time from
// the call until the verified wheel is back; then the exact odds of the largest wheels.
//   nanazubario-wheel-bench [SECONDS]   (the search budget, 2 by default)
//   nanazubario-wheel-bench repeatable  (the work of the default budget, whatever the clock
//                                        says: the tickets a quiet machine gets, and CPU time)
#include "BenchTable.h"

#include "core/wheel/Subsets.h"
#include "core/wheel/WheelBuilder.h"
#include "core/wheel/WheelOdds.h"
#include "core/wheel/WheelVerifier.h"

#include <QCoreApplication>

#include <ctime>
#include <numeric>

namespace {
std::vector<int> firstNumbers(int v) {
    std::vector<int> pool(static_cast<std::size_t>(v));
    std::iota(pool.begin(), pool.end(), 1);
    return pool;
}

QString outcomeText(WheelBuilder::Outcome o) {
    switch (o) {
    case WheelBuilder::Outcome::AtBound: return QStringLiteral("at the bound");
    case WheelBuilder::Outcome::Built: return QStringLiteral("budget spent");
    case WheelBuilder::Outcome::Cancelled: return QStringLiteral("cancelled");
    case WheelBuilder::Outcome::Refused: return QStringLiteral("refused");
    case WheelBuilder::Outcome::Failed: return QStringLiteral("FAILED its check");
    }
    return {};
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    WheelBuilder::Options options;
    const bool repeatable = argc > 1 && QByteArray(argv[1]) == "repeatable";
    if (repeatable) {
        options.work = std::uint64_t(options.seconds * WheelBuilder::kWorkPerSecond);
        options.seconds = 600;
    } else if (argc > 1) {
        options.seconds = QString::fromLocal8Bit(argv[1]).toDouble();
    }
    const double targetMs = repeatable ? 0 : options.seconds * 1000;
    const std::vector<Guarantee> guarantees = {{3, 3}, {4, 4}, {5, 5}, {3, 7}, {4, 7}, {5, 7}, {6, 7}};
    std::vector<Wheel> largest;
    for (const Guarantee g : guarantees)
        for (const int v : {10, 14, 18, 21}) {
            WheelBuilder::Result r;
            const std::clock_t cpuStart = std::clock();
            const Timing t = timeRuns(1, [&] { r = WheelBuilder::build(firstNumbers(v), g, options); });
            const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            const bool ok = r.wheel && WheelVerifier::holds(*r.wheel);
            printRow(QStringLiteral("wheel %1/%2").arg(g.match).arg(g.drawn), QStringLiteral("pool %1").arg(v), t, targetMs,
                     QStringLiteral("%1 tickets, lower bound %2, %3, %4 work, %5 CPU s, %6")
                         .arg(r.wheel ? int(r.wheel->tickets.size()) : 0)
                         .arg(r.lowerBound)
                         .arg(outcomeText(r.outcome))
                         .arg(double(r.work), 0, 'g', 3)
                         .arg(cpu, 0, 'f', 2)
                         .arg(ok ? QStringLiteral("verified") : QStringLiteral("NOT VERIFIED")));
            if (v == 21 && r.wheel)
                largest.push_back(*r.wheel);
        }
    for (const Wheel &w : largest) {
        const Timing t = timeRuns(3, [&] { WheelOdds::of(w); });
        printRow(QStringLiteral("exact odds, %1 tickets %2/%3").arg(w.tickets.size()).arg(w.guarantee.match).arg(w.guarantee.drawn),
                 QStringLiteral("pool 21"), t, 1000);
    }
    return 0;
}
