// cargar FICHERO DATOS|-: appends the rows of a CSV file (or standard input).
#include "Comandos.h"

#include "app/CargaCsv.h"
#include "app/DbError.h"
#include "app/Documento.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace kalnor::cli {

int Cargar(const Argumentos& args) {
    if (args.size() != 2)
        return usoIncorrecto("cargar");
    const std::string& fichero = args[0];
    const std::string& datos = args[1];

    std::string texto;
    if (datos == "-") {
        texto.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        std::ifstream entrada(datos, std::ios::binary);
        if (!entrada)
            return fallo("no se puede leer " + datos);
        texto.assign(std::istreambuf_iterator<char>(entrada), {});
    }

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    const auto db = doc.Data1.database();
    doc.CerrarBase();
    try {
        const std::size_t filas = CargarCsv(*db, *stats::kindByCode(doc.TipoDist), texto);
        std::cerr << "Cargadas " << filas << " filas en " << doc.TipoDist << '\n';
    } catch (const DbError& e) {
        return fallo((datos == "-" ? std::string("entrada") : datos) + ": " + e.what() +
                     "; no se ha escrito nada");
    }
    return kExito;
}

} // namespace kalnor::cli
