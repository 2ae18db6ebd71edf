#pragma once

#include <array>
#include <string_view>

namespace kalnor::stats {

enum class VariableType { Categorical, Discrete, Continuous };

// One of the nine kinds of distribution. The code is also the data table's name.
struct KindInfo {
    std::string_view code; // "CAT" ... "CONCON"
    std::string_view tipo; // stored TIPO text, e.g. "Discreta, Continua"
    bool bivariate;
    VariableType x;
    VariableType y; // equal to x for one-variable kinds
};

inline constexpr std::string_view kClaseUni = "Dist. UNIDIMENSIONAL";
inline constexpr std::string_view kClaseBi = "Dist. BIDIMENSIONAL";

const std::array<KindInfo, 9>& allKinds();
const KindInfo* kindByCode(std::string_view code); // exact match, nullptr when none
const KindInfo* kindByTipo(std::string_view tipo); // exact match, nullptr when none

// Type of the variable that is read with VarActiva on a kind. One-variable
// kinds ignore the active variable.
VariableType activeType(const KindInfo& kind, std::string_view varActiva);

} // namespace kalnor::stats
