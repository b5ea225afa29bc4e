#include "gui/figures/ChartFigure.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QImage>
#include <QPainter>
#include <QValueAxis>

namespace {
// Pixels of the picture per page unit: 288 dots per inch, sharp enough on paper.
constexpr int kResolution = 3;
} // namespace

PrintDocument::Figure chartFigure(QChartView &view, const QSizeF &size) {
    QChart *chart = view.chart();
    const QRectF shown = chart->geometry();
    chart->setGeometry(QRectF(shown.topLeft(), size));
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    QImage image((size * kResolution).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.scene()->render(&painter, QRectF(QPointF(0, 0), image.size()), QRectF(shown.topLeft(), size));
    }
    chart->setGeometry(shown);
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {png, size};
}

void attachCountAxes(QChart &chart, QAbstractSeries &series, QAbstractAxis *x, double top) {
    auto *y = new QValueAxis;
    y->setRange(0, top * 1.05);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("回数"));
    attachAxes(chart, x, y, {&series});
}

void attachAxes(QChart &chart, QAbstractAxis *x, QAbstractAxis *y, std::initializer_list<QAbstractSeries *> series) {
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : series) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}
