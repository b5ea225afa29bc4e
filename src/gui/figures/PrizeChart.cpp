#include "gui/figures/PrizeChart.h"

#include "gui/figures/ChartFigure.h"

#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace {
constexpr double kOku = 1e8; // 1億円
} // namespace

PrizeChart::PrizeChart(QWidget *parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void PrizeChart::setPoints(const std::vector<PrizeListGrid::ChartPoint> &points) {
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    c->setTitle(points.empty() ? QStringLiteral("1等の当せん金とキャリーオーバーの推移（当せん金のデータがありません）")
                               : QStringLiteral("1等の当せん金とキャリーオーバーの推移"));

    auto *first = new QScatterSeries;
    first->setName(QStringLiteral("1等（1口あたり）"));
    first->setMarkerSize(7);
    first->setColor(QColor(220, 40, 40));
    first->setBorderColor(QColor(220, 40, 40));
    auto *carryOver = new QLineSeries;
    carryOver->setName(QStringLiteral("キャリーオーバー"));
    carryOver->setColor(QColor(30, 100, 200));
    double high = 1;
    for (const PrizeListGrid::ChartPoint &p : points) {
        carryOver->append(p.drawNumber, double(p.carryOver) / kOku);
        high = std::max(high, double(p.carryOver) / kOku);
        if (p.firstPrize) {
            first->append(p.drawNumber, double(*p.firstPrize) / kOku);
            high = std::max(high, double(*p.firstPrize) / kOku);
        }
    }
    c->addSeries(carryOver);
    c->addSeries(first);

    auto *x = new QValueAxis;
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("回"));
    const int firstDraw = points.empty() ? 0 : points.front().drawNumber;
    const int lastDraw = std::max(points.empty() ? 1 : points.back().drawNumber, firstDraw + 1);
    x->setRange(firstDraw, lastDraw);
    // Ticks on whole draw numbers from the first draw, at most five of them, so that a label
    // always stands under its own draw however few draws there are.
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(firstDraw);
    x->setTickInterval(std::max(1, (lastDraw - firstDraw + 3) / 4));
    auto *y = new QValueAxis;
    y->setRange(0, high * 1.05);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%g"));
    y->setTitleText(QStringLiteral("億円"));
    attachAxes(*c, x, y, {carryOver, first});
}
