#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kalnor {

// Text from other encodings to the UTF-8 the program keeps everywhere.

// One code point (U+0000..U+10FFFF) appended as UTF-8.
void anadirCodigo(std::string& destino, char32_t codigo);
// UTF-16 code units appended as UTF-8; unpaired surrogates become U+FFFD.
void anadirUtf16(std::string& destino, std::span<const char16_t> unidades);
// The character of a Windows-1252 byte (Latin-1 but for 0x80..0x9F; the
// five bytes the code page leaves out become U+FFFD).
char32_t desdeWindows1252(std::uint8_t byte);
// Text in the Windows code page (old Access files, spreadsheets saved on
// Windows) as UTF-8.
std::string desdeWindows1252(std::string_view texto);

} // namespace kalnor
