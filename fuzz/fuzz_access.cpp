// Converting hostile Access files: the reader (every table, every cell) and
// the RTF statement converter. Inputs with an Access header go to the reader,
// anything else to the RTF converter.
#include "app/access/ErrorAccess.h"
#include "app/access/LectorAccess.h"
#include "app/access/RtfATexto.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
    using namespace kalnor::access;
    const std::span<const std::uint8_t> bytes(datos, tamano);
    if (!LectorAccess::esCabeceraAccess(bytes)) {
        rtfAHtml(std::string_view(reinterpret_cast<const char*>(datos), tamano));
        return 0;
    }
    try {
        const LectorAccess lector(bytes);
        for (const std::string& nombre : lector.nombresTablas()) {
            try {
                const TablaAccess tabla = lector.leerTabla(nombre);
                for (const auto& fila : tabla.filas)
                    for (const auto& celda : fila)
                        if (celda.isText())
                            enunciadoDesdeAccess(celda.asText());
            } catch (const ErrorAccess&) {
            }
        }
    } catch (const ErrorAccess&) {
    }
    return 0;
}
