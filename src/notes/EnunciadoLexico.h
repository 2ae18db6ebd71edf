#pragma once

// The pieces the statement's sanitiser reads HTML with: characters, character
// references and tags, each read in one pass over the input.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalnor::enunciado {

bool esBlanco(char c);
bool esLetra(char c);
bool esCifra(char c);
char minuscula(char c);
std::string minusculas(std::string_view s);
// Whether s[i..] starts with `prefijo`, whatever the case.
bool empiezaSinCaso(std::string_view s, std::size_t i, std::string_view prefijo);
std::string_view recortarBlancos(std::string_view s);

// The code point at s[i] (invalid UTF-8 gives U+FFFD and one byte).
char32_t leerUtf8(std::string_view s, std::size_t& i);
// Characters that would only confuse the layout: controls other than tab
// and line breaks.
bool esControl(char32_t c);
// `c` appended to `r` as text (or as an attribute value) of the output.
void anadirEscapado(std::string& r, char32_t c, bool enAtributo);
// A UTF-8 string (already decoded) escaped for an attribute value.
std::string escaparAtributo(std::string_view s);

// A character reference at s[i] ('&'): its code point; or code 0 with
// `nombre` set for a well-formed name we do not know (kept as written); or
// code 0 with no name when it is no reference at all ('&' is text).
struct Referencia {
    char32_t codigo = 0;
    std::string_view nombre;
    std::size_t fin = 0;
};
Referencia leerReferencia(std::string_view s, std::size_t i);
// An attribute value with its references decoded (unknown names stay as
// written), as UTF-8.
std::string decodificar(std::string_view s);

struct Etiqueta {
    std::string nombre; // lower case
    bool cierre = false;
    std::vector<std::pair<std::string, std::string_view>> atributos; // raw values
};

// Reads the tag at s[i] ('<' then a letter, or "</" then a letter). Returns
// the position after it, or s.size() when the input ends inside it (the tag
// is then dropped, as browsers do).
std::size_t leerEtiqueta(std::string_view s, std::size_t i, Etiqueta& t, bool& completa);
// The position after the end tag `</nombre ...>` of an element whose
// content is skipped, or the end of the input.
std::size_t saltarContenido(std::string_view s, std::size_t i, std::string_view nombre);

} // namespace kalnor::enunciado
