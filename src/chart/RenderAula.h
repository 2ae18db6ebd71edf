#pragma once

#include <QImage>
#include <QLocale>
#include <QSize>

#include <memory>

class QChart;

namespace kalnor {

struct GraficoAula;

// The Qt chart of a classroom chart: histogram, polygon, ogive, box plot or
// scatter, with its palette and grid. Numbers follow `locale`.
std::unique_ptr<QChart> construirGraficoAula(const GraficoAula& grafico, const QLocale& locale);

QImage imagenAula(const GraficoAula& grafico, QSize tamano, const QLocale& locale);

} // namespace kalnor
