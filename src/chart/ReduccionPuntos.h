#pragma once

#include <span>
#include <vector>

namespace kalnor::grafico {

// Consecutive points that fall into one column of the drawing: their span of
// indices and where their lowest and highest values are.
struct Columna {
    int desde = 0;
    int hasta = 0; // inclusive
    int indiceMinimo = 0;
    int indiceMaximo = 0;
};

// Splits the points into at most `columnas` columns of equal width. A line
// through the first, lowest, highest and last point of each column covers the
// same pixels as the line through every point, so a chart of thousands of
// points draws as fast as one of a few thousand.
std::vector<Columna> columnasDe(std::span<const double> valores, int columnas);

// The points of the line through every value, kept only where they can show:
// the first, lowest, highest and last of each column, in order.
std::vector<int> trazoReducido(std::span<const double> valores, int columnas);

// One symbol for each cell of a `columnas` × `niveles` grid over the points
// (0 .. maximo): symbols that would be drawn on top of each other are drawn once.
std::vector<int> simbolosVisibles(std::span<const double> valores, int columnas, int niveles);

// Consecutive shares of a whole (pie sectors, parts of a stacked bar). Shares
// smaller than `parteMinima` of the total are joined with their neighbours up to
// that size: thousands of sectors thinner than a pixel would draw as noise.
struct Tramo {
    int desde = 0;
    int hasta = 0; // inclusive
    double suma = 0;
};
std::vector<Tramo> tramosVisibles(std::span<const double> valores, double parteMinima);

} // namespace kalnor::grafico
