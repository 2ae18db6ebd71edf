#include "EnunciadoLexico.h"

#include "app/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kalnor::enunciado {

// ---------------------------------------------------------------- characters

bool esBlanco(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool esLetra(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool esCifra(char c) {
    return c >= '0' && c <= '9';
}
char minuscula(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string minusculas(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = minuscula(c);
    return r;
}
bool empiezaSinCaso(std::string_view s, std::size_t i, std::string_view prefijo) {
    if (s.size() - std::min(i, s.size()) < prefijo.size())
        return false;
    for (std::size_t k = 0; k < prefijo.size(); ++k)
        if (minuscula(s[i + k]) != prefijo[k])
            return false;
    return true;
}
std::string_view recortarBlancos(std::string_view s) {
    while (!s.empty() && esBlanco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && esBlanco(s.back()))
        s.remove_suffix(1);
    return s;
}

constexpr char32_t kSustituto = 0xFFFD;

// The code point at s[i] (invalid UTF-8 gives U+FFFD and one byte).
char32_t leerUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80)
        return b0;
    int resto = 0;
    char32_t c = 0;
    char32_t minimo = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        resto = 1, c = b0 & 0x1F, minimo = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        resto = 2, c = b0 & 0x0F, minimo = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        resto = 3, c = b0 & 0x07, minimo = 0x10000;
    } else {
        return kSustituto;
    }
    std::size_t j = i;
    for (int k = 0; k < resto; ++k, ++j) {
        if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80)
            return kSustituto;
        c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kSustituto;
    i = j;
    return c;
}

// Characters that would only confuse the layout: controls other than tab
// and line breaks.
bool esControl(char32_t c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c < 0xA0);
}

void anadirEscapado(std::string& r, char32_t c, bool enAtributo) {
    switch (c) {
    case '&':
        r += "&amp;";
        return;
    case '<':
        r += "&lt;";
        return;
    case '>':
        r += "&gt;";
        return;
    case '"':
        if (enAtributo) {
            r += "&quot;";
            return;
        }
        break;
    default:
        break;
    }
    if (!esControl(c))
        anadirCodigo(r, c);
}

// A UTF-8 string (already decoded) escaped for an attribute value.
std::string escaparAtributo(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size();)
        anadirEscapado(r, leerUtf8(s, i), true);
    return r;
}

struct Entidad {
    std::string_view nombre;
    char32_t codigo;
};

constexpr std::array<Entidad, 62> kEntidades{{
    {"amp", '&'},       {"lt", '<'},       {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
    {"nbsp", 0xA0},     {"iexcl", 0xA1},   {"cent", 0xA2},    {"pound", 0xA3},   {"yen", 0xA5},
    {"sect", 0xA7},     {"copy", 0xA9},    {"ordf", 0xAA},    {"laquo", 0xAB},   {"shy", 0xAD},
    {"reg", 0xAE},      {"deg", 0xB0},     {"plusmn", 0xB1},  {"sup2", 0xB2},    {"sup3", 0xB3},
    {"micro", 0xB5},    {"para", 0xB6},    {"middot", 0xB7},  {"ordm", 0xBA},    {"raquo", 0xBB},
    {"frac14", 0xBC},   {"frac12", 0xBD},  {"frac34", 0xBE},  {"iquest", 0xBF},  {"Aacute", 0xC1},
    {"Eacute", 0xC9},   {"Iacute", 0xCD},  {"Ntilde", 0xD1},  {"Oacute", 0xD3},  {"times", 0xD7},
    {"Uacute", 0xDA},   {"Uuml", 0xDC},    {"aacute", 0xE1},  {"agrave", 0xE0},  {"ccedil", 0xE7},
    {"eacute", 0xE9},   {"egrave", 0xE8},  {"iacute", 0xED},  {"ntilde", 0xF1},  {"oacute", 0xF3},
    {"divide", 0xF7},   {"uacute", 0xFA},  {"uuml", 0xFC},    {"ndash", 0x2013}, {"mdash", 0x2014},
    {"lsquo", 0x2018},  {"rsquo", 0x2019}, {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bull", 0x2022},
    {"hellip", 0x2026}, {"euro", 0x20AC},  {"sigma", 0x3C3},  {"Sigma", 0x3A3},  {"mu", 0x3BC},
    {"sum", 0x2211},    {"radic", 0x221A},
}};

Referencia leerReferencia(std::string_view s, std::size_t i) {
    Referencia r;
    std::size_t j = i + 1;
    if (j < s.size() && s[j] == '#') {
        ++j;
        const bool hex = j < s.size() && (s[j] == 'x' || s[j] == 'X');
        if (hex)
            ++j;
        const std::size_t inicio = j;
        std::uint32_t valor = 0;
        while (j < s.size() && j - inicio < 8) {
            const char c = s[j];
            int d = -1;
            if (esCifra(c))
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                break;
            valor = valor * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            ++j;
        }
        if (j == inicio)
            return r;
        // More digits than that: out of range whatever they say.
        while (j < s.size() &&
               (esCifra(s[j]) || (hex && std::isxdigit(static_cast<unsigned char>(s[j]))))) {
            ++j;
            valor = 0x110000;
        }
        if (j < s.size() && s[j] == ';')
            ++j;
        r.codigo = (valor == 0 || valor > 0x10FFFF || (valor >= 0xD800 && valor <= 0xDFFF))
                       ? kSustituto
                       : static_cast<char32_t>(valor);
        r.fin = j;
        return r;
    }
    const std::size_t inicio = j;
    while (j < s.size() && j - inicio < 32 && (esLetra(s[j]) || esCifra(s[j])))
        ++j;
    if (j == inicio || j >= s.size() || s[j] != ';')
        return r;
    const std::string_view nombre = s.substr(inicio, j - inicio);
    r.fin = j + 1;
    for (const Entidad& e : kEntidades)
        if (e.nombre == nombre) {
            r.codigo = e.codigo;
            return r;
        }
    r.nombre = nombre;
    return r;
}

// An attribute value with its references decoded (unknown names stay as
// written), as UTF-8.
std::string decodificar(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '&') {
            const Referencia ref = leerReferencia(s, i);
            if (ref.codigo != 0) {
                anadirCodigo(r, ref.codigo);
                i = ref.fin;
                continue;
            }
        }
        r += s[i++];
    }
    return r;
}

// ---------------------------------------------------------------- tokens

constexpr std::size_t kAtributosMaximos = 32;

// Reads the tag at s[i] ('<' then a letter, or "</" then a letter). Returns
// the position after it, or s.size() when the input ends inside it (the tag
// is then dropped, as browsers do).
std::size_t leerEtiqueta(std::string_view s, std::size_t i, Etiqueta& t, bool& completa) {
    completa = false;
    ++i;
    if (s[i] == '/') {
        t.cierre = true;
        ++i;
    }
    const std::size_t inicioNombre = i;
    while (i < s.size() && !esBlanco(s[i]) && s[i] != '/' && s[i] != '>')
        ++i;
    t.nombre = minusculas(s.substr(inicioNombre, std::min<std::size_t>(i - inicioNombre, 16)));
    if (i - inicioNombre > 16)
        t.nombre += '?'; // no name we know is that long
    for (;;) {
        while (i < s.size() && (esBlanco(s[i]) || s[i] == '/'))
            ++i;
        if (i >= s.size())
            return s.size();
        if (s[i] == '>') {
            completa = true;
            return i + 1;
        }
        const std::size_t inicioAtr = i;
        ++i; // the first character may be '='
        while (i < s.size() && !esBlanco(s[i]) && s[i] != '/' && s[i] != '>' && s[i] != '=')
            ++i;
        const std::string_view nombre = s.substr(inicioAtr, i - inicioAtr);
        while (i < s.size() && esBlanco(s[i]))
            ++i;
        std::string_view valor;
        if (i < s.size() && s[i] == '=') {
            ++i;
            while (i < s.size() && esBlanco(s[i]))
                ++i;
            if (i >= s.size())
                return s.size();
            if (s[i] == '"' || s[i] == '\'') {
                const std::size_t cierre = s.find(s[i], i + 1);
                if (cierre == std::string_view::npos)
                    return s.size();
                valor = s.substr(i + 1, cierre - i - 1);
                i = cierre + 1;
            } else {
                const std::size_t inicioValor = i;
                while (i < s.size() && !esBlanco(s[i]) && s[i] != '>')
                    ++i;
                valor = s.substr(inicioValor, i - inicioValor);
            }
        }
        if (t.atributos.size() < kAtributosMaximos && nombre.size() <= 16)
            t.atributos.emplace_back(minusculas(nombre), valor);
    }
}

// The position after the end tag `</nombre ...>` of an element whose
// content is skipped, or the end of the input.
std::size_t saltarContenido(std::string_view s, std::size_t i, std::string_view nombre) {
    for (;;) {
        const std::size_t p = s.find("</", i);
        if (p == std::string_view::npos)
            return s.size();
        const std::size_t tras = p + 2 + nombre.size();
        if (empiezaSinCaso(s, p + 2, nombre) &&
            (tras >= s.size() || esBlanco(s[tras]) || s[tras] == '/' || s[tras] == '>')) {
            const std::size_t cierre = s.find('>', tras);
            return cierre == std::string_view::npos ? s.size() : cierre + 1;
        }
        i = p + 2;
    }
}

} // namespace kalnor::enunciado
