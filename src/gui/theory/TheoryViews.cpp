#include "gui/theory/TheoryViews.h"

#include "gui/grid/ResultGridView.h"

#include <QLayout>

ResultGridView *TheoryViews::wholeGridView(const QString &name, QWidget *parent) {
    auto *view = new ResultGridView(parent);
    view->setObjectName(name);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return view;
}

void TheoryViews::invalidate(QLayout *layout) {
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout *inner = layout->itemAt(i)->layout())
            invalidate(inner);
    layout->invalidate();
}
