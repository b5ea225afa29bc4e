#pragma once

#include "gui/figures/ChartFigure.h"
#include "gui/print/FigureKit.h"

#include <QChartView>

// Bars of how many draws a method hit 0..7 main numbers, beside what random sets of the same
// sizes would give.
class HitDistributionChart : public QChartView, public HitDistributionFigure {
    Q_OBJECT
public:
    explicit HitDistributionChart(QWidget *parent = nullptr);
    void setSummary(const Backtest::MethodSummary &summary, const QString &method) override;
    QWidget *widget() override { return this; }
    PrintDocument::Figure printed(const QSizeF &size) override { return chartFigure(*this, size); }
};
