#include "VistaGrafico.h"

#include "RenderAula.h"
#include "RenderGrafico.h"

#include <QChart>
#include <QMouseEvent>

namespace kalnor {

VistaGrafico::VistaGrafico(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("Graph1"));
    setRenderHint(QPainter::Antialiasing);
    setToolTip(QStringLiteral("Pulse sobre el gráfico para guardarlo como imagen"));
    borrar();
}

VistaGrafico::~VistaGrafico() = default;

void VistaGrafico::cambiarGrafico(QChart* nuevo) {
    // The view gives the previous chart back instead of deleting it.
    QChart* viejo = chart();
    setChart(nuevo);
    delete viejo;
}

void VistaGrafico::borrar() {
    auto* vacio = new QChart;
    vacio->setBackgroundBrush(Qt::white);
    vacio->legend()->setVisible(false);
    cambiarGrafico(vacio);
}

void VistaGrafico::dibujar(const ControlGrafico& grafico) {
    cambiarGrafico(construirGrafico(grafico, locale()).release());
}

void VistaGrafico::dibujarAula(const GraficoAula& grafico) {
    cambiarGrafico(construirGraficoAula(grafico, locale()).release());
}

bool VistaGrafico::escribirImagen(const ControlGrafico&, const QString& ruta) {
    return grab().save(ruta, "PNG");
}

void VistaGrafico::mouseReleaseEvent(QMouseEvent* event) {
    QChartView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit pulsado();
}

} // namespace kalnor
