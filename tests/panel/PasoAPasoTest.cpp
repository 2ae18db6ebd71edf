#include "DistribucionPrueba.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "panel/PasoAPaso.h"
#include "stats/Concentration.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

class PuntoFijo : public PreguntaValor {
public:
    std::optional<QString> pedir(const QString&, const QString&) override {
        return QStringLiteral("1");
    }
};

class Pasos : public ::testing::Test {
protected:
    // The test's name as a folder name (parameterized names hold a '/').
    static std::string nombreCarpeta() {
        std::string n = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(n.begin(), n.end(), '/', '_');
        return n;
    }

    Pasos() : archivos(nombreCarpeta()), c(doc, "/bin/") {
        c.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
        c.setPreguntaValor(&punto);
        c.Comenzar();
    }

    void abrir(const std::string& codigo, const std::string& csv) {
        ASSERT_TRUE(
            doc.AbrirBase(archivos.crear("d" + std::to_string(++ficheros) + ".mdb", codigo, csv)))
            << doc.error.MensajeError;
    }
    QStringList tecla(int i) {
        c.cmdTECLA_Click(i);
        return c.pasos();
    }
    QStringList teclaM(int i) {
        c.cmdTECLAm_Click(i);
        return c.pasos();
    }

    DistribucionesPrueba archivos;
    Documento doc;
    PuntoFijo punto;
    ControladorCalculadora c;
    int ficheros = 0;
};

// --- hand-worked working ----------------------------------------------------

TEST_F(Pasos, NoWorkingBeforeAnyPressNorAfterClearing) {
    EXPECT_TRUE(c.pasos().isEmpty());
    abrir("DIS", "Xi,ni\n1,2\n2,3\n4,1\n");
    EXPECT_FALSE(tecla(0).isEmpty());
    c.cmd_Cls_Click();
    EXPECT_TRUE(c.pasos().isEmpty());
}

TEST_F(Pasos, TheGiniKeyKeepsItsNoticeAndTeachesTheIndex) {
    abrir("DIS", "Xi,ni\n3,1\n1,1\n2,1\n");
    const QStringList p = tecla(16);
    EXPECT_EQ(c.estado().RESULTADO, "0"); // the display stays cleared
    EXPECT_TRUE(c.estado().lbl_Mensaje[5].isEmpty());
    ASSERT_EQ(p.size(), 10) << p.join(" | ").toStdString();
    EXPECT_TRUE(p[0].contains("GRF"));
    EXPECT_EQ(p[3], "fila 2: xᵢ = 1, nᵢ = 1, Nᵢ = 1, pᵢ = 0,33333333, qᵢ = 0,16666667");
    EXPECT_EQ(p.last(), "IG = 0,333");

    abrir("DIS", "Xi,ni\n-1,1\n2,1\n");
    EXPECT_EQ(tecla(16).last(), "IG = ?");
    EXPECT_EQ(c.estado().RESULTADO, "0");
    EXPECT_TRUE(c.estado().lbl_Mensaje[0].isEmpty()); // the refusal is the working's alone

    tecla(0);
    c.setAnotarPasos(false);
    EXPECT_TRUE(tecla(16).isEmpty());
}

TEST_F(Pasos, MeanAndVariance) {
    abrir("DIS", "Xi,ni\n1,2\n2,3\n4,1\n");
    EXPECT_EQ(tecla(0), QStringList({"x̄ = Σxᵢ·nᵢ / N", "Σxᵢ·nᵢ = 1·2 + 2·3 + 4·1 = 12", "N = 6",
                                     "x̄ = 12 / 6", "x̄ = 2,0"}));
    EXPECT_EQ(tecla(5), QStringList({"σ² = Σ(xᵢ − x̄)²·nᵢ / N", "Σxᵢ·nᵢ = 1·2 + 2·3 + 4·1 = 12",
                                     "N = 6", "x̄ = Σxᵢ·nᵢ / N = 12 / 6 = 2",
                                     "Σ(xᵢ − x̄)²·nᵢ = (1 − 2)²·2 + (2 − 2)²·3 + (4 − 2)²·1 = 6",
                                     "σ² = 6 / 6", "σ² = 1,0"}));
}

TEST_F(Pasos, LongSumsShowTheirEnds) {
    std::string csv = "Xi,ni\n";
    for (int x = 1; x <= 20; ++x)
        csv += std::to_string(x) + ",1\n";
    abrir("DIS", csv);
    const QStringList p = tecla(0);
    ASSERT_GE(p.size(), 2);
    EXPECT_EQ(p[1], "Σxᵢ·nᵢ = 1·1 + 2·1 + 3·1 + … + 19·1 + 20·1 = 210");
    EXPECT_EQ(p.last(), "x̄ = 10,5");
}

TEST_F(Pasos, QuantileAtAnExactBoundaryTakesTheMidpoint) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n5,1\n");
    EXPECT_EQ(teclaM(0),
              QStringList({"Me: el valor que deja N/2 observaciones por debajo (k = 1, q = 2)",
                           "k·N/q = 1·4/2 = 2",
                           "Nᵢ alcanza o pasa 2 en la fila 2: Nᵢ₋₁ = 1, nᵢ = 1, Nᵢ = 2",
                           "Nᵢ = k·N/q exactamente: se toma el punto medio de xᵢ y xᵢ₊₁ (filas "
                           "2 y 3)",
                           "Me = (2 + 3) / 2", "Me = 2,5"}));
}

TEST_F(Pasos, QuantilePastThePositionTakesThatValue) {
    abrir("DIS", "Xi,ni\n1,2\n2,3\n4,1\n");
    c.cboCUARTILES_Click(0);
    EXPECT_EQ(c.pasos(),
              QStringList({"Q(1): el valor que deja k·N/q observaciones por debajo (k = 1, q = 4)",
                           "k·N/q = 1·6/4 = 1,5",
                           "Nᵢ alcanza o pasa 1,5 en la fila 1: Nᵢ₋₁ = 0, nᵢ = 2, Nᵢ = 2",
                           "Nᵢ pasa k·N/q: Q(1) es el valor de la fila 1, xᵢ = 1", "Q(1) = 1,0"}));
}

TEST_F(Pasos, GroupedMedianInterpolates) {
    abrir("CON", "LiX,LsX,ni\n0,10,2\n10,20,5\n20,30,3\n");
    const QStringList p = teclaM(0);
    ASSERT_EQ(p.size(), 6);
    EXPECT_EQ(p[1], "k·N/q = 1·10/2 = 5");
    EXPECT_EQ(p[2], "Nᵢ alcanza o pasa 5 en la fila 2: Nᵢ₋₁ = 2, nᵢ = 5, Nᵢ = 7");
    EXPECT_EQ(p[3], "Clase [Lᵢ, Lᵢ₊₁) = [10, 20), aᵢ = 10");
    EXPECT_EQ(p[4], "Me = Lᵢ + ((k·N/q − Nᵢ₋₁)/nᵢ)·aᵢ = 10 + ((5 − 2)/5)·10");
    EXPECT_EQ(p[5], "Me = 16,0");
}

TEST_F(Pasos, GroupedModeWithTheModalClassFirstMiddleAndLast) {
    const QString formula = "Mo = Lᵢ + Δ₁/(Δ₁ + Δ₂)·aᵢ, en la clase de mayor frecuencia";
    abrir("CON", "LiX,LsX,ni\n0,10,6\n10,20,2\n20,30,1\n");
    EXPECT_EQ(teclaM(1),
              QStringList({formula, "Clase modal: fila 1, [Lᵢ, Lᵢ₊₁) = [0, 10), nᵢ = 6",
                           "Δ₁ = nᵢ − nᵢ₋₁ = 6 − 0 = 6", "Δ₂ = nᵢ − nᵢ₊₁ = 6 − 2 = 4",
                           "aᵢ = Lᵢ₊₁ − Lᵢ = 10 − 0 = 10", "Mo = 0 + 6/(6 + 4)·10", "Mo = 6,0"}));
    abrir("CON", "LiX,LsX,ni\n0,10,2\n10,20,5\n20,30,3\n");
    EXPECT_EQ(teclaM(1), QStringList({formula, "Clase modal: fila 2, [Lᵢ, Lᵢ₊₁) = [10, 20), nᵢ = 5",
                                      "Δ₁ = nᵢ − nᵢ₋₁ = 5 − 2 = 3", "Δ₂ = nᵢ − nᵢ₊₁ = 5 − 3 = 2",
                                      "aᵢ = Lᵢ₊₁ − Lᵢ = 20 − 10 = 10", "Mo = 10 + 3/(3 + 2)·10",
                                      "Mo = 16,0"}));
    abrir("CON", "LiX,LsX,ni\n0,10,1\n10,20,2\n20,30,6\n");
    EXPECT_EQ(teclaM(1), QStringList({formula, "Clase modal: fila 3, [Lᵢ, Lᵢ₊₁) = [20, 30), nᵢ = 6",
                                      "Δ₁ = nᵢ − nᵢ₋₁ = 6 − 2 = 4", "Δ₂ = nᵢ − nᵢ₊₁ = 6 − 0 = 6",
                                      "aᵢ = Lᵢ₊₁ − Lᵢ = 30 − 20 = 10", "Mo = 20 + 4/(4 + 6)·10",
                                      "Mo = 24,0"}));
}

// --- failures in plain words ------------------------------------------------

TEST_F(Pasos, HarmonicMeanWithAZero) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n0,1\n");
    EXPECT_EQ(tecla(1), QStringList({"H = N / Σnᵢ/xᵢ",
                                     "La media armónica no existe: el valor xᵢ = 0 de la fila 3 "
                                     "hace infinita la suma Σnᵢ/xᵢ",
                                     "H = ?"}));
}

TEST_F(Pasos, SeveralModes) {
    abrir("DIS", "Xi,ni\n1,2\n2,2\n");
    EXPECT_EQ(teclaM(1), QStringList({"Mo = el valor xᵢ de mayor frecuencia nᵢ",
                                      "La mayor frecuencia, nᵢ = 2, la tienen 2 filas",
                                      "Hay varias modas: Multimodal"}));
}

TEST_F(Pasos, QuasiVarianceOfOneObservation) {
    abrir("DIS", "Xi,ni\n5,1\n");
    EXPECT_EQ(tecla(7), QStringList({"S² = Σ(xᵢ − x̄)²·nᵢ / (N − 1)", "Σxᵢ·nᵢ = 5·1 = 5", "N = 1",
                                     "x̄ = Σxᵢ·nᵢ / N = 5 / 1 = 5", "Σ(xᵢ − x̄)²·nᵢ = (5 − 5)²·1 = 0",
                                     "La cuasivarianza necesita al menos dos observaciones (N − 1 "
                                     "= 0)",
                                     "S² = ?"}));
}

TEST_F(Pasos, CategoricalVariable) {
    abrir("CAT", "Xi,ni\nrojo,3\nazul,5\n");
    const QStringList me = teclaM(0);
    ASSERT_GE(me.size(), 2);
    EXPECT_EQ(me[me.size() - 2], "Una variable categórica no tiene mediana");
    EXPECT_EQ(me.last(), "Me = ?");
    const QStringList media = tecla(0);
    ASSERT_GE(media.size(), 2);
    EXPECT_TRUE(media[media.size() - 2].startsWith("El valor de la fila 1 no es un número"))
        << media.join('\n').toStdString();
    EXPECT_EQ(media.last(), "x̄ = ?");
    // The most frequent word is a mode all the same.
    EXPECT_EQ(teclaM(1).last(), "Mo = azul");
}

TEST_F(Pasos, EmptyTable) {
    abrir("DIS", "");
    EXPECT_EQ(tecla(0),
              QStringList({"x̄ = Σxᵢ·nᵢ / N", "La tabla no tiene datos: No hay datos suficientes",
                           "x̄ = ?"}));
}

TEST(PasosGini, HandWorkedIndex) {
    stats::ErrorRecord err;
    const stats::ValueList x{stats::CellValue::number(1), stats::CellValue::number(2),
                             stats::CellValue::number(3)};
    const auto c = stats::IndiceGini(err, stats::VariableType::Discrete, x, {}, {},
                                     stats::FrequencyList{1, 1, 1});
    ASSERT_TRUE(c) << err.MensajeError;
    const QStringList p = pasosGini(*c, QLocale(QLocale::Spanish, QLocale::Spain));
    ASSERT_EQ(p.size(), 9);
    EXPECT_EQ(p[0], "IG = Σ(pᵢ − qᵢ) / Σpᵢ, i = 1 … k − 1");
    EXPECT_EQ(p[2], "fila 1: xᵢ = 1, nᵢ = 1, Nᵢ = 1, pᵢ = 0,33333333, qᵢ = 0,16666667");
    EXPECT_EQ(p[4], "fila 3: xᵢ = 3, nᵢ = 1, Nᵢ = 3, pᵢ = 1, qᵢ = 1");
    EXPECT_EQ(p[5], "Σpᵢ = 1");
    EXPECT_EQ(p[6], "Σ(pᵢ − qᵢ) = 0,33333333");
    EXPECT_EQ(p[7], "IG = 0,33333333 / 1");
    EXPECT_EQ(p[8], "IG = 0,333");
}

// --- the working always ends in the displayed result ------------------------

// Every key and list of the calculator, as kalnor-cli medidas presses them.
std::vector<std::function<void(ControladorCalculadora&)>> pulsaciones(bool bidimensional) {
    using C = ControladorCalculadora;
    std::vector<std::function<void(C&)>> p;
    p.push_back([](C& c) { c.cmd_Muestra_Click(); });
    for (int i = 0; i < 20; ++i)
        if (i != 16)
            p.push_back([i](C& c) { c.cmdTECLA_Click(i); });
    p.push_back([](C& c) { c.cmdTECLAm_Click(0); });
    p.push_back([](C& c) { c.cmdTECLAm_Click(1); });
    std::vector<Selector> listas{Selector::CUARTILES,   Selector::QUINTILES, Selector::DECILES,
                                 Selector::PERCENTILES, Selector::MOMorigen, Selector::MOMcentral};
    if (bidimensional) {
        for (int i : {0, 1, 2, 2, 3, 3})
            p.push_back([i](C& c) { c.cmdTECLAbi_Click(i); });
        listas.push_back(Selector::MOMorigenBI);
        listas.push_back(Selector::MOMcentralBI);
    }
    for (Selector s : listas)
        for (int i = 0; i < itemsSelector(s).size(); ++i)
            p.push_back([s, i](C& c) { c.seleccionar(s, i); });
    return p;
}

// Presses everything; returns how many presses had a working.
int comprobarCadaPulsacion(ControladorCalculadora& c, bool bidimensional, const std::string& que) {
    int conPasos = 0;
    int n = 0;
    for (const auto& pulsar : pulsaciones(bidimensional)) {
        pulsar(c);
        ++n;
        const QStringList p = c.pasos();
        const QString resultado = c.estado().RESULTADO;
        EXPECT_GE(p.size(), 2) << que << " pulsación " << n << ": "
                               << c.estado().lbl_Mensaje[5].toStdString();
        if (p.isEmpty())
            continue;
        ++conPasos;
        EXPECT_TRUE(p.last().endsWith(resultado))
            << que << " pulsación " << n << " (" << c.estado().lbl_Mensaje[5].toStdString()
            << "): " << p.join(" | ").toStdString() << " / " << resultado.toStdString();
    }
    return conPasos;
}

TEST_F(Pasos, EveryPressOfEveryExampleEndsInTheDisplayedResult) {
    int ejemplos = 0;
    for (const auto& f : std::filesystem::directory_iterator(KALNOR_DAT)) {
        if (f.path().extension() != ".mdb")
            continue;
        ++ejemplos;
        // A copy: the keys sort the table and some write to it.
        const auto copia = archivos.dir() / f.path().filename();
        std::filesystem::copy_file(f.path(), copia,
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(doc.AbrirBase(copia.string())) << doc.error.MensajeError;
        const bool bi = doc.esBidimensional();
        EXPECT_GT(comprobarCadaPulsacion(c, bi, f.path().filename().string()), 0);
        if (bi) {
            c.cmdVARIABLE_Click();
            comprobarCadaPulsacion(c, bi, f.path().filename().string() + " (Y)");
        }
    }
    EXPECT_GE(ejemplos, 6);
}

// A random table of kind `codigo`: values, classes and frequencies (some 0).
std::string tablaAleatoria(const std::string& codigo, std::mt19937& azar) {
    std::uniform_int_distribution<int> filasAzar(1, 12), frecuencia(0, 6), valor(-20, 40),
        ancho(1, 10);
    const std::string tx = codigo.substr(0, 3);
    const std::string ty = codigo.size() == 6 ? codigo.substr(3) : std::string();
    std::string csv = tx == "CON" ? "LiX,LsX" : "Xi";
    if (!ty.empty())
        csv += ty == "CON" ? ",LiY,LsY" : ",Yi";
    csv += ",ni\n";
    int limites[2] = {valor(azar), valor(azar)};
    const auto columna = [&](const std::string& tipo, int& limite, int fila) {
        if (tipo == "CON") {
            const int a = ancho(azar);
            limite += a;
            return std::to_string(limite - a) + "," + std::to_string(limite);
        }
        if (tipo == "CAT")
            return std::string(1, static_cast<char>('A' + fila % 5));
        return std::to_string(valor(azar));
    };
    const int filas = filasAzar(azar);
    for (int i = 0; i < filas; ++i) {
        std::string fila = columna(tx, limites[0], i);
        if (!ty.empty())
            fila += "," + columna(ty, limites[1], i);
        // At least one observation in every table.
        fila += "," + std::to_string(i == 0 ? 1 + frecuencia(azar) : frecuencia(azar));
        csv += fila + "\n";
    }
    return csv;
}

class PasosAleatorios : public Pasos, public ::testing::WithParamInterface<const char*> {};

TEST_P(PasosAleatorios, EveryPressEndsInTheDisplayedResult) {
    const std::string codigo = GetParam();
    std::mt19937 azar(20261207);
    for (int d = 0; d < 50; ++d) {
        const std::string csv = tablaAleatoria(codigo, azar);
        abrir(codigo, csv);
        comprobarCadaPulsacion(c, codigo.size() == 6, codigo + " " + csv);
        if (::testing::Test::HasFailure())
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Tipos, PasosAleatorios,
                         ::testing::Values("DIS", "CON", "CATDIS", "CATCON", "DISDIS", "DISCON",
                                           "CONCON"));

} // namespace
} // namespace kalnor
