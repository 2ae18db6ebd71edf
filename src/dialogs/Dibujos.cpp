#include "Dibujos.h"

#include "app/Version.h"

#include <QFile>
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
    QFile archivo(QStringLiteral(":/dibujos/%1.svg").arg(nombre));
    QByteArray bytes = archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
    // The credits name the version; it is written once, in the build.
    bytes.replace("@VERSION@", version().toUtf8());
    QSvgRenderer svg(bytes);
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
