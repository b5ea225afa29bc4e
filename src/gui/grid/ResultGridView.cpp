#include "gui/grid/ResultGridView.h"

#include "gui/grid/BandHeadingPane.h"
#include "gui/grid/GridClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {
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

ResultGridView::ResultGridView(QWidget *parent) : QAbstractScrollArea(parent), m_painter(font()) {
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

void ResultGridView::fitWholeSheet() {
    QSize size(1 + 2 * frameWidth(), 1 + 2 * frameWidth());
    for (int c = 1; c <= m_grid.columns(); ++c)
        size.rwidth() += columnWidthPixels(c);
    for (int r = 1; r <= m_grid.rows(); ++r)
        size.rheight() += rowHeightPixels(r);
    setFixedSize(size);
}

void ResultGridView::updateMetrics() {
    m_painter.setFont(font());
    m_painter.setGrid(&m_grid);
    m_frozenColumns = std::clamp(m_grid.frozenColumns(), 0, m_grid.columns());
    m_frozenRows = std::clamp(m_grid.frozenRows(), 0, m_grid.rows());
    updateScrollBars();
    updateGeometry();
}

QSize ResultGridView::barsNeeded(const QSize &outer) const {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sheetWidth = colEdge().back() + 1, sheetHeight = rowEdge().back() + 1;
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
    h->setRange(0, firstFittingStart(colEdge(), m_frozenColumns, scrollColumns, roomX));
    h->setSingleStep(1);
    h->setPageStep(entriesFitting(colEdge(), m_frozenColumns + h->value(), std::max(roomX, 0)));

    QScrollBar *v = verticalScrollBar();
    v->setRange(0, firstFittingStart(rowEdge(), m_frozenRows, scrollRows, roomY));
    v->setSingleStep(1);
    v->setPageStep(entriesFitting(rowEdge(), m_frozenRows + v->value(), std::max(roomY, 0)));
}

int ResultGridView::scrollOffsetX() const {
    const int first = std::min(m_frozenColumns + horizontalScrollBar()->value(), m_grid.columns());
    return colEdge()[first] - frozenWidth();
}

int ResultGridView::scrollOffsetY() const {
    const int first = std::min(m_frozenRows + verticalScrollBar()->value(), m_grid.rows());
    return rowEdge()[first] - frozenHeight();
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
    return column <= m_frozenColumns ? colEdge()[column - 1] : colEdge()[column - 1] - scrollOffsetX();
}

int ResultGridView::rowTop(int row) const {
    return row <= m_frozenRows ? rowEdge()[row - 1] : rowEdge()[row - 1] - scrollOffsetY();
}

int ResultGridView::lastVisibleColumn(int first) const {
    // The last column whose left edge lies inside the viewport.
    const int limit = viewport()->width() + scrollOffsetX();
    const int index = int(std::lower_bound(colEdge().begin(), colEdge().end(), limit) - colEdge().begin());
    return std::max(first - 1, std::min(index, m_grid.columns()));
}

int ResultGridView::lastVisibleRow(int first) const {
    const int limit = viewport()->height() + scrollOffsetY();
    const int index = int(std::lower_bound(rowEdge().begin(), rowEdge().end(), limit) - rowEdge().begin());
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
    const int column = find(colEdge(), m_frozenColumns, m_grid.columns(), pos.x(), scrollOffsetX());
    const int row = find(rowEdge(), m_frozenRows, m_grid.rows(), pos.y(), scrollOffsetY());
    return column && row ? QPoint(column, row) : QPoint();
}

std::pair<int, int> ResultGridView::textColumns(int column, int row) const {
    return m_painter.textColumns(column, row);
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
    const int cols = m_grid.columns(), fc = m_frozenColumns, fr = m_frozenRows;
    const QPoint scrolled(-scrollOffsetX(), -scrollOffsetY());
    // The scrolling part first; the frozen panes then draw their closing lines over its edge.
    const ResultGridPainter::Pane panes[] = {
        {col1, col2, row1, row2, fc + 1, cols, scrolled, QRect(fw, fh, room.width() - fw, room.height() - fh)},
        {col1, col2, 1, fr, fc + 1, cols, QPoint(scrolled.x(), 0), QRect(fw, 0, room.width() - fw, fh + 1)},
        {1, fc, row1, row2, 1, fc, QPoint(0, scrolled.y()), QRect(0, fh, fw + 1, room.height() - fh)},
        {1, fc, 1, fr, 1, fc, QPoint(0, 0), QRect(0, 0, fw + 1, fh + 1)},
    };
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(90);
    for (const ResultGridPainter::Pane &pane : panes) {
        m_painter.paintPane(painter, pane, m_selection, tint);
        if (const auto heading = bandHeadingPane(m_painter, pane))
            m_painter.paintPane(painter, *heading, m_selection, tint);
    }
}

bool ResultGridView::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        // A text cut off by its cell shows in full as a tip.
        const auto *help = static_cast<QHelpEvent *>(event);
        const QPoint cell = cellAt(help->pos());
        if (!cell.isNull() && m_painter.textCutOff(cell.x(), cell.y()))
            QToolTip::showText(help->globalPos(), m_grid.text(cell.x(), cell.y()), viewport());
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
    if (cell.isNull()) {
        m_anchor = QPoint();
        setSelection(QRect());
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier && !m_anchor.isNull()) {
        extendSelection(cell);
        return;
    }
    // A frozen heading stands for its whole column (heading rows) or row (heading columns).
    const bool headingRow = cell.y() <= m_frozenRows, headingColumn = cell.x() <= m_frozenColumns;
    m_selectBy = headingRow && !headingColumn   ? SelectBy::Columns
                 : headingColumn && !headingRow ? SelectBy::Rows
                                                : SelectBy::Cells;
    m_anchor = cell;
    extendSelection(cell);
}

void ResultGridView::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton) || m_anchor.isNull())
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (!cell.isNull())
        extendSelection(cell);
}

void ResultGridView::extendSelection(const QPoint &cell) {
    QRect cells(QPoint(std::min(m_anchor.x(), cell.x()), std::min(m_anchor.y(), cell.y())),
                QPoint(std::max(m_anchor.x(), cell.x()), std::max(m_anchor.y(), cell.y())));
    if (m_selectBy == SelectBy::Columns)
        cells.setRect(cells.left(), 1, cells.width(), m_grid.rows());
    else if (m_selectBy == SelectBy::Rows)
        cells.setRect(1, cells.top(), m_grid.columns(), cells.height());
    setSelection(cells);
}

void ResultGridView::setSelection(const QRect &cells) {
    const QRect next = cells.intersected(QRect(1, 1, m_grid.columns(), m_grid.rows()));
    if (next == m_selection)
        return;
    m_selection = next;
    viewport()->update();
}

QRect ResultGridView::copiedCells() const {
    return m_selection.isEmpty() ? QRect(1, 1, m_grid.columns(), m_grid.rows()) : m_selection;
}

QString ResultGridView::selectedText() const {
    return GridClipboard::text(m_grid, copiedCells());
}

void ResultGridView::copySelection() const {
    const QRect cells = copiedCells();
    if (cells.isEmpty())
        return;
    // A spreadsheet takes the HTML table with its colours; a text editor the tab-separated text.
    auto *data = new QMimeData;
    data->setText(GridClipboard::text(m_grid, cells));
    data->setHtml(GridClipboard::html(m_grid, cells));
    QApplication::clipboard()->setMimeData(data);
}

void ResultGridView::contextMenuEvent(QContextMenuEvent *event) {
    QMenu menu(this);
    QAction *copy = menu.addAction(QStringLiteral("コピー"), this, &ResultGridView::copySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(m_grid.columns() > 0 && m_grid.rows() > 0);
    if (isSignalConnected(QMetaMethod::fromSignal(&ResultGridView::printRequested))) {
        QAction *print = menu.addAction(QStringLiteral("印刷..."), this, &ResultGridView::printRequested);
        print->setShortcut(QKeySequence::Print);
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&ResultGridView::saveCsvRequested)))
        menu.addAction(QStringLiteral("CSVで保存..."), this, &ResultGridView::saveCsvRequested);
    menu.exec(event->globalPos());
}

QSize ResultGridView::sizeHint() const {
    const int columns = std::min(m_grid.visibleColumns() > 0 ? m_grid.visibleColumns() : 20, m_grid.columns());
    const int rows = std::min(m_grid.visibleRows() > 0 ? m_grid.visibleRows() : 20, m_grid.rows());
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {colEdge()[columns] + 1 + frame + (rows < m_grid.rows() ? bar : 0),
            rowEdge()[rows] + 1 + frame + (columns < m_grid.columns() ? bar : 0)};
}

QSize ResultGridView::minimumSizeHint() const {
    auto widest = [](const std::vector<int> &edge, int from) {
        int widest = 0;
        for (std::size_t i = std::size_t(from) + 1; i < edge.size(); ++i)
            widest = std::max(widest, edge[i] - edge[i - 1]);
        return widest;
    };
    const QSize sheet(colEdge().back() + 1, rowEdge().back() + 1);
    const QSize shown(std::min(sheet.width(), frozenWidth() + widest(colEdge(), m_frozenColumns) + 1),
                      std::min(sheet.height(), frozenHeight() + widest(rowEdge(), m_frozenRows) + 1));
    const int frame = 2 * frameWidth(), bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return shown + QSize(frame, frame) +
           QSize(verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && shown.height() < sheet.height() ? bar : 0,
                 horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && shown.width() < sheet.width() ? bar : 0);
}

QSize ResultGridView::fittedSize(const QSize &room) const {
    const int frame = 2 * frameWidth();
    const QSize bars = barsNeeded(room - QSize(frame, frame));
    return {std::max(0, std::min(room.width(), colEdge().back() + 1 + frame + bars.width())),
            std::max(0, std::min(room.height(), rowEdge().back() + 1 + frame + bars.height()))};
}
