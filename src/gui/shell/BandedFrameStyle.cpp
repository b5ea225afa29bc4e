#include "gui/shell/BandedFrameStyle.h"

#include <QPainter>
#include <QPaintDevice>
#include <QStyleOption>

#include <algorithm>

namespace {
// The raster engine hands a fill of 96 spans or more to its threads. The frame's stretched
// pieces give up to three spans a row (partly covered pixels at both ends), so a band of 31 rows
// stays under that; bands of 95 still gave eight hand-offs in the first frame.
constexpr int kBandDeviceRows = 31;
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
