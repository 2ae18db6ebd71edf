#pragma once

#include <QFont>

class QAbstractAxis;

// The look every chart shares: letters, axes and round steps.
namespace kalnor::estilo {

// A round step (1, 2 or 5 times a power of ten, never below 1) giving about
// eight ticks up to `maximo`.
double paso(double maximo);
QFont letra(int puntos, bool negrita = false);
// Axis lines, labels and grid pens; grid lines start hidden.
void estiloEje(QAbstractAxis* eje);

} // namespace kalnor::estilo

#include <QImage>
#include <QSize>

#include <memory>

class QChart;
class QLocale;

namespace kalnor::estilo {

// A white chart without animations, numbers in `locale`, the title's letters set.
std::unique_ptr<QChart> graficoVacio(const QLocale& locale);

// A round step for any span (0,2 or 50 as well as 5000) giving about `marcas` ticks.
double pasoLibre(double ancho, int marcas = 8);
// The chart drawn offscreen into an image of `tamano` pixels (white background).
QImage imagenDe(std::unique_ptr<QChart> chart, QSize tamano);

} // namespace kalnor::estilo
