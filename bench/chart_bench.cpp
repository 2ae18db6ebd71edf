// A chart of 32,767 points (the chart's limit) built and painted offscreen,
// for every type and style, and the same chart shown in the chart view.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include "chart/ControlGrafico.h"
#include "chart/RenderGrafico.h"
#include "chart/VistaGrafico.h"

#include <QApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace kalnor;

std::unique_ptr<ControlGrafico> control(int tipo, int estilo, int n) {
    auto g = std::make_unique<ControlGrafico>();
    g->setNumSets(1);
    g->setNumPoints(n);
    for (int i = 1; i <= n; ++i) {
        g->setThisPoint(i);
        g->setGraphData(1 + (n / 2 - std::abs(i - n / 2)) % 97);
        g->setLabelText(EtiquetaGrafico(i + 0.5));
    }
    g->setGraphType(tipo);
    g->setGraphStyle(estilo);
    g->GraphTitle = QStringLiteral("Distribución Discreta");
    g->BottomTitle = QStringLiteral("Xi");
    g->LeftTitle = QStringLiteral("ni");
    g->setDrawMode(ControlGrafico::kDibujar);
    return g;
}

void BM_ImagenGrafico(benchmark::State& state) {
    const auto g = control(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                           static_cast<int>(state.range(2)));
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    for (auto _ : state)
        benchmark::DoNotOptimize(imagenGrafico(*g, QSize(800, 600), es));
}

// The chart tab: a new chart replaces the old one and the view is painted.
void BM_VistaGrafico(benchmark::State& state) {
    const auto g = control(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                           ControlGrafico::kMaxPuntos);
    VistaGrafico vista;
    vista.resize(800, 600);
    for (auto _ : state) {
        vista.dibujar(*g);
        benchmark::DoNotOptimize(vista.grab());
    }
}

void tiposYEstilos(benchmark::internal::Benchmark* b, bool conPuntos) {
    for (const int tipo :
         {ControlGrafico::kBarras, ControlGrafico::kSectores, ControlGrafico::kLineas})
        for (int estilo = 0; estilo < 4; ++estilo) {
            if (conPuntos)
                b->Args({tipo, estilo, ControlGrafico::kMaxPuntos});
            else
                b->Args({tipo, estilo});
        }
}

BENCHMARK(BM_ImagenGrafico)
    ->ArgNames({"tipo", "estilo", "puntos"})
    ->Apply([](benchmark::internal::Benchmark* b) { tiposYEstilos(b, true); })
    ->Args({ControlGrafico::kBarras, 0, 8})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VistaGrafico)
    ->ArgNames({"tipo", "estilo"})
    ->Apply([](benchmark::internal::Benchmark* b) { tiposYEstilos(b, false); })
    ->Unit(benchmark::kMillisecond);

} // namespace
