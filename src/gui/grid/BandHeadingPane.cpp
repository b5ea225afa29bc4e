#include "gui/grid/BandHeadingPane.h"

#include <algorithm>

std::optional<ResultGridPainter::Pane> bandHeadingPane(const ResultGridPainter &painter,
                                                       const ResultGridPainter::Pane &pane) {
    const std::optional<BandHeading> &heading = painter.grid().bandHeading();
    if (!heading || heading->row < pane.row1 || heading->row > pane.row2 ||
        !painter.grid().contains(heading->column, heading->row) || heading->firstColumn > heading->lastColumn)
        return std::nullopt;
    const auto [first, last] = painter.textColumns(heading->column, heading->row);
    // Only the pane whose part of the sheet holds the heading draws it.
    if (first < pane.spanFirst || last > pane.spanLast)
        return std::nullopt;

    // From the sheet's left edge: the band, the part of it the pane shows and the heading's cells.
    const std::vector<int> &edge = painter.columnEdges();
    const int firstBand = std::clamp(heading->firstColumn, 1, painter.grid().columns());
    const int lastBand = std::clamp(heading->lastColumn, firstBand, painter.grid().columns());
    const int shownLeft = std::max(edge[firstBand - 1], pane.clip.left() - pane.origin.x());
    const int shownRight = std::min(edge[lastBand], pane.clip.right() + 1 - pane.origin.x());
    const int left = edge[first - 1], width = edge[last] - left;
    if (shownRight <= shownLeft)
        return std::nullopt;
    const int at = std::max(shownLeft, std::min(left, shownRight - width));
    if (at == left)
        return std::nullopt;

    const int top = pane.origin.y() + painter.rowEdges()[heading->row - 1];
    const QRect shown(shownLeft + pane.origin.x(), top, shownRight - shownLeft, painter.rowHeight(heading->row) + 1);
    return ResultGridPainter::Pane{first,
                                   last,
                                   heading->row,
                                   heading->row,
                                   first,
                                   last,
                                   pane.origin + QPoint(at - left, 0),
                                   pane.clip.intersected(shown)};
}
