#include "gui/figures/HitDistributionChart.h"

#include "gui/figures/ChartFigure.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>

#include "gui/figures/ChartTitle.h"

#include <algorithm>

HitDistributionChart::HitDistributionChart(QWidget *parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void HitDistributionChart::setSummary(const Backtest::MethodSummary &summary, const QString &method) {
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    setChartTitle(this, QStringLiteral("当たり数の分布"), method);

    auto *observed = new QBarSet(QStringLiteral("実績"));
    observed->setColor(QColor(62, 158, 255));
    auto *chance = new QBarSet(QStringLiteral("偶然の期待値"));
    chance->setColor(QColor(190, 190, 190));
    QStringList categories;
    double top = 1;
    for (int h = 0; h <= HitStatistics::kMaxHits; ++h) {
        observed->append(summary.distribution[std::size_t(h)]);
        chance->append(summary.expectedDistribution[std::size_t(h)]);
        top =
            std::max({top, double(summary.distribution[std::size_t(h)]), summary.expectedDistribution[std::size_t(h)]});
        categories << QString::number(h);
    }
    auto *series = new QBarSeries;
    series->append(observed);
    series->append(chance);
    c->addSeries(series);

    auto *x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(QStringLiteral("本数字の当たり数"));
    attachCountAxes(*c, *series, x, top);
}
