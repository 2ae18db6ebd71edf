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
// class, are added together. Only the pairs that occur are held: raw data
// with a value per row on both sides would make a square of billions of
// cells, nearly all zero.
struct TablaDobleEntrada {
    // A value or a class of one variable, as a heading.
    struct Modalidad {
        stats::CellValue valor;                 // the value; for a class, Li
        std::optional<stats::CellValue> limSup; // Ls for a class
    };
    // A pair that occurs in the table: X = filas[fila], Y = columnas[columna].
    struct Casilla {
        std::size_t fila = 0;
        std::size_t columna = 0;
        std::int64_t n = 0;
    };
    std::vector<Modalidad> filas;        // X, ascending
    std::vector<Modalidad> columnas;     // Y, ascending
    std::vector<Casilla> casillas;       // by row, then column; no two alike
    std::vector<std::int64_t> marginalX; // nᵢ· (one per row)
    std::vector<std::int64_t> marginalY; // n·ⱼ (one per column)
    std::int64_t N = 0;

    // Cells of the whole grid, rows × columns, heading and marginals apart.
    std::uint64_t totalCasillas() const {
        return static_cast<std::uint64_t>(filas.size()) * columnas.size();
    }
    // nᵢⱼ, zero for a pair that does not occur.
    std::int64_t n(std::size_t fila, std::size_t columna) const;

    // Past this many cells the grid is not written out: the CSV would take
    // hundreds of megabytes.
    static constexpr std::uint64_t kCasillasCsv = 4'000'000;

    // "5", "rubio", "[10, 20)": numbers in the locale's format, exact.
    static QString encabezado(const Modalidad& m, const QLocale& locale);
    // The table as CSV, numbers with a decimal point: a heading row with
    // "X \ Y", the Y headings and "nᵢ·", a row per X value, then "n·ⱼ" and
    // N. Nothing (and why in `motivo`) past kCasillasCsv cells.
    std::optional<std::string> csv(std::string& motivo) const;
};

// Reads Data1 of an open two-variable distribution. Nothing (and the reason
// in `motivo`) for a one-variable or closed document, or a table that cannot
// be read.
std::optional<TablaDobleEntrada> leerTablaDobleEntrada(const Documento& documento,
                                                       std::string& motivo);

} // namespace kalnor
