#pragma once

#include "core/grid/ResultGrid.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPoint>
#include <QRect>

#include <utility>
#include <vector>

class QPainter;

inline QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// How a ResultGrid looks: the size of every cell in pixels of a font, and the painting of any
// rectangle of cells. The window and the printed page both draw through it, so a printout
// looks like the screen.
//
// Grid units: a column width unit is a third more than the average character width of the
// font; a row height of 10 is one text line plus a small margin, other heights in proportion.
class ResultGridPainter {
public:
    explicit ResultGridPainter(const QFont &font = QFont());

    // The painter keeps a pointer: the grid must outlive it or be set again.
    void setGrid(const ResultGrid *grid);
    void setFont(const QFont &font);
    const ResultGrid &grid() const { return *m_grid; }
    const QFont &font() const { return m_font; }
    const QFontMetrics &fontMetrics() const { return m_metrics; }

    int columnWidth(int column) const;
    int rowHeight(int row) const;
    // edges[c]: x just right of column c, from the sheet's left edge; edges[0] = 0. Rows alike.
    const std::vector<int> &columnEdges() const { return m_colEdge; }
    const std::vector<int> &rowEdges() const { return m_rowEdge; }

    // The first and last column the text of a cell covers. In a grid that allows overflow a text
    // wider than its cell runs over empty neighbours, as far as it needs and up to the next cell
    // holding text: to the right when left-aligned, evenly to both sides when centred.
    std::pair<int, int> textColumns(int column, int row) const;
    // Whether the text of a cell is cut off by the room it has, even drawn as small as it may be.
    bool textCutOff(int column, int row) const;
    // The font a text is drawn in when it has room pixels: the painter's own when it fits, else
    // smaller until it fits, but never below kSmallestTextScale of it (then the text is cut).
    static constexpr double kSmallestTextScale = 0.6;
    QFont fittedFont(const QString &text, int room) const;
    // Where and how a cell's text is drawn, x from the sheet's left edge.
    struct TextPlace {
        QString text;
        QFont font;
        bool shrunk = false;
        int x = 0;
        bool clipped = false; // runs past the cells it may use (perhaps only with padding spaces)
        bool cut = false;     // some of what shows is lost even at the smallest size
    };
    TextPlace placeText(int column, int row) const;

    // A rectangle of cells drawn in one piece.
    struct Pane {
        int col1, col2, row1, row2; // cells painted, inclusive (nothing when first > last)
        int spanFirst, spanLast;    // the columns texts may run over (the pane's part of the sheet)
        QPoint origin;              // where the sheet's top-left corner lies on the device
        QRect clip;
    };
    // Backgrounds, then the tint of the selected cells, then texts, then lines, so that no
    // neighbour's background covers a line.
    void paintPane(QPainter &painter, const Pane &pane, const QRect &selection = QRect(),
                   const QColor &tint = QColor()) const;

private:
    void updateGeometry();
    int textWidth(const QString &text) const;
    void paintTexts(QPainter &painter, const Pane &pane) const;
    void paintText(QPainter &painter, const Pane &pane, int column, int row) const;
    void paintBorders(QPainter &painter, const Pane &pane) const;

    static const ResultGrid &emptyGrid();

    const ResultGrid *m_grid;
    QFont m_font;
    QFontMetrics m_metrics;
    double m_unitWidth = 1;
    int m_lineHeight = 1;
    QRect m_ink; // the inked box of the digits in the font, around the baseline
    std::vector<int> m_colEdge{0};
    std::vector<int> m_rowEdge{0};
    mutable QHash<QString, int> m_widths; // textWidth's: by text, in the current font
};
