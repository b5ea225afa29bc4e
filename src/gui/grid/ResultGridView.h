#pragma once

#include "core/grid/ResultGrid.h"
#include "gui/grid/ResultGridPainter.h"

#include <QAbstractScrollArea>
#include <QRect>

#include <utility>
#include <vector>

// Shows a ResultGrid read-only, the way the analysis windows present their results: no headers,
// frozen leading rows and columns, per-cell borders, long texts running over empty
// neighbours (the drawing is ResultGridPainter's). The scroll bars move by whole rows and
// columns. The user may select cells with the mouse (a click on a frozen heading selects its
// row or column) and copy them (Ctrl+C) as tab-separated text and as a coloured HTML table.
// The context menu offers copying, and printing and saving as CSV when the window listens for
// them.
class ResultGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget *parent = nullptr);

    void setGrid(ResultGrid grid);
    const ResultGrid &grid() const { return m_grid; }

    int columnWidthPixels(int column) const { return m_painter.columnWidth(column); }
    int rowHeightPixels(int row) const { return m_painter.rowHeight(row); }
    // Where the cell is drawn in the viewport now; an empty rectangle when it is scrolled away.
    QRect cellRect(int column, int row) const;
    // The cell under a viewport position; (0, 0) when there is none.
    QPoint cellAt(const QPoint &pos) const;
    // The first and last column the text of a cell covers. In a grid that allows overflow a text
    // wider than its cell runs over empty neighbours, as far as it needs and up to the next cell
    // holding text: to the right when left-aligned, evenly to both sides when centred.
    std::pair<int, int> textColumns(int column, int row) const;

    // Leading scrollable column and row shown right after the frozen ones (counted from 1).
    int firstScrollableColumn() const;
    int firstScrollableRow() const;
    void scrollTo(int column, int row);

    // Selected cells as (column, row, width, height); empty when nothing is selected.
    QRect selection() const { return m_selection; }
    void setSelection(const QRect &cells);
    // What a copy takes: the selection, or the whole grid when nothing is selected.
    QRect copiedCells() const;
    QString selectedText() const;
    void copySelection() const;

    const ResultGridPainter &painter() const { return m_painter; }
    // Fixes the view to the size of its whole sheet, without scroll bars: for small grids such as
    // a summary, always shown whole.
    void fitWholeSheet();

    // Shows the grid's visible area (at most the whole sheet) with nothing under a scroll bar: a
    // bar is counted only where the sheet goes on beyond that area.
    QSize sizeHint() const override;
    // Its frozen headings beside the largest of the other cells, with the bars: any cell can be
    // scrolled into view whole.
    QSize minimumSizeHint() const override;
    // The size to take inside room: no larger than the whole sheet needs, since a larger view
    // would only add an empty band before its scroll bars.
    QSize fittedSize(const QSize &room) const;

signals:
    // The context menu's "印刷..." and "CSVで保存..."; offered only while something listens.
    void printRequested();
    void saveCsvRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // What a press on a cell selects while the mouse moves on: cells, whole columns (a press on
    // a frozen heading row) or whole rows (on a frozen heading column).
    enum class SelectBy { Cells, Columns, Rows };

    void updateMetrics();
    void updateScrollBars();
    // The widths of the vertical and horizontal bar that the sheet needs inside outer (0: none).
    QSize barsNeeded(const QSize &outer) const;
    int scrollOffsetX() const;
    int scrollOffsetY() const;
    int columnLeft(int column) const; // viewport x
    int rowTop(int row) const;        // viewport y
    const std::vector<int> &colEdge() const { return m_painter.columnEdges(); }
    const std::vector<int> &rowEdge() const { return m_painter.rowEdges(); }
    int frozenWidth() const { return colEdge()[m_frozenColumns]; }
    int frozenHeight() const { return rowEdge()[m_frozenRows]; }
    int lastVisibleColumn(int first) const;
    int lastVisibleRow(int first) const;
    void extendSelection(const QPoint &cell);

    ResultGrid m_grid;
    ResultGridPainter m_painter;
    int m_frozenColumns = 0, m_frozenRows = 0;
    QRect m_selection;
    QPoint m_anchor;
    SelectBy m_selectBy = SelectBy::Cells;
};
