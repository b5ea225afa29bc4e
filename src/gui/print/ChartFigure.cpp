#include "gui/print/ChartFigure.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QPainter>
#include <QPicture>

PrintDocument::Figure chartFigure(QChartView &view, const QSizeF &size) {
    QChart *chart = view.chart();
    const QRectF shown = chart->geometry();
    chart->setGeometry(QRectF(shown.topLeft(), size));
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        view.scene()->render(&painter, QRectF(QPointF(0, 0), size), QRectF(shown.topLeft(), size));
    }
    chart->setGeometry(shown);
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    return {QByteArray(picture.data(), qsizetype(picture.size())), size};
}
