// The engine lists keep what was read from them only while they are unchanged:
// measures pressed one after another share one reading, and any change to a
// list gives the measures of the new contents.
#include "StatsTestLists.h"

#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

namespace kalnor::stats {
namespace {

using namespace testing;

TEST(EngineLists, RepeatedMeasuresOnUnchangedListsAgree) {
    const ValueList x = values({1, 2, 4, 7});
    const FrequencyList n = freqs({2, 5, 3, 1});
    ErrorRecord err;
    const double media = MediaAritmetica(err, x, n);
    const double varianza = Varianza(err, x, n);
    EXPECT_DOUBLE_EQ(media, 31.0 / 11);
    for (int vez = 0; vez < 3; ++vez) {
        EXPECT_EQ(MediaAritmetica(err, x, n), media);
        EXPECT_EQ(Varianza(err, x, n), varianza);
        EXPECT_EQ(CuantilDiscreto(err, 1, 2, x, n), 2.0);
    }
}

TEST(EngineLists, EveryWayOfChangingTheValuesIsSeen) {
    ValueList x = values({1, 2, 3});
    const FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
    EXPECT_EQ(MediaAritmetica(err, x, n), 2.0);
    x[2] = CellValue::number(6);
    EXPECT_EQ(MediaAritmetica(err, x, n), 3.0);
    *x.begin() = CellValue::number(4);
    EXPECT_EQ(MediaAritmetica(err, x, n), 4.0);
    x.back() = CellValue::number(9);
    EXPECT_EQ(MediaAritmetica(err, x, n), 5.0);
    x.assign({CellValue::number(3), CellValue::number(3), CellValue::number(3)});
    EXPECT_EQ(MediaAritmetica(err, x, n), 3.0);
    x = values({2, 2, 5});
    EXPECT_EQ(MediaAritmetica(err, x, n), 3.0);
    x.pop_back();
    x.push_back(CellValue::number(8));
    EXPECT_EQ(MediaAritmetica(err, x, n), 4.0);
    x.resize(2);
    EXPECT_EQ(Maximo(err, x), 2.0);
    EXPECT_EQ(MediaAritmetica(err, x, freqs({1, 1})), 2.0);
}

TEST(EngineLists, ChangedFrequenciesAreSeenByMeansAndQuantiles) {
    const ValueList x = values({1, 2, 3});
    FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
    EXPECT_EQ(MediaAritmetica(err, x, n), 2.0);
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, x, n), 2.0);
    EXPECT_EQ(TotalFrecuencias(err, n), 3);
    n[2] = 4;
    EXPECT_EQ(MediaAritmetica(err, x, n), 15.0 / 6);
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, x, n), 3.0);
    EXPECT_EQ(TotalFrecuencias(err, n), 6);
    n.resize(2);
    EXPECT_EQ(TotalFrecuencias(err, n), 2);
    EXPECT_EQ(CuantilDiscreto(err, 1, 2, x, n), 1.5);
}

TEST(EngineLists, ACopyChangedLeavesTheOriginalAsItWas) {
    const ValueList x = values({1, 2, 3});
    const FrequencyList n = freqs({1, 1, 1});
    ErrorRecord err;
    EXPECT_EQ(MediaAritmetica(err, x, n), 2.0);
    ValueList copia = x;
    EXPECT_EQ(MediaAritmetica(err, copia, n), 2.0);
    copia[0] = CellValue::number(4);
    EXPECT_EQ(MediaAritmetica(err, copia, n), 3.0);
    EXPECT_EQ(MediaAritmetica(err, x, n), 2.0);
    // The same values with other frequencies.
    EXPECT_EQ(MediaAritmetica(err, x, freqs({0, 0, 1})), 3.0);
    EXPECT_EQ(MediaAritmetica(err, x, n), 2.0);
}

TEST(EngineLists, QuantilesWithANegativeFrequencyWalkTheRecords) {
    // The cumulative frequencies 2, 1, 4 do not grow: the first record
    // reaching the position is still the one found.
    const ValueList x = values({1, 2, 3});
    const FrequencyList n = freqs({2, -1, 3});
    ErrorRecord err;
    EXPECT_EQ(CuantilDiscreto(err, 1, 4, x, n), 1.0);
    EXPECT_EQ(CuantilDiscreto(err, 3, 4, x, n), 3.0);
    EXPECT_FALSE(err.failed());
}

} // namespace
} // namespace kalnor::stats
