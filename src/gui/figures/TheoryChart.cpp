#include "gui/figures/TheoryChart.h"

#include "gui/figures/ChartFigure.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>

#include <algorithm>

namespace {
// Categories a chart names one by one; beyond them only some are named.
constexpr int kAllLabelled = 25;
} // namespace

TheoryChart::TheoryChart(QWidget *parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void TheoryChart::setTable(const TheoryTable &table) {
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    c->setTitle(table.name);

    auto *observed = new QBarSet(QStringLiteral("実績"));
    observed->setColor(QColor(62, 158, 255));
    auto *expected = new QBarSet(QStringLiteral("偶然の期待値"));
    expected->setColor(QColor(190, 190, 190));
    double top = 1;
    for (std::size_t i = 0; i < table.observed.size(); ++i) {
        observed->append(table.observed[i]);
        expected->append(table.expected[i]);
        top = std::max({top, double(table.observed[i]), table.expected[i]});
    }
    auto *series = new QBarSeries;
    series->append(observed);
    series->append(expected);
    c->addSeries(series);

    QAbstractAxis *x = nullptr;
    const int n = int(table.categories.size());
    if (n > kAllLabelled) {
        // Too many to name each: the first, every fifth and the last, under their bars.
        auto *some = new QCategoryAxis;
        some->setRange(-0.5, n - 0.5);
        some->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (int i = 0; i < n; ++i)
            if (i == 0 || i == n - 1 || (i + 1) % 5 == 0)
                some->append(table.categories[i], i);
        some->setGridLineVisible(false);
        x = some;
    } else {
        auto *all = new QBarCategoryAxis;
        all->append(table.categories);
        // The bands of the sums fit only standing upright, in a smaller hand.
        if (n > 10) {
            QFont small = all->labelsFont();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            all->setLabelsFont(small);
            all->setLabelsAngle(-90);
        }
        x = all;
    }
    attachCountAxes(*c, *series, x, top);
}
