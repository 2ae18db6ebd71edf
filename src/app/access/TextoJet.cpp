#include "TextoJet.h"

#include "app/Utf8.h"

#include <vector>

namespace kalnor::access {

std::string textoJet4(std::span<const std::uint8_t> b) {
    std::vector<char16_t> unidades;
    unidades.reserve(b.size());
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        bool comprimido = true;
        for (std::size_t i = 2; i < b.size();) {
            if (b[i] == 0) {
                comprimido = !comprimido;
                ++i;
            } else if (comprimido) {
                unidades.push_back(b[i++]);
            } else if (i + 1 < b.size()) {
                unidades.push_back(char16_t(b[i] | (b[i + 1] << 8)));
                i += 2;
            } else {
                break; // an odd trailing byte carries no character
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < b.size(); i += 2)
            unidades.push_back(char16_t(b[i] | (b[i + 1] << 8)));
    }
    std::string texto;
    texto.reserve(unidades.size() + unidades.size() / 4);
    anadirUtf16(texto, unidades);
    return texto;
}

std::string textoJet3(std::span<const std::uint8_t> b) {
    return desdeWindows1252(std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}

} // namespace kalnor::access
