#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QList>
#include <QRectF>

class QChart;
class QAbstractSeries;

namespace kalnor {

// Thousands of bars or stacked shares painted straight onto the chart's plot
// area as plain rectangles. As series items, that many edges cost the
// antialiased rasterizer far more than the rectangles themselves. Child of the
// chart, which owns it; `serie` (attached to the chart's axes) maps values to
// positions.
class RectangulosGrafico : public QGraphicsItem {
public:
    struct Rectangulo {
        QRectF valores; // in the axes' values
        QColor color;
    };

    RectangulosGrafico(QChart* chart, QAbstractSeries* serie, QList<Rectangulo> rectangulos);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QChart* chart_;
    QAbstractSeries* serie_;
    QList<Rectangulo> rectangulos_;
};

} // namespace kalnor
