#pragma once

#include <QImage>
#include <QLocale>
#include <QSize>

#include <memory>

class QChart;

namespace kalnor {

class ControlGrafico;

// Builds the Qt chart that Graph1's properties describe: type, style,
// palette, grid, titles and the points of set 1. Numbers follow `locale`.
std::unique_ptr<QChart> construirGrafico(const ControlGrafico& grafico, const QLocale& locale);

// The chart drawn offscreen into an image of `tamano` pixels (white background).
QImage imagenGrafico(const ControlGrafico& grafico, QSize tamano, const QLocale& locale);

// Text of a point's label in `locale` ("12,5" in Spanish).
QString textoEtiqueta(const ControlGrafico& grafico, int punto, const QLocale& locale);

} // namespace kalnor
