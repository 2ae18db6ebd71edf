// nueva TIPO FICHERO [--forzar]: a new empty distribution from the template.
#include "Comandos.h"

#include "app/DistribucionArchivo.h"
#include "app/Rutas.h"
#include "stats/Kinds.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>

namespace kalnor::cli {

int Nueva(const Argumentos& args) {
    bool forzar = false;
    std::vector<std::string> posicionales;
    for (const std::string& a : args) {
        if (a == "--forzar")
            forzar = true;
        else
            posicionales.push_back(a);
    }
    if (posicionales.size() != 2)
        return usoIncorrecto("nueva");
    const std::string& codigo = posicionales[0];
    const std::string& fichero = posicionales[1];

    const stats::KindInfo* kind = stats::kindByCode(codigo);
    if (!kind) {
        std::cerr << "kalnor-cli: tipo desconocido «" << codigo << "»; los tipos son:";
        for (const auto& k : stats::allKinds())
            std::cerr << ' ' << k.code;
        std::cerr << '\n';
        return usoIncorrecto("nueva");
    }
    if (!forzar && std::filesystem::exists(fichero))
        return fallo("el fichero " + fichero + " ya existe (use --forzar para sobrescribirlo)");

    const Rutas rutas = Rutas::desdePrograma(QCoreApplication::applicationDirPath());
    const std::string plantilla = (rutas.RutaBin + "kalnor.ini").toStdString();
    CrearNueva(plantilla, fichero, std::string(kind->tipo),
               std::string(kind->bivariate ? stats::kClaseBi : stats::kClaseUni));
    return kExito;
}

} // namespace kalnor::cli
