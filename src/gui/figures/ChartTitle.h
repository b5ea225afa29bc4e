#pragma once

#include <QChart>
#include <QChartView>
#include <QFontMetrics>

#include <algorithm>

// A chart's title in two lines, what it shows above the method it shows it for, and a chart
// never narrower than its title, so that no part of it is cut.
inline void setChartTitle(QChartView *view, const QString &what, const QString &method) {
    QChart *chart = view->chart();
    chart->setTitle(what.toHtmlEscaped() + QStringLiteral("<br>") + method.toHtmlEscaped());
    const QFontMetrics metrics(chart->titleFont());
    const int widest = std::max(metrics.horizontalAdvance(what), metrics.horizontalAdvance(method));
    view->setMinimumWidth(widest + 4 * metrics.averageCharWidth());
}
