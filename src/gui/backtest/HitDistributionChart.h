#pragma once

#include "core/backtest/Backtest.h"

#include <QChartView>

// Bars of how many draws a method hit 0..7 main numbers, beside what random sets of the same
// sizes would give.
class HitDistributionChart : public QChartView {
    Q_OBJECT
public:
    explicit HitDistributionChart(QWidget *parent = nullptr);
    void setSummary(const Backtest::MethodSummary &summary, const QString &method);
};
