// Opening, reading, sorting, tallying and loading a distribution, at the
// classic 32,767-row size and at a million rows.
#include "app/CargaCsv.h"
#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "stats/Kinds.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kalnor;

const fs::path& carpeta() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "kalnor_document_bench";
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string plantilla() {
    static const std::string ruta = [] {
        const std::string r = (carpeta() / "kalnor.ini").string();
        std::ifstream esquema(KALNOR_SCHEMA);
        CrearPlantilla(std::string(std::istreambuf_iterator<char>(esquema), {}), r);
        return r;
    }();
    return ruta;
}

// Raw observations: `filas` rows with about 100 distinct values, ni = 1.
std::string csvCrudo(long filas) {
    std::mt19937 azar(42);
    std::uniform_int_distribution<int> valor(0, 99);
    std::string csv = "Xi,ni\n";
    csv.reserve(static_cast<std::size_t>(filas) * 8);
    for (long i = 0; i < filas; ++i)
        csv += std::to_string(valor(azar) / 4.0) + ",1\n";
    return csv;
}

std::string nuevaDis(const std::string& nombre) {
    const std::string ruta = (carpeta() / nombre).string();
    CrearNueva(plantilla(), ruta, "Discreta", std::string(stats::kClaseUni));
    return ruta;
}

// One raw DIS file per size, made once.
const std::string& archivoCrudo(long filas) {
    static std::map<long, std::string> hechos;
    auto it = hechos.find(filas);
    if (it == hechos.end()) {
        const std::string ruta = nuevaDis("crudo_" + std::to_string(filas) + ".mdb");
        CargarCsv(*Database::open(ruta), *stats::kindByCode("DIS"), csvCrudo(filas));
        it = hechos.emplace(filas, ruta).first;
    }
    return it->second;
}

// The main window keeps one document for the whole run.
void BM_AbrirContarLeer(benchmark::State& state) {
    const std::string& ruta = archivoCrudo(state.range(0));
    Documento doc;
    for (auto _ : state) {
        doc.AbrirBase(ruta);
        doc.ContarRegistros();
        if (!doc.LeerVariable())
            state.SkipWithError(doc.error.MensajeError.c_str());
        benchmark::DoNotOptimize(doc.listas.Valores.data());
    }
}

void BM_AbrirBase(benchmark::State& state) {
    const std::string& ruta = archivoCrudo(state.range(0));
    for (auto _ : state) {
        Documento doc;
        benchmark::DoNotOptimize(doc.AbrirBase(ruta));
    }
}

void BM_LeerVariableSinCambios(benchmark::State& state) {
    Documento doc;
    doc.AbrirBase(archivoCrudo(state.range(0)));
    doc.LeerVariable();
    for (auto _ : state) {
        doc.ContarRegistros();
        benchmark::DoNotOptimize(doc.LeerVariable());
    }
}

void BM_OrdenarDatos(benchmark::State& state) {
    Documento doc;
    const std::string& ruta = archivoCrudo(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        doc.AbrirBase(ruta); // stored order again
        state.ResumeTiming();
        doc.OrdenarDatos("Xi");
    }
}

void BM_OrdenarDatosYaOrdenado(benchmark::State& state) {
    Documento doc;
    doc.AbrirBase(archivoCrudo(state.range(0)));
    doc.OrdenarDatos("Xi");
    for (auto _ : state)
        doc.OrdenarDatos("Xi");
}

// What the toolbar's tally does: sort by Xi, then merge.
void BM_OrdenarYRecuento(benchmark::State& state) {
    const std::string& crudo = archivoCrudo(state.range(0));
    const std::string copia = (carpeta() / "recuento.mdb").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(crudo, copia, fs::copy_options::overwrite_existing);
        Documento doc;
        doc.AbrirBase(copia);
        state.ResumeTiming();
        doc.OrdenarDatos("Xi");
        doc.Recuento();
        if (doc.NumRegistros > 100)
            state.SkipWithError("no se ha recontado");
    }
}

// What `kalnor-cli cargar` does after reading its input.
void BM_Cargar(benchmark::State& state) {
    const std::string csv = csvCrudo(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        const std::string ruta = nuevaDis("carga.mdb");
        state.ResumeTiming();
        Documento doc;
        doc.AbrirBase(ruta);
        const auto db = doc.Data1.database();
        doc.CerrarBase();
        CargarCsv(*db, *stats::kindByCode("DIS"), csv);
    }
}

constexpr long kClasico = 32767;
constexpr long kMillon = 1000000;

BENCHMARK(BM_AbrirContarLeer)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbrirBase)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeerVariableSinCambios)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrdenarDatos)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdenarDatosYaOrdenado)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrdenarYRecuento)
    ->Arg(kClasico)
    ->Arg(kMillon)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_Cargar)->Arg(kClasico)->Arg(kMillon)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
