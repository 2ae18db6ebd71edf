// kalnor-cli exportar: writes the informe of a distribution (statement,
// table, summary reports and the frequency bars) as PDF, HTML or ODT, with
// the same code as the window's key.
#include "Comandos.h"

#include "notes/ExportacionInforme.h"
#include "notes/ExportacionNotas.h"

#include <QFileInfo>
#include <QString>

#include <iostream>

namespace kalnor::cli {

int Exportar(const Argumentos& args) {
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
        return usoIncorrecto("exportar");
    const QString salida = QString::fromStdString(args[1]);
    if (!formatoPorNombre(salida))
        return usoIncorrecto("exportar");
    QString aviso;
    const QString error = exportarInforme(args[0], QImage(), salida, &aviso);
    if (!error.isEmpty())
        return fallo(error.toStdString());
    if (!aviso.isEmpty())
        std::cerr << "kalnor-cli: " << aviso.toStdString() << '\n';
    return kExito;
}

} // namespace kalnor::cli
