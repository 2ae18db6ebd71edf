#include "ReduccionPuntos.h"

#include <algorithm>
#include <numeric>

namespace kalnor::grafico {

std::vector<Columna> columnasDe(std::span<const double> valores, int columnas) {
    const auto n = static_cast<long long>(valores.size());
    std::vector<Columna> resultado;
    if (n == 0 || columnas <= 0)
        return resultado;
    const long long cuantas = std::min<long long>(n, columnas);
    resultado.reserve(static_cast<std::size_t>(cuantas));
    for (long long c = 0; c < cuantas; ++c) {
        Columna col;
        col.desde = static_cast<int>(c * n / cuantas);
        col.hasta = static_cast<int>((c + 1) * n / cuantas - 1);
        col.indiceMinimo = col.indiceMaximo = col.desde;
        for (int i = col.desde + 1; i <= col.hasta; ++i) {
            if (valores[i] < valores[col.indiceMinimo])
                col.indiceMinimo = i;
            if (valores[i] > valores[col.indiceMaximo])
                col.indiceMaximo = i;
        }
        resultado.push_back(col);
    }
    return resultado;
}

std::vector<int> trazoReducido(std::span<const double> valores, int columnas) {
    std::vector<int> indices;
    for (const Columna& c : columnasDe(valores, columnas)) {
        int marcas[] = {c.desde, c.indiceMinimo, c.indiceMaximo, c.hasta};
        std::sort(std::begin(marcas), std::end(marcas));
        for (const int i : marcas)
            if (indices.empty() || indices.back() != i)
                indices.push_back(i);
    }
    return indices;
}

std::vector<int> simbolosVisibles(std::span<const double> valores, int columnas, int niveles) {
    std::vector<int> indices;
    if (valores.empty() || niveles <= 0)
        return indices;
    const auto [menor, mayor] = std::minmax_element(valores.begin(), valores.end());
    const double ancho = *mayor - *menor;
    std::vector<int> ocupado(static_cast<std::size_t>(niveles) + 1, -1);
    int columna = 0;
    for (const Columna& c : columnasDe(valores, columnas)) {
        for (int i = c.desde; i <= c.hasta; ++i) {
            const auto nivel =
                static_cast<std::size_t>(ancho > 0 ? (valores[i] - *menor) / ancho * niveles : 0.0);
            if (ocupado[nivel] != columna) {
                ocupado[nivel] = columna;
                indices.push_back(i);
            }
        }
        ++columna;
    }
    return indices;
}

std::vector<Tramo> tramosVisibles(std::span<const double> valores, double parteMinima) {
    std::vector<Tramo> tramos;
    const double total = std::accumulate(valores.begin(), valores.end(), 0.0);
    const double minimo = total * parteMinima;
    for (int i = 0; i < static_cast<int>(valores.size()); ++i) {
        const bool abierto =
            !tramos.empty() && tramos.back().hasta == i - 1 && tramos.back().suma < minimo;
        // A share big enough on its own never joins an open group of small ones.
        if (abierto && valores[i] < minimo) {
            tramos.back().hasta = i;
            tramos.back().suma += valores[i];
        } else {
            tramos.push_back({i, i, valores[i]});
        }
    }
    return tramos;
}

} // namespace kalnor::grafico
