// The Lorenz curve and the concentration index after Gini.
#include "StatsTestLists.h"

#include "stats/Concentration.h"

#include <gtest/gtest.h>

namespace kalnor::stats {
namespace {

using testing::cells;
using testing::code;
using testing::freqs;
using testing::values;

constexpr auto kDiscrete = VariableType::Discrete;
constexpr auto kContinuous = VariableType::Continuous;

std::optional<Concentracion> gini(ErrorRecord& err, VariableType type, const ValueList& x,
                                  const FrequencyList& n) {
    return IndiceGini(err, type, x, x, x, n);
}

// Incomes in classes worked by hand: marks 5, 15, 30, 70; Σxᵢ·nᵢ = 195.
TEST(IndiceGini, IncomesInClasses) {
    ErrorRecord err;
    const auto c = IndiceGini(err, kContinuous, {}, values({0, 10, 20, 40}),
                              values({10, 20, 40, 100}), freqs({4, 3, 2, 1}));
    ASSERT_TRUE(c) << err.MensajeError;
    ASSERT_EQ(c->puntos.size(), 4u);
    const double p[] = {0.4, 0.7, 0.9, 1.0};
    const double q[] = {20.0 / 195, 65.0 / 195, 125.0 / 195, 1.0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(c->puntos[i].p, p[i]);
        EXPECT_DOUBLE_EQ(c->puntos[i].q, q[i]);
    }
    EXPECT_DOUBLE_EQ(c->puntos[2].valor, 30.0);
    EXPECT_EQ(c->puntos[2].acumulada, 9);
    EXPECT_DOUBLE_EQ(c->sumaP, 2.0);
    EXPECT_DOUBLE_EQ(c->indice, 6.0 / 13); // (2 − 210/195) / 2
    EXPECT_FALSE(err.failed());
}

TEST(IndiceGini, EqualSharesGiveZeroAndOneOwnerOfEverythingGivesOne) {
    ErrorRecord err;
    auto c = gini(err, kDiscrete, values({5, 5, 5}), freqs({2, 3, 5}));
    ASSERT_TRUE(c);
    EXPECT_DOUBLE_EQ(c->indice, 0.0);
    // Nine people own nothing, one owns everything.
    c = gini(err, kDiscrete, values({0, 100}), freqs({9, 1}));
    ASSERT_TRUE(c);
    EXPECT_DOUBLE_EQ(c->indice, 1.0);
    // Every observation in one row: nothing to compare, no concentration.
    c = gini(err, kDiscrete, values({7}), freqs({12}));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->indice, 0.0);
    ASSERT_EQ(c->puntos.size(), 1u);
    EXPECT_EQ(c->puntos[0].p, 1.0);
    EXPECT_EQ(c->puntos[0].q, 1.0);
}

TEST(IndiceGini, SortsByTheValueAndLeavesOutEmptyRows) {
    ErrorRecord err;
    const auto c = gini(err, kDiscrete, values({100, 3, 0, 1}), freqs({1, 0, 9, 0}));
    ASSERT_TRUE(c);
    ASSERT_EQ(c->puntos.size(), 2u);
    EXPECT_EQ(c->puntos[0].fila, 3u);
    EXPECT_EQ(c->puntos[1].fila, 1u);
    EXPECT_DOUBLE_EQ(c->indice, 1.0);
}

TEST(IndiceGini, RefusesWhatHasNoConcentration) {
    ErrorRecord err;
    EXPECT_FALSE(gini(err, kDiscrete, values({3, -2}), freqs({1, 1})));
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);
    EXPECT_NE(err.MensajeError.find("la fila 2"), std::string::npos) << err.MensajeError;

    EXPECT_FALSE(gini(err, kDiscrete, values({0, 0}), freqs({4, 1})));
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    EXPECT_NE(err.MensajeError.find("Σxᵢ·nᵢ es 0"), std::string::npos);

    EXPECT_FALSE(gini(err, kDiscrete, values({1, 2}), freqs({0, 0})));
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);

    EXPECT_FALSE(gini(err, kDiscrete, values({1, 2}), freqs({3, -1})));
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);

    EXPECT_FALSE(gini(err, kDiscrete, cells({1.0, "mucho"}), freqs({1, 1})));
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    EXPECT_NE(err.MensajeError.find("la fila 2"), std::string::npos);

    EXPECT_FALSE(gini(err, VariableType::Categorical, cells({"a", "b"}), freqs({1, 1})));
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);

    // A result after a refusal leaves the record clean.
    EXPECT_TRUE(gini(err, kDiscrete, values({1, 2}), freqs({1, 1})));
    EXPECT_FALSE(err.failed());
}

} // namespace
} // namespace kalnor::stats
