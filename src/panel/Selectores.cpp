#include "Selectores.h"

namespace kalnor {

namespace {

using S = Selector;
constexpr std::array<SelectorInfo, kNumSelectores> kSelectores{{
    {S::CUARTILES, "cboCUARTILES", " Cuartiles ", "cuartil.svg", "Cuartil  Q(", 4},
    {S::QUINTILES, "cboQUINTILES", " Quintiles ", "quintil.svg", "Quintil  K(", 5},
    {S::DECILES, "cboDECILES", " Deciles ", "decil.svg", "Decil  D(", 10},
    {S::PERCENTILES, "cboPERCENTILES", " Percentiles ", "percentil.svg", "Percentil  P(", 100},
    {S::MOMorigen, "cboMOMorigen", "  Momentos respecto al origen ", "momenOrigen.svg",
     "Momento respecto del Origen : a(", 0},
    {S::MOMcentral, "cboMOMcentral", "  Momentos centrales ", "momenCentral.svg",
     "Momento respecto de la Media : m(", 0},
    {S::MOMorigenBI, "cboMOMorigenBI", "  Momentos bivariantes respecto al origen ",
     "momenOrigenBI.svg", "Momento Bivariante Respecto al Origen : ", 0},
    {S::MOMcentralBI, "cboMOMcentralBI", "  Momentos bivariantes centrales ", "momenCentralBI.svg",
     "Momento Bivariante Central : ", 0},
}};

QStringList numerados(const QString& letra, int ultimo) {
    QStringList items;
    for (int k = 1; k <= ultimo; ++k)
        items << letra + '(' + QString::number(k) + ')';
    return items;
}

QStringList bivariantes(const QString& letra) {
    // "(2,0)" comes before "(0,2)" as the lists have always shown them.
    QStringList items;
    for (const char* rs : {"(0,0)", "(0,1)", "(1,0)", "(1,1)", "(2,0)", "(0,2)"})
        items << letra + QLatin1String(rs);
    return items;
}

} // namespace

const std::array<SelectorInfo, kNumSelectores>& selectores() {
    return kSelectores;
}

const SelectorInfo& info(Selector s) {
    return kSelectores[static_cast<std::size_t>(s)];
}

QStringList itemsSelector(Selector s) {
    switch (s) {
    case S::CUARTILES:
        return numerados("Q", 3);
    case S::QUINTILES:
        return numerados("K", 4);
    case S::DECILES:
        return numerados("D", 9);
    case S::PERCENTILES:
        return numerados("P", 99);
    case S::MOMorigen:
        return numerados("a", 4);
    case S::MOMcentral:
        return numerados("m", 4);
    case S::MOMorigenBI:
        return bivariantes("a");
    case S::MOMcentralBI:
        return bivariantes("m");
    }
    return {};
}

} // namespace kalnor
