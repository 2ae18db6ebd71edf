// The exact sums behind the totals row and "Sumar la columna".
#include "../panel/DistribucionPrueba.h"

#include "app/Documento.h"
#include "table/SumaExacta.h"
#include "table/TotalesColumnas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace kalnor {
namespace {

using stats::CellValue;

TEST(SumaExacta, RoundsTheExactSumOnce) {
    SumaExacta s;
    for (double x : {1e100, 1.0, -1e100})
        s.sumar(x);
    EXPECT_EQ(s.valor(), 1.0); // a plain running sum gives 0
    SumaExacta t;
    for (int i = 0; i < 10; ++i)
        t.sumar(0.1);
    EXPECT_EQ(t.valor(), 1.0); // the ten 0.1's are a hair above 1: rounds to 1
    SumaExacta vacia;
    EXPECT_EQ(vacia.valor(), 0.0);
}

TEST(SumaExacta, TakingTermsAwayGivesTheSumMadeAfresh) {
    std::mt19937_64 azar(7);
    std::uniform_real_distribution<double> mantisa(-1, 1);
    std::uniform_int_distribution<int> exponente(-30, 30);
    std::vector<double> v(2000);
    for (double& x : v)
        x = std::ldexp(mantisa(azar), exponente(azar));
    SumaExacta incremental;
    for (double x : v)
        incremental.sumar(x);
    for (int paso = 0; paso < 500; ++paso) {
        const std::size_t i = azar() % v.size();
        const double nuevo = std::ldexp(mantisa(azar), exponente(azar));
        incremental.restar(v[i]);
        incremental.sumar(nuevo);
        v[i] = nuevo;
    }
    SumaExacta afresh;
    for (auto it = v.rbegin(); it != v.rend(); ++it) // in another order, too
        afresh.sumar(*it);
    EXPECT_EQ(incremental.valor(), afresh.valor());
}

TEST(SumaExacta, OverflowIsReportedNotWrapped) {
    SumaExacta s;
    s.sumar(1.7e308);
    s.sumar(1.7e308);
    EXPECT_TRUE(s.desbordada());
    EXPECT_TRUE(std::isinf(s.valor()));
}

TEST(TotalesColumnas, NumericColumnsOnlyAndCompleteOnes) {
    testing::DistribucionesPrueba archivos("totales");
    const std::string ruta =
        archivos.crear("c.mdb", "CATDIS", "Xi,Yi,ni\nrojo,1.5,2\nazul,2.25,3\n");
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(ruta));
    TotalesColumnas t;
    t.recalcular(doc.Data1, doc.kind());
    ASSERT_EQ(t.columnas(), 3);
    EXPECT_FALSE(t.suma(0)); // words
    EXPECT_EQ(t.suma(1), 3.75);
    EXPECT_EQ(t.suma(2), 5.0);
    EXPECT_FALSE(t.suma(3));

    t.cambiar(1, CellValue::number(1.5), CellValue::null()); // an emptied cell
    EXPECT_FALSE(t.suma(1));
    t.cambiar(1, CellValue::null(), CellValue::number(0.75));
    EXPECT_EQ(t.suma(1), 3.0);
    EXPECT_EQ(sumaColumna(doc.Data1.column("ni")), t.suma(2));
    EXPECT_FALSE(sumaColumna(doc.Data1.column("Xi")));
    EXPECT_FALSE(sumaColumna({}));

    archivos.ejecutar(ruta, "DELETE FROM CATDIS");
    ASSERT_TRUE(doc.AbrirBase(ruta));
    t.recalcular(doc.Data1, doc.kind());
    EXPECT_FALSE(t.suma(2)); // no records: nothing to show
}

} // namespace
} // namespace kalnor
