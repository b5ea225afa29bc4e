#pragma once

#include "core/print/PrintDocument.h"

class QChartView;

// A chart as a printed figure, laid out afresh at size (page units) whatever its size on
// screen, and recorded as lines and texts, so that it prints sharp at any resolution.
PrintDocument::Figure chartFigure(QChartView &view, const QSizeF &size);
