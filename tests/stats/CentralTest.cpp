// Means, extremes, quantiles, modes and the frequency sum.
#include "StatsTestLists.h"

#include "stats/Central.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalnor::stats {
namespace {

using namespace testing;

TEST(TotalFrecuencias, SumsTheFrequenciesAndClearsAnEarlierFailure) {
    ErrorRecord err;
    err.set(ErrorCode::DivisionByZero);
    EXPECT_EQ(TotalFrecuencias(err, freqs({3, 5, 2})), 10);
    EXPECT_FALSE(err.failed());
    EXPECT_TRUE(err.MensajeError.empty());
}

TEST(TotalFrecuencias, AfterAFailedRoutineReturnsTheSumWithTheRecordClear) {
    ErrorRecord err;
    MediaArmonica(err, values({0, 1}), freqs({1, 1}));
    ASSERT_EQ(code(err), ErrorCode::DivisionByZero);
    EXPECT_EQ(TotalFrecuencias(err, freqs({1, 1})), 2);
    EXPECT_EQ(err.NumError, 0);
}

TEST(TotalFrecuencias, ASumBeyond32BitsOverflows) {
    ErrorRecord err;
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(TotalFrecuencias(err, freqs({big, 1})), 0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
    // The same sum fails the measures with the overflow, not as a division by zero.
    EXPECT_EQ(MediaAritmetica(err, values({1, 2}), freqs({big, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
}

TEST(TotalFrecuencias, HandlesFarMoreThan32767Records) {
    ErrorRecord err;
    const FrequencyList n(100000, 3);
    EXPECT_EQ(TotalFrecuencias(err, n), 300000);
    EXPECT_FALSE(err.failed());
    ValueList x(100000, CellValue::number(2.5));
    EXPECT_DOUBLE_EQ(MediaAritmetica(err, x, n), 2.5);
    EXPECT_DOUBLE_EQ(CuantilDiscreto(err, 1, 4, x, n), 2.5);
    EXPECT_FALSE(err.failed());
}

TEST(Means, WeightTheValuesByTheirFrequencies) {
    ErrorRecord err;
    const ValueList x = values({1, 2, 4});
    const FrequencyList n = freqs({1, 2, 1});
    EXPECT_DOUBLE_EQ(MediaAritmetica(err, x, n), 9.0 / 4.0);
    EXPECT_DOUBLE_EQ(MediaArmonica(err, x, n), 4.0 / (1.0 + 1.0 + 0.25));
    EXPECT_DOUBLE_EQ(MediaGeometrica(err, x, n), std::pow(16.0, 0.25));
    EXPECT_DOUBLE_EQ(MediaCuadratica(err, x, n), std::sqrt(25.0 / 4.0));
    EXPECT_FALSE(err.failed());
}

TEST(Means, ReadWordsThatAreNumbersAndEmptyEntriesAsZero) {
    ErrorRecord err;
    const ValueList x{CellValue::text("1,5"), CellValue::text(" 2.5 "), CellValue()};
    EXPECT_DOUBLE_EQ(MediaAritmetica(err, x, freqs({1, 1, 2})), 1.0);
    EXPECT_FALSE(err.failed());
}

TEST(Means, AWordAmongTheValuesIsATypeMismatch) {
    ErrorRecord err;
    const ValueList x = cells({1.0, "rojo", 3.0});
    EXPECT_EQ(MediaAritmetica(err, x, freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    EXPECT_FALSE(err.MensajeError.empty());
}

TEST(Means, ANullCellIsAnInvalidUseOfNull) {
    ErrorRecord err;
    const ValueList x{CellValue::number(1), CellValue::null()};
    EXPECT_EQ(MediaCuadratica(err, x, freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidUseOfNull);
}

TEST(Means, NoObservationsFailEveryMean) {
    const ValueList x = values({1, 2});
    const FrequencyList n = freqs({0, 0});
    for (auto mean : {MediaAritmetica, MediaArmonica, MediaGeometrica, MediaCuadratica}) {
        ErrorRecord err;
        EXPECT_EQ(mean(err, x, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    }
}

TEST(Means, HarmonicMeanFailsOnAZeroValueEvenWithFrequencyZero) {
    ErrorRecord err;
    EXPECT_EQ(MediaArmonica(err, values({2, 0, 4}), freqs({1, 0, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Means, GeometricMeanFailsOnAValueThatIsNotPositive) {
    ErrorRecord err;
    EXPECT_EQ(MediaGeometrica(err, values({2, -1, 4}), freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);
    EXPECT_EQ(MediaGeometrica(err, values({2, 0}), freqs({1, 0})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);
}

TEST(Means, AResultBeyondTheRangeOfDoublesOverflows) {
    ErrorRecord err;
    EXPECT_EQ(MediaCuadratica(err, values({1e200, 1e200}), freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
    EXPECT_DOUBLE_EQ(MediaGeometrica(err, values({1e300, 1e300}), freqs({1, 1})), 1e300);
    EXPECT_FALSE(err.failed());
}

TEST(Extremes, PickTheLargestAndSmallestValue) {
    ErrorRecord err;
    const ValueList x = values({3, 7, 7, 1});
    EXPECT_EQ(Maximo(err, x), 7.0);
    EXPECT_EQ(Minimo(err, x), 1.0);
    EXPECT_EQ(Maximo(err, values({-2})), -2.0);
    EXPECT_FALSE(err.failed());
}

TEST(Extremes, WordsOfACategoricalVariableAreATypeMismatch) {
    ErrorRecord err;
    const ValueList x = cells({"rojo", "verde", "azul"});
    EXPECT_EQ(Maximo(err, x), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    err.clear();
    EXPECT_EQ(Minimo(err, x), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
}

TEST(Extremes, CompareWordsAsTextThenReadTheWinner) {
    ErrorRecord err;
    // As text "9" comes after "10".
    EXPECT_EQ(Maximo(err, cells({"10", "9", "2"})), 9.0);
    EXPECT_EQ(Minimo(err, cells({"10", "9", "2"})), 10.0);
    EXPECT_FALSE(err.failed());
}

TEST(Extremes, NumbersComeBeforeWords) {
    ErrorRecord err;
    const ValueList x = cells({4.0, "rojo", 2.0});
    EXPECT_EQ(Minimo(err, x), 2.0);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(Maximo(err, x), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
}

TEST(Extremes, ANullOrNoRecordFails) {
    ErrorRecord err;
    EXPECT_EQ(Maximo(err, ValueList{CellValue::number(1), CellValue::null()}), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidUseOfNull);
    EXPECT_EQ(Minimo(err, ValueList{}), 0.0);
    EXPECT_EQ(code(err), ErrorCode::IndexOutOfRange);
}

TEST(CuantilDiscreto, TakesTheFirstValueWhoseCumulativeFrequencyPassesThePosition) {
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, values({2, 4, 6}), freqs({1, 2, 1})), 4.0);
    EXPECT_FALSE(err.failed());
}

TEST(CuantilDiscreto, TakesTheMidpointWhenTheCumulativeFrequencyEqualsThePosition) {
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, values({2, 4}), freqs({2, 2})), 3.0);
    EXPECT_FALSE(err.failed());
}

TEST(CuantilDiscreto, ComparesThePositionExactly) {
    ErrorRecord err;
    // Decile 7 of N = 90: position 63, the first cumulative frequency (in
    // floating point 7/10·90 falls just short of it).
    EXPECT_EQ(CuantilDiscreto(err, 7, 10, values({1, 2}), freqs({63, 27})), 1.5);
    // Percentile 7 of N = 100: position 7 (7/100·100 falls just past it).
    EXPECT_EQ(CuantilDiscreto(err, 7, 100, values({10, 20, 30}), freqs({7, 43, 50})), 15.0);
    EXPECT_FALSE(err.failed());
}

TEST(CuantilDiscreto, QuantileQOfQFailsUnlessARecordWithFrequencyZeroFollows) {
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 4, 4, values({1, 2, 3}), freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::IndexOutOfRange);
    EXPECT_EQ(CuantilDiscreto(err, 4, 4, values({1, 2, 3, 5}), freqs({1, 1, 1, 0})), 4.0);
    EXPECT_FALSE(err.failed());
}

// A long list is searched by blocks of records: a position that falls on
// the last record of a block, or on the first of the next, is found as a
// walk record by record finds it.
TEST(CuantilDiscreto, AListOfManyBlocksFindsEveryPositionAsAWalkDoes) {
    ErrorRecord err;
    ValueList x;
    FrequencyList n;
    for (int i = 0; i < 2048; ++i) {
        x.push_back(CellValue::number(i));
        n.push_back(1);
    }
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, x, n), 1023.5);       // block 0 ends at 1024
    EXPECT_EQ(CuantilDiscreto(err, 1025, 2048, x, n), 1024.5); // block 1's first record
    EXPECT_EQ(CuantilDiscreto(err, 1, 2048, x, n), 0.5);
    EXPECT_FALSE(err.failed());

    // Frequencies with zeros and long gaps, against the same records followed
    // by -1 and +1: N is the same, but the frequencies no longer grow, so
    // every quantile is found by a plain walk.
    x.clear();
    n.clear();
    for (int i = 0; i < 5000; ++i) {
        x.push_back(CellValue::number(i));
        n.push_back(i % 7 == 0 ? 0 : i % 13 + (i % 1024 == 1023 ? 400 : 0));
    }
    ValueList xWalk = x;
    FrequencyList nWalk = n;
    for (const std::int32_t f : {-1, 1}) {
        xWalk.push_back(CellValue::number(-7));
        nWalk.push_back(f);
    }
    for (const std::int16_t q : {2, 10, 100, 997}) {
        for (std::int16_t k = 0; k < q; ++k) {
            ErrorRecord a, b;
            EXPECT_EQ(CuantilDiscreto(a, k, q, x, n), CuantilDiscreto(b, k, q, xWalk, nWalk))
                << k << " of " << q;
            EXPECT_EQ(a.NumError, b.NumError);
        }
    }
}

TEST(CuantilDiscreto, AnOrderOutsideZeroToQOrNoObservationsFail) {
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 5, 4, values({1, 2}), freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);
    EXPECT_EQ(CuantilDiscreto(err, 1, 0, values({1, 2}), freqs({1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidArgument);
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, values({1, 2}), freqs({0, 0})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(CuantilDiscreto, AWordAtTheQuantileIsATypeMismatch) {
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, cells({1.0, "dos", 3.0}), freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
}

class CuantilContinuoTest : public ::testing::Test {
protected:
    const ValueList li = values({0, 10, 20});
    const ValueList ls = values({10, 20, 30});
    const FrequencyList n = freqs({2, 2, 4});
    ErrorRecord err;
};

TEST_F(CuantilContinuoTest, MedianOnABoundaryIsTheMidpointOfTheClassMarks) {
    EXPECT_EQ(CuantilContinuo(err, 1, 2, li, ls, n), 20.0);
    EXPECT_EQ(CuantilContinuo(err, 1, 4, li, ls, n), 10.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(CuantilContinuoTest, InterpolatesInsideTheClass) {
    EXPECT_EQ(CuantilContinuo(err, 3, 4, li, ls, n), 25.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(CuantilContinuoTest, InterpolatesWithTheExactPosition) {
    // Percentile 7 of N = 100 in one class of width 100: 7 exactly.
    EXPECT_EQ(CuantilContinuo(err, 7, 100, values({0}), values({100}), freqs({100})), 7.0);
    // Decile 7 of N = 90 on a boundary: the midpoint of the class marks.
    EXPECT_EQ(CuantilContinuo(err, 7, 10, values({0, 10}), values({10, 20}), freqs({63, 27})),
              10.0);
    // Inside one class of width 90: 63 / 90 of the way.
    EXPECT_EQ(CuantilContinuo(err, 7, 10, values({0}), values({90}), freqs({90})), 63.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(CuantilContinuoTest, QuantileQOfQFailsPastTheLastClass) {
    EXPECT_EQ(CuantilContinuo(err, 4, 4, li, ls, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::IndexOutOfRange);
    EXPECT_EQ(CuantilContinuo(err, 4, 4, values({0, 10, 20, 30}), values({10, 20, 30, 40}),
                              freqs({2, 2, 4, 0})),
              30.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(CuantilContinuoTest, ALimitThatIsNotANumberFails) {
    const ValueList words = cells({0.0, "diez", 20.0});
    EXPECT_EQ(CuantilContinuo(err, 1, 2, words, ls, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    const ValueList nulls{CellValue::number(10), CellValue::null(), CellValue::number(30)};
    EXPECT_EQ(CuantilContinuo(err, 3, 4, li, nulls, freqs({2, 4, 2})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidUseOfNull);
}

TEST(ModaDiscreta, ReturnsTheValueAsTheListHoldsIt) {
    ErrorRecord err;
    EXPECT_EQ(ModaDiscreta(err, values({1, 2, 3}), freqs({1, 5, 2})), CellValue::number(2));
    EXPECT_EQ(ModaDiscreta(err, cells({"rojo", "verde"}), freqs({4, 1})), CellValue::text("rojo"));
    EXPECT_FALSE(err.failed());
}

TEST(ModaDiscreta, TiedTopFrequenciesAreMultimodalAdjacentOrNot) {
    ErrorRecord err;
    const CellValue multimodal = CellValue::text("Multimodal");
    EXPECT_EQ(ModaDiscreta(err, values({1, 2, 3, 4}), freqs({3, 5, 5, 1})), multimodal);
    EXPECT_EQ(ModaDiscreta(err, values({1, 2, 3, 4}), freqs({3, 5, 2, 5})), multimodal);
    EXPECT_FALSE(err.failed());
}

// Unlike the measures built on the frequency sum, these never clear the
// record, and a failure already in it does not stop them.
TEST(ModesAndExtremes, LeaveAnEarlierFailureInTheRecord) {
    ErrorRecord err;
    err.set(ErrorCode::DivisionByZero);
    EXPECT_EQ(ModaDiscreta(err, values({1, 2, 3}), freqs({1, 5, 2})), CellValue::number(2));
    const CellValue mode =
        ModaContinua(err, values({0, 2, 4}), values({2, 4, 6}), freqs({1, 4, 2}));
    ASSERT_TRUE(mode.isNumber());
    EXPECT_DOUBLE_EQ(mode.asNumber(), 3.2);
    EXPECT_EQ(Maximo(err, values({1, 3, 2})), 3.0);
    EXPECT_EQ(Minimo(err, values({1, 3, 2})), 1.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(ModaDiscreta, NoRecordsFail) {
    ErrorRecord err;
    EXPECT_TRUE(ModaDiscreta(err, ValueList{}, FrequencyList{}).isEmpty());
    EXPECT_EQ(code(err), ErrorCode::IndexOutOfRange);
}

TEST(ModaContinua, InterpolatesInTheModalClass) {
    ErrorRecord err;
    const CellValue mode =
        ModaContinua(err, values({0, 2, 4}), values({2, 4, 6}), freqs({1, 4, 2}));
    ASSERT_TRUE(mode.isNumber());
    EXPECT_DOUBLE_EQ(mode.asNumber(), 3.2);
    EXPECT_FALSE(err.failed());
}

// Beyond the ends of the table the frequency counts as 0.
TEST(ModaContinua, AModalClassAtAnEndHasNoObservationsBeyondIt) {
    ErrorRecord err;
    // First class: Δ₁ = 5, Δ₂ = 3, so 0 + 5/8 · 2.
    CellValue mode = ModaContinua(err, values({0, 2, 4}), values({2, 4, 6}), freqs({5, 2, 1}));
    ASSERT_TRUE(mode.isNumber());
    EXPECT_DOUBLE_EQ(mode.asNumber(), 1.25);
    // Last class: Δ₁ = 3, Δ₂ = 5, so 4 + 3/8 · 2.
    mode = ModaContinua(err, values({0, 2, 4}), values({2, 4, 6}), freqs({1, 2, 5}));
    ASSERT_TRUE(mode.isNumber());
    EXPECT_DOUBLE_EQ(mode.asNumber(), 4.75);
    // A single class: its midpoint.
    mode = ModaContinua(err, values({10}), values({20}), freqs({4}));
    ASSERT_TRUE(mode.isNumber());
    EXPECT_DOUBLE_EQ(mode.asNumber(), 15.0);
    EXPECT_FALSE(err.failed());
}

TEST(ModaContinua, ASingleEmptyClassFails) {
    ErrorRecord err;
    EXPECT_TRUE(ModaContinua(err, values({10}), values({20}), freqs({0})).isEmpty());
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(ModaContinua, TiedClassesAreMultimodal) {
    ErrorRecord err;
    EXPECT_EQ(ModaContinua(err, values({0, 2, 4}), values({2, 4, 6}), freqs({4, 1, 4})),
              CellValue::text("Multimodal"));
    EXPECT_FALSE(err.failed());
}

} // namespace
} // namespace kalnor::stats
