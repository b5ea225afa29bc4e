#include "core/analysis/LastDigitRunsAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"
#include "core/analysis/LastDigitTrendAnalysis.h"

namespace {
constexpr int kColumns = 11; // 回数, digits 0..9
constexpr int kBandHeight = 20;

Rgb runColour(int run) {
    if (run <= 3)
        return Palette::LightCyan;
    if (run <= 6)
        return Palette::LightGreen;
    if (run <= 9)
        return Palette::LightYellow;
    if (run <= 12)
        return Palette::LightMagenta;
    return Palette::LightPink;
}

// Header block starting at row s: band row then digit row at the top, mirrored at the bottom.
void writeHeader(ResultGrid &grid, int s, bool bottom) {
    const int bandRow = bottom ? s + 1 : s;
    const int digitRow = bottom ? s : s + 1;
    grid.block(2, s, kColumns, s + 1).fore(Palette::Blue).back(Palette::LightPink);
    grid.cellBlock(1, s).outline();
    grid.block(2, digitRow, kColumns, digitRow).outline();
    // One block for the band text: no lines between the digit columns.
    grid.block(2, bandRow, kColumns, bandRow).noBorder().outline();
    grid.setText(1, bandRow, QStringLiteral("回数"));
    grid.cellBlock(2, bandRow).align(Align::Left);
    grid.setText(2, bandRow, lastDigitBandText());
    grid.setRowHeight(bandRow, kBandHeight);
    for (int d = 0; d <= 9; ++d)
        grid.setText(d + 2, digitRow, d);
}

void writeMark(ResultGrid &grid, int digit, int drawNumber, int run) {
    grid.setText(digit + 2, drawNumber + 2, run);
    grid.cellBlock(digit + 2, drawNumber + 2).border(Bottom).back(runColour(run));
}
} // namespace

LastDigitDraws collectLastDigitDraws(const DrawHistory &history) {
    LastDigitDraws draws;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            draws[std::size_t(lastDigit(draw.number(k)))].push_back(draw.drawNumber);
    }
    return draws;
}

ResultGrid buildLastDigitRuns(const DrawHistory &history) {
    const LastDigitDraws draws = collectLastDigitDraws(history);
    const int latest = history.latestDrawNumber();

    ResultGrid grid(kColumns, latest + 4);
    grid.setOverflow(true);
    GridSetUp{.visibleColumns = 29, .visibleRows = 52, .frozenRows = 2, .rowHeight = 10, .columnWidth = 5}.applyTo(
        grid);

    grid.block(1, -1, 1, -1).fore(Palette::Red).back(Palette::LightYellow);
    // Every draw number up to the latest, also those missing from the history.
    for (int n = 1; n <= latest; ++n)
        grid.setText(1, n + 2, n);
    grid.block(1, 2, kColumns, -1).border(AllSides);
    grid.block(1, 3, 1, latest + 3).border(Bottom);

    writeHeader(grid, 1, false);
    writeHeader(grid, latest + 3, true);

    // Pairs of neighbouring items: the next draw, or the same draw again, continues the run; the
    // first draw of a run gets no mark. Every item takes part: a digit drawn more often than the
    // latest draw number would otherwise lose the marks of its most recent runs.
    for (int d = 0; d <= 9; ++d) {
        const std::vector<int> &items = draws[std::size_t(d)];
        int run = 0;
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            const int a = items[i];
            const int b = items[i + 1];
            if (b > a + 1) {
                run = 0;
            } else {
                ++run;
                writeMark(grid, d, b, run);
            }
        }
    }

    grid.parkCursor();
    return grid;
}
