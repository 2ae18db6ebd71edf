#include "TextoExportado.h"

#include <cstdio>

namespace kalnor {

std::string campoCsv(std::string_view texto) {
    if (texto.find_first_of(",;\"\r\n") == std::string_view::npos)
        return std::string(texto);
    std::string citado = "\"";
    for (const char c : texto) {
        if (c == '"')
            citado += '"';
        citado += c;
    }
    return citado + '"';
}

std::string cadenaJson(std::string_view texto) {
    std::string out = "\"";
    for (const char ch : texto) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += ch; // UTF-8 bytes pass through: JSON text is UTF-8
        }
    }
    return out + '"';
}

} // namespace kalnor
