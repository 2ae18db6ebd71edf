#include "CitaBreve.h"

namespace kalnor {

std::string citaBreve(std::string_view texto, std::size_t maximo) {
    // Counted in characters: a UTF-8 continuation byte starts none. Bytes
    // that are not UTF-8 count one each, and the cut never splits a
    // character that is.
    std::size_t caracteres = 0;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if ((static_cast<unsigned char>(texto[i]) & 0xC0) == 0x80)
            continue;
        if (caracteres == maximo)
            return std::string(texto.substr(0, i)) + "…";
        ++caracteres;
    }
    return std::string(texto);
}

QString citaBreve(const QString& texto, std::size_t maximo) {
    qsizetype caracteres = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto.at(i).isLowSurrogate())
            continue;
        if (static_cast<std::size_t>(caracteres) == maximo)
            return texto.left(i) + QStringLiteral("…");
        ++caracteres;
    }
    return texto;
}

} // namespace kalnor
