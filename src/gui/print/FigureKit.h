#pragma once

#include "core/backtest/Backtest.h"
#include "core/check/PrizeListGrid.h"
#include "core/print/PrintDocument.h"
#include "core/theory/TheoryComparison.h"

#include <QSizeF>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QWidget;

// The charts (Qt Charts) and the print preview (Qt Print Support) live in a module of their own,
// gui/figures, loaded the first time a window needs one of them. The program starts without
// mapping and relocating those libraries, which its first window does not use. The windows see
// them only through these interfaces.

// A chart in a window: the widget to lay out (it owns the chart), and the chart as a figure on
// paper, laid out afresh at size (page units) whatever its size on screen.
class Figure {
public:
    virtual QWidget *widget() = 0;
    virtual PrintDocument::Figure printed(const QSizeF &size) = 0;

protected:
    ~Figure() = default; // deleted as its widget
};

class HitDistributionFigure : public Figure {
public:
    virtual void setSummary(const Backtest::MethodSummary &summary, const QString &method) = 0;
};
class CumulativeHitsFigure : public Figure {
public:
    virtual void setPoints(const std::vector<Backtest::CumulativePoint> &points, const QString &method) = 0;
};
class PrizeFigure : public Figure {
public:
    virtual void setPoints(const std::vector<PrizeListGrid::ChartPoint> &points) = 0;
};
class TheoryFigure : public Figure {
public:
    virtual void setTable(const TheoryTable &table) = 0;
};

// What a print preview shows, in the terms of whoever opens it.
class PreviewPages {
public:
    virtual ~PreviewPages() = default;
    virtual QString caption() const = 0;
    virtual void setDefaultPageLayout(QPagedPaintDevice &device) const = 0;
    virtual void print(QPagedPaintDevice &device) const = 0;
    // GridPrinter's scale: kFitWidth or a factor.
    virtual void setScale(double scale) = 0;
};

class FigureKit {
public:
    virtual ~FigureKit() = default;
    virtual HitDistributionFigure *hitDistribution(QWidget *parent) = 0;
    virtual CumulativeHitsFigure *cumulativeHits(QWidget *parent) = 0;
    virtual PrizeFigure *prizes(QWidget *parent) = 0;
    virtual TheoryFigure *theory(QWidget *parent) = 0;
    // The modal print preview; returns when it is closed.
    virtual void printPreview(PreviewPages &pages, QWidget *parent) = 0;

    // The module, loaded once. Without it the charts are replaced by a line saying why, and a
    // print preview by a message: the rest of a window still works.
    static FigureKit &instance();
};

// The function the module exports, by its unmangled name.
using FigureKitEntry = FigureKit *(*)();
inline constexpr const char *kFigureKitEntry = "nanazubarioFigureKit";
