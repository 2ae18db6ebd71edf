// The main window: how soon it is on screen after the program starts, and
// how long opening a large distribution takes until its grid is painted.
// Run under a display or with QT_QPA_PLATFORM=offscreen.

#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "app/VentanaPrincipal.h"
#include "table/PestanaDatos.h"
#include "table/VistaTabla.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace kalnor;

namespace {

// Milliseconds since this process was started by the system.
double msDesdeElArranque() {
    std::ifstream stat("/proc/self/stat");
    std::string linea;
    std::getline(stat, linea);
    std::istringstream campos(linea.substr(linea.rfind(')') + 2));
    std::string campo;
    for (int i = 3; i < 22; ++i) // field 22 is the start time, in clock ticks
        campos >> campo;
    unsigned long long inicio = 0;
    campos >> inicio;
    std::ifstream uptime("/proc/uptime");
    double ahora = 0;
    uptime >> ahora;
    return (ahora - static_cast<double>(inicio) / sysconf(_SC_CLK_TCK)) * 1000.0;
}

struct Carpeta {
    QTemporaryDir dir;
    Rutas rutas;
    Carpeta() {
        for (const char* sub : {"bin", "dat", "hlp"})
            QDir(dir.path()).mkpath(sub);
        QFile::copy(QStringLiteral(KALNOR_BUILD_DIR "/bin/kalnor.ini"),
                    dir.path() + "/bin/kalnor.ini");
        rutas = {dir.path() + "/dat/", dir.path() + "/hlp/", dir.path() + "/bin/"};
    }
};

class VentanaMedida : public VentanaPrincipal {
public:
    using VentanaPrincipal::VentanaPrincipal;
    QString archivo;

private:
    std::optional<QString> elegirArchivoAbrir(const QString&) override { return archivo; }
};

void mostrada(QWidget& ventana) {
    ventana.show();
    (void)QTest::qWaitForWindowExposed(&ventana);
    QApplication::processEvents();
}

// The first window of the process: loading Qt, building every tab, painting.
void BM_VentanaMostradaDesdeElArranque(benchmark::State& state) {
    Carpeta carpeta;
    for (auto _ : state) {
        VentanaPrincipal ventana(carpeta.rutas);
        mostrada(ventana);
        state.counters["ms_desde_el_arranque"] = msDesdeElArranque();
    }
}
BENCHMARK(BM_VentanaMostradaDesdeElArranque)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_VentanaMostrada(benchmark::State& state) {
    Carpeta carpeta;
    for (auto _ : state) {
        VentanaPrincipal ventana(carpeta.rutas);
        mostrada(ventana);
    }
}
BENCHMARK(BM_VentanaMostrada)->Unit(benchmark::kMillisecond);

// The open command on a table of `filas` rows, until its grid is painted.
void BM_AbrirYMostrarTabla(benchmark::State& state) {
    Carpeta carpeta;
    const QString ruta = carpeta.rutas.RutaDat + "grande.mdb";
    CrearNueva((carpeta.rutas.RutaBin + "kalnor.ini").toStdString(), ruta.toStdString(), "Discreta",
               "Dist. UNIDIMENSIONAL");
    {
        Documento doc;
        doc.AbrirBase(ruta.toStdString());
        Database::Transaction t(*doc.Data1.database());
        for (int i = 0; i < state.range(0); ++i) {
            doc.Data1.AddNew();
            doc.Data1.SetField("Xi", stats::CellValue::number(i % 97 + 0.5));
            doc.Data1.SetField("ni", stats::CellValue::number(i % 7 + 1));
            doc.Data1.Update();
        }
        t.commit();
    }
    VentanaMedida ventana(carpeta.rutas);
    ventana.archivo = ruta;
    mostrada(ventana);
    QAction* abrir = ventana.Toolbar1()->findChild<QAction*>("botonABRIR");
    for (auto _ : state) {
        abrir->trigger();
        ventana.datos().tabla().viewport()->repaint();
        benchmark::DoNotOptimize(ventana.documento().NumRegistros);
    }
    state.counters["filas"] = ventana.documento().NumRegistros;
}
BENCHMARK(BM_AbrirYMostrarTabla)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace
