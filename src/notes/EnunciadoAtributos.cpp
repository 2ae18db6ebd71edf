#include "EnunciadoAtributos.h"

#include "EnunciadoLexico.h"
#include "EnunciadoSeguro.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace kalnor::enunciado {

// ---------------------------------------------------------------- values

std::string numeroTexto(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

// A number with one of `unidades` (or none when "" is among them), limited
// to [minimo, maximo]; empty when it is no such thing.
std::string longitud(std::string_view v, double minimo, double maximo,
                     std::initializer_list<std::string_view> unidades) {
    v = recortarBlancos(v);
    std::size_t i = 0;
    bool negativo = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        negativo = v[i++] == '-';
    double valor = 0;
    std::size_t cifras = 0;
    while (i < v.size() && esCifra(v[i])) {
        if (cifras++ < 9)
            valor = valor * 10 + (v[i] - '0');
        ++i;
    }
    if (i < v.size() && v[i] == '.') {
        ++i;
        double escala = 0.1;
        while (i < v.size() && esCifra(v[i])) {
            if (escala > 1e-6)
                valor += escala * (v[i] - '0');
            escala /= 10;
            ++cifras, ++i;
        }
    }
    if (cifras == 0)
        return {};
    const std::string unidad = minusculas(v.substr(i));
    if (std::find(unidades.begin(), unidades.end(), unidad) == unidades.end())
        return {};
    if (cifras > 9)
        valor = maximo;
    valor = std::clamp(negativo ? -valor : valor, minimo, maximo);
    return numeroTexto(valor) + unidad;
}

std::string entero(std::string_view v, int minimo, int maximo) {
    v = recortarBlancos(v);
    std::size_t i = 0;
    const bool negativo = i < v.size() && v[i] == '-';
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        ++i;
    long long valor = 0;
    const std::size_t inicio = i;
    while (i < v.size() && esCifra(v[i])) {
        valor = std::min<long long>(valor * 10 + (v[i] - '0'), 1'000'000'000);
        ++i;
    }
    if (i == inicio || i != v.size())
        return {};
    return std::to_string(std::clamp<long long>(negativo ? -valor : valor, minimo, maximo));
}

std::string palabra(std::string_view v, std::initializer_list<std::string_view> permitidas) {
    const std::string p = minusculas(recortarBlancos(v));
    return std::find(permitidas.begin(), permitidas.end(), p) != permitidas.end() ? p
                                                                                  : std::string();
}

std::string color(std::string_view v) {
    v = recortarBlancos(v);
    if (v.empty() || v.size() > 40)
        return {};
    if (v[0] == '#') {
        if (v.size() != 4 && v.size() != 7 && v.size() != 9)
            return {};
        for (std::size_t i = 1; i < v.size(); ++i)
            if (!std::isxdigit(static_cast<unsigned char>(v[i])))
                return {};
        return std::string(v);
    }
    const std::string m = minusculas(v);
    if (m.starts_with("rgb(") || m.starts_with("rgba(")) {
        if (m.back() != ')')
            return {};
        for (std::size_t i = m.find('(') + 1; i + 1 < m.size(); ++i)
            if (!esCifra(m[i]) && m[i] != ',' && m[i] != '.' && m[i] != ' ' && m[i] != '%')
                return {};
        return m;
    }
    if (m.size() > 24)
        return {};
    for (const char c : m)
        if (!(c >= 'a' && c <= 'z'))
            return {};
    return m;
}

std::string familia(std::string_view v) {
    v = recortarBlancos(v);
    if (v.empty() || v.size() > 200)
        return {};
    for (const char c : v) {
        const auto u = static_cast<unsigned char>(c);
        if (!(u >= 0x80 || esLetra(c) || esCifra(c) || c == ' ' || c == '\'' || c == '"' ||
              c == ',' || c == '-' || c == '_' || c == '.'))
            return {};
    }
    return std::string(v);
}

// One declaration of a style attribute, checked; empty when left out.
std::string declaracion(std::string_view propiedad, std::string_view valor) {
    const std::string p = minusculas(recortarBlancos(propiedad));
    if (const auto imp = minusculas(valor).find("!important"); imp != std::string::npos)
        valor = valor.substr(0, imp);
    std::string v;
    if (p == "font-family")
        v = familia(valor);
    else if (p == "font-size") {
        v = longitud(valor, 1, 72, {"pt", "px"});
        if (v.empty())
            v = palabra(valor, {"xx-small", "x-small", "small", "medium", "large", "x-large",
                                "xx-large", "smaller", "larger"});
    } else if (p == "font-weight") {
        v = longitud(valor, 100, 900, {""});
        if (v.empty())
            v = palabra(valor, {"normal", "bold", "bolder", "lighter"});
    } else if (p == "font-style")
        v = palabra(valor, {"normal", "italic", "oblique"});
    else if (p == "font-variant")
        v = palabra(valor, {"normal", "small-caps"});
    else if (p == "text-transform")
        v = palabra(valor, {"none", "uppercase", "lowercase", "capitalize"});
    else if (p == "text-decoration") {
        // Several words: each one known.
        std::string_view resto = recortarBlancos(valor);
        while (!resto.empty()) {
            std::size_t k = 0;
            while (k < resto.size() && !esBlanco(resto[k]))
                ++k;
            const std::string w =
                palabra(resto.substr(0, k), {"none", "underline", "overline", "line-through"});
            if (w.empty())
                return {};
            v += (v.empty() ? "" : " ") + w;
            resto = recortarBlancos(resto.substr(k));
        }
    } else if (p == "color" || p == "background-color" || p == "border-color")
        v = color(valor);
    else if (p == "margin-top" || p == "margin-bottom" || p == "margin-left" ||
             p == "margin-right" || p == "text-indent" || p == "padding")
        v = longitud(valor, -1000, 1000, {"", "px", "pt", "em"});
    else if (p == "letter-spacing" || p == "word-spacing")
        v = longitud(valor, -50, 100, {"", "px", "pt", "em", "%"});
    else if (p == "border-width")
        v = longitud(valor, 0, 20, {"", "px", "pt"});
    else if (p == "line-height")
        v = longitud(valor, 0, 1000, {"", "px", "pt", "%"});
    else if (p == "-qt-block-indent")
        v = entero(valor, 0, 30);
    else if (p == "-qt-list-indent")
        v = entero(valor, 1, 10);
    else if (p == "-qt-paragraph-type")
        v = palabra(valor, {"empty"});
    else if (p == "-qt-line-height-type")
        v = palabra(valor, {"proportional", "fixed", "minimum", "line-distance"});
    else if (p == "white-space")
        v = palabra(valor, {"normal", "pre", "pre-wrap", "nowrap"});
    else if (p == "list-style-type" || p == "list-style")
        v = palabra(valor, {"disc", "circle", "square", "decimal", "lower-alpha", "upper-alpha",
                            "lower-roman", "upper-roman", "none"});
    else if (p == "vertical-align")
        v = palabra(valor, {"baseline", "sub", "super", "middle", "top", "bottom"});
    else if (p == "text-align")
        v = palabra(valor, {"left", "right", "center", "justify"});
    else if (p == "border-collapse")
        v = palabra(valor, {"collapse", "separate"});
    else if (p == "border-style")
        v = palabra(valor, {"none", "dotted", "dashed", "solid", "double", "groove", "ridge",
                            "inset", "outset"});
    else if (p == "float")
        v = palabra(valor, {"left", "right", "none"});
    else if (p == "page-break-before" || p == "page-break-after")
        v = palabra(valor, {"auto", "always"});
    else if (p == "dir" || p == "direction")
        v = palabra(valor, {"ltr", "rtl"});
    if (v.empty())
        return {};
    return p + ":" + v + ";";
}

std::string estilo(std::string_view valor) {
    std::string r;
    std::size_t i = 0;
    while (i < valor.size()) {
        std::size_t fin = valor.find(';', i);
        if (fin == std::string_view::npos)
            fin = valor.size();
        const std::string_view d = valor.substr(i, fin - i);
        if (const auto dos = d.find(':'); dos != std::string_view::npos) {
            const std::string ok = declaracion(d.substr(0, dos), d.substr(dos + 1));
            if (!ok.empty())
                r += (r.empty() ? "" : " ") + ok;
        }
        i = fin + 1;
    }
    return r;
}

std::string enlace(std::string_view v) {
    std::string limpio;
    for (const char c : recortarBlancos(v))
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            limpio += c;
    if (limpio.size() > 2000)
        return {};
    if (limpio.starts_with('#'))
        return limpio;
    const std::string m = minusculas(limpio);
    for (const std::string_view esquema : {"http://", "https://", "mailto:"})
        if (m.starts_with(esquema))
            return limpio;
    return {};
}

// A picture only when the file itself holds it: data:image/...;base64,
std::string imagen(std::string_view v) {
    v = recortarBlancos(v);
    if (v.size() > kImagenEmbebidaMaxima)
        return {};
    const std::size_t coma = v.find(',');
    if (coma == std::string_view::npos)
        return {};
    const std::string cabeza = minusculas(v.substr(0, coma));
    std::string tipo;
    for (const std::string_view t : {"png", "jpeg", "jpg", "gif", "bmp"})
        if (cabeza == "data:image/" + std::string(t) + ";base64")
            tipo = t;
    if (tipo.empty())
        return {};
    std::string r = "data:image/" + tipo + ";base64,";
    for (const char c : v.substr(coma + 1)) {
        if (esLetra(c) || esCifra(c) || c == '+' || c == '/' || c == '=')
            r += c;
        else if (!esBlanco(c))
            return {};
    }
    return r;
}

std::string nombreAncla(std::string_view v) {
    v = recortarBlancos(v);
    if (v.empty() || v.size() > 64)
        return {};
    for (const char c : v)
        if (!(esLetra(c) || esCifra(c) || c == '_' || c == '-' || c == '.' || c == ':'))
            return {};
    return std::string(v);
}

// The value an allowed attribute keeps; empty when it is left out.
std::string valorAtributo(std::string_view nombre, std::string_view valor) {
    if (nombre == "style")
        return estilo(valor);
    if (nombre == "align")
        return palabra(valor, {"left", "right", "center", "justify", "middle", "top", "bottom"});
    if (nombre == "dir")
        return palabra(valor, {"ltr", "rtl"});
    if (nombre == "valign")
        return palabra(valor, {"top", "middle", "bottom", "baseline"});
    if (nombre == "width" || nombre == "height")
        return longitud(valor, 0, 4000, {"", "px", "%"});
    if (nombre == "border" || nombre == "cellspacing" || nombre == "cellpadding")
        return longitud(valor, 0, 50, {"", "px"});
    if (nombre == "colspan" || nombre == "rowspan")
        return entero(valor, 1, 64);
    if (nombre == "bgcolor" || nombre == "color")
        return color(valor);
    if (nombre == "face")
        return familia(valor);
    if (nombre == "size") {
        const std::string_view t = recortarBlancos(valor);
        const std::string n = entero(t, -7, 7);
        return n.empty() ? n : (t.starts_with('+') ? "+" + n : n);
    }
    if (nombre == "type") {
        const std::string_view t = recortarBlancos(valor);
        for (const std::string_view p : {"1", "a", "A", "i", "I", "disc", "circle", "square"})
            if (t == p)
                return std::string(t);
        return {};
    }
    if (nombre == "start")
        return entero(valor, 0, 100000);
    if (nombre == "href")
        return enlace(valor);
    if (nombre == "name")
        return nombreAncla(valor);
    if (nombre == "src")
        return imagen(valor);
    return {};
}

} // namespace kalnor::enunciado
