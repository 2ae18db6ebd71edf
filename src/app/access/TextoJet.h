#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kalnor::access {

// Text as Jet stores it, to UTF-8. Jet 4 keeps UCS-2 (little endian), or the
// "compressed" form: 0xFF 0xFE, then one byte per character, a 0x00 byte
// switching between one-byte and two-byte characters. Jet 3 keeps bytes of
// the Windows code page (1252 in the files we meet).
std::string textoJet4(std::span<const std::uint8_t> bytes);
std::string textoJet3(std::span<const std::uint8_t> bytes);

// One UTF-16 code unit sequence to UTF-8; unpaired surrogates become U+FFFD.
void anadirUtf16(std::string& destino, std::span<const char16_t> unidades);
// One code point (U+0000..U+10FFFF) to UTF-8.
void anadirCodigo(std::string& destino, char32_t codigo);
// The character of a Windows-1252 byte.
char32_t desdeWindows1252(std::uint8_t byte);

} // namespace kalnor::access
