#include "ImagenGrafico.h"

#include "app/EscrituraAtomica.h"

#include <QBuffer>
#include <QChart>
#include <QClipboard>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <functional>

namespace kalnor {

namespace {

// Paints the chart on `dispositivo` through its scene (a chart not yet in a
// view gets one of its own for the while), returning the size painted.
void pintar(QChart& chart, QSize minimo, const std::function<QPaintDevice*(QSize)>& dispositivo) {
    QGraphicsScene propia;
    const bool suelto = chart.scene() == nullptr;
    if (suelto)
        propia.addItem(&chart);
    QSize tamano = chart.size().toSize();
    if (tamano.width() < 50 || tamano.height() < 50) {
        tamano = minimo;
        chart.resize(tamano);
    }
    if (chart.layout())
        chart.layout()->activate();
    const QRectF origen(chart.scenePos(), QSizeF(tamano));
    {
        QPaintDevice* destino = dispositivo(tamano);
        QPainter pintor(destino);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.setRenderHint(QPainter::TextAntialiasing);
        pintor.fillRect(QRectF(QPointF(0, 0), QSizeF(tamano)), Qt::white);
        chart.scene()->render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)), origen);
    }
    if (suelto)
        propia.removeItem(&chart); // the caller keeps the chart
}

} // namespace

std::optional<FormatoImagen> formatoImagenPorNombre(const QString& ruta) {
    const QString sufijo = QFileInfo(ruta).suffix().toLower();
    if (sufijo == u"png")
        return FormatoImagen::Png;
    if (sufijo == u"svg")
        return FormatoImagen::Svg;
    return std::nullopt;
}

QImage imagenDeGrafico(QChart& chart, QSize minimo) {
    QImage imagen;
    pintar(chart, minimo, [&imagen](QSize tamano) -> QPaintDevice* {
        imagen = QImage(tamano, QImage::Format_ARGB32_Premultiplied);
        imagen.fill(Qt::white);
        return &imagen;
    });
    return imagen;
}

QByteArray svgDeGrafico(QChart& chart, const QString& titulo, QSize minimo) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setTitle(titulo);
    svg.setDescription(QStringLiteral("Kalnor"));
    pintar(chart, minimo, [&svg](QSize tamano) -> QPaintDevice* {
        svg.setSize(tamano);
        svg.setViewBox(QRect(QPoint(0, 0), tamano));
        return &svg;
    });
    return bytes;
}

QString guardarGrafico(QChart& chart, const QString& ruta) {
    const std::optional<FormatoImagen> formato = formatoImagenPorNombre(ruta);
    if (!formato)
        return noSeEscribe(ruta, QStringLiteral("el nombre debe acabar en .png o .svg"));
    QByteArray bytes;
    if (*formato == FormatoImagen::Svg) {
        bytes = svgDeGrafico(chart, QFileInfo(ruta).completeBaseName());
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        imagenDeGrafico(chart).save(&buffer, "PNG");
    }
    if (bytes.isEmpty())
        return noSeEscribe(ruta, QStringLiteral("no se ha podido dibujar el gráfico"));
    return escribirAtomico(ruta, bytes);
}

void copiarGrafico(QChart& chart) {
    QGuiApplication::clipboard()->setImage(imagenDeGrafico(chart));
}

} // namespace kalnor
