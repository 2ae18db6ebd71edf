// Time of every measure routine on a distribution of 32,767 and of 1,000,000
// records (values ascending, as the quantile routines expect; frequencies
// 1 to 20; classes of width 2 around the values).
#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"
#include "stats/Trace.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace {

using namespace kalnor::stats;

struct Distribution {
    ValueList x, y, li, ls;
    FrequencyList n;
};

const Distribution& distribution(std::size_t records) {
    static std::map<std::size_t, Distribution> cache;
    auto [it, fresh] = cache.try_emplace(records);
    Distribution& d = it->second;
    if (!fresh)
        return d;
    std::mt19937_64 rng(records);
    std::uniform_real_distribution<double> value(1.0, 1000.0);
    std::uniform_int_distribution<int> frequency(1, 20);
    std::vector<double> xs(records);
    for (double& v : xs)
        v = value(rng);
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i < records; ++i) {
        d.x.push_back(CellValue::number(xs[i]));
        d.y.push_back(CellValue::number(2.0 * xs[i] + value(rng) / 100.0));
        d.li.push_back(CellValue::number(2.0 * static_cast<double>(i)));
        d.ls.push_back(CellValue::number(2.0 * static_cast<double>(i) + 2.0));
        d.n.push_back(frequency(rng));
    }
    d.n[records / 2] = 1000; // one modal class, away from the ends
    return d;
}

using Measure = std::function<double(ErrorRecord&, const Distribution&)>;

void run(benchmark::State& state, const Measure& measure) {
    const Distribution& d = distribution(static_cast<std::size_t>(state.range(0)));
    ErrorRecord err;
    for (auto _ : state) {
        benchmark::DoNotOptimize(measure(err, d));
        if (err.failed()) {
            state.SkipWithError(err.MensajeError.c_str());
            break;
        }
    }
}

double number(const CellValue& c) {
    return c.isNumber() ? c.asNumber() : 0.0;
}

const std::pair<const char*, Measure> kMeasures[] = {
    {"TotalFrecuencias", [](auto& e, auto& d) { return double(TotalFrecuencias(e, d.n)); }},
    {"MediaAritmetica", [](auto& e, auto& d) { return MediaAritmetica(e, d.x, d.n); }},
    {"MediaArmonica", [](auto& e, auto& d) { return MediaArmonica(e, d.x, d.n); }},
    {"MediaGeometrica", [](auto& e, auto& d) { return MediaGeometrica(e, d.x, d.n); }},
    {"MediaCuadratica", [](auto& e, auto& d) { return MediaCuadratica(e, d.x, d.n); }},
    {"Maximo", [](auto& e, auto& d) { return Maximo(e, d.x); }},
    {"Minimo", [](auto& e, auto& d) { return Minimo(e, d.x); }},
    {"CuantilDiscreto", [](auto& e, auto& d) { return CuantilDiscreto(e, 1, 2, d.x, d.n); }},
    {"CuantilContinuo",
     [](auto& e, auto& d) { return CuantilContinuo(e, 99, 100, d.li, d.ls, d.n); }},
    {"ModaDiscreta", [](auto& e, auto& d) { return number(ModaDiscreta(e, d.x, d.n)); }},
    {"ModaContinua", [](auto& e, auto& d) { return number(ModaContinua(e, d.li, d.ls, d.n)); }},
    {"Varianza", [](auto& e, auto& d) { return Varianza(e, d.x, d.n); }},
    {"DesviacionTipica", [](auto& e, auto& d) { return DesviacionTipica(e, d.x, d.n); }},
    {"CuasiVarianza", [](auto& e, auto& d) { return CuasiVarianza(e, d.x, d.n); }},
    {"DesviacionMedia", [](auto& e, auto& d) { return DesviacionMedia(e, d.x, d.n); }},
    {"DesviacionMediana",
     [](auto& e, auto& d) {
         return DesviacionMediana(e, VariableType::Discrete, d.x, d.li, d.ls, d.n);
     }},
    {"CoefVariacionPearson", [](auto& e, auto& d) { return CoefVariacionPearson(e, d.x, d.n); }},
    {"CoefVariacionMedia", [](auto& e, auto& d) { return CoefVariacionMedia(e, d.x, d.n); }},
    {"CoefVariacionMediana",
     [](auto& e, auto& d) {
         return CoefVariacionMediana(e, VariableType::Continuous, d.x, d.li, d.ls, d.n);
     }},
    {"AsimetriaPearson",
     [](auto& e, auto& d) {
         return AsimetriaPearson(e, VariableType::Continuous, d.x, d.li, d.ls, d.n);
     }},
    {"AsimetriaFisher", [](auto& e, auto& d) { return AsimetriaFisher(e, d.x, d.n); }},
    {"CoefCurtosis", [](auto& e, auto& d) { return CoefCurtosis(e, d.x, d.n); }},
    {"MomentoCentral", [](auto& e, auto& d) { return MomentoCentral(e, d.x, d.n, 3); }},
    {"MomentoOrigen", [](auto& e, auto& d) { return MomentoOrigen(e, d.x, d.n, 2); }},
    {"Covarianza", [](auto& e, auto& d) { return Covarianza(e, d.x, d.y, d.n); }},
    {"CoefCorrelacion", [](auto& e, auto& d) { return CoefCorrelacion(e, d.x, d.y, d.n); }},
    {"CoefRegresionX", [](auto& e, auto& d) { return CoefRegresionX(e, d.x, d.y, d.n); }},
    {"CoefRegresionY", [](auto& e, auto& d) { return CoefRegresionY(e, d.x, d.y, d.n); }},
    {"RectaRegresion",
     [](auto& e, auto& d) {
         return RectaRegresion(e, d.x, d.y, d.n, kYsobreX, CellValue::text("500,5"));
     }},
    {"MomentoCentralBi", [](auto& e, auto& d) { return MomentoCentralBi(e, d.x, d.y, d.n, 2, 1); }},
    {"MomentoOrigenBi", [](auto& e, auto& d) { return MomentoOrigenBi(e, d.x, d.y, d.n, 1, 1); }},
};

const bool kRegistered = [] {
    for (const auto& [name, measure] : kMeasures)
        benchmark::RegisterBenchmark(name, run, measure)
            ->Arg(32767)
            ->Arg(1000000)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

// The same routines noting their working, a fresh recorder each press (the
// calculator keeps one per press): the recorder may add at most 10%.
using TracedMeasure = std::function<double(ErrorRecord&, const Distribution&, Traza*)>;

void runTraced(benchmark::State& state, const TracedMeasure& measure) {
    const Distribution& d = distribution(static_cast<std::size_t>(state.range(0)));
    ErrorRecord err;
    for (auto _ : state) {
        Traza t;
        benchmark::DoNotOptimize(measure(err, d, &t));
        benchmark::DoNotOptimize(t.sumas.data());
        if (err.failed()) {
            state.SkipWithError(err.MensajeError.c_str());
            break;
        }
    }
}

const std::pair<const char*, TracedMeasure> kTraced[] = {
    {"MediaAritmetica/Traza",
     [](auto& e, auto& d, auto* t) { return anotado::MediaAritmetica(e, d.x, d.n, t); }},
    {"MediaArmonica/Traza",
     [](auto& e, auto& d, auto* t) { return anotado::MediaArmonica(e, d.x, d.n, t); }},
    {"MediaGeometrica/Traza",
     [](auto& e, auto& d, auto* t) { return anotado::MediaGeometrica(e, d.x, d.n, t); }},
    {"CuantilContinuo/Traza",
     [](auto& e, auto& d, auto* t) {
         return anotado::CuantilContinuo(e, 99, 100, d.li, d.ls, d.n, t);
     }},
    {"ModaContinua/Traza",
     [](auto& e, auto& d, auto* t) {
         return number(anotado::ModaContinua(e, d.li, d.ls, d.n, t));
     }},
    {"Varianza/Traza", [](auto& e, auto& d, auto* t) { return anotado::Varianza(e, d.x, d.n, t); }},
    {"DesviacionMediana/Traza",
     [](auto& e, auto& d, auto* t) {
         return anotado::DesviacionMediana(e, VariableType::Discrete, d.x, d.li, d.ls, d.n, t);
     }},
    {"AsimetriaPearson/Traza",
     [](auto& e, auto& d, auto* t) {
         return anotado::AsimetriaPearson(e, VariableType::Continuous, d.x, d.li, d.ls, d.n, t);
     }},
    {"CoefCurtosis/Traza",
     [](auto& e, auto& d, auto* t) { return anotado::CoefCurtosis(e, d.x, d.n, t); }},
    {"CoefCorrelacion/Traza",
     [](auto& e, auto& d, auto* t) { return anotado::CoefCorrelacion(e, d.x, d.y, d.n, t); }},
    {"MomentoCentralBi/Traza",
     [](auto& e, auto& d, auto* t) {
         return anotado::MomentoCentralBi(e, d.x, d.y, d.n, 2, 1, t);
     }},
};

const bool kTracedRegistered = [] {
    for (const auto& [name, measure] : kTraced)
        benchmark::RegisterBenchmark(name, runTraced, measure)
            ->Arg(32767)
            ->Arg(1000000)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
