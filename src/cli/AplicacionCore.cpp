// The application object for kalnor-cli built without windows: no charts.
#include "Comandos.h"

#include <QCoreApplication>

namespace kalnor::cli {

std::unique_ptr<QCoreApplication> crearAplicacion(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

int Grafico(const Argumentos&) {
    return fallo("esta versión de kalnor-cli se compiló sin gráficos");
}

int Exportar(const Argumentos&) {
    return fallo("esta versión de kalnor-cli se compiló sin gráficos");
}

} // namespace kalnor::cli
