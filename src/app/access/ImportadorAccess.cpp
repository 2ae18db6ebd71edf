#include "ImportadorAccess.h"

#include "ErrorAccess.h"
#include "LectorAccess.h"
#include "RtfATexto.h"

#include "app/CitaBreve.h"
#include "app/Database.h"
#include "app/DbError.h"
#include "app/DistribucionArchivo.h"
#include "stats/Kinds.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace kalnor::access {

namespace fs = std::filesystem;
using stats::CellValue;
using stats::KindInfo;

namespace {

// Same definition as the template's statement table.
constexpr const char* kEsquemaEnunciado =
    "CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT";

enum class TipoDestino { Texto, Real, Entero };

struct ColumnaDestino {
    std::string nombre;
    int origen; // index in the Access table, -1 when it lacks the field
    TipoDestino tipo;
};

std::string mayusculas(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return s;
}

std::string numeroExacto(double v) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, v);
    return std::string(texto, r.ptr);
}

using Sentencia = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Sentencia preparar(Database& db, const std::string& sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
        throw ErrorAccess("No se pudo preparar la escritura (" +
                          std::string(sqlite3_errmsg(db.handle())) + ").");
    return {s, &sqlite3_finalize};
}

// Binds a cell converted to the target column's type; throws on a value that
// cannot be kept in that column.
void enlazar(sqlite3_stmt* s, int indice, const CellValue& v, TipoDestino tipo,
             const std::string& tabla, std::size_t fila, const std::string& campo) {
    const auto rechazo = [&](const std::string& que) {
        return ErrorAccess("La fila " + std::to_string(fila + 1) + " de la tabla «" +
                           citaBreve(tabla) + "» tiene en «" + citaBreve(campo) + "» " + que + ".");
    };
    if (!v.isNumber() && !v.isText()) {
        sqlite3_bind_null(s, indice);
        return;
    }
    if (tipo == TipoDestino::Texto) {
        const std::string t = v.isText() ? v.asText() : numeroExacto(v.asNumber());
        sqlite3_bind_text(s, indice, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        return;
    }
    std::optional<double> numero;
    if (v.isNumber()) {
        numero = v.asNumber();
    } else {
        if (v.asText().find_first_not_of(" \t") == std::string::npos) {
            sqlite3_bind_null(s, indice); // an empty word where a number goes
            return;
        }
        numero = stats::parseNumber(v.asText());
        if (!numero)
            throw rechazo("«" + citaBreve(v.asText()) + "», que no es un número");
    }
    if (tipo == TipoDestino::Real) {
        sqlite3_bind_double(s, indice, *numero);
        return;
    }
    if (!(std::trunc(*numero) == *numero && *numero >= 0 && *numero <= 2147483647.0))
        throw rechazo(numeroExacto(*numero) + ", que no es una frecuencia (un número natural)");
    sqlite3_bind_int64(s, indice, static_cast<sqlite3_int64>(*numero));
}

std::vector<ColumnaDestino> columnasDestino(const KindInfo& kind, const TablaAccess& t) {
    std::vector<ColumnaDestino> columnas;
    for (const std::string& campo : camposDatos(kind)) {
        const TipoDestino tipo = campo == "ni"                    ? TipoDestino::Entero
                                 : esCampoDePalabras(kind, campo) ? TipoDestino::Texto
                                                                  : TipoDestino::Real;
        columnas.push_back({campo, t.indiceColumna(campo), tipo});
    }
    // Derived columns (and any other field) follow, in the source's order.
    for (std::size_t i = 0; i < t.columnas.size(); ++i) {
        const bool base = std::any_of(columnas.begin(), columnas.end(),
                                      [&](const ColumnaDestino& c) { return c.origen == int(i); });
        if (base)
            continue;
        const TipoColumna tc = t.columnas[i].tipo;
        columnas.push_back({t.columnas[i].nombre, static_cast<int>(i),
                            tc == TipoColumna::Texto || tc == TipoColumna::Memo
                                ? TipoDestino::Texto
                                : TipoDestino::Real});
    }
    return columnas;
}

void escribirTabla(Database& db, const KindInfo& kind, const TablaAccess& t) {
    const std::vector<ColumnaDestino> columnas = columnasDestino(kind, t);
    db.exec(esquemaTablaDatos(kind));
    const std::string nombre(kind.code);
    std::string lista, marcas;
    for (std::size_t i = 0; i < columnas.size(); ++i) {
        const ColumnaDestino& c = columnas[i];
        if (i >= camposDatos(kind).size())
            db.exec("ALTER TABLE " + quoteIdentifier(nombre) + " ADD COLUMN " +
                    quoteIdentifier(c.nombre) + (c.tipo == TipoDestino::Texto ? " TEXT" : " REAL"));
        lista += (i ? ", " : "") + quoteIdentifier(c.nombre);
        marcas += i ? ", ?" : "?";
    }
    const Sentencia insercion = preparar(db, "INSERT INTO " + quoteIdentifier(nombre) + " (" +
                                                 lista + ") VALUES (" + marcas + ")");
    sqlite3_stmt* s = insercion.get();
    for (std::size_t f = 0; f < t.filas.size(); ++f) {
        const auto& fila = t.filas[f];
        for (std::size_t i = 0; i < columnas.size(); ++i) {
            const ColumnaDestino& c = columnas[i];
            const CellValue v = c.origen >= 0 ? fila[c.origen] : CellValue::null();
            enlazar(s, static_cast<int>(i + 1), v, c.tipo, nombre, f, c.nombre);
        }
        if (sqlite3_step(s) != SQLITE_DONE)
            throw ErrorAccess("No se pudo escribir la fila " + std::to_string(f + 1) +
                              " de la tabla «" + citaBreve(nombre) + "» (" +
                              sqlite3_errmsg(db.handle()) + ").");
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
}

void escribirEnunciado(Database& db, const CellValue& tipo, const CellValue& clase,
                       const CellValue& enunciado) {
    db.exec(kEsquemaEnunciado);
    const Sentencia insercion =
        preparar(db, "INSERT INTO ENUNCIADO (TIPO, CLASE, ENUNCIADO) VALUES (?, ?, ?)");
    sqlite3_stmt* s = insercion.get();
    enlazar(s, 1, tipo, TipoDestino::Texto, "ENUNCIADO", 0, "TIPO");
    enlazar(s, 2, clase, TipoDestino::Texto, "ENUNCIADO", 0, "CLASE");
    if (enunciado.isText()) {
        const std::string rico = enunciadoDesdeAccess(enunciado.asText());
        sqlite3_bind_text(s, 3, rico.data(), static_cast<int>(rico.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_null(s, 3);
    }
    if (sqlite3_step(s) != SQLITE_DONE)
        throw ErrorAccess("No se pudo escribir el enunciado (" +
                          std::string(sqlite3_errmsg(db.handle())) + ").");
}

struct Contenido {
    const KindInfo* kind;
    CellValue tipo, clase, enunciado;
    std::vector<std::pair<const KindInfo*, TablaAccess>> tablas;
};

// Reads and checks everything before anything is written.
Contenido leer(const std::string& origen) {
    const std::string noDistribucion = "El archivo " + origen + " no es una distribución: ";
    const LectorAccess lector(origen);
    if (!lector.tieneTabla("ENUNCIADO"))
        throw ErrorAccess(noDistribucion + "no tiene la tabla ENUNCIADO.");
    const TablaAccess enunciado = lector.leerTabla("ENUNCIADO");
    const int iTipo = enunciado.indiceColumna("TIPO");
    const int iClase = enunciado.indiceColumna("CLASE");
    const int iEnunciado = enunciado.indiceColumna("ENUNCIADO");
    if (iTipo < 0 || iClase < 0 || iEnunciado < 0)
        throw ErrorAccess(noDistribucion + "a la tabla ENUNCIADO le faltan campos (TIPO, CLASE, "
                                           "ENUNCIADO).");
    if (enunciado.filas.empty())
        throw ErrorAccess(noDistribucion + "la tabla ENUNCIADO está vacía.");

    const auto& fila = enunciado.filas.front();
    Contenido c{nullptr, fila[iTipo], fila[iClase], fila[iEnunciado], {}};
    const std::string tipo = c.tipo.isText() ? c.tipo.asText() : std::string();
    c.kind = stats::kindByTipo(tipo);
    if (!c.kind)
        throw ErrorAccess(noDistribucion + "su tipo «" + citaBreve(tipo) +
                          "» no es ninguno de los nueve tipos de distribución.");
    const std::string codigo(c.kind->code);
    if (!lector.tieneTabla(codigo))
        throw ErrorAccess(noDistribucion + "no tiene la tabla de datos «" + codigo +
                          "» de su tipo.");

    for (const std::string& nombre : lector.nombresTablas()) {
        const KindInfo* kind = stats::kindByCode(mayusculas(nombre));
        if (!kind)
            continue; // not a data table of any kind
        TablaAccess tabla = lector.leerTabla(nombre);
        if (kind == c.kind)
            for (const std::string& campo : camposDatos(*kind))
                if (tabla.indiceColumna(campo) < 0)
                    throw ErrorAccess(noDistribucion + "a la tabla «" + codigo +
                                      "» le falta el campo «" + campo + "».");
        c.tablas.emplace_back(kind, std::move(tabla));
    }
    return c;
}

} // namespace

ResumenImportacion ImportadorAccess::importar(const std::string& origen, const std::string& destino,
                                              bool reemplazar) {
    std::error_code ec;
    if (!fs::exists(origen, ec))
        throw ErrorAccess("No existe el archivo " + origen + ".");
    if (fs::exists(destino, ec)) {
        if (fs::equivalent(origen, destino, ec))
            throw ErrorAccess("La copia convertida no puede sustituir al archivo original.");
        if (!reemplazar)
            throw ErrorAccess("Ya existe el archivo " + destino + ".");
    }
    if (!LectorAccess::esArchivoAccess(origen))
        throw ErrorAccess("El archivo " + origen + " no es una base de datos de Access.");

    const Contenido contenido = leer(origen);

    const std::string temporal = rutaTemporal(destino);
    limpiarTemporal(destino);
    ResumenImportacion resumen{std::string(contenido.kind->code), contenido.tipo.asText(), {}};
    try {
        const auto db = Database::create(temporal);
        Database::Transaction tx(*db);
        escribirEnunciado(*db, contenido.tipo, contenido.clase, contenido.enunciado);
        for (const auto& [kind, tabla] : contenido.tablas) {
            escribirTabla(*db, *kind, tabla);
            resumen.tablas.push_back({std::string(kind->code), tabla.filas.size()});
        }
        tx.commit();
    } catch (const DbError& e) {
        limpiarTemporal(destino);
        throw ErrorAccess(std::string("No se pudo escribir la copia convertida: ") + e.what());
    } catch (...) {
        limpiarTemporal(destino);
        throw;
    }
    fs::rename(temporal, destino, ec);
    if (ec) {
        limpiarTemporal(destino);
        throw ErrorAccess("No se pudo crear " + destino + ": " + ec.message() + ".");
    }
    return resumen;
}

} // namespace kalnor::access
