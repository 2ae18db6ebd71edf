#pragma once

#include "GeometriaGraficos.h"
#include "stats/Concentration.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kalnor {

class Documento;

// The charts a statistics class draws, beyond bars, pie and lines: what they
// show, computed from the open distribution, ready for any drawing.
enum class TipoAula { Histograma, Poligono, HistogramaPoligono, Ojiva, Nube, Caja, Lorenz };

// The choices of each chart, offered in the style list.
struct OpcionesAula {
    bool porcentaje = false;  // ogive: Fᵢ % instead of Nᵢ
    bool cuartiles = true;    // ogive: the quartiles marked
    bool minimoMaximo = true; // box: the minimum and maximum marked
    bool rectas = true;       // scatter: both regression lines
    bool centro = true;       // scatter: (x̄, ȳ) and r
    bool tamanoPorN = true;   // scatter: the points' area grows with nᵢ
};

struct GraficoAula {
    TipoAula tipo = TipoAula::Histograma;
    OpcionesAula opciones;
    int paleta = 0;
    int rejilla = 0;
    QString titulo;
    QString nota; // a word to the student (a histogram needs classes)
    QString ejeX;
    QString ejeY;
    std::optional<grafico::Histograma> histograma;
    std::vector<grafico::Punto> poligono;
    std::vector<grafico::Punto> palos; // a discrete variable's bar diagram
    std::optional<grafico::Ojiva> ojiva;
    std::optional<grafico::Caja> caja;
    std::optional<grafico::Nube> nube;
    std::optional<stats::Concentracion> lorenz; // the curve and the index
};

// "histograma", "poligono", "histograma+poligono", "ojiva", "nube", "caja", "lorenz".
std::optional<TipoAula> tipoAulaDe(const QString& nombre);
QString nombreAula(TipoAula tipo); // "Histograma", "Polígono de frecuencias", ...

// The style list's items for a chart, and the options each item stands for.
QStringList estilosAula(TipoAula tipo);
OpcionesAula opcionesAula(TipoAula tipo, int estilo);

// The chart of the active variable (both variables for the scatter) of the
// open distribution; nothing, with the reason in the document's error record,
// when the chart does not apply or the table cannot be read. The active
// variable stays as it was.
std::optional<GraficoAula> construirAula(Documento& doc, TipoAula tipo,
                                         const OpcionesAula& opciones);

} // namespace kalnor
