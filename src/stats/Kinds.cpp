#include "Kinds.h"

namespace kalnor::stats {

namespace {
using VT = VariableType;
constexpr std::array<KindInfo, 9> kKinds{{
    {"CAT", "Categórica", false, VT::Categorical, VT::Categorical},
    {"DIS", "Discreta", false, VT::Discrete, VT::Discrete},
    {"CON", "Continua", false, VT::Continuous, VT::Continuous},
    {"CATCAT", "Categórica, Categórica", true, VT::Categorical, VT::Categorical},
    {"CATDIS", "Categórica, Discreta", true, VT::Categorical, VT::Discrete},
    {"CATCON", "Categórica, Continua", true, VT::Categorical, VT::Continuous},
    {"DISDIS", "Discreta, Discreta", true, VT::Discrete, VT::Discrete},
    {"DISCON", "Discreta, Continua", true, VT::Discrete, VT::Continuous},
    {"CONCON", "Continua, Continua", true, VT::Continuous, VT::Continuous},
}};
} // namespace

const std::array<KindInfo, 9>& allKinds() {
    return kKinds;
}

const KindInfo* kindByCode(std::string_view code) {
    for (const auto& k : kKinds)
        if (k.code == code)
            return &k;
    return nullptr;
}

const KindInfo* kindByTipo(std::string_view tipo) {
    for (const auto& k : kKinds)
        if (k.tipo == tipo)
            return &k;
    return nullptr;
}

VariableType activeType(const KindInfo& kind, std::string_view varActiva) {
    return (kind.bivariate && varActiva == "Y") ? kind.y : kind.x;
}

} // namespace kalnor::stats
