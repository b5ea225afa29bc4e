#include "gui/shell/WindowArrangement.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include <algorithm>

namespace {
// The size a window had before a tiling changed it; cascading gives it back.
const char *const kSizeBeforeTiling = "sizeBeforeTiling";
} // namespace

namespace WindowArrangement {

// Lays the open windows out side by side (Horizontal) or one above the other (Vertical),
// leaving the row of minimised windows free.
void tile(QMdiArea &mdi, Qt::Orientation orientation) {
    QList<QMdiSubWindow *> windows;
    int iconRow = 0;
    for (QMdiSubWindow *sub : mdi.subWindowList()) {
        if (sub->isMinimized())
            iconRow = std::max(iconRow, sub->height());
        else if (sub->isVisible())
            windows << sub;
    }
    if (windows.isEmpty())
        return;
    const QRect area = mdi.viewport()->rect().adjusted(0, 0, 0, -iconRow);
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        if (!sub->property(kSizeBeforeTiling).isValid())
            sub->setProperty(kSizeBeforeTiling, sub->size());
        if (orientation == Qt::Horizontal) {
            const int x1 = area.width() * i / n, x2 = area.width() * (i + 1) / n;
            sub->setGeometry(x1, 0, x2 - x1, area.height());
        } else {
            const int y1 = area.height() * i / n, y2 = area.height() * (i + 1) / n;
            sub->setGeometry(0, y1, area.width(), y2 - y1);
        }
    }
    arrangeIcons(mdi);
}

// Steps the open windows diagonally from the top left corner by the height of a title bar, in
// their stacking order, so the front one stays in front. Each keeps its size (the one it had
// before a tiling), shrunk only as far as it must to stay inside the area; once a window would
// lose more than a quarter of its size the steps start again at the corner.
void cascade(QMdiArea &mdi) {
    QList<QMdiSubWindow *> windows;
    int iconRow = 0;
    for (QMdiSubWindow *sub : mdi.subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isMinimized())
            iconRow = std::max(iconRow, sub->height());
        else if (sub->isVisible())
            windows << sub;
    }
    const QRect area = mdi.viewport()->rect().adjusted(0, 0, 0, -iconRow);
    QPoint at;
    for (QMdiSubWindow *sub : std::as_const(windows)) {
        if (sub->isMaximized())
            sub->showNormal();
        QSize size = sub->size();
        if (const QVariant before = sub->property(kSizeBeforeTiling); before.isValid())
            size = before.toSize();
        sub->setProperty(kSizeBeforeTiling, QVariant());
        size = size.boundedTo(area.size());
        const QSize room = area.size() - QSize(at.x(), at.y());
        if (room.width() * 4 < size.width() * 3 || room.height() * 4 < size.height() * 3)
            at = QPoint();
        sub->setGeometry(QRect(at, size.boundedTo(area.size() - QSize(at.x(), at.y()))));
        const int step = std::max(sub->contentsMargins().top(), 1);
        at += QPoint(step, step);
    }
    arrangeIcons(mdi);
}

void arrangeIcons(QMdiArea &mdi) {
    const QRect area = mdi.viewport()->rect();
    int x = 0, y = area.height();
    for (QMdiSubWindow *sub : mdi.subWindowList()) {
        if (!sub->isMinimized())
            continue;
        if (x > 0 && x + sub->width() > area.width()) {
            x = 0;
            y -= sub->height();
        }
        sub->move(x, y - sub->height());
        x += sub->width();
    }
}

} // namespace WindowArrangement

void WindowArrangement::fillMenu(QMenu &menu, QMdiArea &mdi) {
    const struct {
        const char *text, *objectName;
        void (*arrange)(QMdiArea &);
    } arrangements[] = {
        {"上下に並べて表示(&H)", "mnuWindowHorizontal", [](QMdiArea &area) { tile(area, Qt::Vertical); }},
        {"左右に並べて表示(&V)", "mnuWindowVertical", [](QMdiArea &area) { tile(area, Qt::Horizontal); }},
        {"重ねて表示(&C)", "mnuWindowCascade", cascade},
        {"アイコンの整列(&A)", "mnuWindowArrangeIcon", arrangeIcons},
    };
    for (const auto &item : arrangements) {
        QAction *action = menu.addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.objectName));
        QObject::connect(action, &QAction::triggered, &mdi, [&mdi, arrange = item.arrange] { arrange(mdi); });
    }
    auto *list = new QActionGroup(&menu);
    list->setExclusive(true);
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu, &mdi, list] {
        for (QAction *action : list->actions())
            delete action;
        const QList<QMdiSubWindow *> windows = mdi.subWindowList(QMdiArea::CreationOrder);
        if (windows.isEmpty())
            return;
        QAction *separator = menu.addSeparator();
        separator->setActionGroup(list);
        for (int i = 0; i < int(windows.size()); ++i) {
            QMdiSubWindow *window = windows[i];
            const QString title = window->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
            QAction *action = menu.addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                                   : QStringLiteral("%1 %2").arg(i + 1).arg(title));
            action->setObjectName(QStringLiteral("mnuWindowList%1").arg(i + 1));
            action->setCheckable(true);
            action->setChecked(window == mdi.activeSubWindow());
            action->setActionGroup(list);
            QObject::connect(action, &QAction::triggered, &mdi, [&mdi, window = QPointer<QMdiSubWindow>(window)] {
                if (!window)
                    return;
                if (window->isMinimized())
                    window->showNormal();
                mdi.setActiveSubWindow(window);
            });
        }
    });
}
