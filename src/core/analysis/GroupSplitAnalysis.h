#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

#include <QString>

// How one of the group map windows (分割6/7/9データ分析) cuts the numbers into lettered groups
// of equal width; the last group is the widest and runs on to the highest number.
struct GroupSplitLayout {
    int groupCount;
    int groupWidth;
    int letterLead, letterTrail;         // spaces around the letter of every group but the last
    int lastLetterLead, lastLetterTrail; // spaces around the letter of the last group
    QString title;                       // row 1, written into column 18
    int visibleColumns;
    // The 9-group map counts every value above 32, and any value that is not a number, into its
    // last group; the others ignore a value that is not a number.
    bool strayToLastGroup;

    // Group k counted from 0: its first and last grid column (number n sits in column n + 1).
    int firstColumn(int k) const { return k * groupWidth + 2; }
    int lastColumn(int k) const {
        return k == groupCount - 1 ? DrawRules::kMaxNumber + 1 : k * groupWidth + groupWidth + 1;
    }
    // The group a drawn value counts into, or -1 when it is not counted.
    int groupOf(int value) const;
    // Row 2 text of group k: its full-width letter (Ａ, Ｂ, ..) between counted spaces.
    QString letterText(int k) const;
};

namespace GroupSplit {
const GroupSplitLayout &sixGroups();
const GroupSplitLayout &sevenGroups();
const GroupSplitLayout &nineGroups();
} // namespace GroupSplit

// The whole grid of one group map window.
ResultGrid buildGroupSplit(const DrawHistory &history, const GroupSplitLayout &layout);
