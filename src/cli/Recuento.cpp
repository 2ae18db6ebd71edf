// recuento FICHERO: merges equal values into a frequency table, as the
// toolbar's tally does.
#include "Comandos.h"

#include "app/Documento.h"
#include "stats/Kinds.h"

#include <iostream>

namespace kalnor::cli {

int Recuento(const Argumentos& args) {
    if (args.size() != 1)
        return usoIncorrecto("recuento");
    Documento doc;
    if (!abrir(doc, args[0]))
        return kError;
    if (doc.NumRegistros == 0)
        return fallo("No hay un archivo abierto o no hay datos.");
    if (doc.TipoDist != "CAT" && doc.TipoDist != "DIS") {
        std::cerr << "kalnor-cli: el recuento solo se aplica a distribuciones CAT y DIS; «"
                  << doc.TipoDist << "» queda como estaba\n";
        return kExito;
    }
    const std::int32_t antes = doc.NumRegistros;
    doc.error.clear();
    doc.OrdenarDatos("Xi");
    if (doc.error.failed())
        return fallo(doc.error.MensajeError);
    doc.Recuento();
    if (doc.error.failed())
        return fallo(doc.error.MensajeError);
    std::cerr << "Recuento: " << antes << " filas, quedan " << doc.ContarRegistros() << '\n';
    return kExito;
}

} // namespace kalnor::cli
