#include "CargaCsv.h"

#include "CitaBreve.h"
#include "Database.h"
#include "DbError.h"
#include "DistribucionArchivo.h"
#include "Utf8.h"
#include "stats/CellValue.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalnor {

namespace {

enum class Tipo { Palabra, Numero, Frecuencia, NumeroOpcional };

struct Linea {
    std::size_t numero;
    std::string_view texto;
};

// Splits one line into fields; a field in double quotes may hold the
// separator, with "" standing for a quote.
std::vector<std::string> dividir(std::string_view linea, char separador) {
    std::vector<std::string> campos(1);
    bool citado = false;
    for (std::size_t i = 0; i < linea.size(); ++i) {
        const char c = linea[i];
        if (citado) {
            if (c == '"' && i + 1 < linea.size() && linea[i + 1] == '"') {
                campos.back() += '"';
                ++i;
            } else if (c == '"') {
                citado = false;
            } else {
                campos.back() += c;
            }
        } else if (c == '"') {
            citado = true;
        } else if (c == separador) {
            campos.emplace_back();
        } else {
            campos.back() += c;
        }
    }
    return campos;
}

std::string recortar(std::string s) {
    const auto blanco = [](unsigned char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blanco(s.back()))
        s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && blanco(s[i]))
        ++i;
    return s.substr(i);
}

// Whether `texto` is well-formed UTF-8 (no overlong forms, no surrogates).
bool esUtf8(std::string_view texto) {
    std::size_t i = 0;
    while (i < texto.size()) {
        const auto c = static_cast<unsigned char>(texto[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t largo = 0;
        unsigned char menor = 0x80, mayor = 0xBF; // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            largo = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            largo = 3;
            if (c == 0xE0)
                menor = 0xA0;
            else if (c == 0xED)
                mayor = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            largo = 4;
            if (c == 0xF0)
                menor = 0x90;
            else if (c == 0xF4)
                mayor = 0x8F;
        } else {
            return false;
        }
        if (i + largo > texto.size())
            return false;
        const auto segundo = static_cast<unsigned char>(texto[i + 1]);
        if (segundo < menor || segundo > mayor)
            return false;
        for (std::size_t k = 2; k < largo; ++k)
            if ((static_cast<unsigned char>(texto[i + k]) & 0xC0) != 0x80)
                return false;
        i += largo;
    }
    return true;
}

// The text as UTF-8: `texto` itself when it is, else converted into `copia`.
// A text that is not UTF-8 comes from a spreadsheet saved in the Windows
// code page: it is read as such, so "Ñ" is stored as the letter and not as a
// stray byte.
std::string_view enUtf8(std::string_view texto, std::string& copia) {
    if (esUtf8(texto))
        return texto;
    copia = desdeWindows1252(texto);
    return copia;
}

// Lines end in "\n", "\r\n" or a lone "\r" (old Mac editors).
std::vector<Linea> lineas(std::string_view texto) {
    if (texto.starts_with("\xEF\xBB\xBF")) // byte order mark of UTF-8 editors
        texto.remove_prefix(3);
    std::vector<Linea> resultado;
    std::size_t numero = 0;
    while (!texto.empty()) {
        ++numero;
        const std::size_t fin = texto.find_first_of("\r\n");
        const std::string_view linea = texto.substr(0, fin);
        std::size_t siguiente = fin == std::string_view::npos ? texto.size() : fin + 1;
        if (fin != std::string_view::npos && texto[fin] == '\r' && fin + 1 < texto.size() &&
            texto[fin + 1] == '\n')
            ++siguiente;
        texto.remove_prefix(siguiente);
        if (linea.find_first_not_of(" \t") != std::string_view::npos)
            resultado.push_back({numero, linea});
    }
    return resultado;
}

bool soloCifras(std::string_view v) {
    return !v.empty() &&
           std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "1.234.567": digits grouped by three with points, the first group of one
// to three digits.
bool agrupadoEnMiles(std::string_view v) {
    const std::size_t punto = v.find('.');
    if (punto == std::string_view::npos || punto == 0 || punto > 3 ||
        !soloCifras(v.substr(0, punto)))
        return false;
    for (std::size_t i = punto; i < v.size(); i += 4)
        if (v[i] != '.' || i + 4 > v.size() || !soloCifras(v.substr(i + 1, 3)))
            return false;
    return true;
}

std::string sinPuntos(std::string_view v) {
    std::string s;
    for (const char c : v)
        if (c != '.')
            s += c;
    return s;
}

// In a file with decimal comma (';'-separated) a point groups thousands:
// "1.234,5" is 1234,5 and "-1.000" is -1000. Anything else is left as
// written ("0.5" keeps its point as a decimal one, as it always has).
std::string sinMillares(const std::string& valor) {
    const std::size_t signo = valor.starts_with('-') || valor.starts_with('+') ? 1 : 0;
    const std::size_t coma = valor.find(',');
    const std::string_view entera =
        std::string_view(valor).substr(signo, coma == std::string::npos ? coma : coma - signo);
    if (!agrupadoEnMiles(entera))
        return valor;
    return valor.substr(0, signo) + sinPuntos(entera) +
           (coma == std::string::npos ? std::string() : valor.substr(coma));
}

// Whether a ';' file writes its decimals with a point after all: some number
// has a point that cannot group thousands ("0.25") and none has a comma. Its
// points are then decimal ones, and "1.000" is no count.
bool conPuntoDecimal(const std::vector<Linea>& todas, char separador,
                     const std::vector<Tipo>& tipos) {
    bool punto = false;
    for (std::size_t l = 1; l < todas.size(); ++l) {
        const std::vector<std::string> valores = dividir(todas[l].texto, separador);
        for (std::size_t i = 0; i < valores.size() && i < tipos.size(); ++i) {
            if (tipos[i] == Tipo::Palabra)
                continue;
            const std::string v = recortar(valores[i]);
            if (v.find(',') != std::string::npos)
                return false;
            const std::size_t signo = v.starts_with('-') || v.starts_with('+') ? 1 : 0;
            punto = punto || (v.find('.') != std::string::npos &&
                              !agrupadoEnMiles(std::string_view(v).substr(signo)));
        }
    }
    return punto;
}

// Why a word that looks like a number was not read as one, or nothing.
std::optional<std::string> fueraDeRango(std::string_view valor) {
    std::string s(valor);
    std::replace(s.begin(), s.end(), ',', '.');
    const char* inicio = s.data() + (s.starts_with('+') ? 1 : 0);
    double x = 0;
    const auto [fin, ec] = std::from_chars(inicio, s.data() + s.size(), x);
    if (ec != std::errc::result_out_of_range || fin != s.data() + s.size())
        return std::nullopt;
    const std::size_t e = s.find_first_of("eE");
    const bool diminuto = e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
    return diminuto ? "está tan cerca de cero que no se puede guardar como número"
                    : "es demasiado grande para guardarse como número";
}

[[noreturn]] void rechazar(std::size_t linea, const std::string& motivo) {
    throw DbError("Línea " + std::to_string(linea) + ": " + motivo);
}

struct Sentencia {
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt{nullptr, &sqlite3_finalize};
};

} // namespace

MuestraCsv LeerMuestraCsv(std::string_view texto, std::size_t maximo) {
    MuestraCsv muestra;
    std::string copia;
    texto = enUtf8(texto, copia);
    const std::vector<Linea> todas = lineas(texto);
    if (todas.empty())
        return muestra;
    muestra.separador = todas.front().texto.find(';') != std::string_view::npos ? ';' : ',';
    for (std::string& c : dividir(todas.front().texto, muestra.separador))
        muestra.campos.push_back(recortar(std::move(c)));
    muestra.totalFilas = todas.size() - 1;
    for (std::size_t l = 1; l < todas.size() && muestra.filas.size() < maximo; ++l) {
        std::vector<std::string> fila;
        for (std::string& v : dividir(todas[l].texto, muestra.separador))
            fila.push_back(recortar(std::move(v)));
        muestra.filas.push_back(std::move(fila));
    }
    return muestra;
}

std::size_t CargarCsv(Database& db, const stats::KindInfo& kind, std::string_view texto) {
    const std::string tabla(kind.code);
    std::string copia;
    const std::vector<Linea> todas = lineas(enUtf8(texto, copia));
    if (todas.empty())
        throw DbError("Los datos están vacíos: falta la línea de cabecera");

    const Linea& cabecera = todas.front();
    const char separador = cabecera.texto.find(';') != std::string_view::npos ? ';' : ',';
    std::vector<std::string> campos = dividir(cabecera.texto, separador);
    for (std::string& c : campos)
        c = recortar(c);

    const std::vector<std::string> existentes = db.fieldNames(tabla);
    const std::vector<std::string> base = camposDatos(kind);
    std::vector<Tipo> tipos;
    for (std::size_t i = 0; i < campos.size(); ++i) {
        const std::string& c = campos[i];
        if (std::find(existentes.begin(), existentes.end(), c) == existentes.end())
            rechazar(cabecera.numero,
                     "la tabla " + tabla + " no tiene el campo «" + citaBreve(c) + "»");
        if (std::find(campos.begin(), campos.begin() + i, c) != campos.begin() + i)
            rechazar(cabecera.numero, "el campo «" + citaBreve(c) + "» está repetido");
        if (c == "ni")
            tipos.push_back(Tipo::Frecuencia);
        else if (esCampoDePalabras(kind, c))
            tipos.push_back(Tipo::Palabra);
        else if (std::find(base.begin(), base.end(), c) != base.end())
            tipos.push_back(Tipo::Numero);
        else
            tipos.push_back(Tipo::NumeroOpcional); // a derived column may stay empty
    }
    for (const std::string& c : base)
        if (std::find(campos.begin(), campos.end(), c) == campos.end())
            rechazar(cabecera.numero, "falta el campo «" + c + "» en la cabecera");

    std::string sql = "INSERT INTO " + quoteIdentifier(tabla) + " (";
    for (std::size_t i = 0; i < campos.size(); ++i)
        sql += (i ? ", " : "") + quoteIdentifier(campos[i]);
    sql += ") VALUES (";
    for (std::size_t i = 0; i < campos.size(); ++i)
        sql += i ? ", ?" : "?";
    sql += ")";

    const bool miles = separador == ';' && !conPuntoDecimal(todas, separador, tipos);

    Database::Transaction tx(db);
    Sentencia s;
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
            throw DbError("No se pudo preparar la carga: " +
                          std::string(sqlite3_errmsg(db.handle())));
        s.stmt.reset(raw);
    }
    sqlite3_stmt* stmt = s.stmt.get();

    for (std::size_t l = 1; l < todas.size(); ++l) {
        const Linea& linea = todas[l];
        const std::vector<std::string> valores = dividir(linea.texto, separador);
        if (valores.size() != campos.size())
            rechazar(linea.numero, "se esperaban " + std::to_string(campos.size()) +
                                       " campos y hay " + std::to_string(valores.size()));
        sqlite3_reset(stmt);
        for (std::size_t i = 0; i < valores.size(); ++i) {
            const int indice = static_cast<int>(i) + 1;
            const std::string valor = recortar(valores[i]);
            const std::string& campo = campos[i];
            if (valor.empty()) {
                if (tipos[i] != Tipo::NumeroOpcional)
                    rechazar(linea.numero, "el campo «" + campo + "» está vacío");
                sqlite3_bind_null(stmt, indice);
                continue;
            }
            if (tipos[i] == Tipo::Palabra) {
                sqlite3_bind_text(stmt, indice, valor.c_str(), static_cast<int>(valor.size()),
                                  SQLITE_TRANSIENT);
                continue;
            }
            const std::string cita = "«" + citaBreve(valor) + "»";
            const auto noEsNumero = [&](const std::string& escrito) {
                const std::optional<std::string> porque = fueraDeRango(escrito);
                rechazar(linea.numero, cita + (porque ? " " + *porque : " no es un número") +
                                           " (campo «" + campo + "»)");
            };
            if (tipos[i] == Tipo::Frecuencia) {
                // A count is written as a whole number: "1.000" in a file
                // with decimal point is not a thousand, nor a one.
                const std::string cifras =
                    miles && agrupadoEnMiles(valor) ? sinPuntos(valor) : valor;
                std::int64_t n = 0;
                const auto [fin, ec] =
                    std::from_chars(cifras.data(), cifras.data() + cifras.size(), n);
                if (!soloCifras(cifras) || ec != std::errc() || n > INT32_MAX) {
                    if (!stats::parseNumber(valor))
                        noEsNumero(valor);
                    rechazar(linea.numero, "la frecuencia " + cita + " no es un número natural");
                }
                sqlite3_bind_int64(stmt, indice, n);
                continue;
            }
            const std::string escrito = miles ? sinMillares(valor) : valor;
            const std::optional<double> numero = stats::parseNumber(escrito);
            if (!numero || !std::isfinite(*numero))
                noEsNumero(escrito);
            sqlite3_bind_double(stmt, indice, *numero);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE)
            rechazar(linea.numero, sqlite3_errmsg(db.handle()));
    }
    s.stmt.reset();
    tx.commit();
    return todas.size() - 1;
}

} // namespace kalnor
