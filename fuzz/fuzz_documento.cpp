// Opens arbitrary bytes as the document and runs what the program does with
// an open distribution: count, read both variables, sort, tally, statement.
// A hostile file must be refused or handled, never crash or hang.
#include "app/Documento.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("kalnor_fuzz_doc_" + std::to_string(getpid()) + ".mdb"))
                                        .string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        kalnor::Documento doc;
        if (doc.AbrirBase(path)) {
            (void)doc.Clase();
            (void)doc.Tipo();
            (void)doc.Enunciado();
            for (const char* variable : {"X", "Y"}) {
                doc.VarActiva = variable;
                if (doc.ContarRegistros() > 0)
                    (void)doc.LeerVariable();
                doc.OrdenarDatos();
            }
            doc.VarActiva = "X";
            doc.OrdenarDatos("ni");
            doc.OrdenarDatos("Xi");
            doc.Recuento();
            (void)doc.LeerVariable();
            (void)doc.setEnunciado("ñ");
            // A refused file keeps the open one.
            (void)doc.AbrirBase(path + ".no-existe");
            (void)doc.LeerVariable();
        }
    }
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(path + suffix, ec);
    return 0;
}
