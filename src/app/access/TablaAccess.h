#pragma once

#include "stats/CellValue.h"

#include <string>
#include <vector>

namespace kalnor::access {

// What a column of an Access table holds, as far as a distribution cares.
enum class TipoColumna {
    Texto,  // Text(n): a word
    Memo,   // long text
    Entero, // Byte, Integer, Long Integer, Yes/No
    Real,   // Single, Double, Currency
};

struct ColumnaAccess {
    std::string nombre; // exact name, UTF-8
    TipoColumna tipo;
};

// A table copied into memory: rows in stored order; a Null cell is
// CellValue::null(), an empty text is CellValue::text(""), numbers keep the
// stored double's bits.
struct TablaAccess {
    std::string nombre;
    std::vector<ColumnaAccess> columnas;
    std::vector<std::vector<stats::CellValue>> filas;

    int indiceColumna(const std::string& nombreColumna) const; // -1 when none (any letter case)
};

} // namespace kalnor::access
