#pragma once

#include "core/print/PrintDocument.h"

class QChartView;

// A chart as a printed figure, laid out afresh at size (page units) whatever its size on
// screen, in a picture fine enough for paper.
PrintDocument::Figure chartFigure(QChartView &view, const QSizeF &size);
