#pragma once

#include "ErrorRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The working of a measure: the values a routine reads and computes on its
// way to the result, kept by the routine itself when given a recorder, so
// the working shown is exactly what produced the result.
namespace kalnor::stats {

// What the terms of a sum are, for record i.
enum class TipoSuma {
    Valores,      // xᵢ·nᵢ
    Inversas,     // nᵢ/xᵢ
    Logaritmos,   // ln xᵢ·nᵢ
    Cuadrados,    // xᵢ²·nᵢ
    Potencias,    // (xᵢ − c)^r·nᵢ; c = 0 about the origin
    Absolutas,    // |xᵢ − c|·nᵢ
    PotenciasPar, // (xᵢ − cx)^r·(yᵢ − cy)^s·nᵢ
};

// One record of a sum, as the term is made of (y only in two-variable sums).
struct TerminoTraza {
    std::size_t fila = 0; // from 1
    double x = 0.0;
    double y = 0.0;
    std::int32_t n = 0;
};

// The few terms of a sum that are shown, held in place: noting a sum
// allocates nothing.
class TerminosTraza {
public:
    static constexpr std::size_t kCapacidad = 6;

    void push_back(const TerminoTraza& t) {
        if (n_ < kCapacidad)
            terminos_[n_++] = t;
    }
    std::size_t size() const { return n_; }
    bool empty() const { return n_ == 0; }
    const TerminoTraza& operator[](std::size_t i) const { return terminos_[i]; }
    const TerminoTraza* begin() const { return terminos_.data(); }
    const TerminoTraza* end() const { return terminos_.data() + n_; }

private:
    std::array<TerminoTraza, kCapacidad> terminos_{};
    std::size_t n_ = 0;
};

struct SumaTraza {
    TipoSuma tipo = TipoSuma::Valores;
    int r = 1;
    int s = 0;
    double cx = 0.0; // centre of x (the mean, the median or 0)
    double cy = 0.0;
    bool deY = false; // a one-variable sum taken over Y
    double valor = 0.0;
    std::size_t terminos = 0; // records summed
    TerminosTraza primeros{}; // the first few terms
    TerminosTraza ultimos{};  // the last few, when not all are in primeros
};

// Where quantile k of q fell.
struct CuantilTraza {
    int k = 0;
    int q = 0;
    std::int64_t N = 0;
    std::size_t fila = 0;       // the record where Nᵢ reaches or passes k·N/q, from 1
    bool frontera = false;      // Nᵢ equals k·N/q exactly
    bool clases = false;        // taken by classes
    std::int64_t acumulada = 0; // Nᵢ
    std::int64_t anterior = 0;  // Nᵢ₋₁
    std::int32_t n = 0;         // nᵢ
    double inferior = 0.0;      // Lᵢ (classes) or xᵢ
    double superior = 0.0;      // Lᵢ₊₁ (classes)
    // At an exact boundary: the two values averaged (xᵢ and xᵢ₊₁, or the two
    // class marks).
    double primero = 0.0;
    double segundo = 0.0;
};

// The record with the largest frequency and, by classes, the interpolation.
struct ModaTraza {
    bool clases = false;
    bool multimodal = false;
    std::size_t iguales = 0; // records with the largest frequency
    std::size_t fila = 0;    // from 1
    std::int32_t n = 0;      // nᵢ of the modal record
    std::int64_t antes = 0;  // nᵢ₋₁ (0 before the first class)
    std::int64_t despues = 0;
    std::int64_t delta1 = 0;
    std::int64_t delta2 = 0;
    double inferior = 0.0; // Lᵢ
    double superior = 0.0; // Lᵢ₊₁
};

// A value the routine computed on its way (the mean, the variance ...).
enum class Magnitud { Media, Varianza, DesviacionTipica, Mediana, Moda, Covarianza, Momento };

struct ValorTraza {
    Magnitud que;
    double valor = 0.0;
    bool deY = false;
};

// Where the routine failed, when a record was to blame.
struct FalloTraza {
    ErrorCode codigo = ErrorCode::None;
    std::size_t fila = 0;        // from 1; 0 when no record is to blame
    std::optional<double> valor; // the value of that record, when it is a number
    std::optional<TipoSuma> enSuma;
};

struct Traza {
    std::optional<std::int64_t> N;
    std::vector<SumaTraza> sumas;
    std::vector<ValorTraza> valores;
    std::vector<CuantilTraza> cuantiles;
    std::optional<ModaTraza> moda;
    std::optional<FalloTraza> fallo;
    // Set by the two-variable routines: the column read as Y (compared by
    // address only).
    const void* columnaY = nullptr;

    // Empty again, keeping the room of the lists for the next press.
    void clear() {
        N.reset();
        sumas.clear();
        valores.clear();
        cuantiles.clear();
        moda.reset();
        fallo.reset();
        columnaY = nullptr;
    }

    const ValorTraza* valor(Magnitud que, bool deY = false) const {
        for (const ValorTraza& v : valores)
            if (v.que == que && v.deY == deY)
                return &v;
        return nullptr;
    }
    const SumaTraza* suma(TipoSuma tipo) const {
        for (const SumaTraza& s : sumas)
            if (s.tipo == tipo)
                return &s;
        return nullptr;
    }
};

} // namespace kalnor::stats
