#pragma once

#include "CatalogoColumnas.h"
#include "stats/CellValue.h"
#include "stats/ErrorRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalnor {

// Where a variable's value comes from in each record: one field (a discrete
// value), or two whose mean is the class mark of a continuous variable.
struct OrigenValor {
    const std::vector<stats::CellValue>* valor = nullptr;
    const std::vector<stats::CellValue>* inferior = nullptr;
    const std::vector<stats::CellValue>* superior = nullptr;
    std::string campo; // named in a failure: "Xi", or "LiX" for a class
};

struct EntradaColumna {
    Operacion operacion = Operacion::Marca;
    OrigenValor x; // the list's variable
    OrigenValor y; // the second factor of the joint product
    const std::vector<stats::CellValue>* ni = nullptr;
    std::int32_t N = 0; // the sum of the frequencies
    double m = 0;       // the mean of the list's variable
};

// A record the formula cannot be applied to: the computation stops there.
struct FalloColumna {
    std::size_t registro = 0; // 0-based, in the table's current order
    stats::ErrorCode codigo = stats::ErrorCode::None;
    std::string campo; // the field whose cell caused it ("" for the result)
};

struct ValoresColumna {
    // One value per record up to the failure (all of them without one); an
    // empty cell in an operand leaves a null for that record only.
    std::vector<stats::CellValue> valores;
    std::optional<FalloColumna> fallo;
};

// Applies the column's formula record by record, in double precision.
// Running totals and logarithms cannot pass over an empty cell; a zero
// divisor, a logarithm of a value that is not positive, a word where a
// number goes or a result out of range stop the computation too.
ValoresColumna calcularColumna(const EntradaColumna& entrada);

} // namespace kalnor
