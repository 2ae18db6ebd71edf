#include "CargaCsv.h"

#include "Database.h"
#include "DbError.h"
#include "DistribucionArchivo.h"
#include "stats/CellValue.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
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

std::vector<Linea> lineas(std::string_view texto) {
    if (texto.starts_with("\xEF\xBB\xBF")) // byte order mark of UTF-8 editors
        texto.remove_prefix(3);
    std::vector<Linea> resultado;
    std::size_t numero = 0;
    while (!texto.empty()) {
        ++numero;
        const std::size_t fin = texto.find('\n');
        std::string_view linea = texto.substr(0, fin);
        texto.remove_prefix(fin == std::string_view::npos ? texto.size() : fin + 1);
        if (linea.ends_with('\r'))
            linea.remove_suffix(1);
        if (linea.find_first_not_of(" \t") != std::string_view::npos)
            resultado.push_back({numero, linea});
    }
    return resultado;
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
    const std::vector<Linea> todas = lineas(texto);
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
            rechazar(cabecera.numero, "la tabla " + tabla + " no tiene el campo «" + c + "»");
        if (std::find(campos.begin(), campos.begin() + i, c) != campos.begin() + i)
            rechazar(cabecera.numero, "el campo «" + c + "» está repetido");
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
            const std::optional<double> numero = stats::parseNumber(valor);
            if (!numero || !std::isfinite(*numero))
                rechazar(linea.numero, "«" + valor + "» no es un número (campo «" + campo + "»)");
            if (tipos[i] == Tipo::Frecuencia) {
                if (*numero < 0 || *numero > INT32_MAX || std::floor(*numero) != *numero)
                    rechazar(linea.numero, "la frecuencia «" + valor + "» no es un número natural");
                sqlite3_bind_int64(stmt, indice, static_cast<sqlite3_int64>(*numero));
            } else {
                sqlite3_bind_double(stmt, indice, *numero);
            }
        }
        if (sqlite3_step(stmt) != SQLITE_DONE)
            rechazar(linea.numero, sqlite3_errmsg(db.handle()));
    }
    s.stmt.reset();
    tx.commit();
    return todas.size() - 1;
}

} // namespace kalnor
