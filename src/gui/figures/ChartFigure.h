#pragma once

#include "core/print/PrintDocument.h"

#include <initializer_list>

class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QChartView;

// A chart as a printed figure, laid out afresh at size (page units) whatever its size on
// screen, in a picture fine enough for paper.
PrintDocument::Figure chartFigure(QChartView &view, const QSizeF &size);

// x below and y on the left of the chart, each of the series drawn against both.
void attachAxes(QChart &chart, QAbstractAxis *x, QAbstractAxis *y, std::initializer_list<QAbstractSeries *> series);

// The axes of a bar chart of counts: x below as given, and on the left whole 回数 from 0 to a
// little above top, so that the tallest bar never touches the frame.
void attachCountAxes(QChart &chart, QAbstractSeries &series, QAbstractAxis *x, double top);
