#include "gui/shell/BandedFrameStyle.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <vector>

namespace {
// The raster engine hands a fill of 96 spans or more to its threads.
constexpr int kMostSpans = 95;
// Where the clip is not known row by row: a frame's stretched pieces laid between children are
// up to three spans a row.
constexpr int kPlainBandDeviceRows = kMostSpans / 3;
} // namespace

std::vector<int> BandedFrameStyle::bandHeights(const QRegion &clip, const QRect &frame) {
    std::vector<int> spans(std::size_t(frame.height()), 0);
    for (const QRect &part : clip.intersected(frame))
        for (int y = part.top(); y <= part.bottom(); ++y)
            ++spans[std::size_t(y - frame.top())];
    std::vector<int> heights;
    int rows = 0, sum = 0;
    for (const int s : spans) {
        if (rows > 0 && sum + s > kMostSpans) {
            heights.push_back(rows);
            rows = sum = 0;
        }
        ++rows;
        sum += s;
    }
    if (rows > 0)
        heights.push_back(rows);
    return heights;
}

void BandedFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const {
    const QRect frame = option->rect;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (element != PE_FrameGroupBox || frame.height() * ratio <= kPlainBandDeviceRows) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Painting a widget, the engine's clip is the widget's visible part in device rows; the band
    // heights follow from it where frame rows are device rows. Elsewhere, bands of fixed height.
    std::vector<int> heights;
    const QTransform toDevice = painter->deviceTransform();
    const QRegion clip = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
    if (ratio == 1.0 && toDevice.type() <= QTransform::TxTranslate && !painter->hasClipping() && !clip.isEmpty()) {
        heights = bandHeights(clip.translated(-int(toDevice.dx()), -int(toDevice.dy())), frame);
    } else {
        const int rows = std::max(1, int(kPlainBandDeviceRows / ratio));
        for (int top = 0; top < frame.height(); top += rows)
            heights.push_back(std::min(rows, frame.height() - top));
    }
    if (heights.size() == 1) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    int top = frame.top();
    for (const int rows : heights) {
        painter->save();
        painter->setClipRect(QRect(frame.left(), top, frame.width(), rows), Qt::IntersectClip);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
        top += rows;
    }
}
