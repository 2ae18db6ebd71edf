// The application object for kalnor-cli when the windowing libraries are
// built: charts are drawn by the widget layer, which needs a QApplication,
// always on the offscreen platform so that no display is required.
#include "Comandos.h"

#include <QApplication>

#include <string_view>

namespace kalnor::cli {

std::unique_ptr<QCoreApplication> crearAplicacion(int& argc, char** argv) {
    if (argc > 1 &&
        (std::string_view(argv[1]) == "grafico" || std::string_view(argv[1]) == "exportar")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace kalnor::cli
