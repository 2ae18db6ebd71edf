// The derived columns on big tables: adding and filling a column from the
// pick in the list to the grid repainted, deleting one, summing one, and the
// totals row after a cell edit, and the grid scrolled, at 32,767 and at
// 1,000,000 rows.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "table/ControladorColumnas.h"
#include "table/FilaTotales.h"
#include "table/ModeloTabla.h"
#include "table/PestanaDatos.h"
#include "table/VistaTabla.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kalnor;

const fs::path& carpeta() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "kalnor_table_bench";
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// A DIS file of `filas` rows (about 100 distinct values), made once per size.
std::string tablaDe(long filas) {
    static std::map<long, std::string> hechas;
    if (auto it = hechas.find(filas); it != hechas.end())
        return it->second;
    const std::string plantilla = (carpeta() / "kalnor.ini").string();
    if (!fs::exists(plantilla)) {
        std::ifstream esquema(KALNOR_SCHEMA);
        CrearPlantilla(std::string(std::istreambuf_iterator<char>(esquema), {}), plantilla);
    }
    const std::string ruta = (carpeta() / ("dis_" + std::to_string(filas) + ".mdb")).string();
    CrearNueva(plantilla, ruta, "Discreta", std::string(stats::kClaseUni));
    Database::open(ruta)->exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
                               "WHERE i < " +
                               std::to_string(filas) +
                               ") INSERT INTO DIS (Xi, ni) SELECT (i * 37) % 101 + 1, i % 7 + 1 "
                               "FROM c");
    return hechas[filas] = ruta;
}

// The DAT tab on its own, with the calculator's display behind it.
struct Pestana {
    Documento doc;
    ControladorCalculadora calculadora{doc, QString()};
    PestanaDatos datos{doc};
    explicit Pestana(const std::string& ruta) {
        datos.activarColumnas(calculadora);
        datos.resize(1000, 600);
        datos.show();
        doc.AbrirBase(ruta);
        datos.MostrarColumnas();
        QApplication::processEvents();
    }
    void pintar() {
        datos.tabla().viewport()->repaint();
        datos.filaTotales().repaint();
    }
};

int entrada(const PestanaDatos& datos, const QString& texto) {
    return datos.cboSUMATORIOS()->findText(texto);
}

// From the pick of " x¡·n¡" (or the cumulative " N¡", which sorts first) to
// the grid and its totals painted. The column is deleted between runs.
void BM_AnadirColumna(benchmark::State& state, const char* texto, const char* campo) {
    Pestana p(tablaDe(state.range(0)));
    const int i = entrada(p.datos, QString::fromUtf8(texto));
    for (auto _ : state) {
        p.datos.columnas()->cboSUMATORIOS_Click(i);
        p.pintar();
        state.PauseTiming();
        p.datos.columnas()->eliminarCampo(campo);
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_AnadirColumna, x_n, " x¡·n¡", "x¡·n¡")
    ->Arg(32767)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_AnadirColumna, N_acumulada, " N¡", "N¡")
    ->Arg(32767)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_EliminarColumna(benchmark::State& state) {
    Pestana p(tablaDe(state.range(0)));
    const int i = entrada(p.datos, QStringLiteral(" f¡"));
    for (auto _ : state) {
        state.PauseTiming();
        p.datos.columnas()->cboSUMATORIOS_Click(i);
        state.ResumeTiming();
        p.datos.columnas()->eliminarCampo("f¡");
        p.pintar();
    }
}
BENCHMARK(BM_EliminarColumna)
    ->Arg(32767)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_SumarColumna(benchmark::State& state) {
    Pestana p(tablaDe(state.range(0)));
    p.datos.columnas()->cboSUMATORIOS_Click(entrada(p.datos, QStringLiteral(" x¡·n¡")));
    p.datos.columnas()->DBGrid1_HeadClick(2);
    for (auto _ : state)
        p.datos.columnas()->mnuSumarCol_Click();
    p.datos.columnas()->eliminarCampo("x¡·n¡");
}
BENCHMARK(BM_SumarColumna)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A cell typed into the grid until the totals row shows the new sum.
void BM_TotalesTrasEditarCelda(benchmark::State& state) {
    Pestana p(tablaDe(state.range(0)));
    ModeloTabla& modelo = p.datos.modelo();
    FilaTotales& fila = p.datos.filaTotales();
    fila.texto(0); // the rescan after opening is not part of an edit
    int k = 0;
    for (auto _ : state) {
        const QModelIndex celda = modelo.index(k % 1000, 0);
        modelo.setData(celda, QString::number(k % 50 + 1));
        benchmark::DoNotOptimize(fila.texto(0));
        fila.repaint();
        ++k;
    }
}
BENCHMARK(BM_TotalesTrasEditarCelda)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The grid scrolled a page at a time to places all over the table and
// repainted; the second argument deletes a record first (the rows are then
// found among the deleted ones).
void BM_DesplazarTabla(benchmark::State& state) {
    Pestana p(tablaDe(state.range(0)));
    if (state.range(1) != 0)
        p.datos.modelo().eliminarFilas({1});
    QScrollBar* barra = p.datos.tabla().verticalScrollBar();
    int k = 0;
    for (auto _ : state) {
        barra->setValue(
            static_cast<int>((static_cast<long long>(k) * 7919) % (barra->maximum() + 1)));
        p.datos.tabla().viewport()->repaint();
        ++k;
    }
}
BENCHMARK(BM_DesplazarTabla)
    ->Args({32767, 0})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
