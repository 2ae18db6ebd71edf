// Variance family, deviations, coefficients of variation, skewness, kurtosis
// and the one-variable moments.
#include "StatsTestLists.h"

#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalnor::stats {
namespace {

using namespace testing;

constexpr VariableType kDiscrete = VariableType::Discrete;
constexpr VariableType kContinuous = VariableType::Continuous;
constexpr VariableType kCategorical = VariableType::Categorical;

class OneTwoThree : public ::testing::Test {
protected:
    const ValueList x = values({1, 2, 3});
    const FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
};

TEST_F(OneTwoThree, VarianceFamily) {
    EXPECT_DOUBLE_EQ(Varianza(err, x, n), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(DesviacionTipica(err, x, n), std::sqrt(2.0 / 3.0));
    EXPECT_NEAR(DesviacionTipica(err, x, n), 0.8165, 5e-5);
    EXPECT_EQ(CuasiVarianza(err, x, n), 1.0);
    EXPECT_DOUBLE_EQ(DesviacionMedia(err, x, n), 2.0 / 3.0);
    EXPECT_NEAR(CoefVariacionPearson(err, x, n), 0.408, 5e-4);
    EXPECT_DOUBLE_EQ(CoefVariacionMedia(err, x, n), 1.0 / 3.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(OneTwoThree, MedianDeviationAndItsCoefficient) {
    const ValueList none(3);
    EXPECT_DOUBLE_EQ(DesviacionMediana(err, kDiscrete, x, none, none, n), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(CoefVariacionMediana(err, kDiscrete, x, none, none, n), 1.0 / 3.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(OneTwoThree, MomentIdentities) {
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, x, n, 1), MediaAritmetica(err, x, n));
    EXPECT_DOUBLE_EQ(MomentoCentral(err, x, n, 2), Varianza(err, x, n));
    EXPECT_NEAR(MomentoCentral(err, x, n, 1), 0.0, 1e-15);
    EXPECT_EQ(MomentoCentral(err, x, n, 0), 1.0);
    EXPECT_EQ(MomentoOrigen(err, x, n, 0), 1.0);
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, x, n, 2), 14.0 / 3.0);
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, x, n, -1), (1.0 + 0.5 + 1.0 / 3.0) / 3.0);
    EXPECT_FALSE(err.failed());
}

TEST(Moments, ANegativeBaseWithAnIntegerOrderIsAllowed) {
    ErrorRecord err;
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, values({-2, 1}), freqs({1, 1}), 3), -3.5);
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, values({0, 2}), freqs({1, 1}), 0), 1.0);
    EXPECT_FALSE(err.failed());
}

TEST(Moments, AZeroBaseUnderANegativeOrderFails) {
    ErrorRecord err;
    EXPECT_EQ(MomentoOrigen(err, values({0, 2}), freqs({1, 1}), -1), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    // The mean itself is a zero base of the central moment.
    EXPECT_EQ(MomentoCentral(err, values({1, 2, 3}), freqs({1, 1, 1}), -2), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Moments, AFailureOfTheMeanFailsTheMomentEvenWhenTheOrderIsZero) {
    ErrorRecord err;
    const ValueList x = values({1e308, 1e308});
    EXPECT_EQ(MediaAritmetica(err, x, freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
    // The moment takes the mean first and N after it; taking N does not
    // clear the mean's overflow.
    for (const std::int16_t r : {0, 1}) {
        err.clear();
        EXPECT_EQ(MomentoCentral(err, x, freqs({1, 1}), r), 0.0);
        EXPECT_EQ(code(err), ErrorCode::Overflow);
    }
}

TEST(Moments, HigherOrdersMatchTheirDefinition) {
    ErrorRecord err;
    const ValueList x = values({1, 2, 4, 7});
    const FrequencyList n = freqs({2, 3, 1, 4});
    const double mean = (2 + 6 + 4 + 28) / 10.0;
    double m5 = 0, a6 = 0;
    const double xs[] = {1, 2, 4, 7};
    const int ns[] = {2, 3, 1, 4};
    for (int i = 0; i < 4; ++i) {
        m5 += std::pow(xs[i] - mean, 5) * ns[i];
        a6 += std::pow(xs[i], 6) * ns[i];
    }
    EXPECT_DOUBLE_EQ(MomentoCentral(err, x, n, 5), m5 / 10);
    EXPECT_DOUBLE_EQ(MomentoOrigen(err, x, n, 6), a6 / 10);
    EXPECT_FALSE(err.failed());
}

TEST(Shape, FisherSkewnessAndKurtosisOfASymmetricDistribution) {
    ErrorRecord err;
    const ValueList x = values({2, 4, 6});
    const FrequencyList n = freqs({1, 2, 1});
    EXPECT_EQ(MomentoCentral(err, x, n, 3), 0.0);
    EXPECT_EQ(AsimetriaFisher(err, x, n), 0.0);
    EXPECT_EQ(MomentoCentral(err, x, n, 4), 8.0);
    EXPECT_DOUBLE_EQ(CoefCurtosis(err, x, n), -1.0);
    EXPECT_FALSE(err.failed());
}

TEST(Shape, PearsonSkewnessUsesTheModeOfTheVariableType) {
    ErrorRecord err;
    const ValueList none(3);
    // Mean 2.2, mode 3, s = sqrt(0.56).
    const ValueList x = values({1, 2, 3});
    const FrequencyList n = freqs({1, 2, 2});
    EXPECT_DOUBLE_EQ(AsimetriaPearson(err, kDiscrete, x, none, none, freqs({1, 2, 3})),
                     (MediaAritmetica(err, x, freqs({1, 2, 3})) - 3) /
                         DesviacionTipica(err, x, freqs({1, 2, 3})));
    // Classes [0,2) [2,4) [4,6) with 1, 4, 2: mode 3.2, marks 1, 3, 5.
    const ValueList li = values({0, 2, 4});
    const ValueList ls = values({2, 4, 6});
    const ValueList marks = values({1, 3, 5});
    const FrequencyList nc = freqs({1, 4, 2});
    const double expected =
        (MediaAritmetica(err, marks, nc) - 3.2) / DesviacionTipica(err, marks, nc);
    // The difference x̄ − Mo cancels digits, so the composed value above is
    // only near the engine's.
    EXPECT_NEAR(AsimetriaPearson(err, kContinuous, marks, li, ls, nc), expected, 1e-14);
    EXPECT_FALSE(err.failed());
    (void)n;
}

TEST(Shape, PearsonSkewnessFailsOnAMultimodalOrCategoricalMode) {
    ErrorRecord err;
    const ValueList none(4);
    EXPECT_EQ(
        AsimetriaPearson(err, kDiscrete, values({1, 2, 3, 4}), none, none, freqs({1, 3, 3, 1})),
        0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    err.clear();
    EXPECT_EQ(
        AsimetriaPearson(err, kCategorical, values({1, 2, 3, 4}), none, none, freqs({1, 3, 2, 1})),
        0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
}

TEST(Shape, PearsonSkewnessWorksWhenTheModalClassIsAtAnEnd) {
    ErrorRecord err;
    // x̄ = 2, σ = √2 and the mode of a modal first class is 1.25.
    EXPECT_DOUBLE_EQ(AsimetriaPearson(err, kContinuous, values({1, 3, 5}), values({0, 2, 4}),
                                      values({2, 4, 6}), freqs({5, 2, 1})),
                     0.75 / std::sqrt(2.0));
    EXPECT_FALSE(err.failed());
}

TEST(Shape, AConstantVariableFailsEveryShapeMeasure) {
    const ValueList x = values({0.1, 0.1, 0.1});
    const FrequencyList n = freqs({3, 7, 11});
    const ValueList none(3);
    ErrorRecord err;
    EXPECT_EQ(Varianza(err, x, n), 0.0);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(AsimetriaFisher(err, x, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(CoefCurtosis(err, x, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(AsimetriaPearson(err, kDiscrete, x, none, none, freqs({3, 7, 11})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Shape, ValuesWithoutWeightDoNotMakeAVariableVary) {
    ErrorRecord err;
    const ValueList x = values({0.1, 0.1, 5});
    const FrequencyList n = freqs({3, 7, 0});
    EXPECT_EQ(MediaAritmetica(err, x, n), 0.1);
    EXPECT_EQ(Varianza(err, x, n), 0.0);
    EXPECT_EQ(CoefCurtosis(err, x, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Dispersion, QuasiVarianceOfASingleObservationFails) {
    ErrorRecord err;
    EXPECT_EQ(CuasiVarianza(err, values({4, 9}), freqs({1, 0})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Dispersion, NoObservationsFail) {
    const ValueList x = values({1, 2});
    const FrequencyList n = freqs({0, 0});
    for (auto measure : {Varianza, DesviacionTipica, CuasiVarianza, DesviacionMedia,
                         CoefVariacionPearson, CoefVariacionMedia, AsimetriaFisher, CoefCurtosis}) {
        ErrorRecord err;
        EXPECT_EQ(measure(err, x, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    }
}

// Every measure, those built on other measures included, reports the word as
// what it is, not a failure of what would have been computed from it.
TEST(Dispersion, AWordAmongTheValuesIsATypeMismatchUnderEveryMeasure) {
    const ValueList x = cells({1.0, 2.0, "tres"});
    // The mode and the median, 2, are numbers: only the word can fail.
    const FrequencyList n = freqs({1, 3, 1});
    const ValueList none(3);
    const std::string mismatch = describe(ErrorCode::TypeMismatch);
    for (auto measure : {Varianza, DesviacionTipica, CuasiVarianza, DesviacionMedia,
                         CoefVariacionPearson, CoefVariacionMedia, AsimetriaFisher, CoefCurtosis}) {
        ErrorRecord err;
        EXPECT_EQ(measure(err, x, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
        EXPECT_EQ(err.MensajeError, mismatch);
    }
    for (auto measure : {DesviacionMediana, CoefVariacionMediana, AsimetriaPearson}) {
        ErrorRecord err;
        EXPECT_EQ(measure(err, kDiscrete, x, none, none, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
        EXPECT_EQ(err.MensajeError, mismatch);
    }
    for (const std::int16_t r : {0, 2, 3}) {
        ErrorRecord err;
        EXPECT_EQ(MomentoCentral(err, x, n, r), 0.0);
        EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
        EXPECT_EQ(MomentoOrigen(err, x, n, r), 0.0);
        EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    }
}

TEST(Dispersion, CoefficientsOfVariationFailOnAZeroMeanOrMedian) {
    ErrorRecord err;
    const ValueList x = values({-1, 0, 1});
    const FrequencyList n = freqs({1, 1, 1});
    const ValueList none(3);
    EXPECT_EQ(CoefVariacionPearson(err, x, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(CoefVariacionMedia(err, x, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(CoefVariacionMediana(err, kDiscrete, x, none, none, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Dispersion, MedianDeviationOfClassesUsesTheMarksAndTheClassMedian) {
    ErrorRecord err;
    // Classes [0,10) [10,20) [20,30) with 2, 2, 4: median 20.
    const ValueList marks = values({5, 15, 25});
    const ValueList li = values({0, 10, 20});
    const ValueList ls = values({10, 20, 30});
    const FrequencyList n = freqs({2, 2, 4});
    const double expected = (15.0 * 2 + 5.0 * 2 + 5.0 * 4) / 8;
    EXPECT_DOUBLE_EQ(DesviacionMediana(err, kContinuous, marks, li, ls, n), expected);
    EXPECT_DOUBLE_EQ(CoefVariacionMediana(err, kContinuous, marks, li, ls, n), expected / 20);
    EXPECT_FALSE(err.failed());
}

TEST(Dispersion, TheMedianIsTakenOnTheListsAsTheyAre) {
    ErrorRecord err;
    // Not sorted: the discrete median is read at the record where the
    // cumulative frequency passes N/2, here the value 9.
    const ValueList x = values({1, 9, 2});
    const ValueList none(3);
    const double expected = (8.0 + 0 + 7) / 3;
    EXPECT_DOUBLE_EQ(DesviacionMediana(err, kDiscrete, x, none, none, freqs({1, 1, 1})), expected);
}

TEST(Dispersion, ACategoricalVariableHasNoMedian) {
    ErrorRecord err;
    const ValueList x = values({1, 2, 3});
    const ValueList none(3);
    EXPECT_EQ(DesviacionMediana(err, kCategorical, x, none, none, freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    err.clear();
    EXPECT_EQ(CoefVariacionMediana(err, kCategorical, x, none, none, freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
}

TEST(Dispersion, KeepsTheDigitsOfValuesFarFromZero) {
    ErrorRecord err;
    // Deviations of ±0.1 around 1e9: a one-pass formula loses most digits here.
    const ValueList x = values({1e9 + 0.25, 1e9 - 0.25, 1e9 + 0.25, 1e9 - 0.25});
    const FrequencyList n = freqs({1, 1, 1, 1});
    EXPECT_EQ(Varianza(err, x, n), 0.0625);
    EXPECT_EQ(CuasiVarianza(err, x, n), 0.0625 * 4 / 3);
    EXPECT_EQ(MomentoCentral(err, x, n, 4), 0.0625 * 0.0625);
    EXPECT_EQ(CoefCurtosis(err, x, n), -2.0);
    EXPECT_FALSE(err.failed());
}

TEST(Dispersion, ResultsOutOfRangeOverflow) {
    ErrorRecord err;
    EXPECT_EQ(Varianza(err, values({-1e200, 1e200}), freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
}

// The mean of these values is in range but their variance is not: a measure
// that takes the mean after the deviation fails with the deviation's overflow
// instead of reporting a result.
TEST(Dispersion, AnOverflowOfTheDeviationFailsTheMeasuresBuiltOnIt) {
    const ValueList x = values({1e200, 2e200, 4e200});
    const FrequencyList n = freqs({1, 2, 1});
    const ValueList none(3);
    ErrorRecord err;
    EXPECT_DOUBLE_EQ(MediaAritmetica(err, x, n), 2.25e200);
    EXPECT_FALSE(err.failed());
    for (auto measure : {CoefVariacionPearson, AsimetriaFisher, CoefCurtosis}) {
        err.clear();
        EXPECT_EQ(measure(err, x, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::Overflow);
        EXPECT_NE(err.NumError, 0);
    }
    err.clear();
    EXPECT_EQ(AsimetriaPearson(err, kDiscrete, x, none, none, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
}

TEST(Dispersion, AFailureOfAnEarlierMeasureDoesNotStopTheNextOne) {
    ErrorRecord err;
    err.set(ErrorCode::DivisionByZero);
    EXPECT_NEAR(CoefVariacionPearson(err, values({1, 2, 3}), freqs({1, 1, 1})), 0.408, 5e-4);
    EXPECT_FALSE(err.failed());
    err.set(ErrorCode::DivisionByZero);
    EXPECT_DOUBLE_EQ(AsimetriaFisher(err, values({2, 4, 6}), freqs({1, 2, 1})), 0.0);
    EXPECT_FALSE(err.failed());
}

TEST(Dispersion, AnInnerFailureLeavesItsRecordAndAZeroResult) {
    ErrorRecord err;
    // The standard deviation keeps the failure of the variance and returns √0.
    EXPECT_EQ(DesviacionTipica(err, values({1, 2}), freqs({0, 0})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

} // namespace
} // namespace kalnor::stats
