#pragma once

#include "stats/CellValue.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalnor {

class Documento;

// The joint distribution of a two-variable table as a two-way table: nᵢⱼ for
// every value (or class) of X down and of Y across, with both marginal
// distributions and N. Rows of the grid with the same value, or the same
// class, are added together.
struct TablaDobleEntrada {
    // A value or a class of one variable, as a heading.
    struct Modalidad {
        stats::CellValue valor;                 // the value; for a class, Li
        std::optional<stats::CellValue> limSup; // Ls for a class
    };
    std::vector<Modalidad> filas;             // X, ascending
    std::vector<Modalidad> columnas;          // Y, ascending
    std::vector<std::vector<std::int64_t>> n; // n[i][j]: X = filas[i], Y = columnas[j]
    std::vector<std::int64_t> marginalX;      // nᵢ· (one per row)
    std::vector<std::int64_t> marginalY;      // n·ⱼ (one per column)
    std::int64_t N = 0;

    // "5", "rubio", "[10, 20)": numbers in the locale's format, exact.
    static QString encabezado(const Modalidad& m, const QLocale& locale);
    // The table as CSV, numbers with a decimal point: a heading row with
    // "X \ Y", the Y headings and "nᵢ·", a row per X value, then "n·ⱼ" and N.
    std::string csv() const;
};

// Reads Data1 of an open two-variable distribution. Nothing (and the reason
// in `motivo`) for a one-variable or closed document, or a table that cannot
// be read.
std::optional<TablaDobleEntrada> leerTablaDobleEntrada(const Documento& documento,
                                                       std::string& motivo);

} // namespace kalnor
