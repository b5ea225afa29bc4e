#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

// Runs a piece of work several times and reports its median, minimum and maximum.
struct Timing {
    double median = 0, min = 0, max = 0; // milliseconds
};

inline Timing summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

inline Timing timeRuns(int runs, const std::function<void()> &work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return summarise(std::move(ms));
}

// One row of the results table; a target of 0 means the row has no pass mark of its own.
inline void printRow(const QString &what, const QString &size, const Timing &t, double targetMs,
                     const QString &extra = QString()) {
    QTextStream out(stdout);
    const QString mark = targetMs > 0 ? QStringLiteral("< %1 ms %2").arg(targetMs).arg(t.median < targetMs ? "PASS" : "FAIL")
                                      : QStringLiteral("-");
    out << QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |")
               .arg(what, size, QString::number(t.median, 'f', 2), QString::number(t.min, 'f', 2),
                    QString::number(t.max, 'f', 2), mark, extra)
        << Qt::endl;
}
