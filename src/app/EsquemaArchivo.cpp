#include "EsquemaArchivo.h"

#include "CitaBreve.h"
#include "DbError.h"
#include "DistribucionArchivo.h"
#include "SqlName.h"
#include "SqliteStatement.h"
#include "stats/Kinds.h"

#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalnor {

namespace {

// Kalnor writes a handful of short definitions; anything far beyond these
// is not a file it wrote, and reading it must stay cheap.
constexpr std::size_t kDefinicionMaxima = std::size_t{1} << 20;
constexpr std::size_t kObjetosMaximos = 10000;

// A name as it goes into a message: cut when long, without control
// characters.
std::string mostrado(std::string_view nombre) {
    std::string out = citaBreve(nombre);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    return out;
}

[[noreturn]] void rechazar(std::string_view tabla, const std::string& que) {
    throw DbError("La tabla " + mostrado(tabla) + " tiene " + que + ", que Kalnor no admite.",
                  DbError::kUnsupported);
}

[[noreturn]] void rechazarIlegible(std::string_view tabla) {
    throw DbError("La definición de la tabla " + mostrado(tabla) +
                      " no se puede leer, así que Kalnor no la admite.",
                  DbError::kUnsupported);
}

std::string entreComillas(std::string_view nombre) {
    return "«" + mostrado(nombre) + "»";
}

bool igual(std::string_view a, std::string_view b) {
    return sameSqlName(a, b);
}

// --- The words of a definition ---------------------------------------------

struct Pieza {
    enum class Clase { Palabra, Nombre, Numero, Signo };
    Clase clase;
    std::string texto; // a quoted name or string without its quotes
};

struct Ilegible {}; // the definition is not one this reader follows

bool empiezaPalabra(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool siguePalabra(unsigned char c) {
    return empiezaPalabra(c) || (c >= '0' && c <= '9') || c == '$';
}

bool esDigito(char c) {
    return c >= '0' && c <= '9';
}

// Splits SQL text as SQLite's tokenizer does, closely enough for schema
// definitions: comments and spaces dropped, quoted names unquoted.
std::vector<Pieza> trocear(std::string_view sql) {
    std::vector<Pieza> piezas;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        const char c = sql[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            const std::size_t fin = sql.find('\n', i);
            i = fin == std::string_view::npos ? n : fin + 1;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const std::size_t fin = sql.find("*/", i + 2);
            i = fin == std::string_view::npos ? n : fin + 2;
        } else if (c == '"' || c == '\'' || c == '`' || c == '[') {
            const char cierre = c == '[' ? ']' : c;
            std::string texto;
            std::size_t j = i + 1;
            for (;;) {
                if (j >= n)
                    throw Ilegible{};
                if (sql[j] == cierre) {
                    if (cierre != ']' && j + 1 < n && sql[j + 1] == cierre) {
                        texto += cierre;
                        j += 2;
                        continue;
                    }
                    break;
                }
                texto += sql[j++];
            }
            piezas.push_back({Pieza::Clase::Nombre, std::move(texto)});
            i = j + 1;
        } else if (esDigito(c) || (c == '.' && i + 1 < n && esDigito(sql[i + 1]))) {
            std::size_t j = i;
            while (j < n &&
                   (siguePalabra(static_cast<unsigned char>(sql[j])) || sql[j] == '.' ||
                    ((sql[j] == '+' || sql[j] == '-') && (sql[j - 1] == 'e' || sql[j - 1] == 'E'))))
                ++j;
            piezas.push_back({Pieza::Clase::Numero, std::string(sql.substr(i, j - i))});
            i = j;
        } else if (empiezaPalabra(static_cast<unsigned char>(c))) {
            std::size_t j = i + 1;
            while (j < n && siguePalabra(static_cast<unsigned char>(sql[j])))
                ++j;
            piezas.push_back({Pieza::Clase::Palabra, std::string(sql.substr(i, j - i))});
            i = j;
        } else {
            static constexpr std::string_view dobles[] = {
                "<=", ">=", "<>", "!=", "==", "||", "<<", ">>", "->"};
            std::size_t largo = 1;
            for (const std::string_view d : dobles) {
                if (sql.substr(i, 2) == d)
                    largo = 2;
            }
            piezas.push_back({Pieza::Clase::Signo, std::string(sql.substr(i, largo))});
            i += largo;
        }
    }
    return piezas;
}

bool esPalabra(const Pieza& p, std::string_view palabra) {
    return p.clase == Pieza::Clase::Palabra && igual(p.texto, palabra);
}

bool esSigno(const Pieza& p, std::string_view signo) {
    return p.clase == Pieza::Clase::Signo && p.texto == signo;
}

bool esNombre(const Pieza& p) {
    return p.clase == Pieza::Clase::Palabra || p.clase == Pieza::Clase::Nombre;
}

// --- CREATE TABLE ------------------------------------------------------------

struct Columna {
    std::string nombre;
    std::vector<Pieza> restricciones; // what follows the name and the type
};

struct Tabla {
    std::vector<Columna> columnas;
    std::optional<std::string> restriccionDeTabla; // its first word
    std::vector<Pieza> opciones;                   // after the closing bracket
};

// Words that end a column's type and start one of its constraints.
bool empiezaRestriccion(const Pieza& p) {
    if (p.clase != Pieza::Clase::Palabra)
        return false;
    for (const char* palabra : {"CONSTRAINT", "PRIMARY", "NOT", "NULL", "UNIQUE", "CHECK",
                                "DEFAULT", "COLLATE", "REFERENCES", "GENERATED", "AS"}) {
        if (igual(p.texto, palabra))
            return true;
    }
    return false;
}

bool esRestriccionDeTabla(const Pieza& p) {
    if (p.clase != Pieza::Clase::Palabra)
        return false;
    for (const char* palabra : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"}) {
        if (igual(p.texto, palabra))
            return true;
    }
    return false;
}

Columna leerColumna(std::vector<Pieza> piezas) {
    if (piezas.empty() || !esNombre(piezas.front()))
        throw Ilegible{};
    std::size_t j = 1;
    while (j < piezas.size() && esNombre(piezas[j]) && !empiezaRestriccion(piezas[j]))
        ++j;
    if (j > 1 && j < piezas.size() && esSigno(piezas[j], "(")) {
        // VARCHAR(20), DECIMAL(10, 2): sizes are part of the type.
        while (j < piezas.size() && !esSigno(piezas[j], ")"))
            ++j;
        if (j == piezas.size())
            throw Ilegible{};
        ++j;
    }
    Columna columna{std::move(piezas.front().texto), {}};
    columna.restricciones.assign(std::make_move_iterator(piezas.begin() + std::ptrdiff_t(j)),
                                 std::make_move_iterator(piezas.end()));
    return columna;
}

Tabla leerTabla(const std::vector<Pieza>& p) {
    std::size_t i = 0;
    const auto hay = [&](std::size_t k) { return i + k < p.size(); };
    const auto pide = [&](bool bien) {
        if (!bien)
            throw Ilegible{};
        ++i;
    };
    pide(hay(0) && esPalabra(p[i], "CREATE"));
    if (hay(0) && (esPalabra(p[i], "TEMP") || esPalabra(p[i], "TEMPORARY")))
        ++i;
    pide(hay(0) && esPalabra(p[i], "TABLE"));
    if (hay(0) && esPalabra(p[i], "IF")) {
        pide(hay(1) && esPalabra(p[i + 1], "NOT"));
        pide(hay(1) && esPalabra(p[i + 1], "EXISTS"));
        ++i;
    }
    pide(hay(0) && esNombre(p[i]));
    if (hay(1) && esSigno(p[i], ".")) {
        ++i;
        pide(esNombre(p[i]));
    }
    pide(hay(0) && esSigno(p[i], "("));

    Tabla tabla;
    std::vector<Pieza> actual;
    int profundidad = 0;
    for (;; ++i) {
        if (!hay(0))
            throw Ilegible{};
        const Pieza& pieza = p[i];
        const bool cierra = profundidad == 0 && esSigno(pieza, ")");
        if (cierra || (profundidad == 0 && esSigno(pieza, ","))) {
            if (actual.empty())
                throw Ilegible{};
            if (esRestriccionDeTabla(actual.front())) {
                if (!tabla.restriccionDeTabla)
                    tabla.restriccionDeTabla = actual.front().texto;
            } else {
                if (tabla.restriccionDeTabla)
                    throw Ilegible{}; // columns never follow table constraints
                tabla.columnas.push_back(leerColumna(std::move(actual)));
            }
            actual.clear();
            if (cierra)
                break;
            continue;
        }
        if (esSigno(pieza, "("))
            ++profundidad;
        else if (esSigno(pieza, ")"))
            --profundidad;
        actual.push_back(pieza);
    }
    tabla.opciones.assign(p.begin() + std::ptrdiff_t(i + 1), p.end());
    return tabla;
}

// What a column's constraints are called in a message.
std::string describir(const Columna& columna) {
    const std::vector<Pieza>& r = columna.restricciones;
    std::size_t k = 0;
    if (esPalabra(r[k], "CONSTRAINT"))
        k = r.size() > 2 ? 2 : r.size() - 1;
    const Pieza& p = r[k];
    const std::string donde = " en la columna " + entreComillas(columna.nombre);
    if (esPalabra(p, "GENERATED") || esPalabra(p, "AS"))
        return "una columna generada (" + mostrado(columna.nombre) + ")";
    if (esPalabra(p, "DEFAULT"))
        return "un valor por defecto (DEFAULT)" + donde;
    if (esPalabra(p, "CHECK"))
        return "una regla de validación (CHECK)" + donde;
    if (esPalabra(p, "PRIMARY"))
        return "una clave primaria (PRIMARY KEY)" + donde;
    if (esPalabra(p, "NOT"))
        return "la regla NOT NULL" + donde;
    if (esPalabra(p, "UNIQUE"))
        return "la regla UNIQUE" + donde;
    if (esPalabra(p, "COLLATE"))
        return "una ordenación propia (COLLATE)" + donde;
    if (esPalabra(p, "REFERENCES"))
        return "una referencia a otra tabla (REFERENCES)" + donde;
    return "una regla desconocida" + donde;
}

// The one constraint Kalnor writes: CHECK (ni >= 0) on the frequency.
bool esReglaDeFrecuencia(const Columna& columna) {
    const std::vector<Pieza>& r = columna.restricciones;
    return igual(columna.nombre, "ni") && r.size() == 6 && esPalabra(r[0], "CHECK") &&
           esSigno(r[1], "(") && esNombre(r[2]) && igual(r[2].texto, "ni") && esSigno(r[3], ">=") &&
           r[4].clase == Pieza::Clase::Numero && r[4].texto == "0" && esSigno(r[5], ")");
}

bool columnaAdmitida(const Columna& columna) {
    const std::vector<Pieza>& r = columna.restricciones;
    return r.empty() || (r.size() == 1 && esPalabra(r[0], "NULL")) || esReglaDeFrecuencia(columna);
}

// --- Types -------------------------------------------------------------------

enum class Esperado { Texto, Real, Entero };

std::string mayusculas(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

const char* nombreDe(Esperado e) {
    switch (e) {
    case Esperado::Texto:
        return "TEXT";
    case Esperado::Real:
        return "REAL";
    default:
        return "INTEGER";
    }
}

// A declared type that keeps the values Kalnor writes in that field. With
// no type (or ANY) a column keeps anything, as tables of other programs do;
// otherwise SQLite's rules of affinity decide.
bool tipoAdmitido(Esperado esperado, std::string_view declarado, bool estricta) {
    const std::string tipo = mayusculas(declarado);
    if (tipo.empty() || (estricta && tipo == "ANY"))
        return true;
    if (estricta) {
        switch (esperado) {
        case Esperado::Texto:
            return tipo == "TEXT";
        case Esperado::Real:
            return tipo == "REAL";
        default:
            return tipo == "INTEGER" || tipo == "INT";
        }
    }
    const auto tiene = [&](const char* parte) { return tipo.find(parte) != std::string::npos; };
    const bool entero = tiene("INT");
    const bool texto = !entero && (tiene("CHAR") || tiene("CLOB") || tiene("TEXT"));
    const bool blob = !entero && !texto && tiene("BLOB");
    if (esperado == Esperado::Texto)
        return texto;
    return !texto && !blob; // integer, real or numeric affinity
}

// The fields whose type matters in `tabla`, with the type they need; none
// for a table Kalnor does not read.
std::vector<std::pair<std::string, Esperado>> camposEsperados(std::string_view tabla) {
    std::vector<std::pair<std::string, Esperado>> campos;
    if (igual(tabla, "ENUNCIADO")) {
        for (const char* campo : {"TIPO", "CLASE", "ENUNCIADO"})
            campos.emplace_back(campo, Esperado::Texto);
        return campos;
    }
    for (const stats::KindInfo& kind : stats::allKinds()) {
        if (!igual(tabla, kind.code))
            continue;
        for (const std::string& campo : camposDatos(kind)) {
            const Esperado e = campo == "ni"                    ? Esperado::Entero
                               : esCampoDePalabras(kind, campo) ? Esperado::Texto
                                                                : Esperado::Real;
            campos.emplace_back(campo, e);
        }
    }
    return campos;
}

// --- Checks --------------------------------------------------------------------

struct ColumnaGuardada {
    std::string nombre, tipo;
    bool noNulo, conDefecto, clave;
    int oculta;
};

std::vector<ColumnaGuardada> columnasGuardadas(sqlite3* db, const std::string& tabla) {
    std::vector<ColumnaGuardada> columnas;
    Statement info(db, "SELECT name, type, \"notnull\", dflt_value IS NOT NULL, pk, hidden "
                       "FROM pragma_table_xinfo(?1) ORDER BY cid");
    info.bind(1, tabla);
    while (info.step()) {
        columnas.push_back({info.text(0), info.text(1), info.int64(2) != 0, info.int64(3) != 0,
                            info.int64(4) != 0, static_cast<int>(info.int64(5))});
    }
    info.reset();
    return columnas;
}

void comprobarIndices(sqlite3* db, const std::string& tabla) {
    struct Indice {
        std::string nombre, origen;
        bool unico, parcial;
    };
    std::vector<Indice> indices;
    Statement lista(db, "SELECT name, \"unique\", origin, partial FROM pragma_index_list(?1)");
    lista.bind(1, tabla);
    while (lista.step())
        indices.push_back({lista.text(0), lista.text(2), lista.int64(1) != 0, lista.int64(3) != 0});
    lista.reset();
    for (const Indice& indice : indices) {
        const std::string nombre = " (" + mostrado(indice.nombre) + ")";
        if (indice.origen == "pk")
            rechazar(tabla, "una clave primaria (PRIMARY KEY)");
        if (indice.unico)
            rechazar(tabla, "un índice único" + nombre);
        if (indice.parcial)
            rechazar(tabla, "un índice parcial, con WHERE" + nombre);
        Statement partes(db, "SELECT cid, coll FROM pragma_index_xinfo(?1) WHERE key");
        partes.bind(1, indice.nombre);
        while (partes.step()) {
            const bool expresion = partes.int64(0) == -2;
            const std::string orden = mayusculas(partes.text(1));
            if (expresion || (orden != "BINARY" && orden != "NOCASE" && orden != "RTRIM")) {
                partes.reset();
                rechazar(tabla, expresion ? "un índice sobre una expresión" + nombre
                                          : "un índice con una ordenación propia" + nombre);
            }
        }
        partes.reset();
    }
}

void comprobarTabla(sqlite3* db, const std::string& nombre, const std::optional<std::string>& sql) {
    if (!sql)
        rechazarIlegible(nombre);
    Tabla tabla;
    try {
        const std::vector<Pieza> piezas = trocear(*sql);
        if (piezas.size() > 1 && esPalabra(piezas[0], "CREATE") && esPalabra(piezas[1], "VIRTUAL"))
            throw DbError("La tabla " + mostrado(nombre) +
                              " es una tabla virtual (CREATE VIRTUAL TABLE), que Kalnor no admite.",
                          DbError::kUnsupported);
        tabla = leerTabla(piezas);
    } catch (const Ilegible&) {
        rechazarIlegible(nombre);
    }
    bool estricta = false;
    for (const Pieza& p : tabla.opciones) {
        if (esPalabra(p, "STRICT"))
            estricta = true;
        else if (esPalabra(p, "WITHOUT"))
            rechazar(nombre, "la forma WITHOUT ROWID (sin número de registro)");
        else if (!esSigno(p, ",") && !esSigno(p, ";"))
            rechazarIlegible(nombre);
    }
    for (const Columna& columna : tabla.columnas) {
        if (!columnaAdmitida(columna))
            rechazar(nombre, describir(columna));
    }
    if (tabla.restriccionDeTabla)
        rechazar(nombre,
                 "una regla de la tabla entera (" + mayusculas(*tabla.restriccionDeTabla) + " …)");

    // What SQLite itself made of the definition must be what was read here.
    const std::vector<ColumnaGuardada> guardadas = columnasGuardadas(db, nombre);
    if (guardadas.size() != tabla.columnas.size())
        rechazarIlegible(nombre);
    for (std::size_t k = 0; k < guardadas.size(); ++k) {
        const ColumnaGuardada& c = guardadas[k];
        if (c.oculta != 0)
            rechazar(nombre, "una columna generada (" + mostrado(c.nombre) + ")");
        if (c.nombre != tabla.columnas[k].nombre)
            rechazarIlegible(nombre);
        const std::string donde = " en la columna " + entreComillas(c.nombre);
        if (c.conDefecto)
            rechazar(nombre, "un valor por defecto (DEFAULT)" + donde);
        if (c.noNulo)
            rechazar(nombre, "la regla NOT NULL" + donde);
        if (c.clave)
            rechazar(nombre, "una clave primaria (PRIMARY KEY)" + donde);
    }
    for (const auto& [campo, esperado] : camposEsperados(nombre)) {
        for (const ColumnaGuardada& c : guardadas) {
            if (igual(c.nombre, campo) && !tipoAdmitido(esperado, c.tipo, estricta))
                throw DbError("La tabla " + mostrado(nombre) + " tiene la columna " +
                                  entreComillas(c.nombre) + " de tipo " + mostrado(c.tipo) +
                                  ", que Kalnor no admite (la escribe " + nombreDe(esperado) + ").",
                              DbError::kUnsupported);
        }
    }
    comprobarIndices(db, nombre);
}

} // namespace

void comprobarEsquema(sqlite3* db) {
    struct Objeto {
        std::string tipo, nombre;
        std::optional<std::string> sql; // none when missing or too long to read
    };
    std::vector<Objeto> objetos;
    Statement esquema(db, "SELECT type, name, sql, length(CAST(sql AS BLOB)) FROM sqlite_schema");
    while (esquema.step()) {
        if (objetos.size() >= kObjetosMaximos) {
            esquema.reset();
            throw DbError("El fichero tiene más de " + std::to_string(kObjetosMaximos) +
                              " tablas e índices, que Kalnor no admite.",
                          DbError::kUnsupported);
        }
        Objeto objeto{esquema.text(0), esquema.text(1), std::nullopt};
        if (!esquema.isNull(2) && esquema.int64(3) <= static_cast<long long>(kDefinicionMaxima))
            objeto.sql = esquema.text(2);
        objetos.push_back(std::move(objeto));
    }
    esquema.reset();
    // Triggers and views never run on Kalnor's connections; indexes are
    // checked with their tables.
    for (const Objeto& objeto : objetos) {
        if (objeto.tipo == "table")
            comprobarTabla(db, objeto.nombre, objeto.sql);
    }
}

} // namespace kalnor
