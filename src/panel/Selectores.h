#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace kalnor {

// The eight drop-down lists of the calculator: quantiles, then moments.
enum class Selector {
    CUARTILES,
    QUINTILES,
    DECILES,
    PERCENTILES,
    MOMorigen,
    MOMcentral,
    MOMorigenBI,
    MOMcentralBI,
};

inline constexpr int kNumSelectores = 8;

struct SelectorInfo {
    Selector selector;
    const char* nombre;  // control name, e.g. "cboDECILES"
    const char* tooltip; // the list's tool tip
    const char* imagen;  // formula picture in RutaBin
    const char* titulo;  // caption prefix of the parameter label
    std::int16_t partes; // q of a quantile list, 0 for the moment lists
};

const std::array<SelectorInfo, kNumSelectores>& selectores();
const SelectorInfo& info(Selector s);

// The items `Comenzar` puts in each list.
QStringList itemsSelector(Selector s);

} // namespace kalnor
