#pragma once

#include "analysis/ResultGrid.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QRect>

#include <utility>
#include <vector>

class QPainter;

inline QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Shows a ResultGrid read-only, the way the analysis windows present their results: no headers,
// frozen leading rows and columns, per-cell borders, long texts running over empty
// neighbours. The scroll bars move by whole rows and columns. The user may select cells with
// the mouse and copy them (Ctrl+C) as tab-separated text.
//
// Grid units: a column width unit is a third more than the average character width of the
// font; a row height of 10 is one text line plus a small margin, other heights in proportion.
class ResultGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget *parent = nullptr);

    void setGrid(ResultGrid grid);
    const ResultGrid &grid() const { return m_grid; }

    int columnWidthPixels(int column) const;
    int rowHeightPixels(int row) const;
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
    QString selectedText() const;
    void copySelection() const;

    // Shows the grid's visible area (at most the whole sheet) with nothing under a scroll bar: a
    // bar is counted only where the sheet goes on beyond that area.
    QSize sizeHint() const override;
    // The size to take inside room: no larger than the whole sheet needs, since a larger view
    // would only add an empty band before its scroll bars.
    QSize fittedSize(const QSize &room) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    struct Pane {
        int col1, col2, row1, row2; // cells drawn, inclusive (empty when first > last)
        QRect clip;
    };

    void updateMetrics();
    void updateScrollBars();
    // The widths of the vertical and horizontal bar that the sheet needs inside outer (0: none).
    QSize barsNeeded(const QSize &outer) const;
    int scrollOffsetX() const;
    int scrollOffsetY() const;
    int columnLeft(int column) const; // viewport x
    int rowTop(int row) const;        // viewport y
    int frozenWidth() const { return m_colEdge[m_frozenColumns]; }
    int frozenHeight() const { return m_rowEdge[m_frozenRows]; }
    int lastVisibleColumn(int first) const;
    int lastVisibleRow(int first) const;
    void paintPane(QPainter &painter, const Pane &pane);
    void paintTexts(QPainter &painter, const Pane &pane);
    void paintBorders(QPainter &painter, const Pane &pane);
    void extendSelection(const QPoint &cell);

    ResultGrid m_grid;
    std::vector<int> m_colEdge; // m_colEdge[c]: sheet x just right of column c; m_colEdge[0] = 0
    std::vector<int> m_rowEdge;
    int m_frozenColumns = 0, m_frozenRows = 0;
    double m_unitWidth = 1;
    int m_lineHeight = 1;
    QRect m_selection;
    QPoint m_anchor;
};
