#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class QChart;

namespace kalnor {

// The chart on show written out as a picture of its own: a PNG or SVG file,
// or an image on the clipboard. No widgets: the tab's keys ask for a name.
enum class FormatoImagen { Png, Svg };

// The format a file name asks for (by its suffix, any case); nullopt otherwise.
std::optional<FormatoImagen> formatoImagenPorNombre(const QString& ruta);

// The chart as it is laid out (at least `minimo` pixels when it has no size
// yet, as before its view is first shown), on white.
QImage imagenDeGrafico(QChart& chart, QSize minimo = {800, 600});
// The chart as scalable vector graphics, titled `titulo`.
QByteArray svgDeGrafico(QChart& chart, const QString& titulo, QSize minimo = {800, 600});

// Writes the chart to `ruta` in the format its name asks for. Returns why it
// failed, empty when written; an old file stays whole on failure.
QString guardarGrafico(QChart& chart, const QString& ruta);
// Puts the chart's image on the clipboard (a QGuiApplication must exist).
void copiarGrafico(QChart& chart);

} // namespace kalnor
