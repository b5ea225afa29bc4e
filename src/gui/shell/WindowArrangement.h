#pragma once

#include <Qt>

class QMdiArea;
class QMenu;

// How ウィンドウ lays out the open windows of the multiple-document area.
namespace WindowArrangement {
// Side by side (Horizontal) or one above the other (Vertical), leaving the row of minimised
// windows free.
void tile(QMdiArea &mdi, Qt::Orientation orientation);
// Diagonally from the top left corner, the front window staying in front.
void cascade(QMdiArea &mdi);
// The minimised windows in rows along the bottom.
void arrangeIcons(QMdiArea &mdi);
// Lists the open windows at the end of the menu each time it opens, numbered with access keys,
// the active one checked; choosing one brings it to the front (restoring it when minimised).
void listWindows(QMenu &menu, QMdiArea &mdi);
} // namespace WindowArrangement
