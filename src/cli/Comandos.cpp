#include "Comandos.h"

#include "app/Documento.h"
#include "app/TextoExportado.h"

#include "stats/CellValue.h"

#include <array>
#include <charconv>
#include <iostream>

namespace kalnor::cli {

namespace {

// Adding a command: one line here, its file in CMakeLists.txt.
constexpr std::array kComandos{
    Comando{"nueva", "nueva TIPO FICHERO [--forzar]", &Nueva},
    Comando{"cargar", "cargar FICHERO DATOS|-", &Cargar},
    Comando{"tabla", "tabla FICHERO [--orden CAMPO]", &Tabla},
    Comando{"info", "info FICHERO", &Info},
    Comando{"recuento", "recuento FICHERO", &Recuento},
    Comando{"importar", "importar ORIGEN DESTINO [--forzar]", &Importar},
    Comando{"medidas", "medidas FICHERO [--var X|Y] [--punto V] [--json] [--pasos]", &Medidas},
    Comando{"grafico",
            "grafico FICHERO --tipo "
            "barras|sectores|lineas|histograma|poligono|histograma+poligono|ojiva|nube|caja|lorenz "
            "[--estilo 0..3] [--paleta 0..2] "
            "[--rejilla 0..3] [--var X|Y] --png SALIDA [--ancho W --alto H]",
            &Grafico},
    Comando{"gini", "gini FICHERO [--json] [--pasos]", &Gini},
    Comando{"columna", "columna FICHERO NOMBRE [--var X|Y]", &Columna},
    Comando{"suma", "suma FICHERO CAMPO [--json]", &Suma},
    Comando{"eliminar", "eliminar FICHERO CAMPO", &Eliminar},
    Comando{"informe", "informe FICHERO 0|1|2|3 [--var X|Y]", &Informe},
    Comando{"exportar", "exportar FICHERO SALIDA.pdf|.html|.odt", &Exportar},
};

} // namespace

std::span<const Comando> comandos() {
    return kComandos;
}

const Comando* buscarComando(std::string_view nombre) {
    for (const Comando& c : kComandos)
        if (c.nombre == nombre)
            return &c;
    return nullptr;
}

int fallo(std::string_view mensaje) {
    std::cerr << "kalnor-cli: " << mensaje << '\n';
    return kError;
}

int usoIncorrecto(std::string_view nombre) {
    const Comando* c = buscarComando(nombre);
    std::cerr << "Uso: kalnor-cli " << (c ? c->uso : nombre) << '\n';
    return kUsoIncorrecto;
}

bool abrir(Documento& doc, const std::string& fichero) {
    if (doc.AbrirBase(fichero))
        return true;
    fallo(fichero + ": " + doc.error.MensajeError);
    return false;
}

std::string variablesIlegibles(Documento& doc) {
    if (doc.NumRegistros <= 0)
        return {};
    const std::string activa = doc.VarActiva;
    std::string mensaje;
    for (const char* v : {"X", "Y"}) {
        if (*v == 'Y' && !doc.esBidimensional())
            break;
        doc.VarActiva = v;
        if (!doc.LeerVariable()) {
            mensaje = doc.error.MensajeError;
            break;
        }
    }
    doc.VarActiva = activa;
    return mensaje;
}

std::string numeroExacto(double valor) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor);
    return std::string(texto, r.ptr);
}

std::string campoCsv(const stats::CellValue& valor) {
    if (valor.isNumber())
        return numeroExacto(valor.asNumber());
    if (!valor.isText())
        return {};
    return kalnor::campoCsv(valor.asText());
}

} // namespace kalnor::cli
