#pragma once

class QLayout;
class QString;
class QWidget;
class ResultGridView;

// What the two windows of theory share in laying out their grids.
namespace TheoryViews {
// A grid shown whole: every row and column it asks to show, no scroll bars of its own.
ResultGridView *wholeGridView(const QString &name, QWidget *parent);
// After the grids got new sizes: a hidden window's layouts do not hear of it by themselves, and
// the window's size is asked for before it is shown.
void invalidate(QLayout *layout);
} // namespace TheoryViews
