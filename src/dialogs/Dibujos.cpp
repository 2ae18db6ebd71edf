#include "Dibujos.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

// The pictures live in a static library: register them explicitly.
static void iniciarDibujos() {
    Q_INIT_RESOURCE(dibujos);
}

namespace kalnor {

QPixmap dibujo(const QString& nombre, qreal escala) {
    iniciarDibujos();
    QSvgRenderer svg(QStringLiteral(":/dibujos/%1.svg").arg(nombre));
    const QSize tam = svg.defaultSize();
    QPixmap pixmap(tam * escala);
    pixmap.fill(Qt::transparent);
    {
        QPainter pintor(&pixmap);
        pintor.setRenderHint(QPainter::Antialiasing);
        svg.render(&pintor);
    }
    pixmap.setDevicePixelRatio(escala);
    return pixmap;
}

void ImagenPulsable::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace kalnor
