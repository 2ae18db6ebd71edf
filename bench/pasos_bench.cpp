// The "Paso a paso" panel: showing and repainting the working of a press on
// a 32,767-row table (mean, variance, grouped median and mode, Gini), which
// must take under 30 ms. Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include "panel/FormatoResultado.h"
#include "panel/PanelPasos.h"
#include "panel/PasoAPaso.h"
#include "stats/Central.h"
#include "stats/Concentration.h"
#include "stats/Dispersion.h"

#include <QApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace kalnor;

constexpr int kFilas = 32767;

// The working of each press, made once from classes of width 2 starting at 0.
std::vector<QStringList> trabajos() {
    stats::ValueList x, li, ls;
    stats::FrequencyList n;
    for (int i = 0; i < kFilas; ++i) {
        li.push_back(stats::CellValue::number(2.0 * i));
        ls.push_back(stats::CellValue::number(2.0 * i + 2));
        x.push_back(stats::CellValue::number(2.0 * i + 1));
        n.push_back(i == kFilas / 2 ? 50 : 1 + (i * 37) % 11); // one modal class
    }
    const QLocale locale(QLocale::Spanish, QLocale::Spain);
    std::vector<QStringList> lineas;
    const auto anotar = [&](Medida medida, auto&& medir) {
        stats::Traza traza;
        stats::ErrorRecord err;
        DatosPaso d;
        d.medida = medida;
        d.tipo = stats::VariableType::Continuous;
        d.traza = &traza;
        d.resultado = formatoResultado(medir(err, &traza), locale);
        if (medida == Medida::Mediana) {
            d.k = 1;
            d.q = 2;
        }
        lineas.push_back(pasoAPaso(d, locale));
    };
    anotar(Medida::MediaAritmetica,
           [&](auto& err, auto* t) { return stats::anotado::MediaAritmetica(err, x, n, t); });
    anotar(Medida::Varianza,
           [&](auto& err, auto* t) { return stats::anotado::Varianza(err, x, n, t); });
    anotar(Medida::Mediana, [&](auto& err, auto* t) {
        return stats::anotado::CuantilContinuo(err, 1, 2, li, ls, n, t);
    });
    anotar(Medida::Moda,
           [&](auto& err, auto* t) { return stats::anotado::ModaContinua(err, li, ls, n, t); });
    stats::ErrorRecord err;
    if (const auto c = stats::IndiceGini(err, stats::VariableType::Continuous, x, li, ls, n))
        lineas.push_back(pasosGini(*c, locale));
    return lineas;
}

// One press after another: the panel takes the new working and repaints.
void BM_PanelPasos(benchmark::State& state) {
    static const std::vector<QStringList> lineas = trabajos();
    for (const QStringList& l : lineas) {
        if (l.isEmpty() || l.last().endsWith('?'))
            return state.SkipWithError("a press of the table failed");
    }
    PanelPasos panel;
    panel.resize(420, 520);
    panel.show();
    QApplication::processEvents();
    std::size_t k = 0;
    std::size_t mostradas = 0;
    for (auto _ : state) {
        const QStringList& l = lineas[k++ % lineas.size()];
        panel.mostrar(l);
        panel.repaint();
        mostradas += static_cast<std::size_t>(l.size());
    }
    state.counters["líneas"] =
        benchmark::Counter(static_cast<double>(mostradas), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PanelPasos)->Unit(benchmark::kMillisecond);

} // namespace
