// tabla FICHERO [--orden CAMPO]: the data table as CSV.
#include "Comandos.h"

#include "app/Documento.h"

#include <iostream>

namespace kalnor::cli {

int Tabla(const Argumentos& args) {
    std::string fichero;
    std::string orden;
    bool ordenar = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--orden") {
            if (i + 1 >= args.size())
                return usoIncorrecto("tabla");
            ordenar = true;
            orden = args[++i];
        } else if (fichero.empty()) {
            fichero = args[i];
        } else {
            return usoIncorrecto("tabla");
        }
    }
    if (fichero.empty())
        return usoIncorrecto("tabla");

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    if (ordenar) {
        doc.error.clear();
        doc.OrdenarDatos(orden);
        if (doc.error.failed())
            return fallo(doc.error.MensajeError);
    }

    const std::vector<std::string>& campos = doc.Data1.FieldNames();
    std::vector<std::vector<stats::CellValue>> columnas;
    columnas.reserve(campos.size());
    for (const std::string& campo : campos)
        columnas.push_back(doc.Data1.column(campo));

    std::string salida;
    for (std::size_t c = 0; c < campos.size(); ++c) {
        salida += c ? "," : "";
        salida += campoCsv(stats::CellValue::text(campos[c]));
    }
    salida += '\n';
    const std::size_t filas = columnas.empty() ? 0 : columnas.front().size();
    for (std::size_t f = 0; f < filas; ++f) {
        for (std::size_t c = 0; c < columnas.size(); ++c) {
            salida += c ? "," : "";
            salida += campoCsv(columnas[c][f]);
        }
        salida += '\n';
    }
    std::cout << salida << std::flush;
    return kExito;
}

} // namespace kalnor::cli
