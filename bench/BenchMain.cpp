// In-process benchmarks of the program's own code, on two histories (the real one and a long
// synthetic one). Prints rows of the results table; bench/run adds the whole-process rows.
//   nanazubario-bench core|gui|memory SMALL_DB LARGE_DB
#include "BenchTable.h"

#include "analysis/AnalysisCatalog.h"
#include "history/DrawHistory.h"
#include "history/DrawStore.h"

#include <QApplication>

#include <cstdio>

namespace {
constexpr int kRuns = 7;
constexpr double kWindowTargetMs = 100.0;
constexpr double kMaxRatio = 10.0;

DrawHistory loadOrDie(const QString &path) {
    StoreError error;
    std::optional<DrawHistory> history = loadDrawHistory(ConnectionString::forDatabase(path), error);
    if (!history) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message));
        std::exit(1);
    }
    return *history;
}

QString sizeLabel(const DrawHistory &h) { return QStringLiteral("%1 draws").arg(h.records().size()); }

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
        const Timing ts = timeRuns(kRuns, [&] { e.grids(small, options); });
        const Timing tl = timeRuns(kRuns, [&] { e.grids(large, options); });
        const double ratio = tl.median / std::max(ts.median, 1e-6);
        printRow(QStringLiteral("build %1").arg(e.formName), sizeLabel(small), ts, 0);
        printRow(QStringLiteral("build %1").arg(e.formName), sizeLabel(large), tl, 0,
                 QStringLiteral("ratio %1 (< %2 %3)")
                     .arg(ratio, 0, 'f', 1)
                     .arg(kMaxRatio)
                     .arg(ratio < kMaxRatio ? "PASS" : "FAIL"));
    }
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: nanazubario-bench core|gui|memory SMALL_DB LARGE_DB\n");
        return 2;
    }
    if (args[1] == QLatin1String("core"))
        benchCore(args[2], args[3]);
    return 0;
}
