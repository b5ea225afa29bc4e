#pragma once

#include "gui/figures/ChartFigure.h"
#include "gui/print/FigureKit.h"

#include <QChartView>

// The 1等 prize per winner and the carry-over, draw after draw, in 億円. A draw nobody won 1等
// in has no 1等 point: its prize went into the carry-over.
class PrizeChart : public QChartView, public PrizeFigure {
    Q_OBJECT
public:
    explicit PrizeChart(QWidget *parent = nullptr);
    void setPoints(const std::vector<PrizeListGrid::ChartPoint> &points) override;
    QWidget *widget() override { return this; }
    PrintDocument::Figure printed(const QSizeF &size) override { return chartFigure(*this, size); }
};
