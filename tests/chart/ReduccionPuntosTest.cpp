#include "chart/ReduccionPuntos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace kalnor::grafico {
namespace {

std::vector<double> ondulada(int n) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = 1 + std::round(20 * std::abs(std::sin(i * 0.013))) + (i * 7919 % 5);
    return v;
}

TEST(ReduccionPuntos, ColumnsCoverEveryPointOnceAndFindTheExtremes) {
    const std::vector<double> v = ondulada(32767);
    const std::vector<Columna> columnas = columnasDe(v, 4096);
    ASSERT_EQ(columnas.size(), 4096u);
    int siguiente = 0;
    for (const Columna& c : columnas) {
        EXPECT_EQ(c.desde, siguiente);
        ASSERT_LE(c.desde, c.hasta);
        const auto primero = v.begin() + c.desde, fin = v.begin() + c.hasta + 1;
        EXPECT_EQ(v[c.indiceMaximo], *std::max_element(primero, fin));
        EXPECT_EQ(v[c.indiceMinimo], *std::min_element(primero, fin));
        siguiente = c.hasta + 1;
    }
    EXPECT_EQ(siguiente, 32767);
    EXPECT_EQ(columnasDe(v, 0).size(), 0u);
    EXPECT_EQ(columnasDe({}, 10).size(), 0u);
}

TEST(ReduccionPuntos, FewPointsAreKeptAsTheyAre) {
    const std::vector<double> v = ondulada(50);
    std::vector<int> todos(50);
    std::iota(todos.begin(), todos.end(), 0);
    EXPECT_EQ(trazoReducido(v, 4096), todos);
}

TEST(ReduccionPuntos, TheReducedLineKeepsEndsAndExtremesInOrder) {
    const std::vector<double> v = ondulada(32767);
    const std::vector<int> trazo = trazoReducido(v, 1000);
    EXPECT_LE(trazo.size(), 4000u);
    EXPECT_TRUE(std::is_sorted(trazo.begin(), trazo.end()));
    EXPECT_EQ(std::adjacent_find(trazo.begin(), trazo.end()), trazo.end());
    EXPECT_EQ(trazo.front(), 0);
    EXPECT_EQ(trazo.back(), 32766);
    const auto mayor = std::max_element(v.begin(), v.end()) - v.begin();
    const double maximo = v[mayor];
    EXPECT_TRUE(std::any_of(trazo.begin(), trazo.end(), [&](int i) { return v[i] == maximo; }));
}

TEST(ReduccionPuntos, SymbolsOnTopOfEachOtherAreDrawnOnce) {
    // Whole frequencies from 1 to 26: at most 27 levels in each of 100 columns.
    const std::vector<double> v = ondulada(32767);
    const std::vector<int> simbolos = simbolosVisibles(v, 100, 512);
    EXPECT_LE(simbolos.size(), 100u * 27u);
    EXPECT_GE(simbolos.size(), 100u);
    EXPECT_TRUE(std::is_sorted(simbolos.begin(), simbolos.end()));
    // Every distinct value still has a symbol.
    std::vector<double> vistos;
    for (const int i : simbolos)
        vistos.push_back(v[i]);
    std::vector<double> todos = v;
    std::sort(todos.begin(), todos.end());
    std::sort(vistos.begin(), vistos.end());
    todos.erase(std::unique(todos.begin(), todos.end()), todos.end());
    vistos.erase(std::unique(vistos.begin(), vistos.end()), vistos.end());
    EXPECT_EQ(vistos, todos);
    // Equal values: one symbol per column.
    EXPECT_EQ(simbolosVisibles(std::vector<double>(1000, 3.0), 10, 512).size(), 10u);
}

TEST(ReduccionPuntos, ThinSharesJoinUpWhileVisibleOnesStayApart) {
    std::vector<double> v(10000, 1.0);
    v[5000] = 10000; // half of the whole
    const std::vector<Tramo> tramos = tramosVisibles(v, 1.0 / 360);
    double suma = 0;
    int siguiente = 0;
    for (const Tramo& t : tramos) {
        EXPECT_EQ(t.desde, siguiente);
        suma += t.suma;
        siguiente = t.hasta + 1;
    }
    EXPECT_EQ(siguiente, 10000);
    EXPECT_DOUBLE_EQ(suma, 19999);
    EXPECT_LT(tramos.size(), 400u);
    const auto grande =
        std::find_if(tramos.begin(), tramos.end(), [](const Tramo& t) { return t.desde == 5000; });
    ASSERT_NE(grande, tramos.end());
    EXPECT_EQ(grande->hasta, 5000);
    EXPECT_EQ(grande->suma, 10000);
    // Shares that are visible by themselves are never joined.
    EXPECT_EQ(tramosVisibles(std::vector<double>(8, 2.0), 1.0 / 360).size(), 8u);
}

} // namespace
} // namespace kalnor::grafico
