#pragma once

#include "stats/Concentration.h"
#include "stats/Kinds.h"
#include "stats/Trace.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace kalnor {

// The measure a press computed.
enum class Medida {
    TamanoMuestral,
    MediaAritmetica,
    MediaArmonica,
    MediaGeometrica,
    MediaCuadratica,
    Recorrido,
    Varianza,
    DesviacionTipica,
    CuasiVarianza,
    DesviacionMedia,
    DesviacionMediana,
    AsimetriaPearson,
    AsimetriaFisher,
    CoefVariacionPearson,
    CoefVariacionMedia,
    CoefVariacionMediana,
    SemiIntercuartilico,
    Maximo,
    Minimo,
    Curtosis,
    Mediana,
    Moda,
    Cuantil,
    MomentoOrigen,
    MomentoCentral,
    Correlacion,
    Covarianza,
    RegresionX,
    RegresionY,
    RectaYsobreX,
    RectaXsobreY,
    MomentoOrigenBi,
    MomentoCentralBi,
};

// One press as the working needs it: what was computed, the working the
// engine noted, and what the display shows.
struct DatosPaso {
    Medida medida = Medida::MediaAritmetica;
    stats::VariableType tipo = stats::VariableType::Discrete;
    const stats::Traza* traza = nullptr;
    const stats::Traza* segunda = nullptr; // the third quartile of the semi-interquartile range
    int k = 0;                             // quantile k of q, moment orders r and s
    int q = 0;
    int r = 0;
    int s = 0;
    QString simbolo; // a quantile's or moment's name, "D(7)"
    // The range's extremes; Q₃ and Q₁ of the semi-interquartile range.
    std::optional<double> maximo, minimo;
    QString punto;         // the regression line's point
    bool sinDatos = false; // the table has no records
    QString resultado;     // the display's caption
    QString fallo;         // the failure's message, if any
};

// The working of a press, in Spanish: the formula, the sums with their
// values, the substitution and, last, the result as the display shows it.
QStringList pasoAPaso(const DatosPaso& d, const QLocale& locale);

// The working of the concentration index: the formula, pᵢ and qᵢ of the
// records (the first and last ones of a long table), both sums, the
// substitution and IG as the display would show it.
QStringList pasosGini(const stats::Concentracion& c, const QLocale& locale);

// A number of the working: integers as they are, others to eight
// significant digits, with the locale's decimal separator.
QString numeroPaso(double v, const QLocale& locale);

} // namespace kalnor
