#include "LienzoGrafico.h"

#include "RenderGrafico.h"

namespace kalnor {

void LienzoGrafico::dibujar(const ControlGrafico& grafico) {
    imagen_ = imagenGrafico(grafico, tamano_, locale_);
}

bool LienzoGrafico::escribirImagen(const ControlGrafico& grafico, const QString& ruta) {
    if (imagen_.isNull())
        imagen_ = imagenGrafico(grafico, tamano_, locale_);
    return imagen_.save(ruta, "PNG");
}

} // namespace kalnor
