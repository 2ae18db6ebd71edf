#pragma once

#include <QBrush>
#include <QColor>

namespace kalnor::paletas {

// Palette 0 colour, 1 pastel, 2 grey scale. Neighbouring colours alternate
// between dark and light so that they stay apart on a black-and-white print.
QColor color(int paleta, int indice);
// The colour of a single series (bars, the line).
QColor principal(int paleta);
// Outline that separates a fill from its neighbours on paper.
QColor borde(const QColor& relleno);
// Black-and-white fills: white, greys and hatchings, one per index.
QBrush tramaBN(int indice);

} // namespace kalnor::paletas
