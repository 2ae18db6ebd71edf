#pragma once

#include "EngineLists.h"
#include "ErrorRecord.h"
#include "Kinds.h"

#include <cstddef>
#include <optional>
#include <vector>

// Concentration of a positive quantity (incomes, sizes...): the Lorenz curve
// and the concentration index after Gini.
namespace kalnor::stats {

// One record of the table sorted by the value, records of frequency 0 left out.
struct PuntoLorenz {
    std::size_t fila = 0; // record number in the table, from 1
    double valor = 0.0;   // xᵢ, or the class mark for classes
    std::int32_t n = 0;
    std::int64_t acumulada = 0; // Nᵢ
    double p = 0.0;             // pᵢ = Nᵢ / N
    double q = 0.0;             // qᵢ = Σⱼ≤ᵢ xⱼ·nⱼ / Σ xⱼ·nⱼ
};

struct Concentracion {
    std::vector<PuntoLorenz> puntos; // ending at (1, 1)
    double sumaP = 0.0;              // Σ pᵢ, i = 1 … k−1
    double sumaDiferencias = 0.0;    // Σ (pᵢ − qᵢ), i = 1 … k−1
    double indice = 0.0;             // IG, 0 (equal shares) … 1
};

// IG = Σ (pᵢ − qᵢ) / Σ pᵢ over all records but the last. One value carrying
// every observation has IG = 0. A categorical variable, a word or an empty
// value, a negative value or frequency, no observations or a zero total
// Σ xᵢ·nᵢ refuse it: `err` says why and the result is empty.
std::optional<Concentracion> IndiceGini(ErrorRecord& err, VariableType type, const ValueList& x,
                                        const ValueList& li, const ValueList& ls,
                                        const FrequencyList& n);

} // namespace kalnor::stats
