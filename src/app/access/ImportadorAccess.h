#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kalnor::access {

// What a conversion wrote.
struct ResumenImportacion {
    std::string codigo; // kind code of the distribution ("DIS" ...)
    std::string tipo;   // its TIPO text
    struct Tabla {
        std::string nombre;
        std::size_t filas;
    };
    std::vector<Tabla> tablas; // data tables written, in the source's order
};

// Converts an Access distribution into a new Kalnor file: the statement row
// (TIPO, CLASE, the statement as rich text), every data table the file holds
// with every field (derived columns too) and every row in stored order,
// Nulls kept. The original is only read. The new file is written under a
// temporary name and renamed at the end, so a failure leaves no half-written
// file and an existing destination untouched. Throws ErrorAccess.
class ImportadorAccess {
public:
    static ResumenImportacion importar(const std::string& origen, const std::string& destino,
                                       bool reemplazar = false);

    // The name the new file has while it is being written.
    static std::string rutaTemporal(const std::string& destino) { return destino + ".importando"; }
    // Removes the temporary file (and SQLite's side files) of a conversion
    // that failed or was stopped.
    static void limpiarTemporal(const std::string& destino) {
        std::error_code ec;
        for (const char* sufijo : {"", "-journal", "-wal", "-shm"})
            std::filesystem::remove(rutaTemporal(destino) + sufijo, ec);
    }
};

} // namespace kalnor::access
