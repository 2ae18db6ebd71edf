#include "Paletas.h"

#include <array>

namespace kalnor::paletas {

namespace {

using Colores = std::array<QRgb, 8>;

constexpr std::array<Colores, 3> kPaletas{{
    {0x2b5ea7, 0xf0a030, 0x3a8f3a, 0xf5d84a, 0xb03030, 0x8cc7ea, 0x6b4c9a, 0xf2a0b8},
    {0x8fb0da, 0xfdd9a0, 0x9fd096, 0xfff1a8, 0xe39c9c, 0xcfe8f6, 0xbfaee0, 0xfbd8e4},
    {0x7a7a7a, 0xd9d9d9, 0x404040, 0xf2f2f2, 0xa6a6a6, 0x595959, 0xc4c4c4, 0x262626},
}};

int acotada(int paleta) {
    return paleta < 0 || paleta > 2 ? 0 : paleta;
}

} // namespace

QColor color(int paleta, int indice) {
    const Colores& c = kPaletas[static_cast<std::size_t>(acotada(paleta))];
    return QColor::fromRgb(c[static_cast<std::size_t>(indice) % c.size()]);
}

QColor principal(int paleta) {
    return color(paleta, 0);
}

QColor borde(const QColor& relleno) {
    return relleno.lightness() > 200 ? QColor(0x50, 0x50, 0x50) : relleno.darker(170);
}

QBrush tramaBN(int indice) {
    static constexpr std::array<Qt::BrushStyle, 8> kTramas{
        Qt::SolidPattern, Qt::BDiagPattern, Qt::Dense5Pattern, Qt::CrossPattern,
        Qt::SolidPattern, Qt::FDiagPattern, Qt::HorPattern,    Qt::DiagCrossPattern};
    const std::size_t i = static_cast<std::size_t>(indice) % kTramas.size();
    // The two solid fills are white and mid grey; the rest are black lines on white.
    if (i == 0)
        return QBrush(Qt::white);
    if (i == 4)
        return QBrush(QColor(0x9a, 0x9a, 0x9a));
    return QBrush(Qt::black, kTramas[i]);
}

} // namespace kalnor::paletas
