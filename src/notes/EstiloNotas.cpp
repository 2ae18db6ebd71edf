#include "EstiloNotas.h"

#include <algorithm>
#include <array>

namespace kalnor {

int tamanoAplicado(int elegido) {
    constexpr std::array kReducidos{3, 6, 12, 18, 24, 30, 36, 42, 48, 54};
    const bool reducir =
        std::find(kReducidos.begin(), kReducidos.end(), elegido) != kReducidos.end();
    return reducir ? elegido - 1 : elegido;
}

} // namespace kalnor
