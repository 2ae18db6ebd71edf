// Calculator keys on a 32,767-row and a 1,000,000-row distribution: every key
// must answer within 20 ms (recount, read, sort where needed, compute, show),
// and the whole `kalnor-cli medidas --json` run within 200 ms at the classic
// size. The second argument of each benchmark is the row count.
#include "app/CargaCsv.h"
#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "stats/Kinds.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace kalnor;
namespace fs = std::filesystem;

constexpr int kClasico = 32767;
constexpr int kMillon = 1000000;

class Respuesta : public PreguntaValor {
public:
    std::optional<QString> pedir(const QString&, const QString&) override { return "5"; }
};

// Two files per size, made once: raw unsorted observations of one and two
// variables.
struct Archivos {
    fs::path dir;
    std::string dis;
    std::string disdis;

    explicit Archivos(int filas)
        : dir(fs::temp_directory_path() / ("kalnor_panel_bench_" + std::to_string(filas))) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ifstream esquema(KALNOR_SCHEMA);
        std::stringstream sql;
        sql << esquema.rdbuf();
        const std::string plantilla = (dir / "kalnor.ini").string();
        CrearPlantilla(sql.str(), plantilla);
        std::mt19937 azar(7);
        std::uniform_int_distribution<int> valor(0, 99);
        std::uniform_int_distribution<int> frecuencia(1, 9);
        std::string uno = "Xi,ni\n";
        std::string dos = "Xi,Yi,ni\n";
        for (int i = 0; i < filas; ++i) {
            const int x = valor(azar);
            uno += std::to_string(x) + '.' + std::to_string(i % 10) + ',' +
                   std::to_string(frecuencia(azar)) + '\n';
            dos += std::to_string(x) + ',' + std::to_string(x / 2 + valor(azar) % 7) + ',' +
                   std::to_string(frecuencia(azar)) + '\n';
        }
        dis = crear(plantilla, "DIS", uno);
        disdis = crear(plantilla, "DISDIS", dos);
    }
    ~Archivos() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::string crear(const std::string& plantilla, const std::string& codigo,
                      const std::string& csv) const {
        const stats::KindInfo* kind = stats::kindByCode(codigo);
        const std::string ruta = (dir / (codigo + ".mdb")).string();
        CrearNueva(plantilla, ruta, std::string(kind->tipo),
                   std::string(kind->bivariate ? stats::kClaseBi : stats::kClaseUni));
        CargarCsv(*Database::open(ruta), *kind, csv);
        return ruta;
    }
};

const Archivos& archivos(std::int64_t filas) {
    static const Archivos clasico(kClasico);
    if (filas == kClasico)
        return clasico;
    static const Archivos millon(kMillon);
    return millon;
}

// Each benchmark at both sizes; `args` come before the row count.
void ambosTamanos(benchmark::internal::Benchmark* b, const std::vector<std::int64_t>& args) {
    for (const std::int64_t filas : {kClasico, kMillon}) {
        std::vector<std::int64_t> todos = args;
        todos.push_back(filas);
        b->Args(todos);
    }
}

struct Calculadora {
    Documento doc;
    ControladorCalculadora c{doc, QString()};
    Respuesta respuesta;
    explicit Calculadora(const std::string& ruta) {
        c.setPreguntaValor(&respuesta);
        c.Comenzar();
        if (!doc.AbrirBase(ruta))
            std::abort();
    }
};

// A key pressed again and again: the table stays as the first press left it.
void BM_Tecla(benchmark::State& state) {
    Calculadora calc(archivos(state.range(1)).dis);
    const int i = static_cast<int>(state.range(0));
    calc.c.cmdTECLA_Click(i); // the first press is BM_TeclaTrasAbrir's
    for (auto _ : state)
        calc.c.cmdTECLA_Click(i);
    state.SetLabel(calc.c.estado().lbl_Mensaje[5].toStdString());
}
BENCHMARK(BM_Tecla)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int i = 0; i < 20; ++i)
            if (i != 16) // the Gini key only shows a notice
                ambosTamanos(b, {i});
    })
    ->Unit(benchmark::kMillisecond);

// A press with its working noted (second argument 1) and without (0), at the
// classic size: the noting may add at most 10%. With 2 the working is also
// written out as the panel asks for it after each press.
void BM_TeclaPasos(benchmark::State& state) {
    const int i = static_cast<int>(state.range(0));
    const bool bi = i >= 100;
    const std::int64_t modo = state.range(1);
    Calculadora calc(bi ? archivos(kClasico).disdis : archivos(kClasico).dis);
    calc.c.setAnotarPasos(modo != 0);
    const auto pulsar = [&] {
        if (bi)
            calc.c.cmdTECLAbi_Click(i - 100);
        else if (i < 0)
            calc.c.cmdTECLAm_Click(-i - 1);
        else
            calc.c.cmdTECLA_Click(i);
    };
    pulsar();
    for (auto _ : state) {
        pulsar();
        if (modo == 2)
            benchmark::DoNotOptimize(calc.c.pasos().size());
    }
    static constexpr const char* kModos[] = {"", " (anotada)", " (anotada y escrita)"};
    state.SetLabel(calc.c.estado().lbl_Mensaje[5].toStdString() + kModos[modo]);
}
BENCHMARK(BM_TeclaPasos)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int i : {0, 5, 9, 10, 19, -1, -2, 100, 101})
            for (int modo : {0, 1, 2})
                b->Args({i, modo});
    })
    ->Unit(benchmark::kMicrosecond);

// The first press after opening: the table is read and, for the median, sorted.
void BM_TeclaTrasAbrir(benchmark::State& state) {
    const int i = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto calc = std::make_unique<Calculadora>(archivos(state.range(1)).dis);
        state.ResumeTiming();
        if (i < 0)
            calc->c.cmdTECLAm_Click(-i - 1);
        else
            calc->c.cmdTECLA_Click(i);
        state.PauseTiming();
        calc.reset();
        state.ResumeTiming();
    }
}
// A fixed count: the opening, untimed, costs far more than a quick key, and
// the count the library would pick to time one would take hours.
BENCHMARK(BM_TeclaTrasAbrir)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int i : {0, 9, 15, -1, -2})
            ambosTamanos(b, {i});
    })
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void BM_Muestra(benchmark::State& state) {
    Calculadora calc(archivos(state.range(0)).dis);
    for (auto _ : state)
        calc.c.cmd_Muestra_Click();
}
BENCHMARK(BM_Muestra)
    ->Apply([](benchmark::internal::Benchmark* b) { ambosTamanos(b, {}); })
    ->Unit(benchmark::kMillisecond);

void BM_Mediana(benchmark::State& state) {
    Calculadora calc(archivos(state.range(1)).dis);
    const int i = static_cast<int>(state.range(0));
    calc.c.cmdTECLAm_Click(i);
    for (auto _ : state)
        calc.c.cmdTECLAm_Click(i);
}
BENCHMARK(BM_Mediana)
    ->Apply([](benchmark::internal::Benchmark* b) {
        ambosTamanos(b, {0});
        ambosTamanos(b, {1});
    })
    ->Unit(benchmark::kMillisecond);

// Every item of every one-variable list, at both sizes.
void BM_Selector(benchmark::State& state) {
    Calculadora calc(archivos(state.range(2)).dis);
    const auto s = static_cast<Selector>(state.range(0));
    const int pos = static_cast<int>(state.range(1));
    calc.c.seleccionar(s, pos);
    for (auto _ : state)
        calc.c.seleccionar(s, pos);
    state.SetLabel(calc.c.estado().lbl_Mensaje[5].toStdString());
}
BENCHMARK(BM_Selector)
    ->Apply([](benchmark::internal::Benchmark* b) {
        const std::pair<Selector, int> listas[] = {
            {Selector::CUARTILES, 3},    {Selector::QUINTILES, 4}, {Selector::DECILES, 9},
            {Selector::PERCENTILES, 99}, {Selector::MOMorigen, 4}, {Selector::MOMcentral, 4}};
        for (const auto& [s, items] : listas)
            for (int pos = 0; pos < items; ++pos)
                ambosTamanos(b, {static_cast<int>(s), pos});
    })
    ->Unit(benchmark::kMillisecond);

// Two-variable keys switch the active variable at every press.
void BM_TeclaBi(benchmark::State& state) {
    Calculadora calc(archivos(state.range(1)).disdis);
    const int i = static_cast<int>(state.range(0));
    calc.c.cmdTECLAbi_Click(i);
    for (auto _ : state)
        calc.c.cmdTECLAbi_Click(i);
}
BENCHMARK(BM_TeclaBi)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (int i = 0; i < 4; ++i)
            ambosTamanos(b, {i});
    })
    ->Unit(benchmark::kMillisecond);

void BM_SelectorBi(benchmark::State& state) {
    Calculadora calc(archivos(state.range(0)).disdis);
    for (auto _ : state)
        calc.c.cboMOMcentralBI_Click(3);
}
BENCHMARK(BM_SelectorBi)
    ->Apply([](benchmark::internal::Benchmark* b) { ambosTamanos(b, {}); })
    ->Unit(benchmark::kMillisecond);

// Quantiles of Y then X: every pick sorts by the other variable. Timed are
// the picks (first argument 0) or the switches of variable between them (1),
// each a press of its own.
void BM_CuantilAlternando(benchmark::State& state) {
    Calculadora calc(archivos(state.range(1)).disdis);
    const bool cambio = state.range(0) == 1;
    for (auto _ : state) {
        if (cambio)
            state.PauseTiming();
        calc.c.cboDECILES_Click(4);
        if (cambio)
            state.ResumeTiming();
        else
            state.PauseTiming();
        calc.c.cmdVARIABLE_Click();
        if (!cambio)
            state.ResumeTiming();
    }
    state.SetLabel(cambio ? "cambio de variable" : "decil");
}
BENCHMARK(BM_CuantilAlternando)
    ->Apply([](benchmark::internal::Benchmark* b) {
        ambosTamanos(b, {0});
        ambosTamanos(b, {1});
    })
    ->Unit(benchmark::kMillisecond);

// The whole command-line run, as a process.
void BM_MedidasCli(benchmark::State& state) {
    const Archivos& a = archivos(state.range(1));
    const std::string ruta = state.range(0) ? a.disdis : a.dis;
    state.SetLabel(state.range(2) ? "--pasos" : "");
    // The third argument adds the working of every press.
    const std::string orden = "'" KALNOR_CLI "' medidas '" + ruta + "' --json" +
                              (state.range(2) ? " --pasos" : "") + " > /dev/null";
    for (auto _ : state)
        if (std::system(orden.c_str()) != 0)
            state.SkipWithError("kalnor-cli falló");
}
BENCHMARK(BM_MedidasCli)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (const std::int64_t filas : {kClasico, kMillon})
            for (const std::int64_t bi : {0, 1})
                b->Args({bi, filas, 0});
        // With the working: at most twice the time at the classic size.
        b->Args({0, kClasico, 1});
        b->Args({1, kClasico, 1});
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
