#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kalnor {

// What a derived column holds for each record (x: the value of the list's
// variable, its class mark when continuous; n: "ni"; N: the sum of "ni";
// m: the mean of the variable).
enum class Operacion {
    Marca,                           // (Li + Ls) / 2
    Acumulada,                       // running sum of n
    Relativa,                        // n / N
    RelativaPorciento,               // n / N · 100
    AcumuladaRelativa,               // running sum of n / N
    AcumuladaPorciento,              // running sum of n / N · 100
    PorFrecuencia,                   // x · n
    Cuadrado,                        // x²
    CuadradoPorFrecuencia,           // x² · n
    Cubo,                            // x³
    CuboPorFrecuencia,               // x³ · n
    Desviacion,                      // x − m
    DesviacionPorFrecuencia,         // (x − m) · n
    Desviacion2PorFrecuencia,        // (x − m)² · n
    Desviacion3PorFrecuencia,        // (x − m)³ · n
    DesviacionAbsoluta,              // |x − m|
    FrecuenciaEntreValor,            // n / x
    Logaritmo,                       // log10 x
    FrecuenciaPorLogaritmo,          // n · log10 x
    DesviacionAbsolutaPorFrecuencia, // |x − m| · n
    Conjunta,                        // x · y · n
};

// One entry of the column list: its text (with the leading blank the list
// shows), the field it becomes and what it computes.
struct ColumnaDerivada {
    std::string_view entrada; // " x¡·n¡"
    std::string_view campo;   // "x¡·n¡"
    Operacion operacion;
    bool deY; // an entry of the Y list
};

// The list offered while X is active (20 entries) and while Y is (21).
std::span<const ColumnaDerivada> columnasX();
std::span<const ColumnaDerivada> columnasY();
// The list of `variable` ("Y" gives the Y list, anything else the X list).
std::span<const ColumnaDerivada> columnasDe(std::string_view variable);
// The entry of `campo` in the list of `variable` (exact comparison), or
// nullptr when it is none of them.
const ColumnaDerivada* buscarColumna(std::string_view variable, std::string_view campo);

// An entry without its leading and trailing blanks: the field's name.
std::string campoDeEntrada(std::string_view entrada);

// The base fields of every kind, which no column command may delete.
bool esCampoProtegido(std::string_view campo);

// The column shows a sum only when every record holds a number, and the
// cumulative columns need the table in the variable's order.
bool esAcumulada(Operacion op);
bool usaMedia(Operacion op);
bool usaTotal(Operacion op);

} // namespace kalnor
