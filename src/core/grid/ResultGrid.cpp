#include "core/grid/ResultGrid.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {
const GridCell kDefaultCell{};

// Every set of sides in use, numbered in the order first seen; number 0 is no sides. Shared by
// all sheets and threads; an entry never changes or moves once it is numbered.
class BorderTable {
public:
    static BorderTable &instance() {
        static BorderTable table;
        return table;
    }
    const BorderSides &sides(std::uint16_t number) const { return m_data[number]; }
    std::uint16_t number(const BorderSides &sides) {
        if (sides == BorderSides{})
            return 0;
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto [at, added] = m_numbers.try_emplace(key(sides), std::uint16_t(m_sides.size()));
        if (added) {
            if (m_sides.size() == kCapacity)
                qFatal("罫線の組合せが %d を超えました", int(kCapacity - 1));
            m_sides.push_back(sides);
        }
        return at->second;
    }

private:
    static constexpr std::size_t kCapacity = 1U << 15;
    using Key = std::array<std::uint32_t, 4>;
    static Key key(const BorderSides &sides) {
        Key k{};
        for (std::size_t i = 0; i < 4; ++i)
            if (const std::optional<Rgb> &s = sides[i])
                k[i] = 1U << 24 | std::uint32_t(s->r) << 16 | std::uint32_t(s->g) << 8 | s->b;
        return k;
    }
    BorderTable() {
        // Reserved once, so the entries never move while other threads read them.
        m_sides.reserve(kCapacity);
        m_sides.push_back({});
        m_data = m_sides.data();
    }

    std::mutex m_mutex;
    std::map<Key, std::uint16_t> m_numbers;
    std::vector<BorderSides> m_sides;
    const BorderSides *m_data = nullptr;
};

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

const BorderSides &GridCell::borders() const {
    return BorderTable::instance().sides(m_borders);
}

void GridCell::setBorders(const BorderSides &sides) {
    m_borders = BorderTable::instance().number(sides);
}

void GridCell::setBorder(int side, std::optional<Rgb> colour) {
    BorderSides sides = borders();
    sides[std::size_t(side)] = colour;
    setBorders(sides);
}

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

template <typename F> void GridBlock::changeBorders(F change) {
    // What each set of sides becomes on each kind of edge, looked up in the shared table once:
    // a block holds many cells but few distinct sets, and neighbours mostly share theirs.
    struct Known {
        std::uint32_t from;
        std::uint16_t to;
    };
    std::vector<Known> known;
    Known last{~0U, 0};
    for (int row = m_row1; row <= m_row2; ++row) {
        const unsigned rowEdges = (row == m_row1 ? Top : 0U) | (row == m_row2 ? Bottom : 0U);
        for (int col = m_col1; col <= m_col2; ++col) {
            GridCell &c = m_grid.m_cells[m_grid.index(col, row)];
            const unsigned edges = rowEdges | (col == m_col1 ? Left : 0U) | (col == m_col2 ? Right : 0U);
            const std::uint32_t from = std::uint32_t(c.m_borders) << 4 | edges;
            if (from != last.from) {
                const auto hit =
                    std::find_if(known.begin(), known.end(), [&](const Known &k) { return k.from == from; });
                if (hit != known.end()) {
                    last = *hit;
                } else {
                    BorderSides sides = c.borders();
                    change(sides, edges);
                    last = {from, BorderTable::instance().number(sides)};
                    known.push_back(last);
                }
            }
            c.m_borders = last.to;
        }
    }
}

// The sides of `which` (BorderSide bits) get `colour`.
static void setSides(BorderSides &sides, unsigned which, Rgb colour) {
    if (which & Left)
        sides[GridCell::LeftIndex] = colour;
    if (which & Right)
        sides[GridCell::RightIndex] = colour;
    if (which & Top)
        sides[GridCell::TopIndex] = colour;
    if (which & Bottom)
        sides[GridCell::BottomIndex] = colour;
}

GridBlock &GridBlock::border(unsigned sides, Rgb colour) {
    changeBorders([&](BorderSides &s, unsigned) { setSides(s, sides, colour); });
    return *this;
}

GridBlock &GridBlock::outline(Rgb colour) {
    changeBorders([&](BorderSides &s, unsigned edges) { setSides(s, edges, colour); });
    return *this;
}

GridBlock &GridBlock::noBorder() {
    each([&](GridCell &c, int, int) { c.m_borders = 0; });
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

void ResultGrid::setText(int col, int row, int number) {
    if (!contains(col, row))
        return;
    // Draw numbers, counts and gaps: the long sheets repeat the same few thousand numbers in
    // hundreds of thousands of cells.
    constexpr int kShared = 10000;
    if (number < 0 || number >= kShared) {
        m_cells[index(col, row)].text = QString::number(number);
        return;
    }
    thread_local std::vector<QString> shared;
    if (std::size_t(number) >= shared.size())
        shared.resize(std::size_t(number) + 1);
    QString &text = shared[std::size_t(number)];
    if (text.isNull())
        text = QString::number(number);
    m_cells[index(col, row)].text = text;
}

const GridCell &ResultGrid::cell(int col, int row) const {
    return contains(col, row) ? m_cells[index(col, row)] : kDefaultCell;
}
