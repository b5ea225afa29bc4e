#pragma once

#include "core/theory/TheoryComparison.h"

#include <QChartView>

// Bars of one table of 理論との比較: what was drawn beside what chance alone predicts, for
// every category.
class TheoryChart : public QChartView {
    Q_OBJECT
public:
    explicit TheoryChart(QWidget *parent = nullptr);
    void setTable(const TheoryTable &table);
};
