#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalnor {

// The statement of a distribution comes from whoever wrote the file, and
// Qt's HTML layout has no limits of its own (deep nesting recurses and takes
// exponential time; images are read from any path). Every place that shows
// or exports the statement reads it through sanearEnunciado() first: a
// tokenizer of our own, linear in time and memory, keeps a fixed subset of
// what the notes editor writes and nothing that loads anything.

// Bytes of a statement that are read at most; the rest is left out (the
// user is told).
inline constexpr std::size_t kEnunciadoMaximo = 2 * 1024 * 1024;
// Elements open at once at most; deeper markup keeps its text, flattened.
inline constexpr int kAnidamientoMaximo = 8;
// Characters of one embedded picture (its whole data: URL) at most.
inline constexpr std::size_t kImagenEmbebidaMaxima = 1024 * 1024;

struct EnunciadoSeguro {
    std::string texto;               // UTF-8
    bool html = false;               // HTML of the subset; plain text otherwise
    std::size_t bytesOriginales = 0; // size of the statement as stored
    bool cortado = false;            // only its start is here

    bool recortado() const { return cortado; }
};

// True when the text is meant as HTML: a known element or a doctype at the
// start of its first line (the rule the notes box has always used).
bool pareceHtml(std::string_view texto);

// The statement ready for Qt's text layout. HTML comes back well formed,
// with only paragraphs, line breaks, bold/italic/underline and other inline
// styles, fonts, sizes, colours, lists, tables, links to web or mail
// addresses and pictures embedded as data: URLs; at most kAnidamientoMaximo
// elements deep, and with bounded numbers of blocks, line breaks, list
// items, table cells, characters and pictures (past them the text goes on
// flattened, or is cut). Plain text stays plain text. Either is cut after
// kEnunciadoMaximo bytes.
EnunciadoSeguro sanearEnunciado(std::string_view enunciado);

// What the user is told about a statement of `bytesOriginales` bytes that
// was cut.
std::string avisoEnunciadoRecortado(std::size_t bytesOriginales);

} // namespace kalnor
