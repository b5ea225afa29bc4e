#pragma once

#include "core/backtest/Backtest.h"

#include <QChartView>

// The running total of main hits minus what chance expects, draw after draw, inside the band
// of two standard deviations that luck alone stays in about 95 % of the time.
class CumulativeHitsChart : public QChartView {
    Q_OBJECT
public:
    explicit CumulativeHitsChart(QWidget *parent = nullptr);
    void setPoints(const std::vector<Backtest::CumulativePoint> &points, const QString &method);
};
