// info FICHERO: kind, statement fields, rows, N and fields of a distribution.
#include "Comandos.h"

#include "app/CitaBreve.h"
#include "app/Documento.h"

#include <cstdint>
#include <iostream>

namespace kalnor::cli {

int Info(const Argumentos& args) {
    if (args.size() != 1)
        return usoIncorrecto("info");
    Documento doc;
    doc.setLeerParaMedir(false); // N is all it computes
    if (!abrir(doc, args[0]))
        return kError;

    std::cout << "Tipo: " << doc.TipoDist << '\n'
              << "TIPO: " << doc.Tipo() << '\n'
              << "CLASE: " << citaBreve(doc.Clase()) << '\n'
              << "Registros: " << doc.NumRegistros << '\n';
    bool leido = true;
    std::int64_t n = 0;
    if (doc.NumRegistros > 0) {
        leido = doc.LeerVariable();
        for (const std::int32_t f : doc.listas.Frecuencias)
            n += f;
    }
    std::cout << "N: ";
    if (leido)
        std::cout << n << '\n';
    else
        std::cout << "?\n";
    std::cout << "Campos:";
    for (const std::string& campo : doc.Data1.FieldNames())
        std::cout << ' ' << campo;
    std::cout << '\n';
    if (!leido)
        return fallo(doc.error.MensajeError);
    return kExito;
}

} // namespace kalnor::cli
