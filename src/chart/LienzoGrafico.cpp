#include "LienzoGrafico.h"

#include "RenderAula.h"
#include "RenderGrafico.h"

namespace kalnor {

void LienzoGrafico::dibujar(const ControlGrafico& grafico) {
    imagen_ = imagenGrafico(grafico, tamano_, locale_);
}

void LienzoGrafico::dibujarAula(const GraficoAula& grafico) {
    imagen_ = imagenAula(grafico, tamano_, locale_);
}

bool LienzoGrafico::escribirImagen(const ControlGrafico& grafico, const QString& ruta) {
    if (imagen_.isNull())
        imagen_ = imagenGrafico(grafico, tamano_, locale_);
    return imagen_.save(ruta, "PNG");
}

} // namespace kalnor
