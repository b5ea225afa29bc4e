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
// The menu ウィンドウ: the four arrangements, then the open windows, listed afresh each time the
// menu opens, numbered with access keys, the active one checked; choosing one brings it to the
// front (restoring it when minimised).
void fillMenu(QMenu &menu, QMdiArea &mdi);
} // namespace WindowArrangement
