#include "core/prediction/PredictionEngine.h"

#include "core/grid/GridSetUp.h"

#include <algorithm>

namespace {
constexpr std::array<int, PredictionEngine::kGridCount> kGridRows{5, 4, 3, 2};

// Column 2 of every header row; the text runs over the empty cells to its right.
const QString &headerText() {
    static const QString text = QStringLiteral("                              本 数 字                          ");
    return text;
}

// First and last row of each grid's number cells.
constexpr int kFirstNumberRow = 2;
int lastNumberRow(int grid) {
    return kGridRows[std::size_t(grid)];
}

constexpr int kRepeatedRows = 2;    // grid 2: fourteen numbers
constexpr int kNumbersPerRow = 7;   // grid columns 2..8
constexpr int kSourceDraws = 4;     // S0..S3 of the repeated and one-shot predictions
constexpr int kSourcePositions = 8; // seven main numbers and ボーナス数字1

using DrawRules::wrapNumber;
} // namespace

const std::array<PredictionEngine::EliminationFormula, PredictionEngine::kEliminationCount> &
PredictionEngine::eliminationFormulas() {
    static const std::array<EliminationFormula, kEliminationCount> formulas{{
        {1, 4, 22}, {2, 5, 16}, {3, 5, 17}, {4, 9, 24},  {5, 9, 32},  {6, 12, 1}, {7, 12, 12},
        {1, 5, 22}, {2, 6, 16}, {3, 6, 17}, {4, 10, 24}, {5, 13, 32}, {6, 16, 1}, {7, 16, 12},
        {1, 6, 22}, {2, 7, 16}, {3, 7, 17}, {4, 11, 24}, {5, 14, 32}, {6, 17, 1}, {7, 17, 12},
    }};
    return formulas;
}

int PredictionEngine::reflectOffset() const {
    int sum = 0;
    for (int i = 0; i < PredictionOptions::kCount; ++i)
        if (reflectFlag(i))
            sum += kReflectWeights[std::size_t(i)];
    return sum;
}

int PredictionEngine::numberAt(int draw, int position) const {
    // Draws below 1 and beyond the table read as missing draws.
    if (draw < 1 || draw >= int(m_numbersByDraw.size()) || position < 1 || position > kPositions)
        return 0;
    return m_numbersByDraw[std::size_t(draw)][std::size_t(position - 1)];
}

QString PredictionEngine::cycleCell(int row, int column) const {
    if (row < 1 || row > kCycleRows || column < 1 || column > kCycleColumns)
        return {};
    return m_cycleTable[std::size_t(row - 1)][std::size_t(column - 1)];
}

void PredictionEngine::layOutGrids() {
    for (int g = 0; g < kGridCount; ++g) {
        const int rows = kGridRows[std::size_t(g)];
        ResultGrid grid(kGridColumns, rows);
        grid.setOverflow(true);
        GridSetUp{.visibleColumns = kGridColumns,
                  .visibleRows = rows,
                  .rowHeight = 10,
                  .columnWidth = 5,
                  .columnWidths = {{1, 8}}}
            .applyTo(grid);

        if (g == 0) {
            // Horizontal rules between the methods, a vertical rule after the label column.
            grid.all().border(Top | Bottom);
            grid.block(1, -1, 1, -1).border(Right);
            grid.setText(1, 2, QStringLiteral(" 7回周期法"));
            grid.setText(1, 3, QStringLiteral(" 9回周期法"));
            grid.setText(1, 4, QStringLiteral("11回周期法"));
            grid.setText(1, 5, QStringLiteral("12回周期法"));
        } else {
            grid.all().border(AllSides);
            if (g == 1) {
                // The label cells of the number rows read as one cell.
                grid.block(1, 2, 1, 4).noBorder();
                grid.setText(1, 3, QStringLiteral("消去法"));
            } else if (g == 2) {
                grid.block(1, 2, 1, 3).noBorder();
                grid.setText(1, 2, QStringLiteral("連発予想"));
            } else {
                grid.setText(1, 2, QStringLiteral("１発予想"));
            }
        }

        grid.block(2, 1, kGridColumns, 1).noBorder();
        grid.setText(2, 1, headerText());
        grid.cellBlock(2, 1).align(Align::Left);
        grid.block(1, 1, kGridColumns, 1).fore(Palette::Blue).back(Palette::LightPink);
        // Display only: no cell is highlighted.
        grid.parkCursor();
        m_grids[std::size_t(g)] = std::move(grid);
    }
}

void PredictionEngine::runCycleMethod(const DrawHistory &history) {
    int largest = 0;
    for (const DrawRecord &draw : history.records())
        if (draw.isComplete())
            largest = std::max(largest, draw.drawNumber);
    m_numbersByDraw.assign(std::size_t(largest) + 1, {});
    m_latestDrawNumber = history.latestDrawNumber();

    // Per number, the latest earlier draw that had it among its main numbers (0: none yet).
    // Since the draws come in ascending order this is exactly what a backward search over
    // NumbersByDraw finds first; bonus numbers of earlier draws never enter it. The stored
    // draws hold numbers within the draw rules only.
    std::array<int, DrawRules::kMaxNumber + 1> lastMainAppearance{};
    // Each run starts from an empty cycle table (0: empty), so every opening shows the same result.
    std::array<std::array<int, kCycleColumns>, kCycleRows> cycle{};

    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        const int n = draw.drawNumber;
        if (n < 1)
            continue; // row 0 and below are never stored, and nothing lies before them
        for (int k = 1; k <= kPositions; ++k)
            m_numbersByDraw[std::size_t(n)][std::size_t(k - 1)] = std::int16_t(draw.number(k));

        for (int k = 1; k <= kCycleColumns; ++k) {
            const int v = draw.number(k);
            if (!DrawRules::isNumber(v) || lastMainAppearance[std::size_t(v)] == 0)
                continue;
            const int gap = n - lastMainAppearance[std::size_t(v)];
            const auto length = std::find(kCycleLengths.begin(), kCycleLengths.end(), gap);
            if (length == kCycleLengths.end())
                continue;
            auto &row = cycle[std::size_t(length - kCycleLengths.begin())];
            bool elsewhere = false;
            for (int c = 1; c <= kCycleColumns; ++c)
                if (c != k && row[std::size_t(c - 1)] == v)
                    elsewhere = true;
            if (!elsewhere)
                row[std::size_t(k - 1)] = v;
        }

        for (int k = 1; k <= DrawRecord::kMainCount; ++k)
            if (DrawRules::isNumber(draw.number(k)))
                lastMainAppearance[std::size_t(draw.number(k))] = n;
    }
    for (std::size_t r = 0; r < cycle.size(); ++r)
        for (std::size_t c = 0; c < cycle[r].size(); ++c)
            m_cycleTable[r][c] = cycle[r][c] ? QString::number(cycle[r][c]) : QString();

    recompute();
}

void PredictionEngine::recompute() {
    writeCycleTable();
    const int offset = reflectOffset();
    clearNumberCells();
    eliminationMethod(offset);
    repeatedPredictions(offset);
}

void PredictionEngine::writeCycleTable() {
    // Table column 8 (ボーナス数字1) would land in grid column 9, outside the grid.
    ResultGrid &grid = m_grids[0];
    for (int r = 1; r <= kCycleRows; ++r) {
        DrawRules::NumberMask &set = m_sets[std::size_t(Prediction::Cycle7 + r - 1)];
        set = 0;
        for (int k = 1; k <= kCycleColumns; ++k) {
            const QString &text = m_cycleTable[std::size_t(r - 1)][std::size_t(k - 1)];
            grid.setText(k + 1, r + 1, text);
            if (k <= kNumbersPerRow && !text.isEmpty())
                set |= DrawRules::maskOf(text.toInt());
        }
    }
}

void PredictionEngine::clearNumberCells() {
    // A recompute that finds fewer numbers than before must not leave old ones behind.
    for (int g = 1; g < kGridCount; ++g) {
        ResultGrid &grid = m_grids[std::size_t(g)];
        for (int row = kFirstNumberRow; row <= lastNumberRow(g); ++row)
            for (int col = 2; col <= kGridColumns; ++col)
                grid.setText(col, row, QString());
        grid.block(2, kFirstNumberRow, kGridColumns, lastNumberRow(g)).align(Align::Center);
    }
}

void PredictionEngine::eliminationMethod(int offset) {
    ResultGrid &grid = m_grids[1];
    if (m_numbersByDraw.size() <= 1) { // entry 0 stands for no draw
        // With no complete draw the formulas would yield their constants alone, which are no prediction.
        std::fill(m_eliminationList.begin(), m_eliminationList.end(), QString());
        grid.setText(2, kFirstNumberRow, QStringLiteral("当選データがありません"));
        grid.block(2, kFirstNumberRow, 2, kFirstNumberRow).align(Align::Left);
        return;
    }
    int c = 0, r = 0;
    const auto &formulas = eliminationFormulas();
    m_sets[Prediction::Elimination] = 0;
    for (int i = 0; i < kEliminationCount; ++i) {
        const EliminationFormula &f = formulas[std::size_t(i)];
        const int source = m_latestDrawNumber - f.back - offset;
        const int number = wrapNumber(numberAt(source, f.position) + f.add);
        m_sets[Prediction::Elimination] |= DrawRules::maskOf(number);
        const QString text = QString::number(number);
        m_eliminationList[std::size_t(i)] = text;
        if (std::find(m_eliminationList.begin(), m_eliminationList.begin() + i, text) != m_eliminationList.begin() + i)
            continue;
        grid.setText(c + 2, r + 2, text);
        if (++c == kNumbersPerRow) {
            c = 0;
            ++r;
        }
    }
}

void PredictionEngine::repeatedPredictions(int offset) {
    // The 32 cells of the four source draws: the draws just before the latest one, shifted
    // back by the offset; bonus number 2 takes no part.
    std::array<std::array<int, kSourcePositions>, kSourceDraws> cells{};
    const int s0 = m_latestDrawNumber - offset - 1;
    for (int d = 0; d < kSourceDraws; ++d)
        for (int j = 1; j <= kSourcePositions; ++j)
            cells[std::size_t(d)][std::size_t(j - 1)] = numberAt(s0 - d, j);

    auto occurrences = [&](int v) {
        int count = 0;
        for (const auto &draw : cells)
            count += int(std::count(draw.begin(), draw.end(), v));
        return count;
    };

    // Qualifying numbers in candidate order; the one-shot prediction shows the first seven,
    // the repeated prediction the first fourteen.
    std::vector<int> qualifying;
    for (int d = 0; d < kSourceDraws && int(qualifying.size()) < kRepeatedRows * kNumbersPerRow; ++d) {
        for (int j = 0; j < kSourcePositions && int(qualifying.size()) < kRepeatedRows * kNumbersPerRow; ++j) {
            const int v = cells[std::size_t(d)][std::size_t(j)];
            if (v == 0)
                break; // a missing draw: go on with the next one
            if (occurrences(v) == 1)
                qualifying.push_back(v);
        }
    }

    ResultGrid &repeated = m_grids[2];
    ResultGrid &oneShot = m_grids[3];
    m_sets[Prediction::Repeated] = m_sets[Prediction::OneShot] = 0;
    for (std::size_t i = 0; i < qualifying.size(); ++i) {
        const int c = int(i) % kNumbersPerRow, r = int(i) / kNumbersPerRow;
        repeated.setText(c + 2, r + 2, qualifying[i]);
        m_sets[Prediction::Repeated] |= DrawRules::maskOf(qualifying[i]);
        if (r == 0) {
            oneShot.setText(c + 2, 2, qualifying[i]);
            m_sets[Prediction::OneShot] |= DrawRules::maskOf(qualifying[i]);
        }
    }
}
