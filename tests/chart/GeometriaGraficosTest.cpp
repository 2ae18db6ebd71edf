// The geometry of the classroom charts, computed without drawing.
#include "../stats/StatsTestLists.h"

#include "app/Documento.h"
#include "chart/GeometriaGraficos.h"
#include "stats/Central.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kalnor::grafico {
namespace {

using stats::ErrorRecord;
using stats::VariableType;
using stats::testing::freqs;
using stats::testing::values;

constexpr auto kClases = VariableType::Continuous;
constexpr auto kValores = VariableType::Discrete;

// Unequal classes worked by hand: widths 10, 10, 20, 60; N = 31.
const stats::ValueList kLi = values({20, 0, 40, 10});
const stats::ValueList kLs = values({40, 10, 100, 20});
const stats::FrequencyList kN = freqs({10, 5, 6, 10});

TEST(Histograma, UnequalWidthsDrawDensitiesSoThatAreasAreFrequencies) {
    ErrorRecord err;
    const auto h = histograma(err, kClases, kLi, kLs, kN);
    ASSERT_TRUE(h) << err.MensajeError;
    EXPECT_TRUE(h->densidad);
    EXPECT_EQ(h->ejeY, "Densidad de frecuencia  hᵢ = nᵢ/aᵢ");
    ASSERT_EQ(h->barras.size(), 4u);
    const double izquierda[] = {0, 10, 20, 40}, derecha[] = {10, 20, 40, 100};
    const double altura[] = {0.5, 1.0, 0.5, 0.1};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(h->barras[i].izquierda, izquierda[i]);
        EXPECT_EQ(h->barras[i].derecha, derecha[i]);
        EXPECT_DOUBLE_EQ(h->barras[i].altura, altura[i]);
        EXPECT_DOUBLE_EQ(h->barras[i].altura * (derecha[i] - izquierda[i]), h->barras[i].n);
    }
}

TEST(Histograma, EqualWidthsDrawFrequenciesAndValuesHaveNone) {
    ErrorRecord err;
    const auto h = histograma(err, kClases, values({0.1, 0.2, 0.3}), values({0.2, 0.3, 0.4}),
                              freqs({1, 4, 2}));
    ASSERT_TRUE(h);
    EXPECT_FALSE(h->densidad); // 0.1 wide up to the last bits
    EXPECT_EQ(h->ejeY, "nᵢ");
    EXPECT_EQ(h->barras[1].altura, 4.0);

    EXPECT_FALSE(histograma(err, kValores, values({1, 2}), values({1, 2}), freqs({1, 1})));
    EXPECT_NE(err.MensajeError.find("diagrama de barras"), std::string::npos);
    EXPECT_FALSE(histograma(err, kClases, values({0, 5}), values({5, 5}), freqs({1, 1})));
    EXPECT_NE(err.MensajeError.find("la fila 2"), std::string::npos);
    EXPECT_FALSE(histograma(err, kClases, {}, {}, {}));
}

TEST(Poligono, ClosesOnTheAxisAtTheMarksOfTheEmptyNeighbours) {
    ErrorRecord err;
    const auto p = poligono(err, kClases, {}, kLi, kLs, kN);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->size(), 6u);
    EXPECT_EQ(p->front().x, -5.0); // 5 − 10
    EXPECT_EQ(p->front().y, 0.0);
    EXPECT_EQ((*p)[1].x, 5.0);
    EXPECT_DOUBLE_EQ((*p)[1].y, 0.5); // over the histogram: the densities
    EXPECT_EQ(p->back().x, 130.0);    // 70 + 60
    EXPECT_EQ(p->back().y, 0.0);

    const auto d = poligono(err, kValores, values({3, 1, 2}), {}, {}, freqs({2, 5, 4}));
    ASSERT_TRUE(d);
    ASSERT_EQ(d->size(), 5u);
    EXPECT_EQ(d->front().x, 0.0);
    EXPECT_EQ((*d)[1].y, 5.0);
    EXPECT_EQ(d->back().x, 4.0);
}

TEST(Ojiva, StartsAtTheFirstLimitAndRisesAtTheUpperLimits) {
    ErrorRecord err;
    const auto o = ojiva(err, kClases, {}, kLi, kLs, kN, false);
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->escalonada);
    const double x[] = {0, 10, 20, 40, 100}, y[] = {0, 5, 15, 25, 31};
    ASSERT_EQ(o->puntos.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(o->puntos[i].x, x[i]);
        EXPECT_EQ(o->puntos[i].y, y[i]);
    }
    // The median is read at N/2 = 15.5 on the ogive: 21.
    ASSERT_EQ(o->cuartiles.size(), 3u);
    EXPECT_DOUBLE_EQ(o->cuartiles[1].x, 21.0);
    EXPECT_DOUBLE_EQ(o->cuartiles[1].y, 15.5);

    const auto pct = ojiva(err, kClases, {}, kLi, kLs, kN, true);
    ASSERT_TRUE(pct);
    EXPECT_DOUBLE_EQ(pct->puntos.back().y, 100.0);
    EXPECT_DOUBLE_EQ(pct->cuartiles[2].y, 75.0);

    const auto s = ojiva(err, kValores, values({1, 2}), {}, {}, freqs({3, 1}), false);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->escalonada);
    ASSERT_EQ(s->puntos.size(), 4u);
    EXPECT_EQ(s->puntos[1].y, 3.0);
    EXPECT_EQ(s->puntos[2].x, 2.0);
    EXPECT_EQ(s->puntos[3].y, 4.0);
}

TEST(Caja, FiveNumbersAsTheKeysGiveThemAndOutliersBeyondTheFences) {
    ErrorRecord err;
    const auto c = caja(err, kClases, {}, kLi, kLs, kN);
    ASSERT_TRUE(c) << err.MensajeError;
    EXPECT_DOUBLE_EQ(c->q1, 12.75);
    EXPECT_DOUBLE_EQ(c->mediana, 21.0);
    EXPECT_DOUBLE_EQ(c->q3, 36.5);
    EXPECT_EQ(c->bigoteInferior, 5.0);
    EXPECT_EQ(c->bigoteSuperior, 70.0);
    EXPECT_TRUE(c->atipicos.empty());
    EXPECT_EQ(c->minimo, 0.0);
    EXPECT_EQ(c->maximo, 100.0);

    const auto d = caja(err, kValores, values({100, 1, 2, 3, 4}), {}, {}, freqs({1, 1, 1, 1, 1}));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->q1, 2.0);
    EXPECT_EQ(d->mediana, 3.0);
    EXPECT_EQ(d->q3, 4.0);
    EXPECT_EQ(d->bigoteInferior, 1.0);
    EXPECT_EQ(d->bigoteSuperior, 4.0);
    EXPECT_EQ(d->atipicos, std::vector<double>{100.0});

    EXPECT_FALSE(
        caja(err, VariableType::Categorical, stats::testing::cells({"a"}), {}, {}, freqs({1})));
    EXPECT_NE(err.MensajeError.find("categórica"), std::string::npos);
}

TEST(Caja, MatchesTheQuartileKeysOnEveryExample) {
    const std::filesystem::path dat = std::filesystem::path(KALNOR_BUILD_DIR) / "dat";
    int vistos = 0;
    for (const auto& e : std::filesystem::directory_iterator(dat)) {
        if (e.path().extension() != ".mdb" || e.path().stem() == "Nueva")
            continue;
        SCOPED_TRACE(e.path().string());
        Documento doc;
        ASSERT_TRUE(doc.AbrirBase(e.path().string()));
        const stats::VariableType tipo = stats::activeType(*doc.kind(), "X");
        if (tipo == VariableType::Categorical)
            continue;
        ASSERT_TRUE(doc.LeerVariable());
        const stats::EngineLists sinOrden = doc.listas;
        doc.OrdenarDatos(); // the keys sort before a quantile
        ASSERT_TRUE(doc.LeerVariable());
        const auto& l = doc.listas;
        ErrorRecord err;
        const auto llave = [&](std::int16_t k, std::int16_t q) {
            return tipo == VariableType::Continuous
                       ? stats::CuantilContinuo(err, k, q, l.LimInf, l.LimSup, l.Frecuencias)
                       : stats::CuantilDiscreto(err, k, q, l.Valores, l.Frecuencias);
        };
        const auto c = caja(err, tipo, sinOrden.Valores, sinOrden.LimInf, sinOrden.LimSup,
                            sinOrden.Frecuencias);
        ASSERT_TRUE(c) << err.MensajeError;
        EXPECT_EQ(c->q1, llave(1, 4));
        EXPECT_EQ(c->mediana, llave(1, 2));
        EXPECT_EQ(c->q3, llave(3, 4));
        ++vistos;
    }
    EXPECT_GE(vistos, 4);
}

TEST(Nube, BothRegressionLinesAndTheCentreOfGravity) {
    ErrorRecord err;
    const auto g = nube(err, values({1, 2, 3, 9}), values({2, 4, 6, 9}), freqs({1, 1, 1, 0}));
    ASSERT_TRUE(g) << err.MensajeError;
    EXPECT_EQ(g->puntos.size(), 3u); // the empty row is not a point
    EXPECT_DOUBLE_EQ(g->centro.x, 2.0);
    EXPECT_DOUBLE_EQ(g->centro.y, 4.0);
    EXPECT_DOUBLE_EQ(*g->pendienteYX, 2.0);
    EXPECT_NEAR(*g->ordenadaYX, 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(*g->pendienteXY, 0.5);
    EXPECT_NEAR(*g->ordenadaXY, 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(*g->r, 1.0);

    // A constant Y: no line of X on Y and no r, but the rest is drawn.
    const auto c = nube(err, values({1, 2}), values({5, 5}), freqs({1, 1}));
    ASSERT_TRUE(c);
    EXPECT_FALSE(c->pendienteXY);
    EXPECT_FALSE(c->r);
    ASSERT_TRUE(c->pendienteYX);
    EXPECT_NEAR(*c->pendienteYX, 0.0, 1e-12);
    EXPECT_FALSE(err.failed());

    EXPECT_FALSE(nube(err, values({1}), stats::testing::cells({"mucho"}), freqs({1})));
}

} // namespace
} // namespace kalnor::grafico
