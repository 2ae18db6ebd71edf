#include "SpanishSortKey.h"

#include <cstdint>

namespace kalnor {

namespace {

// Reads one UTF-8 code point; a byte that does not start a valid sequence is
// returned alone, above every real code point.
std::uint32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int length = 0;
    std::uint32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        length = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4;
        cp = c & 0x07;
    }
    if (length == 0 || i + length > s.size()) {
        ++i;
        return 0x110000u + c;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char cc = byte(i + k);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0x110000u + c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += length;
    return cp;
}

// Primary weight: letters without case or accent; "ñ" between "n" and "o".
std::uint32_t weight(std::uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z')
        cp += 'a' - 'A';
    if (cp >= 0xC0 && cp <= 0xFF) {
        // Latin-1 letters: fold case, then drop the accent.
        static constexpr char base[] = "aaaaaaaceeeeiiii"  // C0-CF
                                       "dnooooo*ouuuuyts"  // D0-DF
                                       "aaaaaaaceeeeiiii"  // E0-EF
                                       "dnooooo/ouuuuyty"; // F0-FF
        if (cp == 0xD1 || cp == 0xF1)
            return 'n' * 2 + 1;
        if (cp != 0xD7 && cp != 0xF7)
            cp = static_cast<unsigned char>(base[cp - 0xC0]);
    }
    return cp * 2;
}

} // namespace

std::string spanishSortKey(std::string_view word) {
    std::string key;
    key.reserve(word.size() * 3);
    std::size_t i = 0;
    while (i < word.size()) {
        // Weights stay below 2^23: three bytes, most significant first.
        const std::uint32_t w = weight(nextCodePoint(word, i));
        key += static_cast<char>((w >> 16) & 0xFF);
        key += static_cast<char>((w >> 8) & 0xFF);
        key += static_cast<char>(w & 0xFF);
    }
    return key;
}

} // namespace kalnor
