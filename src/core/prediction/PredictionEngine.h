#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/prediction/PredictedSets.h"
#include "core/settings/PredictionOptions.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// 一発ズバリオ予想: the four grids of a first opening with these options.
std::vector<ResultGrid> buildPredictionGrids(const DrawHistory &history, const PredictionOptions &options);
// The sets the prediction window shows for this history and these options. The window
// recomputes everything from those two whenever it opens or an option changes, so this is what
// it shows now, open or not.
Prediction::Sets predictSets(const DrawHistory &history, const PredictionOptions &options);

// The state of the prediction window that outlives its openings: the reflect options, the
// table of draws, the cycle table and the elimination candidates, plus the four grids of the
// current opening. The window only lays out widgets around it; the command line uses it to
// compute a first opening.
class PredictionEngine {
public:
    static constexpr int kGridCount = 4;
    static constexpr int kGridColumns = 8;
    static constexpr int kCycleRows = 4;    // cycle lengths 7, 9, 11, 12
    static constexpr int kCycleColumns = 8; // positions 1..7 main, 8 = ボーナス数字1
    static constexpr int kPositions = 9;    // NumbersByDraw positions 1..9
    static constexpr int kEliminationCount = 21;

    static constexpr std::array<int, kCycleRows> kCycleLengths{7, 9, 11, 12};
    static constexpr std::array<int, PredictionOptions::kCount> kReflectWeights{1, 15, 6, 9, 10, 4, 8, 2, 11, 7, 16, 3};

    struct EliminationFormula {
        int position;
        int back;
        int add;
    };
    static const std::array<EliminationFormula, kEliminationCount> &eliminationFormulas();

    // The flag store; ReadInitFile and WriteInitFile work on it directly.
    PredictionOptions &options() { return m_options; }
    const PredictionOptions &options() const { return m_options; }
    bool reflectFlag(int index) const { return m_options.ReflectFlag[std::size_t(index)]; }
    void setReflectFlag(int index, bool reflect) { m_options.ReflectFlag[std::size_t(index)] = reflect; }
    // The sum of the weights of the flags that are on: how many draws further back the
    // option-dependent predictions take their source draws.
    int reflectOffset() const;

    // Fresh grids with sizes, widths, borders, method labels and header rows; no numbers yet.
    void layOutGrids();
    // Walks the whole history into NumbersByDraw and the CycleTable, then recomputes.
    void runCycleMethod(const DrawHistory &history);
    // Rewrites grid 0 from the CycleTable and recomputes grids 1..3 from the flags.
    void recompute();

    const std::array<ResultGrid, kGridCount> &grids() const { return m_grids; }
    // The numbers of the grids as sets, recomputed with them.
    const Prediction::Sets &sets() const { return m_sets; }
    const ResultGrid &grid(int index) const { return m_grids[std::size_t(index)]; }

    // NumbersByDraw[draw][position]; 0 for a draw that is not in the table (also below 1).
    int numberAt(int draw, int position) const;
    int drawTableSize() const { return int(m_numbersByDraw.size()); }
    // CycleTable cell, row 1..4 (7, 9, 11, 12 draws), column 1..8.
    QString cycleCell(int row, int column) const;
    const std::vector<QString> &eliminationList() const { return m_eliminationList; }
    int latestDrawNumber() const { return m_latestDrawNumber; }

private:
    void clearNumberCells();
    void writeCycleTable();
    void eliminationMethod(int offset);
    void repeatedPredictions(int offset);

    PredictionOptions m_options;
    // Indexed by draw number; entry [n][k - 1] is position k of draw n.
    std::vector<std::array<std::int16_t, kPositions>> m_numbersByDraw;
    std::array<std::array<QString, kCycleColumns>, kCycleRows> m_cycleTable{};
    std::vector<QString> m_eliminationList = std::vector<QString>(kEliminationCount);
    int m_latestDrawNumber = 0;
    std::array<ResultGrid, kGridCount> m_grids;
    Prediction::Sets m_sets{};
};
