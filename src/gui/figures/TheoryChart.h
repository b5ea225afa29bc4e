#pragma once

#include "gui/figures/ChartFigure.h"
#include "gui/print/FigureKit.h"

#include <QChartView>

// Bars of one table of 理論との比較: what was drawn beside what chance alone predicts, for
// every category.
class TheoryChart : public QChartView, public TheoryFigure {
    Q_OBJECT
public:
    explicit TheoryChart(QWidget *parent = nullptr);
    void setTable(const TheoryTable &table) override;
    QWidget *widget() override { return this; }
    PrintDocument::Figure printed(const QSizeF &size) override { return chartFigure(*this, size); }
};
