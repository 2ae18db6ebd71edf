// importar ORIGEN DESTINO [--forzar]: an Access distribution into a new Kalnor file.
#include "Comandos.h"

#ifdef KALNOR_ACCESS
#include "app/access/ConversionAccess.h"
#include "app/access/ErrorAccess.h"
#include "app/access/ImportadorAccess.h"

#include <QCoreApplication>
#include <QFile>
#endif

#include <filesystem>
#include <iostream>

namespace kalnor::cli {

int Importar(const Argumentos& args) {
    bool forzar = false;
    std::vector<std::string> posicionales;
    for (const std::string& a : args) {
        if (a == "--forzar")
            forzar = true;
        else if (a.starts_with("--"))
            return usoIncorrecto("importar");
        else
            posicionales.push_back(a);
    }
    if (posicionales.size() != 2)
        return usoIncorrecto("importar");
    const std::string& origen = posicionales[0];
    const std::string& destino = posicionales[1];
#ifdef KALNOR_ACCESS
    std::error_code ec;
    if (!forzar && std::filesystem::exists(destino, ec))
        return fallo("el fichero " + destino + " ya existe (use --forzar para sobrescribirlo)");
    if (!access::ConversionAccess::enProcesoConversor()) {
        // The reader library can crash on a damaged file: it runs in a
        // child (this same program), as when the window opens the file.
        const access::ConversionAccess conversion(QCoreApplication::applicationFilePath());
        const auto r = conversion.convertir(QFile::decodeName(origen.c_str()),
                                            QFile::decodeName(destino.c_str()), forzar);
        if (!r.ok)
            return fallo(r.mensaje.toStdString());
        std::cout << r.resumen.toStdString() << '\n';
        return kExito;
    }
    try {
        const auto resumen = access::ImportadorAccess::importar(origen, destino, forzar);
        std::cout << destino << ": " << resumen.tipo << " (" << resumen.codigo << ")";
        for (const auto& t : resumen.tablas)
            if (t.nombre == resumen.codigo)
                std::cout << ", " << t.filas << " filas";
        std::cout << '\n';
        return kExito;
    } catch (const access::ErrorAccess& e) {
        return fallo(e.what());
    }
#else
    (void)origen;
    (void)destino;
    return fallo("esta versión de kalnor-cli no puede leer archivos de Access (se compiló sin "
                 "libmdb)");
#endif
}

} // namespace kalnor::cli
