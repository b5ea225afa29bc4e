#include "gui/grid/ResultGridPainter.h"

#include <QPainter>

#include <algorithm>

namespace {
// Room a text keeps from the lines on either side of it, so that it never touches them.
constexpr int kTextPadding = 2;

// What a cell's text is centred by: the digits that most cells show. Centring the font's whole
// line height instead leaves them high, since it counts room for accents and descenders.
QRect inkOf(const QFontMetrics &metrics) {
    return metrics.tightBoundingRect(QStringLiteral("0123456789"));
}

// The baseline that centres that ink between a cell's top line, its own first pixel row, and
// the line below it, which is the next cell's.
int centredBaseline(const QRect &ink, int top, int height) {
    return top + 1 + (height - 1 - ink.height()) / 2 - ink.top();
}

// Fills rectangles, changing the painter's brush only when the colour changes. A PDF or a
// printer records every change of state, and a grid of many thousand cells in a few colours
// would otherwise write one per rectangle.
class Filler {
public:
    explicit Filler(QPainter &painter) : m_painter(painter) { m_painter.setPen(Qt::NoPen); }
    void fill(const QRect &rect, Rgb colour) {
        if (!m_brush || !(colour == m_colour)) {
            m_colour = colour;
            m_brush = true;
            m_painter.setBrush(toQColor(colour));
        }
        m_painter.drawRect(rect);
    }

private:
    QPainter &m_painter;
    Rgb m_colour{};
    bool m_brush = false;
};
} // namespace

const ResultGrid &ResultGridPainter::emptyGrid() {
    static const ResultGrid none;
    return none;
}

ResultGridPainter::ResultGridPainter(const QFont &font) : m_grid(&emptyGrid()), m_font(font), m_metrics(font) {
    setFont(font);
}

void ResultGridPainter::setGrid(const ResultGrid *grid) {
    m_grid = grid ? grid : &emptyGrid();
    updateGeometry();
}

void ResultGridPainter::setFont(const QFont &font) {
    m_font = font;
    m_metrics = QFontMetrics(font);
    // A width unit is a third more than the average character width: the analysis windows'
    // sizes were laid out for grids of that scale (each grid then just fills its window), and
    // the headings the analyses write into their columns fit at it.
    m_unitWidth = std::max(1, m_metrics.averageCharWidth()) * 4.0 / 3.0;
    m_lineHeight = m_metrics.height() + 1;
    m_ink = inkOf(m_metrics);
    m_widths.clear();
    updateGeometry();
}

QFont ResultGridPainter::fittedFont(const QString &text, int room) const {
    QFont font = m_font;
    const int width = textWidth(text);
    if (width <= room || width <= 0)
        return font;
    const bool points = font.pointSizeF() > 0;
    const double full = points ? font.pointSizeF() : font.pixelSize();
    const double smallest = full * kSmallestTextScale;
    auto setSize = [&](double size) {
        if (points)
            font.setPointSizeF(size);
        else
            font.setPixelSize(std::max(1, int(size)));
    };
    // Hinted glyphs do not narrow exactly in proportion to the size: from the proportional
    // size, step down until the text fits.
    for (double size = std::max(smallest, full * room / width);; size = std::max(smallest, size - full / 20)) {
        setSize(size);
        if (size <= smallest || QFontMetrics(font).horizontalAdvance(text) <= room)
            return font;
    }
}

int ResultGridPainter::textWidth(const QString &text) const {
    // A grid repeats a few texts many times over; shaping each once matters for a long printout.
    auto it = m_widths.constFind(text);
    if (it == m_widths.cend())
        it = m_widths.insert(text, m_metrics.horizontalAdvance(text));
    return *it;
}

int ResultGridPainter::columnWidth(int column) const {
    return std::max(0, qRound(m_grid->columnWidth(column) * m_unitWidth));
}

int ResultGridPainter::rowHeight(int row) const {
    return std::max(0, qRound(m_grid->rowHeight(row) * m_lineHeight / 10.0));
}

void ResultGridPainter::updateGeometry() {
    m_colEdge.assign(std::size_t(m_grid->columns()) + 1, 0);
    for (int c = 1; c <= m_grid->columns(); ++c)
        m_colEdge[c] = m_colEdge[c - 1] + columnWidth(c);
    m_rowEdge.assign(std::size_t(m_grid->rows()) + 1, 0);
    for (int r = 1; r <= m_grid->rows(); ++r)
        m_rowEdge[r] = m_rowEdge[r - 1] + rowHeight(r);
}

std::pair<int, int> ResultGridPainter::textColumns(int column, int row) const {
    const GridCell &cell = m_grid->cell(column, row);
    if (cell.text.isEmpty() || !m_grid->overflow())
        return {column, column};
    const int needed = textWidth(cell.text) + 2 * kTextPadding;
    auto isEmpty = [&](int c) { return c >= 1 && c <= m_grid->columns() && m_grid->cell(c, row).text.isEmpty(); };
    int first = column, last = column;
    if (cell.align == Align::Left) {
        for (int room = columnWidth(column); room < needed && isEmpty(last + 1);)
            room += columnWidth(++last);
    } else {
        // A centred text spreads evenly to both sides, each side as far as its empty cells go.
        const int spill = (needed - columnWidth(column) + 1) / 2;
        for (int room = 0; room < spill && isEmpty(first - 1);)
            room += columnWidth(--first);
        for (int room = 0; room < spill && isEmpty(last + 1);)
            room += columnWidth(++last);
    }
    return {first, last};
}

bool ResultGridPainter::textCutOff(int column, int row) const {
    return !m_grid->cell(column, row).text.isEmpty() && placeText(column, row).cut;
}

ResultGridPainter::TextPlace ResultGridPainter::placeText(int c, int r) const {
    const GridCell &cell = m_grid->cell(c, r);
    const auto [first, last] = textColumns(c, r);
    const int spanLeft = m_colEdge[first - 1], spanEnd = m_colEdge[last];
    const bool alignLeft = cell.align == Align::Left;
    // Left-aligned after the padding; centred on its own cell, and when it is wider than the
    // room it has, from its beginning after the padding.
    const int centre = m_colEdge[c - 1] + (columnWidth(c) + 1) / 2;
    auto xFor = [&](int width) {
        return alignLeft ? spanLeft + kTextPadding : std::max(spanLeft + kTextPadding, centre - width / 2);
    };

    TextPlace place{cell.text, m_font};
    const int width = textWidth(cell.text);
    place.x = xFor(width);
    const int usable = spanEnd - kTextPadding;
    place.clipped = place.x + width > usable;
    if (!place.clipped)
        return place;
    // Spaces before and after place a heading over its band: only what shows has to fit.
    const QString shown = cell.text.trimmed();
    if (shown.isEmpty())
        return place;
    const int lead = int(cell.text.indexOf(shown.front()));
    const int shownLeft = place.x + textWidth(cell.text.left(lead));
    if (shownLeft >= spanLeft + kTextPadding && shownLeft + textWidth(shown) <= usable)
        return place;
    // What shows is drawn smaller until it fits; below the smallest size it is cut.
    const int room = usable - spanLeft - kTextPadding;
    place.text = shown;
    place.font = fittedFont(shown, room);
    place.shrunk = place.font != m_font;
    const int shownWidth = place.shrunk ? QFontMetrics(place.font).horizontalAdvance(shown) : textWidth(shown);
    place.x = xFor(shownWidth);
    place.clipped = place.cut = place.x + shownWidth > usable;
    return place;
}

void ResultGridPainter::paintPane(QPainter &painter, const Pane &pane, const QRect &selection,
                                  const QColor &tint) const {
    if (pane.col1 > pane.col2 || pane.row1 > pane.row2 || pane.clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(pane.clip, Qt::IntersectClip);
    painter.setFont(m_font);
    const int x0 = pane.origin.x(), y0 = pane.origin.y();
    Filler backgrounds(painter);
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int y = y0 + m_rowEdge[r - 1], h = rowHeight(r);
        // Neighbours of one colour in one rectangle.
        for (int c = pane.col1; c <= pane.col2;) {
            const Rgb back = m_grid->cell(c, r).back;
            int last = c;
            while (last < pane.col2 && m_grid->cell(last + 1, r).back == back)
                ++last;
            backgrounds.fill(QRect(x0 + m_colEdge[c - 1], y, m_colEdge[last] - m_colEdge[c - 1], h), back);
            c = last + 1;
        }
    }
    const QRect selected =
        selection.intersected(QRect(pane.col1, pane.row1, pane.col2 - pane.col1 + 1, pane.row2 - pane.row1 + 1));
    if (!selected.isEmpty()) {
        const int x1 = x0 + m_colEdge[selected.left() - 1], y1 = y0 + m_rowEdge[selected.top() - 1];
        const int x2 = x0 + m_colEdge[selected.right()], y2 = y0 + m_rowEdge[selected.bottom()];
        painter.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), tint);
    }
    paintTexts(painter, pane);
    paintBorders(painter, pane);
    painter.restore();
}

void ResultGridPainter::paintText(QPainter &painter, const Pane &pane, int c, int r) const {
    const TextPlace place = placeText(c, r);
    const auto [first, last] = textColumns(c, r);
    const int y = pane.origin.y() + m_rowEdge[r - 1], h = rowHeight(r);
    painter.setPen(toQColor(m_grid->cell(c, r).fore));
    const int base = centredBaseline(place.shrunk ? inkOf(QFontMetrics(place.font)) : m_ink, y, h);
    const QPoint at(pane.origin.x() + place.x, base);
    if (!place.shrunk && !place.clipped) {
        painter.drawText(at, place.text);
        return;
    }
    painter.save();
    painter.setFont(place.font);
    if (place.clipped)
        painter.setClipRect(QRect(pane.origin.x() + m_colEdge[first - 1], y, m_colEdge[last] - m_colEdge[first - 1], h),
                            Qt::IntersectClip);
    painter.drawText(at, place.text);
    painter.restore();
}

void ResultGridPainter::paintTexts(QPainter &painter, const Pane &pane) const {
    // A text may run over empty cells of its own pane only.
    for (int r = pane.row1; r <= pane.row2; ++r) {
        // Texts outside the painted columns may still run into them, from either side.
        if (m_grid->overflow()) {
            for (int c = pane.col1 - 1; c >= pane.spanFirst; --c) {
                if (m_grid->cell(c, r).text.isEmpty())
                    continue;
                if (textColumns(c, r).second >= pane.col1)
                    paintText(painter, pane, c, r);
                break;
            }
            for (int c = pane.col2 + 1; c <= pane.spanLast; ++c) {
                if (m_grid->cell(c, r).text.isEmpty())
                    continue;
                if (textColumns(c, r).first <= pane.col2)
                    paintText(painter, pane, c, r);
                break;
            }
        }
        for (int c = pane.col1; c <= pane.col2; ++c)
            if (!m_grid->cell(c, r).text.isEmpty())
                paintText(painter, pane, c, r);
    }
}

void ResultGridPainter::paintBorders(QPainter &painter, const Pane &pane) const {
    // A cell's left and top lines lie on its own first column and row of pixels, its right and
    // bottom lines on the neighbour's, so adjacent cells share one line.
    Filler lines(painter);
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int y = pane.origin.y() + m_rowEdge[r - 1], h = rowHeight(r);
        for (int c = pane.col1; c <= pane.col2; ++c) {
            const BorderSides &sides = m_grid->cell(c, r).borders();
            const int x = pane.origin.x() + m_colEdge[c - 1], w = columnWidth(c);
            if (const auto &s = sides[GridCell::LeftIndex])
                lines.fill(QRect(x, y, 1, h + 1), *s);
            if (const auto &s = sides[GridCell::RightIndex])
                lines.fill(QRect(x + w, y, 1, h + 1), *s);
            if (const auto &s = sides[GridCell::TopIndex])
                lines.fill(QRect(x, y, w + 1, 1), *s);
            if (const auto &s = sides[GridCell::BottomIndex])
                lines.fill(QRect(x, y + h, w + 1, 1), *s);
        }
    }
}
