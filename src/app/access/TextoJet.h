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

} // namespace kalnor::access
