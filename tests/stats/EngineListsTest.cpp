// The engine lists keep what was read from them only while they are unchanged:
// measures pressed one after another share one reading, and any change to a
// list gives the measures of the new contents.
#include "StatsTestLists.h"

#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

ValueList valuesOf(const std::vector<double>& xs) {
    ValueList list;
    for (const double x : xs)
        list.push_back(CellValue::number(x));
    return list;
}

// Eighths up to 125 with frequencies under 7: every sum of a few hundred
// thousand of them is exact, whatever the order it is taken in.
struct Eighths {
    std::vector<double> xs;
    std::vector<std::int32_t> ns;
    double sum = 0;
    double total = 0;
    explicit Eighths(int rows) {
        for (int i = 0; i < rows; ++i) {
            xs.push_back(static_cast<double>(i * 7919LL % 1001) / 8.0);
            ns.push_back(i % 7);
            sum += xs.back() * ns.back();
            total += ns.back();
        }
    }
};

// A sort moves values and frequencies together: what was read of them in
// the old order serves the new one and gives what a fresh reading gives,
// and a copy still holding the old reading keeps its results.
TEST(EngineLists, AReadingKeptAcrossASortGivesTheResultsOfAFreshOne) {
    Eighths d(300001);
    ValueList x = valuesOf(d.xs);
    FrequencyList n(d.ns);
    ErrorRecord err;
    const double media = MediaAritmetica(err, x, n);
    EXPECT_EQ(media, d.sum / d.total);
    const ValueList copiaX = x;
    const FrequencyList copiaN = n;
    WhatWasRead lectura = takeReading(x, n);
    // Sorted by value, the pairs kept together.
    std::vector<int> orden(d.xs.size());
    for (std::size_t i = 0; i < orden.size(); ++i)
        orden[i] = static_cast<int>(i);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) { return d.xs[a] < d.xs[b]; });
    std::vector<double> xs;
    std::vector<std::int32_t> ns;
    for (const int i : orden) {
        xs.push_back(d.xs[i]);
        ns.push_back(d.ns[i]);
    }
    x = valuesOf(xs);
    n = FrequencyList(ns);
    keepReading(std::move(lectura), x, n);
    const ValueList frescaX = valuesOf(xs);
    const FrequencyList frescaN(ns);
    ErrorRecord e1, e2;
    EXPECT_EQ(MediaAritmetica(e1, x, n), media);
    EXPECT_EQ(Varianza(e1, x, n), Varianza(e2, frescaX, frescaN));
    EXPECT_EQ(CuantilDiscreto(e1, 1, 2, x, n), CuantilDiscreto(e2, 1, 2, frescaX, frescaN));
    EXPECT_EQ(Maximo(e1, x), Maximo(e2, frescaX));
    EXPECT_EQ(TotalFrecuencias(e1, n), TotalFrecuencias(e2, frescaN));
    EXPECT_EQ(MediaAritmetica(e1, copiaX, copiaN), media);
    EXPECT_EQ(Varianza(e1, copiaX, copiaN), Varianza(e2, frescaX, frescaN));
    EXPECT_FALSE(e1.failed());
    EXPECT_FALSE(e2.failed());
}

// A big list is read in two halves at once: an unreadable entry in either
// stops the reading where one pass from the start would, and the sums join
// both halves.
TEST(EngineLists, ABigListReadInHalvesStopsAtItsFirstUnreadableEntry) {
    const Eighths d(400000);
    ErrorRecord err;
    EXPECT_EQ(MediaAritmetica(err, valuesOf(d.xs), FrequencyList(d.ns)), d.sum / d.total);
    const std::size_t filas = d.xs.size();
    for (const std::size_t malo : {std::size_t{10}, filas / 2 - 1, filas / 2, filas - 1}) {
        SCOPED_TRACE(malo);
        ValueList x = valuesOf(d.xs);
        x[malo] = CellValue::text("nada");
        // An empty cell after it, in the other half, or before it.
        const std::size_t nulo = malo == filas - 1 ? 0 : malo + 1;
        x[nulo] = CellValue::null();
        ErrorRecord e;
        MediaAritmetica(e, x, FrequencyList(d.ns));
        EXPECT_EQ(code(e), nulo < malo ? ErrorCode::InvalidUseOfNull : ErrorCode::TypeMismatch);
    }
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
