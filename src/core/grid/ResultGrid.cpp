#include "core/grid/ResultGrid.h"

#include <algorithm>

namespace {
const GridCell kDefaultCell{};

// Resolves one axis of a block: -1 for both ends means everything, the rest is clamped.
std::pair<int, int> resolveRange(int from, int to, int size) {
    if (from == -1 && to == -1)
        return {1, size};
    if (from == -1)
        from = 1;
    if (to == -1)
        to = size;
    return {std::max(from, 1), std::min(to, size)};
}
} // namespace

bool GridCell::isDefault() const { return *this == kDefaultCell; }

GridBlock::GridBlock(ResultGrid &grid, int col1, int row1, int col2, int row2) : m_grid(grid) {
    std::tie(m_col1, m_col2) = resolveRange(col1, col2, grid.m_columns);
    std::tie(m_row1, m_row2) = resolveRange(row1, row2, grid.m_rows);
}

template <typename F> void GridBlock::each(F f) {
    for (int row = m_row1; row <= m_row2; ++row)
        for (int col = m_col1; col <= m_col2; ++col)
            f(m_grid.m_cells[m_grid.index(col, row)], col, row);
}

GridBlock &GridBlock::back(Rgb colour) {
    each([&](GridCell &c, int, int) { c.back = colour; });
    return *this;
}

GridBlock &GridBlock::fore(Rgb colour) {
    each([&](GridCell &c, int, int) { c.fore = colour; });
    return *this;
}

GridBlock &GridBlock::align(Align a) {
    each([&](GridCell &c, int, int) { c.align = a; });
    return *this;
}

GridBlock &GridBlock::border(unsigned sides, Rgb colour) {
    each([&](GridCell &c, int, int) {
        if (sides & Left)
            c.borders[GridCell::LeftIndex] = colour;
        if (sides & Right)
            c.borders[GridCell::RightIndex] = colour;
        if (sides & Top)
            c.borders[GridCell::TopIndex] = colour;
        if (sides & Bottom)
            c.borders[GridCell::BottomIndex] = colour;
    });
    return *this;
}

GridBlock &GridBlock::outline(Rgb colour) {
    each([&](GridCell &c, int col, int row) {
        if (col == m_col1)
            c.borders[GridCell::LeftIndex] = colour;
        if (col == m_col2)
            c.borders[GridCell::RightIndex] = colour;
        if (row == m_row1)
            c.borders[GridCell::TopIndex] = colour;
        if (row == m_row2)
            c.borders[GridCell::BottomIndex] = colour;
    });
    return *this;
}

GridBlock &GridBlock::noBorder() {
    each([&](GridCell &c, int, int) { c.borders = {}; });
    return *this;
}

void ResultGrid::setSize(int columns, int rows) {
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    std::vector<GridCell> cells(std::size_t(columns) * std::size_t(rows));
    for (int row = 1; row <= std::min(rows, m_rows); ++row)
        for (int col = 1; col <= std::min(columns, m_columns); ++col)
            cells[std::size_t(row - 1) * columns + std::size_t(col - 1)] = std::move(m_cells[index(col, row)]);
    m_cells = std::move(cells);
    m_columnWidths.resize(columns, kDefaultColumnWidth);
    m_rowHeights.resize(rows, kDefaultRowHeight);
    m_columns = columns;
    m_rows = rows;
}

void ResultGrid::setColumnWidth(int column, int width) {
    if (column == -1)
        std::fill(m_columnWidths.begin(), m_columnWidths.end(), width);
    else if (column >= 1 && column <= m_columns)
        m_columnWidths[column - 1] = width;
}

void ResultGrid::setRowHeight(int row, int height) {
    if (row == -1)
        std::fill(m_rowHeights.begin(), m_rowHeights.end(), height);
    else if (row >= 1 && row <= m_rows)
        m_rowHeights[row - 1] = height;
}

void ResultGrid::setText(int col, int row, const QString &text) {
    if (contains(col, row))
        m_cells[index(col, row)].text = text;
}

const GridCell &ResultGrid::cell(int col, int row) const {
    return contains(col, row) ? m_cells[index(col, row)] : kDefaultCell;
}
