#include "EstiloGrafico.h"

#include <QAbstractAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace kalnor::estilo {

// A round step (1, 2 or 5 times a power of ten, never below 1: frequencies
// are whole numbers) giving about eight ticks up to `maximo`.
double paso(double maximo) {
    const double bruto = std::max(1.0, maximo / 8.0);
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * potencia >= bruto)
            return m * potencia;
    return 10.0 * potencia;
}

QFont letra(int puntos, bool negrita) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(puntos);
    f.setBold(negrita);
    return f;
}

void estiloEje(QAbstractAxis* eje) {
    eje->setLabelsFont(letra(8));
    eje->setTitleFont(letra(9, true));
    eje->setLinePen(QPen(QColor(0x30, 0x30, 0x30), 1));
    eje->setGridLinePen(QPen(QColor(0xb0, 0xb0, 0xb0), 1, Qt::DashLine));
    eje->setGridLineVisible(false);
    eje->setMinorGridLineVisible(false);
}

double pasoLibre(double ancho, int marcas) {
    if (!(ancho > 0) || !std::isfinite(ancho))
        return 1.0;
    const double bruto = ancho / marcas;
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * potencia >= bruto)
            return m * potencia;
    return 10.0 * potencia;
}

std::unique_ptr<QChart> graficoVacio(const QLocale& locale) {
    auto chart = std::make_unique<QChart>();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(locale);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setTitleFont(letra(12, true));
    return chart;
}

QImage imagenDe(std::unique_ptr<QChart> chart, QSize tamano) {
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::white);
    QGraphicsScene escena;
    QChart* enEscena = chart.release();
    escena.addItem(enEscena); // the scene owns it now
    enEscena->setGeometry(QRectF(QPointF(0, 0), tamano));
    escena.setSceneRect(QRectF(QPointF(0, 0), tamano));
    // Lay the chart out before painting.
    enEscena->layout()->activate();
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setRenderHint(QPainter::TextAntialiasing);
    escena.render(&pintor, QRectF(QPointF(0, 0), tamano), QRectF(QPointF(0, 0), tamano));
    return imagen;
}

} // namespace kalnor::estilo
