// The application object for kalnor-cli when the windowing libraries are
// built. The commands that draw (grafico, exportar) need the widget layer,
// whose libraries take longer to load than most commands take to run: they
// are carried out by kalnor-cli-graficos (beside this program in the build
// tree, in the private program folder once installed), which takes over this
// process with the same arguments.
#include "Comandos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace kalnor::cli {

namespace {

int delegar(const char* orden, const Argumentos& args) {
    const QString carpeta = QCoreApplication::applicationDirPath();
    QString ruta = carpeta + QStringLiteral("/kalnor-cli-graficos");
    if (!QFileInfo::exists(ruta))
        ruta = QDir::cleanPath(carpeta +
                               QStringLiteral("/" KALNOR_LIBEXEC_RELATIVO "/kalnor-cli-graficos"));
    const std::string programa = QFile::encodeName(ruta).toStdString();
    std::vector<std::string> palabras{programa, orden};
    palabras.insert(palabras.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& p : palabras)
        argv.push_back(p.data());
    argv.push_back(nullptr);
    std::cout.flush();
    std::cerr.flush();
    execv(programa.c_str(), argv.data());
    // Only back here when the program could not be started.
    return fallo("no se puede ejecutar " + programa + ": " + std::strerror(errno));
}

} // namespace

std::unique_ptr<QCoreApplication> crearAplicacion(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

int Grafico(const Argumentos& args) {
    return delegar("grafico", args);
}

int Exportar(const Argumentos& args) {
    return delegar("exportar", args);
}

} // namespace kalnor::cli
