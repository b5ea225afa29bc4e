#include "gui/shell/BandedFrameStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace {
// Below the raster engine's threshold for handing a fill to other threads.
constexpr int kBandRows = 64;
} // namespace

void BandedFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const {
    const QRect frame = option->rect;
    if (element != PE_FrameGroupBox || frame.height() <= kBandRows) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    for (int top = frame.top(); top <= frame.bottom(); top += kBandRows) {
        painter->save();
        painter->setClipRect(QRect(frame.left(), top, frame.width(), kBandRows), Qt::IntersectClip);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
    }
}
