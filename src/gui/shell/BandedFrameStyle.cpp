#include "gui/shell/BandedFrameStyle.h"

#include <QPainter>
#include <QPaintDevice>
#include <QStyleOption>

#include <algorithm>

namespace {
// The raster engine hands a fill of 96 device rows or more to its threads.
constexpr int kBandDeviceRows = 95;
} // namespace

void BandedFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const {
    const QRect frame = option->rect;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const int bandRows = std::max(1, int(kBandDeviceRows / ratio));
    if (element != PE_FrameGroupBox || frame.height() <= bandRows) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    for (int top = frame.top(); top <= frame.bottom(); top += bandRows) {
        painter->save();
        painter->setClipRect(QRect(frame.left(), top, frame.width(), bandRows), Qt::IntersectClip);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
    }
}
