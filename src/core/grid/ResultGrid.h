#pragma once

#include "core/grid/Palette.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

enum class Align : std::uint8_t { Center, Left };

// Which sides a border operation touches.
enum BorderSide : unsigned {
    Left = 1,
    Right = 2,
    Top = 4,
    Bottom = 8,
    AllSides = Left | Right | Top | Bottom,
};

// left, right, top, bottom: the line's colour, or none.
using BorderSides = std::array<std::optional<Rgb>, 4>;

struct GridCell {
    QString text;
    Rgb fore = Palette::Black;
    Rgb back = Palette::White;
    Align align : 1 = Align::Center;

    enum { LeftIndex, RightIndex, TopIndex, BottomIndex };
    // Every cell keeps its own sides.
    const BorderSides &borders() const;
    void setBorders(const BorderSides &sides);
    void setBorder(int side, std::optional<Rgb> colour);

    bool isDefault() const;
    bool operator==(const GridCell &) const = default;

private:
    friend class GridBlock;
    // The sides as their number in one table of every set of sides in use (0: none). A sheet
    // holds up to hundreds of thousands of cells but a few dozen sets of sides: so a cell takes
    // 32 bytes instead of 48, and equal sides have equal numbers.
    std::uint16_t m_borders : 15 = 0;
};

class ResultGrid;

// A heading written in one cell for a band of its row that is wider than a screen or a page:
// wherever part of the band is in view but not the heading's own cells, the heading is shown in
// that part. Only the display moves it; the cell keeps its text and its place.
struct BandHeading {
    int column = 0, row = 0;
    int firstColumn = 0, lastColumn = 0; // the band
    bool operator==(const BandHeading &) const = default;
};

// A selected rectangle; the settings made through it apply to every cell inside.
// Ranges follow one rule everywhere: -1 for both ends means the whole axis, a range that
// reaches past the sheet is cut at its edge, and a range whose first index comes after its
// last selects nothing.
class GridBlock {
public:
    GridBlock &back(Rgb colour);
    GridBlock &fore(Rgb colour);
    GridBlock &align(Align a);
    // Lines on the named sides of every cell of the block; other sides are left as they are.
    GridBlock &border(unsigned sides, Rgb colour = Palette::Black);
    // Lines around the block as a whole: the outer sides of its edge cells.
    GridBlock &outline(Rgb colour = Palette::Black);
    // Removes all four sides of every cell of the block.
    GridBlock &noBorder();

    bool empty() const { return m_col1 > m_col2 || m_row1 > m_row2; }

private:
    friend class ResultGrid;
    GridBlock(ResultGrid &grid, int col1, int row1, int col2, int row2);
    template <typename F> void each(F f);
    // change(sides, edges) for every cell; edges tells which of the block's sides the cell is
    // on (the BorderSide bits).
    template <typename F> void changeBorders(F change);

    ResultGrid &m_grid;
    int m_col1, m_row1, m_col2, m_row2;
};

// A sheet of cells, columns and rows counted from 1, with the sizes, frozen panes and
// switches a window asks for. Analyses fill it; the GUI paints it; the command line
// serialises it.
class ResultGrid {
public:
    static constexpr int kDefaultColumnWidth = 8;
    static constexpr int kDefaultRowHeight = 10;

    ResultGrid() = default;
    ResultGrid(int columns, int rows) { setSize(columns, rows); }

    // Keeps the cells that still fit; new cells are default cells.
    void setSize(int columns, int rows);
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

    void setVisibleArea(int columns, int rows) {
        m_visibleColumns = columns;
        m_visibleRows = rows;
    }
    int visibleColumns() const { return m_visibleColumns; }
    int visibleRows() const { return m_visibleRows; }

    // column or row -1: all of them.
    void setColumnWidth(int column, int width);
    void setRowHeight(int row, int height);
    int columnWidth(int column) const { return m_columnWidths[column - 1]; }
    int rowHeight(int row) const { return m_rowHeights[row - 1]; }
    const std::vector<int> &columnWidths() const { return m_columnWidths; }
    const std::vector<int> &rowHeights() const { return m_rowHeights; }

    void freezeRows(int k) { m_frozenRows = k; }
    void freezeColumns(int k) { m_frozenColumns = k; }
    int frozenRows() const { return m_frozenRows; }
    int frozenColumns() const { return m_frozenColumns; }

    void setOverflow(bool allowed) { m_overflow = allowed; }
    bool overflow() const { return m_overflow; }

    // Block from (col1,row1) to (col2,row2), both corners included.
    GridBlock block(int col1, int row1, int col2, int row2) { return GridBlock(*this, col1, row1, col2, row2); }
    GridBlock cellBlock(int col, int row) { return block(col, row, col, row); }
    GridBlock all() { return block(-1, -1, -1, -1); }

    // A write outside the sheet has no effect.
    void setText(int col, int row, const QString &text);
    // Cells with the same small number share one string.
    void setText(int col, int row, int number);

    bool contains(int col, int row) const { return col >= 1 && col <= m_columns && row >= 1 && row <= m_rows; }
    // Outside the sheet: a default cell.
    const GridCell &cell(int col, int row) const;
    GridCell *cellAt(int col, int row) { return contains(col, row) ? &m_cells[index(col, row)] : nullptr; }
    QString text(int col, int row) const { return cell(col, row).text; }

    void setBandHeading(const BandHeading &heading) { m_bandHeading = heading; }
    const std::optional<BandHeading> &bandHeading() const { return m_bandHeading; }

    // Moves the active cell to the corner, so no visible cell is highlighted.
    void parkCursor() { m_cursorParked = true; }
    bool cursorParked() const { return m_cursorParked; }

    bool operator==(const ResultGrid &) const = default;

private:
    friend class GridBlock;
    std::size_t index(int col, int row) const { return std::size_t(row - 1) * m_columns + std::size_t(col - 1); }

    int m_columns = 0, m_rows = 0;
    int m_visibleColumns = 0, m_visibleRows = 0;
    int m_frozenColumns = 0, m_frozenRows = 0;
    bool m_overflow = false;
    bool m_cursorParked = false;
    std::optional<BandHeading> m_bandHeading;
    std::vector<int> m_columnWidths, m_rowHeights;
    std::vector<GridCell> m_cells;
};
