#pragma once

#include <string>
#include <string_view>

namespace kalnor::access {

// Statements written by other programs are RTF; Kalnor keeps rich text as
// HTML that the notes box loads. The conversion keeps paragraphs, bold,
// italic, underline, strike-through, alignment, font face, size and colour,
// and every character (\'hh in Windows-1252, \uN with its fallback skipped).
// Tables of fonts and colours are read; pictures, fields' instructions and
// other destinations are left out.

// True when the text is an RTF document ("{\rtf" after optional blanks).
bool esRtf(std::string_view texto);

// The RTF document as HTML (UTF-8).
std::string rtfAHtml(std::string_view rtf);

// A statement as Kalnor keeps it: RTF becomes HTML; any other text stays as
// it is (plain text stays plain).
std::string enunciadoDesdeAccess(std::string_view texto);

} // namespace kalnor::access
