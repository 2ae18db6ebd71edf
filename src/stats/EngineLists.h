#pragma once

#include "CellValue.h"

#include <cstdint>
#include <vector>

namespace kalnor::stats {

// Position 0 holds record 1.
using ValueList = std::vector<CellValue>;
using FrequencyList = std::vector<std::int32_t>;

// The lists the measure routines work on, filled by LeerVariable.
struct EngineLists {
    ValueList Valores;
    FrequencyList Frecuencias;
    ValueList LimInf;
    ValueList LimSup;
    ValueList ValoresX; // filled by the bivariate keys and selectors only
    ValueList ValoresY;
};

} // namespace kalnor::stats
