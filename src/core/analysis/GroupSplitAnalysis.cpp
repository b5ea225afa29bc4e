#include "core/analysis/GroupSplitAnalysis.h"

#include "core/analysis/Builders.h"
#include "core/grid/GridSetUp.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int kColumns = DrawRules::kMaxNumber + 2; // 回, the numbers, 回
constexpr int kLastNumberColumn = DrawRules::kMaxNumber + 1;
constexpr int kHeaderRows = 3;
constexpr int kVisibleRows = 53;
constexpr int kTitleColumn = 18;

const QString kMark = QStringLiteral("●");
} // namespace

int GroupSplitLayout::groupOf(int value) const {
    if (!DrawRules::isNumber(value))
        return strayToLastGroup ? groupCount - 1 : -1;
    return std::min((value - 1) / groupWidth, groupCount - 1);
}

QString GroupSplitLayout::letterText(int k) const {
    const bool last = k == groupCount - 1;
    const QChar letter(char16_t(u'Ａ' + k));
    return QString(last ? lastLetterLead : letterLead, QLatin1Char(' ')) + letter +
           QString(last ? lastLetterTrail : letterTrail, QLatin1Char(' '));
}

namespace GroupSplit {
// The titles differ only in their leading spaces, which centre 数字 over each window's groups.
const GroupSplitLayout &sixGroups() {
    static const GroupSplitLayout layout{6, 6, 11, 12, 13, 10, QStringLiteral("  数　　 字"), kColumns, false};
    return layout;
}
const GroupSplitLayout &sevenGroups() {
    static const GroupSplitLayout layout{7, 5, 9, 10, 13, 10, QStringLiteral(" 数　　 字"), 45, false};
    return layout;
}
const GroupSplitLayout &nineGroups() {
    static const GroupSplitLayout layout{9, 4, 7, 8, 9, 8, QStringLiteral("数　　 字"), kColumns, true};
    return layout;
}
} // namespace GroupSplit

ResultGrid buildGroupSplit(const DrawHistory &history, const GroupSplitLayout &layout) {
    const int rows = history.latestDrawNumber() + kHeaderRows;
    ResultGrid grid(kColumns, rows);
    // The title and the group letters run across their blocks.
    grid.setOverflow(true);
    GridSetUp{.visibleColumns = layout.visibleColumns,
              .visibleRows = kVisibleRows,
              .frozenRows = kHeaderRows,
              .rowHeight = 9,
              .rowHeights = {{1, 15}, {2, 12}},
              .columnWidth = 2,
              .columnWidths = {{1, 3}, {kColumns, 3}}}
        .applyTo(grid);

    // Later settings override earlier ones on the same cell, so the order below matters.
    grid.block(1, kHeaderRows, kColumns, -1).border(AllSides, Palette::LightBlue);

    grid.block(2, 1, kLastNumberColumn, 1).back(Palette::LightPink).align(Align::Left).outline(Palette::LightBlue);
    grid.setText(kTitleColumn, 1, layout.title);

    for (int col : {1, kColumns})
        grid.block(col, -1, col, -1).fore(Palette::Red).back(Palette::LightYellow);

    // Bands on Ｂ, Ｄ, Ｆ, Ｈ; an empty group's grey replaces them on its draw row.
    for (int k = 1; k < layout.groupCount; k += 2)
        grid.block(layout.firstColumn(k), 2, layout.lastColumn(k), -1).back(Palette::LightCyan);

    for (int k = 0; k < layout.groupCount; ++k) {
        const int first = layout.firstColumn(k);
        grid.block(first, 2, layout.lastColumn(k), 2).outline(Palette::LightBlue);
        grid.cellBlock(first, 2).align(Align::Left);
        grid.setText(first, 2, layout.letterText(k));
    }

    grid.setText(1, 3, QStringLiteral("回"));
    grid.setText(kColumns, 3, QStringLiteral("回"));
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
        grid.setText(n + 1, 3, n);
    grid.block(2, 3, kLastNumberColumn, 3).fore(Palette::Blue);

    std::vector<int> groupCounter(std::size_t(layout.groupCount));
    int row = kHeaderRows + 1;
    for (const DrawRecord &draw : history.records()) {
        if (!draw.isComplete())
            continue;
        std::fill(groupCounter.begin(), groupCounter.end(), 0);
        grid.setText(1, row, draw.drawNumber);
        grid.setText(kColumns, row, draw.drawNumber);
        // A value that is not a number would land on a draw-number column; it gets no mark.
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            if (DrawRules::isNumber(draw.number(k)))
                grid.setText(draw.number(k) + 1, row, kMark);
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            if (const int g = layout.groupOf(draw.number(k)); g >= 0)
                ++groupCounter[std::size_t(g)];
        for (int g = 0; g < layout.groupCount; ++g)
            if (groupCounter[std::size_t(g)] == 0)
                grid.block(layout.firstColumn(g), row, layout.lastColumn(g), row).back(Palette::Grey210);
        for (int k = 1; k <= DrawRecord::kFieldCount; ++k)
            if (DrawRules::isNumber(draw.number(k)))
                grid.cellBlock(draw.number(k) + 1, row).fore(Palette::markColour(k));
        ++row;
    }

    grid.parkCursor();
    return grid;
}

ResultGrid buildGroupSplit6(const DrawHistory &history) {
    return buildGroupSplit(history, GroupSplit::sixGroups());
}
ResultGrid buildGroupSplit7(const DrawHistory &history) {
    return buildGroupSplit(history, GroupSplit::sevenGroups());
}
ResultGrid buildGroupSplit9(const DrawHistory &history) {
    return buildGroupSplit(history, GroupSplit::nineGroups());
}
