#pragma once

#include "gui/figures/ChartFigure.h"
#include "gui/print/FigureKit.h"

#include <QChartView>

// The running total of main hits minus what chance expects, draw after draw, inside the band
// of two standard deviations that luck alone stays in about 95 % of the time.
class CumulativeHitsChart : public QChartView, public CumulativeHitsFigure {
    Q_OBJECT
public:
    explicit CumulativeHitsChart(QWidget *parent = nullptr);
    void setPoints(const std::vector<Backtest::CumulativePoint> &points, const QString &method) override;
    QWidget *widget() override { return this; }
    PrintDocument::Figure printed(const QSizeF &size) override { return chartFigure(*this, size); }
};
