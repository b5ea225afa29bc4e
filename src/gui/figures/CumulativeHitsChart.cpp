#include "gui/figures/CumulativeHitsChart.h"

#include "gui/figures/ChartFigure.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include "gui/figures/ChartTitle.h"

#include <algorithm>
#include <cmath>

CumulativeHitsChart::CumulativeHitsChart(QWidget *parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void CumulativeHitsChart::setPoints(const std::vector<Backtest::CumulativePoint> &points, const QString &method) {
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    setChartTitle(this, QStringLiteral("当たりの累計 − 期待値"), method);

    auto *upper = new QLineSeries;
    auto *lower = new QLineSeries;
    auto *excess = new QLineSeries;
    excess->setName(QStringLiteral("実績 − 期待値"));
    double low = -1, high = 1;
    for (const Backtest::CumulativePoint &p : points) {
        upper->append(p.drawNumber, p.twoSigma);
        lower->append(p.drawNumber, -p.twoSigma);
        excess->append(p.drawNumber, p.excess);
        low = std::min({low, p.excess, -p.twoSigma});
        high = std::max({high, p.excess, p.twoSigma});
    }
    auto *band = new QAreaSeries(upper, lower);
    // The area series does not own its edges; they go with it when the chart removes it.
    upper->setParent(band);
    lower->setParent(band);
    band->setName(QStringLiteral("偶然の範囲 (±2σ)"));
    band->setColor(QColor(200, 200, 200, 140));
    band->setBorderColor(QColor(170, 170, 170));
    excess->setColor(QColor(220, 40, 40));
    c->addSeries(band);
    c->addSeries(excess);

    auto *x = new QValueAxis;
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("回"));
    if (points.empty())
        x->setRange(0, 1);
    else
        x->setRange(points.front().drawNumber, std::max(points.back().drawNumber, points.front().drawNumber + 1));
    auto *y = new QValueAxis;
    const double margin = (high - low) * 0.05;
    y->setRange(low - margin, high + margin);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("期待値との差（個）"));
    attachAxes(*c, x, y, {band, excess});
}
