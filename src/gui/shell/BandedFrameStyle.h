#pragma once

#include <QProxyStyle>
#include <QRegion>

#include <vector>

// A style with tall group box frames drawn in bands of rows. Qt's raster engine hands every fill
// of 96 spans (rows, or the parts of rows between opaque children) or more to its thread pool and
// waits for it; for a frame's thin edges that costs far more in hand-offs between threads than it
// saves, and the prediction window's two panels are such frames in the first frame of every
// start. Drawn band by band, the same pixels come out on the painting thread.
class BandedFrameStyle : public QProxyStyle {
public:
    // Over the given style (taking it over), so that a style the user chose stays in force.
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    // The rows of each band of `frame`, top to bottom: as many as keep a fill of the band under
    // the engine's 96 spans, a row costing one span for each rectangle of `clip` it crosses.
    static std::vector<int> bandHeights(const QRegion &clip, const QRect &frame);
};
