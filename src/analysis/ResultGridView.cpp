#include "analysis/ResultGridView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {
// Room between a left-aligned text and its cell's left line.
constexpr int kTextPadding = 2;

// Smallest k in [0, count] whose tail, from edge[base + k] to the end, fits into room.
int firstFittingStart(const std::vector<int> &edge, int base, int count, int room) {
    const int end = edge.back() + 1; // the closing line
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (end - edge[base + mid] <= room)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// How many whole entries, starting after edge[from], fit into room (at least one).
int entriesFitting(const std::vector<int> &edge, int from, int room) {
    const auto limit = std::upper_bound(edge.begin() + from, edge.end(), edge[from] + room);
    return std::max(1, int(limit - (edge.begin() + from)) - 1);
}
} // namespace

ResultGridView::ResultGridView(QWidget *parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateMetrics();
}

void ResultGridView::setGrid(ResultGrid grid) {
    m_grid = std::move(grid);
    m_selection = QRect();
    updateMetrics();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

int ResultGridView::columnWidthPixels(int column) const {
    return std::max(0, qRound(m_grid.columnWidth(column) * m_unitWidth));
}

int ResultGridView::rowHeightPixels(int row) const {
    return std::max(0, qRound(m_grid.rowHeight(row) * m_lineHeight / 10.0));
}

void ResultGridView::updateMetrics() {
    const QFontMetrics fm = fontMetrics();
    // A width unit is a third more than the average character width: the analysis windows'
    // sizes were laid out for grids of that scale (each grid then just fills its window), and
    // the headings the analyses write into their columns fit at it.
    m_unitWidth = std::max(1, fm.averageCharWidth()) * 4.0 / 3.0;
    m_lineHeight = fm.height() + 1;
    m_frozenColumns = std::clamp(m_grid.frozenColumns(), 0, m_grid.columns());
    m_frozenRows = std::clamp(m_grid.frozenRows(), 0, m_grid.rows());
    m_colEdge.assign(std::size_t(m_grid.columns()) + 1, 0);
    for (int c = 1; c <= m_grid.columns(); ++c)
        m_colEdge[c] = m_colEdge[c - 1] + columnWidthPixels(c);
    m_rowEdge.assign(std::size_t(m_grid.rows()) + 1, 0);
    for (int r = 1; r <= m_grid.rows(); ++r)
        m_rowEdge[r] = m_rowEdge[r - 1] + rowHeightPixels(r);
    updateScrollBars();
    updateGeometry();
}

QSize ResultGridView::barsNeeded(const QSize &outer) const {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sheetWidth = m_colEdge.back() + 1, sheetHeight = m_rowEdge.back() + 1;
    auto needed = [](Qt::ScrollBarPolicy policy, bool overflows) {
        return policy == Qt::ScrollBarAlwaysOn || (policy == Qt::ScrollBarAsNeeded && overflows);
    };
    // Each bar takes room from the other direction.
    bool vertical = needed(verticalScrollBarPolicy(), sheetHeight > outer.height());
    const bool horizontal = needed(horizontalScrollBarPolicy(), sheetWidth + (vertical ? bar : 0) > outer.width());
    vertical = vertical || needed(verticalScrollBarPolicy(), horizontal && sheetHeight + bar > outer.height());
    return {vertical ? bar : 0, horizontal ? bar : 0};
}

void ResultGridView::updateScrollBars() {
    // The room the bars that the sheet needs at this size leave, not the viewport's size of the
    // moment: the bars show and hide only after the ranges have been set.
    const int frame = 2 * frameWidth();
    const QSize outer = size() - QSize(frame, frame);
    const QSize bars = barsNeeded(outer);
    const QSize room = outer - QSize(bars.width(), bars.height());
    const int scrollColumns = m_grid.columns() - m_frozenColumns;
    const int scrollRows = m_grid.rows() - m_frozenRows;
    const int roomX = room.width() - frozenWidth();
    const int roomY = room.height() - frozenHeight();

    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, firstFittingStart(m_colEdge, m_frozenColumns, scrollColumns, roomX));
    h->setSingleStep(1);
    h->setPageStep(entriesFitting(m_colEdge, m_frozenColumns + h->value(), std::max(roomX, 0)));

    QScrollBar *v = verticalScrollBar();
    v->setRange(0, firstFittingStart(m_rowEdge, m_frozenRows, scrollRows, roomY));
    v->setSingleStep(1);
    v->setPageStep(entriesFitting(m_rowEdge, m_frozenRows + v->value(), std::max(roomY, 0)));
}

int ResultGridView::scrollOffsetX() const {
    const int first = std::min(m_frozenColumns + horizontalScrollBar()->value(), m_grid.columns());
    return m_colEdge[first] - frozenWidth();
}

int ResultGridView::scrollOffsetY() const {
    const int first = std::min(m_frozenRows + verticalScrollBar()->value(), m_grid.rows());
    return m_rowEdge[first] - frozenHeight();
}

int ResultGridView::firstScrollableColumn() const {
    return m_frozenColumns + horizontalScrollBar()->value() + 1;
}
int ResultGridView::firstScrollableRow() const {
    return m_frozenRows + verticalScrollBar()->value() + 1;
}

void ResultGridView::scrollTo(int column, int row) {
    horizontalScrollBar()->setValue(column - m_frozenColumns - 1);
    verticalScrollBar()->setValue(row - m_frozenRows - 1);
}

int ResultGridView::columnLeft(int column) const {
    return column <= m_frozenColumns ? m_colEdge[column - 1] : m_colEdge[column - 1] - scrollOffsetX();
}

int ResultGridView::rowTop(int row) const {
    return row <= m_frozenRows ? m_rowEdge[row - 1] : m_rowEdge[row - 1] - scrollOffsetY();
}

int ResultGridView::lastVisibleColumn(int first) const {
    // The last column whose left edge lies inside the viewport.
    const int limit = viewport()->width() + scrollOffsetX();
    const int index = int(std::lower_bound(m_colEdge.begin(), m_colEdge.end(), limit) - m_colEdge.begin());
    return std::max(first - 1, std::min(index, m_grid.columns()));
}

int ResultGridView::lastVisibleRow(int first) const {
    const int limit = viewport()->height() + scrollOffsetY();
    const int index = int(std::lower_bound(m_rowEdge.begin(), m_rowEdge.end(), limit) - m_rowEdge.begin());
    return std::max(first - 1, std::min(index, m_grid.rows()));
}

QRect ResultGridView::cellRect(int column, int row) const {
    if (!m_grid.contains(column, row))
        return {};
    if ((column > m_frozenColumns && column < firstScrollableColumn()) ||
        (row > m_frozenRows && row < firstScrollableRow()))
        return {};
    const QRect r(columnLeft(column), rowTop(row), columnWidthPixels(column), rowHeightPixels(row));
    return r.intersects(viewport()->rect()) ? r : QRect();
}

QPoint ResultGridView::cellAt(const QPoint &pos) const {
    if (!viewport()->rect().contains(pos))
        return {};
    auto find = [](const std::vector<int> &edge, int frozen, int size, int at, int offset) {
        const int sheet = at < edge[frozen] ? at : at + offset;
        const int index = int(std::upper_bound(edge.begin(), edge.end(), sheet) - edge.begin());
        return index >= 1 && index <= size ? index : 0;
    };
    const int column = find(m_colEdge, m_frozenColumns, m_grid.columns(), pos.x(), scrollOffsetX());
    const int row = find(m_rowEdge, m_frozenRows, m_grid.rows(), pos.y(), scrollOffsetY());
    return column && row ? QPoint(column, row) : QPoint();
}

std::pair<int, int> ResultGridView::textColumns(int column, int row) const {
    const GridCell &cell = m_grid.cell(column, row);
    if (cell.text.isEmpty() || !m_grid.overflow())
        return {column, column};
    const int needed = fontMetrics().horizontalAdvance(cell.text) + kTextPadding;
    auto isEmpty = [&](int c) { return c >= 1 && c <= m_grid.columns() && m_grid.cell(c, row).text.isEmpty(); };
    int first = column, last = column;
    if (cell.align == Align::Left) {
        for (int room = columnWidthPixels(column); room < needed && isEmpty(last + 1);)
            room += columnWidthPixels(++last);
    } else {
        // A centred text spreads evenly to both sides, each side as far as its empty cells go.
        const int spill = (needed - columnWidthPixels(column) + 1) / 2;
        for (int room = 0; room < spill && isEmpty(first - 1);)
            room += columnWidthPixels(--first);
        for (int room = 0; room < spill && isEmpty(last + 1);)
            room += columnWidthPixels(++last);
    }
    return {first, last};
}

void ResultGridView::paintEvent(QPaintEvent *) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    if (m_grid.columns() == 0 || m_grid.rows() == 0)
        return;

    const QSize room = viewport()->size();
    const int fw = frozenWidth(), fh = frozenHeight();
    const int col1 = firstScrollableColumn(), row1 = firstScrollableRow();
    const int col2 = lastVisibleColumn(col1), row2 = lastVisibleRow(row1);
    // The scrolling part first; the frozen panes then draw their closing lines over its edge.
    const Pane panes[] = {
        {col1, col2, row1, row2, QRect(fw, fh, room.width() - fw, room.height() - fh)},
        {col1, col2, 1, m_frozenRows, QRect(fw, 0, room.width() - fw, fh + 1)},
        {1, m_frozenColumns, row1, row2, QRect(0, fh, fw + 1, room.height() - fh)},
        {1, m_frozenColumns, 1, m_frozenRows, QRect(0, 0, fw + 1, fh + 1)},
    };
    for (const Pane &pane : panes)
        if (pane.col1 <= pane.col2 && pane.row1 <= pane.row2 && !pane.clip.isEmpty())
            paintPane(painter, pane);
}

void ResultGridView::paintPane(QPainter &painter, const Pane &pane) {
    painter.save();
    painter.setClipRect(pane.clip);
    // Passes: every background, then every text, then every line, so that no neighbour's
    // background covers a line.
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int y = rowTop(r), h = rowHeightPixels(r);
        for (int c = pane.col1; c <= pane.col2; ++c)
            painter.fillRect(QRect(columnLeft(c), y, columnWidthPixels(c), h), toQColor(m_grid.cell(c, r).back));
    }
    const QRect selected =
        m_selection.intersected(QRect(pane.col1, pane.row1, pane.col2 - pane.col1 + 1, pane.row2 - pane.row1 + 1));
    if (!selected.isEmpty()) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(90);
        const int x1 = columnLeft(selected.left()), y1 = rowTop(selected.top());
        const int x2 = columnLeft(selected.right()) + columnWidthPixels(selected.right());
        const int y2 = rowTop(selected.bottom()) + rowHeightPixels(selected.bottom());
        painter.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), tint);
    }
    paintTexts(painter, pane);
    paintBorders(painter, pane);
    painter.restore();
}

void ResultGridView::paintTexts(QPainter &painter, const Pane &pane) {
    // A text may run over empty cells of its own pane only.
    const int paneFirst = pane.col1 <= m_frozenColumns ? 1 : m_frozenColumns + 1;
    const int paneLast = pane.col1 <= m_frozenColumns ? m_frozenColumns : m_grid.columns();
    auto draw = [&](int c, int r) {
        const GridCell &cell = m_grid.cell(c, r);
        const auto [first, last] = textColumns(c, r);
        const int y = rowTop(r), h = rowHeightPixels(r);
        const QRect span(columnLeft(first), y, columnLeft(last) + columnWidthPixels(last) - columnLeft(first), h);
        painter.setPen(toQColor(cell.fore));
        const int width = painter.fontMetrics().horizontalAdvance(cell.text);
        if (cell.align == Align::Left) {
            painter.drawText(span.adjusted(kTextPadding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, cell.text);
            return;
        }
        // Centred on its own cell; a text wider than the room it has shows its beginning.
        const int centre = columnLeft(c) + (columnWidthPixels(c) + 1) / 2;
        const int x = std::max(span.left() + 1, centre - width / 2);
        if (x + width <= span.right() + 1 && first == c && last == c) {
            painter.drawText(QRect(x, y, width, h), Qt::AlignLeft | Qt::AlignVCenter, cell.text);
            return;
        }
        painter.save();
        painter.setClipRect(span, Qt::IntersectClip);
        painter.drawText(QRect(x, y, width, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, cell.text);
        painter.restore();
    };
    for (int r = pane.row1; r <= pane.row2; ++r) {
        // Texts outside the shown columns may still run into them, from either side.
        if (m_grid.overflow()) {
            for (int c = pane.col1 - 1; c >= paneFirst; --c) {
                if (m_grid.cell(c, r).text.isEmpty())
                    continue;
                if (textColumns(c, r).second >= pane.col1)
                    draw(c, r);
                break;
            }
            for (int c = pane.col2 + 1; c <= paneLast; ++c) {
                if (m_grid.cell(c, r).text.isEmpty())
                    continue;
                if (textColumns(c, r).first <= pane.col2)
                    draw(c, r);
                break;
            }
        }
        for (int c = pane.col1; c <= pane.col2; ++c)
            if (!m_grid.cell(c, r).text.isEmpty())
                draw(c, r);
    }
}

void ResultGridView::paintBorders(QPainter &painter, const Pane &pane) {
    // A cell's left and top lines lie on its own first column and row of pixels, its right and
    // bottom lines on the neighbour's, so adjacent cells share one line.
    for (int r = pane.row1; r <= pane.row2; ++r) {
        const int y = rowTop(r), h = rowHeightPixels(r);
        for (int c = pane.col1; c <= pane.col2; ++c) {
            const auto &sides = m_grid.cell(c, r).borders;
            const int x = columnLeft(c), w = columnWidthPixels(c);
            if (const auto &s = sides[GridCell::LeftIndex])
                painter.fillRect(QRect(x, y, 1, h + 1), toQColor(*s));
            if (const auto &s = sides[GridCell::RightIndex])
                painter.fillRect(QRect(x + w, y, 1, h + 1), toQColor(*s));
            if (const auto &s = sides[GridCell::TopIndex])
                painter.fillRect(QRect(x, y, w + 1, 1), toQColor(*s));
            if (const auto &s = sides[GridCell::BottomIndex])
                painter.fillRect(QRect(x, y + h, w + 1, 1), toQColor(*s));
        }
    }
}

bool ResultGridView::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        // A text cut off by its cell shows in full as a tip.
        const auto *help = static_cast<QHelpEvent *>(event);
        const QPoint cell = cellAt(help->pos());
        const QString text = cell.isNull() ? QString() : m_grid.text(cell.x(), cell.y());
        const auto [first, last] = cell.isNull() ? std::pair(0, -1) : textColumns(cell.x(), cell.y());
        int room = 0;
        for (int c = first; c <= last; ++c)
            room += columnWidthPixels(c);
        if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) + kTextPadding > room)
            QToolTip::showText(help->globalPos(), text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ResultGridView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ResultGridView::changeEvent(QEvent *event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateMetrics();
}

void ResultGridView::keyPressEvent(QKeyEvent *event) {
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        setSelection(QRect(1, 1, m_grid.columns(), m_grid.rows()));
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        v->triggerAction(QAbstractSlider::SliderToMinimum);
        h->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        v->triggerAction(QAbstractSlider::SliderToMaximum);
        h->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ResultGridView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = cellAt(event->position().toPoint());
    m_anchor = cell;
    setSelection(cell.isNull() ? QRect() : QRect(cell, QSize(1, 1)));
}

void ResultGridView::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton) || m_anchor.isNull())
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        extendSelection(cell);
}

void ResultGridView::extendSelection(const QPoint &cell) {
    setSelection(QRect(QPoint(std::min(m_anchor.x(), cell.x()), std::min(m_anchor.y(), cell.y())),
                       QPoint(std::max(m_anchor.x(), cell.x()), std::max(m_anchor.y(), cell.y()))));
}

void ResultGridView::setSelection(const QRect &cells) {
    const QRect next = cells.intersected(QRect(1, 1, m_grid.columns(), m_grid.rows()));
    if (next == m_selection)
        return;
    m_selection = next;
    viewport()->update();
}

QString ResultGridView::selectedText() const {
    QStringList lines;
    for (int r = m_selection.top(); r <= m_selection.bottom() && !m_selection.isEmpty(); ++r) {
        QStringList fields;
        for (int c = m_selection.left(); c <= m_selection.right(); ++c)
            fields << m_grid.text(c, r);
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void ResultGridView::copySelection() const {
    if (!m_selection.isEmpty())
        QApplication::clipboard()->setText(selectedText());
}

QSize ResultGridView::sizeHint() const {
    const int columns = std::min(m_grid.visibleColumns() > 0 ? m_grid.visibleColumns() : 20, m_grid.columns());
    const int rows = std::min(m_grid.visibleRows() > 0 ? m_grid.visibleRows() : 20, m_grid.rows());
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {m_colEdge[columns] + 1 + frame + (rows < m_grid.rows() ? bar : 0),
            m_rowEdge[rows] + 1 + frame + (columns < m_grid.columns() ? bar : 0)};
}

QSize ResultGridView::fittedSize(const QSize &room) const {
    const int frame = 2 * frameWidth();
    const QSize bars = barsNeeded(room - QSize(frame, frame));
    return {std::max(0, std::min(room.width(), m_colEdge.back() + 1 + frame + bars.width())),
            std::max(0, std::min(room.height(), m_rowEdge.back() + 1 + frame + bars.height()))};
}
