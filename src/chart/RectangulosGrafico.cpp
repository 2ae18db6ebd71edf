#include "RectangulosGrafico.h"

#include <QChart>
#include <QPainter>

#include <cmath>

namespace kalnor {

RectangulosGrafico::RectangulosGrafico(QChart* chart, QAbstractSeries* serie,
                                       QList<Rectangulo> rectangulos)
    : QGraphicsItem(chart), chart_(chart), serie_(serie), rectangulos_(std::move(rectangulos)) {
    // Above the plot area's background, below the axes.
    setZValue(5);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] {
        prepareGeometryChange();
        update();
    });
}

QRectF RectangulosGrafico::boundingRect() const {
    return chart_->plotArea();
}

void RectangulosGrafico::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->save();
    painter->setClipRect(chart_->plotArea());
    // Axis-aligned rectangles need no antialiasing; without it they fill fast.
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (const Rectangulo& r : rectangulos_) {
        const QRectF zona = QRectF(chart_->mapToPosition(r.valores.topLeft(), serie_),
                                   chart_->mapToPosition(r.valores.bottomRight(), serie_))
                                .normalized();
        // Whole pixels, so that neighbours meet without hairline gaps.
        painter->fillRect(QRectF(QPointF(std::floor(zona.left()), std::floor(zona.top())),
                                 QPointF(std::ceil(zona.right()), std::ceil(zona.bottom()))),
                          r.color);
    }
    painter->restore();
}

} // namespace kalnor
