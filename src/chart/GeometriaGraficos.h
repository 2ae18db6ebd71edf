#pragma once

#include "stats/EngineLists.h"
#include "stats/ErrorRecord.h"
#include "stats/Kinds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the classroom charts draw, computed from the engine lists without
// drawing: histogram, frequency polygon, ogive, box plot and scatter. The
// numbers come from the same engine routines the calculator's keys call.
// Each function returns nothing (and `err` says why) when the chart does not
// apply or the table cannot be read.
namespace kalnor::grafico {

struct Punto {
    double x = 0.0;
    double y = 0.0;
};

struct Rectangulo {
    double izquierda = 0.0;
    double derecha = 0.0;
    double altura = 0.0; // nᵢ, or hᵢ = nᵢ/aᵢ when the widths differ
    std::int32_t n = 0;
};

inline constexpr const char* kEjeFrecuencia = "nᵢ";
inline constexpr const char* kEjeDensidad = "Densidad de frecuencia  hᵢ = nᵢ/aᵢ";

struct Histograma {
    std::vector<Rectangulo> barras; // ascending by the lower limit
    bool densidad = false;          // the widths differ: heights are hᵢ
    std::string ejeY;               // kEjeFrecuencia or kEjeDensidad
};
// Classes only; a discrete or categorical variable has no histogram.
std::optional<Histograma> histograma(stats::ErrorRecord& err, stats::VariableType tipo,
                                     const stats::ValueList& li, const stats::ValueList& ls,
                                     const stats::FrequencyList& n);

// The class marks (or values) at the histogram's heights (or at nᵢ), closed
// on the axis at the marks of an empty class before the first and after the
// last (for values: one step of the neighbouring spacing beyond each end).
std::optional<std::vector<Punto>> poligono(stats::ErrorRecord& err, stats::VariableType tipo,
                                           const stats::ValueList& x, const stats::ValueList& li,
                                           const stats::ValueList& ls,
                                           const stats::FrequencyList& n);

struct Ojiva {
    // Classes: (L₁, 0) then (Lsᵢ, Nᵢ). Values: the steps of the cumulative
    // distribution, (xᵢ, Nᵢ₋₁) then (xᵢ, Nᵢ).
    std::vector<Punto> puntos;
    bool escalonada = false;
    bool porcentaje = false; // Fᵢ % instead of Nᵢ
    // Qₖ at height k·N/4 (or 25·k %), as the quartile keys give them; a
    // quartile the engine refuses is left out.
    std::vector<Punto> cuartiles;
};
std::optional<Ojiva> ojiva(stats::ErrorRecord& err, stats::VariableType tipo,
                           const stats::ValueList& x, const stats::ValueList& li,
                           const stats::ValueList& ls, const stats::FrequencyList& n,
                           bool porcentaje);

struct Caja {
    double q1 = 0.0;
    double mediana = 0.0;
    double q3 = 0.0;
    double bigoteInferior = 0.0; // the most extreme values within 1.5·(Q₃ − Q₁)
    double bigoteSuperior = 0.0;
    std::vector<double> atipicos; // values (or class marks) beyond them
    double minimo = 0.0;          // the first value (for classes: L₁)
    double maximo = 0.0;          // the last value (for classes: the last Ls)
};
// A categorical variable refuses it.
std::optional<Caja> caja(stats::ErrorRecord& err, stats::VariableType tipo,
                         const stats::ValueList& x, const stats::ValueList& li,
                         const stats::ValueList& ls, const stats::FrequencyList& n);

struct Nube {
    struct Par {
        double x = 0.0;
        double y = 0.0;
        std::int32_t n = 0;
    };
    std::vector<Par> puntos; // records with nᵢ > 0
    Punto centro;            // (x̄, ȳ)
    // y = ordenadaYX + pendienteYX·x and x = ordenadaXY + pendienteXY·y;
    // missing when the engine refuses them (a constant variable).
    std::optional<double> pendienteYX, ordenadaYX;
    std::optional<double> pendienteXY, ordenadaXY;
    std::optional<double> r;
};
// x and y as the two-variable keys read them (class marks for classes).
std::optional<Nube> nube(stats::ErrorRecord& err, const stats::ValueList& x,
                         const stats::ValueList& y, const stats::FrequencyList& n);

} // namespace kalnor::grafico
