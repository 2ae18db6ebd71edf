// Covariance, correlation, regression and the bivariate moments.
#include "StatsTestLists.h"

#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

namespace kalnor::stats {
namespace {

using namespace testing;

class Doubling : public ::testing::Test {
protected:
    const ValueList x = values({1, 2, 3});
    const ValueList y = values({2, 4, 6});
    const FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
};

TEST_F(Doubling, CovarianceCorrelationAndSlopes) {
    EXPECT_DOUBLE_EQ(Covarianza(err, x, y, n), 4.0 / 3.0);
    EXPECT_EQ(CoefCorrelacion(err, x, y, n), 1.0);
    EXPECT_EQ(CoefRegresionX(err, x, y, n), 2.0);
    EXPECT_EQ(CoefRegresionY(err, x, y, n), 0.5);
    EXPECT_FALSE(err.failed());
}

TEST_F(Doubling, RegressionLinesAtAPoint) {
    EXPECT_EQ(RectaRegresion(err, x, y, n, kYsobreX, CellValue::number(4)), 8.0);
    EXPECT_EQ(RectaRegresion(err, x, y, n, kXsobreY, CellValue::number(8)), 4.0);
    EXPECT_EQ(RectaRegresion(err, x, y, n, kYsobreX, CellValue::text("2,5")), 5.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(Doubling, APointThatIsNotANumberFails) {
    EXPECT_EQ(RectaRegresion(err, x, y, n, kYsobreX, CellValue::text("cuatro")), 0.0);
    EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
    EXPECT_EQ(RectaRegresion(err, x, y, n, kYsobreX, CellValue::null()), 0.0);
    EXPECT_EQ(code(err), ErrorCode::InvalidUseOfNull);
}

TEST_F(Doubling, AnotherDirectionGivesZero) {
    EXPECT_EQ(RectaRegresion(err, x, y, n, "Z sobre X", CellValue::number(4)), 0.0);
    EXPECT_FALSE(err.failed());
}

TEST_F(Doubling, MomentIdentities) {
    EXPECT_DOUBLE_EQ(MomentoCentralBi(err, x, y, n, 1, 1), Covarianza(err, x, y, n));
    EXPECT_DOUBLE_EQ(MomentoOrigenBi(err, x, y, n, 1, 0), MediaAritmetica(err, x, n));
    EXPECT_DOUBLE_EQ(MomentoOrigenBi(err, x, y, n, 0, 2), (4.0 + 16 + 36) / 3);
    EXPECT_DOUBLE_EQ(MomentoCentralBi(err, x, y, n, 2, 0), Varianza(err, x, n));
    EXPECT_EQ(MomentoCentralBi(err, x, y, n, 0, 0), 1.0);
    EXPECT_EQ(MomentoOrigenBi(err, x, y, n, 0, 0), 1.0);
    EXPECT_NEAR(MomentoCentralBi(err, x, y, n, 1, 0), 0.0, 1e-15);
    EXPECT_NEAR(MomentoCentralBi(err, x, y, n, 0, 1), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(MomentoOrigenBi(err, x, y, n, 2, 1), (2.0 + 16 + 54) / 3);
    EXPECT_DOUBLE_EQ(MomentoCentralBi(err, x, y, n, 3, 1), (2.0 + 0 + 2) / 3);
    EXPECT_FALSE(err.failed());
}

TEST(Bivariate, OppositeVariablesCorrelateMinusOne) {
    ErrorRecord err;
    EXPECT_EQ(CoefCorrelacion(err, values({1, 2, 3}), values({3, 2, 1}), freqs({1, 1, 1})), -1.0);
    EXPECT_FALSE(err.failed());
}

TEST(Bivariate, FrequenciesWeightThePairs) {
    ErrorRecord err;
    const ValueList x = values({1, 2, 3});
    const ValueList y = values({1, 3, 2});
    const FrequencyList n = freqs({2, 1, 3});
    // x̄ = 13/6, ȳ = 11/6, Σxyn = 2 + 6 + 18 = 26.
    EXPECT_DOUBLE_EQ(Covarianza(err, x, y, n), 26.0 / 6 - (13.0 / 6) * (11.0 / 6));
    EXPECT_FALSE(err.failed());
}

TEST(Bivariate, AConstantYFailsCorrelationAndTheSlopeOnY) {
    const ValueList x = values({1, 2, 3});
    const ValueList y = values({5, 5, 5});
    const FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
    EXPECT_EQ(Covarianza(err, x, y, n), 0.0);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(CoefRegresionX(err, x, y, n), 0.0);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(CoefCorrelacion(err, x, y, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(CoefRegresionY(err, x, y, n), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    err.clear();
    EXPECT_EQ(RectaRegresion(err, x, y, n, kXsobreY, CellValue::number(1)), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

// Whichever variable holds the word, every measure reports it as what it is,
// not a failure of what would have been computed from it.
TEST(Bivariate, AWordAmongTheValuesIsATypeMismatchUnderEveryMeasure) {
    const ValueList words = cells({"rojo", "verde", "rojo"});
    const ValueList numbers = values({1, 2, 3});
    const FrequencyList n = freqs({1, 1, 1});
    const std::string mismatch = describe(ErrorCode::TypeMismatch);
    const auto expectMismatch = [&](const ErrorRecord& err) {
        EXPECT_EQ(code(err), ErrorCode::TypeMismatch);
        EXPECT_EQ(err.MensajeError, mismatch);
    };
    for (const bool wordsInX : {true, false}) {
        SCOPED_TRACE(wordsInX ? "words in X" : "words in Y");
        const ValueList& x = wordsInX ? words : numbers;
        const ValueList& y = wordsInX ? numbers : words;
        for (auto measure : {Covarianza, CoefCorrelacion, CoefRegresionX, CoefRegresionY}) {
            ErrorRecord err;
            EXPECT_EQ(measure(err, x, y, n), 0.0);
            expectMismatch(err);
        }
        for (const auto direction : {kYsobreX, kXsobreY}) {
            ErrorRecord err;
            EXPECT_EQ(RectaRegresion(err, x, y, n, direction, CellValue::number(2)), 0.0);
            expectMismatch(err);
        }
        // A word is read even under the exponent 0.
        for (const std::int16_t r : {0, 1}) {
            ErrorRecord err;
            EXPECT_EQ(MomentoCentralBi(err, x, y, n, r, 1), 0.0);
            expectMismatch(err);
            EXPECT_EQ(MomentoOrigenBi(err, x, y, n, r, 1), 0.0);
            expectMismatch(err);
        }
    }
}

// The deviations of X leave the range of doubles though its mean does not:
// the measures built on them fail with that overflow and report no result.
TEST(Bivariate, AnOverflowOfADeviationFailsTheMeasuresBuiltOnIt) {
    const ValueList x = values({1e200, 2e200, 4e200});
    const ValueList y = values({1, 2, 3});
    const FrequencyList n = freqs({1, 2, 1});
    for (auto measure : {CoefCorrelacion, CoefRegresionX}) {
        ErrorRecord err;
        EXPECT_EQ(measure(err, x, y, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::Overflow);
    }
    ErrorRecord err;
    EXPECT_EQ(RectaRegresion(err, x, y, n, kYsobreX, CellValue::number(1)), 0.0);
    EXPECT_EQ(code(err), ErrorCode::Overflow);
}

TEST(Bivariate, TheFirstFailureStandsOverAPointThatIsNotANumber) {
    // A constant X fails the slope before the point is read.
    ErrorRecord err;
    EXPECT_EQ(RectaRegresion(err, values({5, 5, 5}), values({1, 2, 3}), freqs({1, 1, 1}), kYsobreX,
                             CellValue::text("cuatro")),
              0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Bivariate, NoObservationsFail) {
    const ValueList x = values({1, 2});
    const ValueList y = values({3, 5});
    const FrequencyList n = freqs({0, 0});
    for (auto measure : {Covarianza, CoefCorrelacion, CoefRegresionX, CoefRegresionY}) {
        ErrorRecord err;
        EXPECT_EQ(measure(err, x, y, n), 0.0);
        EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
    }
    ErrorRecord err;
    EXPECT_EQ(MomentoOrigenBi(err, x, y, n, 1, 1), 0.0);
    EXPECT_EQ(code(err), ErrorCode::DivisionByZero);
}

TEST(Bivariate, ListsOfDifferentLengthsFailInsteadOfReadingPastTheEnd) {
    ErrorRecord err;
    EXPECT_EQ(Covarianza(err, values({1, 2, 3}), values({1, 2}), freqs({1, 1, 1})), 0.0);
    EXPECT_EQ(code(err), ErrorCode::IndexOutOfRange);
}

TEST(Bivariate, CovarianceKeepsItsDigitsFarFromZero) {
    ErrorRecord err;
    const ValueList x = values({1e8 + 1, 1e8 + 2, 1e8 + 3});
    const ValueList y = values({1e8 + 2, 1e8 + 4, 1e8 + 6});
    EXPECT_DOUBLE_EQ(Covarianza(err, x, y, freqs({1, 1, 1})), 4.0 / 3.0);
    EXPECT_EQ(CoefCorrelacion(err, x, y, freqs({1, 1, 1})), 1.0);
}

} // namespace
} // namespace kalnor::stats
