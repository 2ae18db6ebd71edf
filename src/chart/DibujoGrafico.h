#pragma once

#include <QString>

namespace kalnor {

class ControlGrafico;
struct GraficoAula;

// What draws a ControlGrafico: the chart view in the window, an offscreen
// canvas in the command-line tool. The control only keeps the properties.
class DibujoGrafico {
public:
    virtual ~DibujoGrafico() = default;
    virtual void borrar() = 0;                               // DrawMode 1
    virtual void dibujar(const ControlGrafico& grafico) = 0; // DrawMode 2
    // DrawMode 6: the image of the chart as last drawn; false when the file
    // could not be written.
    virtual bool escribirImagen(const ControlGrafico& grafico, const QString& ruta) = 0;
    // A classroom chart (histogram, ogive, box ...) in place of Graph1's.
    virtual void dibujarAula(const GraficoAula& grafico) = 0;
};

} // namespace kalnor
