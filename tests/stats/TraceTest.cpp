#include "StatsTestLists.h"

#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"
#include "stats/Trace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

namespace kalnor::stats {
namespace {

using namespace testing;

bool mismoDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every routine, run on the same lists with and without a recorder.
struct Rutina {
    const char* nombre;
    std::function<double(ErrorRecord&, Traza*)> llamar;
};

std::vector<Rutina> rutinas(const ValueList& x, const ValueList& y, const ValueList& li,
                            const ValueList& ls, const FrequencyList& n) {
    const VariableType D = VariableType::Discrete;
    const VariableType C = VariableType::Continuous;
    return {
        {"media", [&](auto& e, auto* t) { return anotado::MediaAritmetica(e, x, n, t); }},
        {"armónica", [&](auto& e, auto* t) { return anotado::MediaArmonica(e, x, n, t); }},
        {"geométrica", [&](auto& e, auto* t) { return anotado::MediaGeometrica(e, x, n, t); }},
        {"cuadrática", [&](auto& e, auto* t) { return anotado::MediaCuadratica(e, x, n, t); }},
        {"varianza", [&](auto& e, auto* t) { return anotado::Varianza(e, x, n, t); }},
        {"σ", [&](auto& e, auto* t) { return anotado::DesviacionTipica(e, x, n, t); }},
        {"S²", [&](auto& e, auto* t) { return anotado::CuasiVarianza(e, x, n, t); }},
        {"Dx̄", [&](auto& e, auto* t) { return anotado::DesviacionMedia(e, x, n, t); }},
        {"DMe",
         [&](auto& e, auto* t) { return anotado::DesviacionMediana(e, D, x, li, ls, n, t); }},
        {"DMe clases",
         [&](auto& e, auto* t) { return anotado::DesviacionMediana(e, C, x, li, ls, n, t); }},
        {"CVp", [&](auto& e, auto* t) { return anotado::CoefVariacionPearson(e, x, n, t); }},
        {"CVx̄", [&](auto& e, auto* t) { return anotado::CoefVariacionMedia(e, x, n, t); }},
        {"CVMe",
         [&](auto& e, auto* t) { return anotado::CoefVariacionMediana(e, C, x, li, ls, n, t); }},
        {"Ap", [&](auto& e, auto* t) { return anotado::AsimetriaPearson(e, C, x, li, ls, n, t); }},
        {"g₁", [&](auto& e, auto* t) { return anotado::AsimetriaFisher(e, x, n, t); }},
        {"g₂", [&](auto& e, auto* t) { return anotado::CoefCurtosis(e, x, n, t); }},
        {"m₃", [&](auto& e, auto* t) { return anotado::MomentoCentral(e, x, n, 3, t); }},
        {"a₂", [&](auto& e, auto* t) { return anotado::MomentoOrigen(e, x, n, 2, t); }},
        {"D(7)", [&](auto& e, auto* t) { return anotado::CuantilDiscreto(e, 7, 10, x, n, t); }},
        {"P(35)",
         [&](auto& e, auto* t) { return anotado::CuantilContinuo(e, 35, 100, li, ls, n, t); }},
        {"Sxy", [&](auto& e, auto* t) { return anotado::Covarianza(e, x, y, n, t); }},
        {"r", [&](auto& e, auto* t) { return anotado::CoefCorrelacion(e, x, y, n, t); }},
        {"b", [&](auto& e, auto* t) { return anotado::CoefRegresionX(e, x, y, n, t); }},
        {"b'", [&](auto& e, auto* t) { return anotado::CoefRegresionY(e, x, y, n, t); }},
        {"recta",
         [&](auto& e, auto* t) {
             return anotado::RectaRegresion(e, x, y, n, kYsobreX, CellValue::number(2.5), t);
         }},
        {"m₁₂", [&](auto& e, auto* t) { return anotado::MomentoCentralBi(e, x, y, n, 1, 2, t); }},
        {"a₂₁", [&](auto& e, auto* t) { return anotado::MomentoOrigenBi(e, x, y, n, 2, 1, t); }},
    };
}

TEST(Traza, TheRecorderNeverChangesAResultOrAFailure) {
    std::mt19937 azar(7);
    std::uniform_real_distribution<double> valor(-50, 120);
    std::uniform_int_distribution<int> filas(1, 40), frecuencia(0, 9), raro(0, 30);
    for (int caso = 0; caso < 200; ++caso) {
        ValueList x, y, li, ls;
        FrequencyList n;
        double lim = valor(azar);
        const int k = filas(azar);
        for (int i = 0; i < k; ++i) {
            // Now and then a zero, a word or an integer value.
            const int r = raro(azar);
            x.push_back(r == 0   ? CellValue::number(0)
                        : r == 1 ? CellValue::text("rojo")
                        : r < 6  ? CellValue::number(std::round(valor(azar)))
                                 : CellValue::number(valor(azar)));
            y.push_back(CellValue::number(valor(azar)));
            li.push_back(CellValue::number(lim));
            lim += 1 + frecuencia(azar);
            ls.push_back(CellValue::number(lim));
            n.push_back(frecuencia(azar));
        }
        for (const Rutina& r : rutinas(x, y, li, ls, n)) {
            ErrorRecord sin, con;
            Traza traza;
            const double a = r.llamar(sin, nullptr);
            const double b = r.llamar(con, &traza);
            EXPECT_TRUE(mismoDouble(a, b)) << r.nombre << " caso " << caso;
            EXPECT_EQ(sin.NumError, con.NumError) << r.nombre << " caso " << caso;
            EXPECT_EQ(sin.MensajeError, con.MensajeError) << r.nombre;
        }
    }
}

TEST(Traza, TheMeanNotesItsSumAndN) {
    ErrorRecord err;
    Traza t;
    const ValueList x = values({1, 2, 4});
    EXPECT_DOUBLE_EQ(anotado::MediaAritmetica(err, x, freqs({2, 3, 1}), &t), 2.0);
    ASSERT_TRUE(t.N);
    EXPECT_EQ(*t.N, 6);
    const SumaTraza* s = t.suma(TipoSuma::Valores);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->valor, 12.0);
    EXPECT_EQ(s->terminos, 3u);
    ASSERT_EQ(s->primeros.size(), 3u);
    EXPECT_EQ(s->primeros[2].fila, 3u);
    EXPECT_EQ(s->primeros[2].x, 4.0);
    EXPECT_EQ(s->primeros[2].n, 1);
    ASSERT_NE(t.valor(Magnitud::Media), nullptr);
    EXPECT_EQ(t.valor(Magnitud::Media)->valor, 2.0);
}

TEST(Traza, AFailureNamesItsRecord) {
    ErrorRecord err;
    Traza t;
    anotado::MediaArmonica(err, values({1, 2, 0, 4}), freqs({1, 1, 1, 1}), &t);
    ASSERT_TRUE(t.fallo);
    EXPECT_EQ(t.fallo->codigo, ErrorCode::DivisionByZero);
    EXPECT_EQ(t.fallo->fila, 3u);
    EXPECT_EQ(t.fallo->valor, 0.0);
    EXPECT_EQ(t.fallo->enSuma, TipoSuma::Inversas);

    Traza w;
    anotado::MediaAritmetica(err, cells({1.0, "rojo"}), freqs({1, 1}), &w);
    ASSERT_TRUE(w.fallo);
    EXPECT_EQ(w.fallo->codigo, ErrorCode::TypeMismatch);
    EXPECT_EQ(w.fallo->fila, 2u);
}

TEST(Traza, QuantilesNoteWhereTheyFall) {
    ErrorRecord err;
    Traza t;
    // N = 10, k·N/q = 5 falls inside the second class: 10 + (5 − 2)/5·10.
    EXPECT_DOUBLE_EQ(anotado::CuantilContinuo(err, 1, 2, values({0, 10, 20}), values({10, 20, 30}),
                                              freqs({2, 5, 3}), &t),
                     16.0);
    ASSERT_EQ(t.cuantiles.size(), 1u);
    const CuantilTraza& c = t.cuantiles.front();
    EXPECT_EQ(c.fila, 2u);
    EXPECT_FALSE(c.frontera);
    EXPECT_EQ(c.anterior, 2);
    EXPECT_EQ(c.acumulada, 7);
    EXPECT_EQ(c.inferior, 10.0);
    EXPECT_EQ(c.superior, 20.0);
}

TEST(Traza, TheGroupedModeNotesItsDifferences) {
    ErrorRecord err;
    Traza t;
    const CellValue mo =
        anotado::ModaContinua(err, values({0, 10, 20}), values({10, 20, 30}), freqs({6, 2, 1}), &t);
    EXPECT_DOUBLE_EQ(mo.asNumber(), 6.0);
    ASSERT_TRUE(t.moda);
    EXPECT_EQ(t.moda->fila, 1u);
    EXPECT_EQ(t.moda->delta1, 6);
    EXPECT_EQ(t.moda->delta2, 4);
}

} // namespace
} // namespace kalnor::stats
