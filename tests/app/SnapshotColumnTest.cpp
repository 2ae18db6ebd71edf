// A column's sort against a plain stable sort by the same rule, on tables
// with few and with many distinct values.
#include "app/SnapshotColumn.h"
#include "app/SpanishSortKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace kalnor {
namespace {

using stats::CellValue;

// Empty cells, then numbers by value (both zeros equal), then words in
// Spanish order, ties by their bytes; equal cells keep their order.
std::vector<int> ordenEsperado(const std::vector<CellValue>& celdas, bool descendente) {
    const auto clase = [](const CellValue& c) { return c.isNumber() ? 1 : c.isText() ? 2 : 0; };
    const auto menor = [&](int a, int b) {
        const CellValue& x = celdas[a];
        const CellValue& y = celdas[b];
        if (clase(x) != clase(y))
            return clase(x) < clase(y);
        if (x.isNumber())
            return x.asNumber() < y.asNumber();
        if (x.isText()) {
            const std::string kx = spanishSortKey(x.asText());
            const std::string ky = spanishSortKey(y.asText());
            return kx != ky ? kx < ky : x.asText() < y.asText();
        }
        return false;
    };
    std::vector<int> orden(celdas.size());
    for (std::size_t i = 0; i < orden.size(); ++i)
        orden[i] = static_cast<int>(i);
    std::stable_sort(orden.begin(), orden.end(),
                     [&](int a, int b) { return descendente ? menor(b, a) : menor(a, b); });
    return orden;
}

std::vector<CellValue> columnaAleatoria(std::size_t filas, int distintos, bool conPalabras,
                                        std::mt19937& azar) {
    static const char* const kPalabras[] = {"pera", "Árbol", "arbol", "ñu", "nube", "Zoo"};
    std::uniform_int_distribution<int> valor(-distintos / 2, distintos / 2);
    std::uniform_int_distribution<int> dado(0, 19);
    std::vector<CellValue> c;
    for (std::size_t i = 0; i < filas; ++i) {
        const int d = dado(azar);
        if (d == 0)
            c.push_back(CellValue::null());
        else if (conPalabras && d == 1)
            c.push_back(CellValue::text(kPalabras[valor(azar) & 3 ? 0 : (i % 6)]));
        else if (d == 2)
            c.push_back(CellValue::number(i % 2 ? 0.0 : -0.0));
        else
            c.push_back(CellValue::number(valor(azar) / 4.0));
    }
    return c;
}

TEST(SnapshotColumnOrden, MatchesAStableSortWithFewAndManyDistinctValues) {
    std::mt19937 azar(11);
    for (const std::size_t filas : {std::size_t{5}, std::size_t{200}, std::size_t{20000}}) {
        for (const int distintos : {3, 50, 2000, 1000000}) {
            for (const bool palabras : {false, true}) {
                const std::vector<CellValue> celdas =
                    columnaAleatoria(filas, distintos, palabras, azar);
                SnapshotColumn columna;
                for (const CellValue& c : celdas)
                    columna.push_back(c);
                for (const bool desc : {false, true})
                    EXPECT_EQ(columna.sortedOrder(desc), ordenEsperado(celdas, desc))
                        << filas << " filas, " << distintos << " valores, palabras " << palabras
                        << ", descendente " << desc;
            }
        }
    }
}

// A big table is counted in two halves at once: keys only one half holds,
// and halves that each stay under the limit of distinct keys while both
// together pass it, sort as one stable sort does.
TEST(SnapshotColumnOrden, ABigTableSortsAsOneWhateverEachHalfHolds) {
    std::mt19937 azar(5);
    constexpr int kFilas = 300000;
    for (const int otros : {0, 12, 30000}) {
        std::vector<CellValue> celdas = columnaAleatoria(kFilas / 2, 20, true, azar);
        const std::vector<CellValue> segunda = columnaAleatoria(kFilas / 2, 20, false, azar);
        for (std::size_t i = 0; i < segunda.size(); ++i) {
            // Half the numbers of the second half are keys the first half
            // lacks (none when 0).
            const bool nuevo = otros > 0 && segunda[i].isNumber() && i % 2 == 0;
            celdas.push_back(nuevo ? CellValue::number(100.0 + static_cast<double>(i % otros))
                                   : segunda[i]);
        }
        if (otros == 30000) { // the first half too, each under the limit
            for (std::size_t i = 0; i < kFilas / 2; i += 2)
                celdas[i] = CellValue::number(-100.0 - static_cast<double>(i % otros));
        }
        SnapshotColumn columna;
        for (const CellValue& c : celdas)
            columna.push_back(c);
        for (const bool desc : {false, true})
            EXPECT_EQ(columna.sortedOrder(desc), ordenEsperado(celdas, desc))
                << otros << ", descendente " << desc;
    }
}

// The cells of `columna` in the order `p` gives.
std::vector<CellValue> colocadas(const SnapshotColumn& columna, const Placement& p) {
    const SnapshotColumn nueva = columna.placed(p);
    std::vector<CellValue> celdas;
    for (std::size_t i = 0; i < nueva.size(); ++i)
        celdas.push_back(nueva.get(i));
    return celdas;
}

// A sort by a few distinct numbers tells its keys in the new order as runs,
// which must be the sorted cells themselves; with a word, an empty cell or
// a -0 (one key with 0) among them it tells none.
TEST(SnapshotColumnOrden, ASortByFewNumbersTellsItsKeysAsRunsOfTheSortedCells) {
    std::mt19937 azar(3);
    for (const std::size_t filas : {std::size_t{400}, std::size_t{300000}}) {
        std::uniform_int_distribution<int> valor(-20, 20);
        SnapshotColumn columna;
        for (std::size_t i = 0; i < filas; ++i)
            columna.pushNumber(valor(azar) / 4.0);
        for (const bool desc : {false, true}) {
            const Placement p = columna.sortedPlacement(desc);
            ASSERT_FALSE(p.keyRuns.empty());
            std::vector<CellValue> porTramos;
            for (const NumberRun& t : p.keyRuns)
                porTramos.insert(porTramos.end(), t.count, CellValue::number(t.value));
            EXPECT_EQ(porTramos, colocadas(columna, p)) << filas << ", descendente " << desc;
        }
        for (const CellValue& otra :
             {CellValue::text("pera"), CellValue::null(), CellValue::number(-0.0)}) {
            SnapshotColumn conOtra = columna;
            conOtra.set(filas / 2, otra);
            EXPECT_TRUE(conOtra.sortedPlacement(false).keyRuns.empty());
        }
    }
    // Many distinct numbers are sorted otherwise, with no runs.
    SnapshotColumn distintos;
    for (int i = 0; i < 1000; ++i)
        distintos.pushNumber(i * 0.5);
    EXPECT_TRUE(distintos.sortedPlacement(false).keyRuns.empty());
}

TEST(SnapshotColumnOrden, SortsSomeRowsInTheOrderGiven) {
    SnapshotColumn columna;
    for (int i = 0; i < 400; ++i)
        columna.pushNumber(i % 4);
    std::vector<int> algunas;
    for (int i = 399; i >= 0; i -= 3)
        algunas.push_back(i); // descending rows: equal values keep this order
    const std::vector<int> orden = columna.sortedOrder(algunas, false);
    ASSERT_EQ(orden.size(), algunas.size());
    for (std::size_t k = 1; k < orden.size(); ++k) {
        const int a = orden[k - 1] % 4, b = orden[k] % 4;
        EXPECT_TRUE(a < b || (a == b && orden[k - 1] > orden[k])) << k;
    }
}

} // namespace
} // namespace kalnor
