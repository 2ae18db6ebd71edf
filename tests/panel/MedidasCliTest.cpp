#include "DistribucionPrueba.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

struct Salida {
    int codigo = -1;
    std::string texto;
};

// Runs kalnor-cli with the C locale unless told otherwise.
Salida ejecutar(const std::string& argumentos, const std::string& locale = "C") {
    const std::string orden =
        "LC_ALL=" + locale + " '" KALNOR_CLI "' " + argumentos + " 2>/dev/null";
    Salida s;
    FILE* tubo = popen(orden.c_str(), "r");
    if (!tubo)
        return s;
    std::array<char, 4096> buf{};
    std::size_t leidos = 0;
    while ((leidos = fread(buf.data(), 1, buf.size(), tubo)) > 0)
        s.texto.append(buf.data(), leidos);
    const int estado = pclose(tubo);
    s.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    return s;
}

std::string comillas(const std::string& ruta) {
    return "'" + ruta + "'";
}

QJsonArray enJson(const Salida& s) {
    QJsonParseError e{};
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(s.texto), &e);
    EXPECT_EQ(e.error, QJsonParseError::NoError) << s.texto;
    return d.array();
}

QJsonObject buscar(const QJsonArray& a, const QString& control, int vez = 1) {
    for (const auto& v : a)
        if (v.toObject()["control"].toString() == control && --vez == 0)
            return v.toObject();
    return {};
}

std::string contenido(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Presses of one variable, and the extra ones of two variables.
constexpr int kPulsacionesUni = 1 + 19 + 2 + 3 + 4 + 9 + 99 + 4 + 4;
constexpr int kPulsacionesBi = kPulsacionesUni + 6 + 6 + 6;

void comprobarForma(const QJsonArray& a, bool bidimensional) {
    ASSERT_EQ(a.size(), bidimensional ? kPulsacionesBi : kPulsacionesUni);
    EXPECT_EQ(a.first().toObject()["control"].toString(), "cmd_Muestra");
    for (const auto& v : a) {
        const QJsonObject o = v.toObject();
        EXPECT_EQ(o.size(), 5);
        EXPECT_TRUE(o["control"].isString());
        EXPECT_TRUE(o["nombre"].isString());
        EXPECT_TRUE(o["resultado"].isString());
        EXPECT_TRUE(o["valor"].isDouble() || o["valor"].isNull());
        EXPECT_TRUE(o["error"].isString() || o["error"].isNull());
        // A number on the display always comes with its value.
        bool esNumero = false;
        o["resultado"].toString().toDouble(&esNumero);
        if (esNumero && o["error"].isNull() && !o["nombre"].toString().isEmpty()) {
            EXPECT_TRUE(o["valor"].isDouble()) << o["control"].toString().toStdString();
        }
    }
}

TEST(MedidasCli, EveryExampleOfDat) {
    int ejemplos = 0;
    for (const auto& f : std::filesystem::directory_iterator(KALNOR_DAT)) {
        if (f.path().extension() != ".mdb")
            continue;
        ++ejemplos;
        const std::string ruta = f.path().string();
        const Salida s = ejecutar("medidas " + comillas(ruta) + " --json --punto 1");
        ASSERT_EQ(s.codigo, 0) << ruta;
        const QJsonArray a = enJson(s);
        const bool bi = a.size() > kPulsacionesUni;
        SCOPED_TRACE(ruta);
        comprobarForma(a, bi);
        if (bi) {
            const Salida y = ejecutar("medidas " + comillas(ruta) + " --var Y");
            EXPECT_EQ(y.codigo, 0);
        }
    }
    EXPECT_GE(ejemplos, 6);
}

class MedidasCliTipos : public ::testing::TestWithParam<const char*> {};

TEST_P(MedidasCliTipos, EveryKind) {
    const std::string codigo = GetParam();
    const DistribucionesPrueba archivos("cli_" + codigo);
    const std::map<std::string, std::string> datos{
        {"CAT", "Xi,ni\nrojo,3\nazul,5\nverde,2\n"},
        {"DIS", "Xi,ni\n1,1\n2,1\n3,1\n"},
        {"CON", "LiX,LsX,ni\n0,10,2\n10,20,5\n20,30,3\n"},
        {"CATCAT", "Xi,Yi,ni\nA,x,1\nB,y,2\n"},
        {"CATDIS", "Xi,Yi,ni\nA,1,1\nB,2,2\n"},
        {"CATCON", "Xi,LiY,LsY,ni\nA,0,10,1\nB,10,20,2\n"},
        {"DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n"},
        {"DISCON", "Xi,LiY,LsY,ni\n1,0,10,1\n2,10,20,1\n3,20,30,1\n"},
        {"CONCON", "LiX,LsX,LiY,LsY,ni\n0,2,0,4,1\n2,4,4,8,1\n4,6,8,12,1\n"},
    };
    const std::string ruta = archivos.crear("d.mdb", codigo, datos.at(codigo));
    const std::string antes = contenido(ruta);
    const Salida s = ejecutar("medidas " + comillas(ruta) + " --json");
    ASSERT_EQ(s.codigo, 0);
    const bool bi = codigo.size() == 6;
    comprobarForma(enJson(s), bi);
    const Salida texto = ejecutar("medidas " + comillas(ruta));
    EXPECT_EQ(std::count(texto.texto.begin(), texto.texto.end(), '\n'),
              bi ? kPulsacionesBi : kPulsacionesUni);
    EXPECT_EQ(contenido(ruta), antes); // sorting changes only the view
}

INSTANTIATE_TEST_SUITE_P(Tipos, MedidasCliTipos,
                         ::testing::Values("CAT", "DIS", "CON", "CATCAT", "CATDIS", "CATCON",
                                           "DISDIS", "DISCON", "CONCON"));

class MedidasCliSalida : public ::testing::Test {
protected:
    MedidasCliSalida() : archivos("cli_salida") {
        dis = archivos.crear("dis.mdb", "DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
        disdis = archivos.crear("disdis.mdb", "DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
        cat = archivos.crear("cat.mdb", "CAT", "Xi,ni\nrojo,3\nazul,5\n");
    }
    DistribucionesPrueba archivos;
    std::string dis, disdis, cat;
};

TEST_F(MedidasCliSalida, OneLinePerPress) {
    const Salida s = ejecutar("medidas " + comillas(dis));
    ASSERT_EQ(s.codigo, 0);
    EXPECT_EQ(s.texto.rfind("Tamaño Muestral\t3\nMedia Aritmética\t2.0\n", 0), 0u) << s.texto;
    EXPECT_NE(s.texto.find("\nVarianza\t0.667\n"), std::string::npos);
    EXPECT_NE(s.texto.find("\nCuartil  Q(2)\t2.0\n"), std::string::npos);
    EXPECT_NE(s.texto.find("\nMomento respecto de la Media : m(4)\t"), std::string::npos);
}

TEST_F(MedidasCliSalida, ErrorTextFollowsTheQuestionMark) {
    const Salida s = ejecutar("medidas " + comillas(cat));
    ASSERT_EQ(s.codigo, 0);
    EXPECT_NE(s.texto.find("\nMedia Aritmética\t?\t"), std::string::npos) << s.texto;
    EXPECT_NE(s.texto.find("\nModa\tazul\n"), std::string::npos);
    EXPECT_NE(s.texto.find("\nMediana\t?\n"), std::string::npos);
}

TEST_F(MedidasCliSalida, RegionalDecimalSeparator) {
    const Salida s = ejecutar("medidas " + comillas(dis), "es_ES.UTF-8");
    EXPECT_NE(s.texto.find("\nVarianza\t0,667\n"), std::string::npos) << s.texto;
}

TEST_F(MedidasCliSalida, JsonCarriesFullPrecision) {
    const Salida s = ejecutar("medidas " + comillas(dis) + " --json");
    EXPECT_NE(s.texto.find("\"valor\": 0.66666666666666663"), std::string::npos) << s.texto;
    const QJsonArray a = enJson(s);
    const QJsonObject d7 = buscar(a, "cboDECILES:D(7)");
    EXPECT_EQ(d7["nombre"].toString(), "Decil  D(7)");
    const QJsonObject n = buscar(a, "cmd_Muestra");
    EXPECT_EQ(n["resultado"].toString(), "3");
    EXPECT_EQ(n["valor"].toDouble(), 3.0);
    EXPECT_TRUE(n["error"].isNull());
}

TEST_F(MedidasCliSalida, TwoVariablesWithPointAndActiveY) {
    const QJsonArray a = enJson(ejecutar("medidas " + comillas(disdis) + " --json --punto 8"));
    const QJsonObject recta = buscar(a, "cmdTECLAbi(3)");
    EXPECT_EQ(recta["nombre"].toString(), "Recta Regresión: Y sobre X");
    EXPECT_EQ(recta["resultado"].toString(), "16.0");
    EXPECT_EQ(buscar(a, "cmdTECLAbi(3)", 2)["nombre"].toString(), "Recta Regresión: X sobre Y");
    EXPECT_EQ(buscar(a, "cmdTECLAbi(2)")["nombre"].toString(), "Coef. de Regresión Y");
    EXPECT_EQ(buscar(a, "cmdTECLAbi(2)", 2)["nombre"].toString(), "Coef. de Regresión X");
    EXPECT_EQ(buscar(a, "cboMOMcentralBI:m(1,1)")["resultado"].toString(), "1.333");

    const QJsonArray y = enJson(ejecutar("medidas " + comillas(disdis) + " --json --var Y"));
    EXPECT_EQ(buscar(y, "cmdTECLA(0)")["resultado"].toString(), "4.0");
    const QJsonObject sinPunto = buscar(y, "cmdTECLAbi(3)");
    EXPECT_EQ(sinPunto["resultado"].toString(), "0");
    EXPECT_TRUE(sinPunto["valor"].isNull());
}

TEST_F(MedidasCliSalida, RefusalsAndBadUsage) {
    EXPECT_EQ(ejecutar("medidas " + comillas(dis) + " --var Y").codigo, 1);
    EXPECT_EQ(ejecutar("medidas " + comillas(dis) + " --var Z").codigo, 2);
    EXPECT_EQ(ejecutar("medidas").codigo, 2);
    EXPECT_EQ(ejecutar("medidas " + comillas(dis) + " --otra").codigo, 2);
    EXPECT_EQ(ejecutar("medidas /no/existe.mdb").codigo, 1);
}

TEST_F(MedidasCliSalida, WorkingUnderEachPress) {
    const Salida s = ejecutar("medidas " + comillas(dis) + " --pasos");
    ASSERT_EQ(s.codigo, 0);
    EXPECT_EQ(s.texto.rfind("Tamaño Muestral\t3\n"
                            "    N = Σnᵢ\n"
                            "    N = 3\n"
                            "Media Aritmética\t2.0\n"
                            "    x̄ = Σxᵢ·nᵢ / N\n"
                            "    Σxᵢ·nᵢ = 1·1 + 2·1 + 3·1 = 6\n"
                            "    N = 3\n"
                            "    x̄ = 6 / 3\n"
                            "    x̄ = 2.0\n",
                            0),
              0u)
        << s.texto;
    // Without the option, not a line more.
    const Salida sin = ejecutar("medidas " + comillas(dis));
    EXPECT_EQ(sin.texto.find("\n    "), std::string::npos);
    std::string soloPulsaciones;
    std::istringstream lineas(s.texto);
    for (std::string l; std::getline(lineas, l);)
        if (!l.starts_with("    "))
            soloPulsaciones += l + '\n';
    EXPECT_EQ(soloPulsaciones, sin.texto);
}

TEST_F(MedidasCliSalida, JsonWorkingEndsInTheResult) {
    const QJsonArray a =
        enJson(ejecutar("medidas " + comillas(disdis) + " --json --pasos --punto 8"));
    ASSERT_EQ(a.size(), kPulsacionesBi);
    for (const auto& v : a) {
        const QJsonObject o = v.toObject();
        const QJsonArray pasos = o["pasos"].toArray();
        ASSERT_GE(pasos.size(), 2) << o["control"].toString().toStdString();
        EXPECT_TRUE(pasos.last().toString().endsWith(o["resultado"].toString()))
            << o["control"].toString().toStdString();
    }
    EXPECT_EQ(buscar(a, "cmdTECLA(5)")["pasos"].toArray().last().toString(), "σ² = 0.667");
    EXPECT_FALSE(buscar(enJson(ejecutar("medidas " + comillas(dis) + " --json")), "cmdTECLA(0)")
                     .contains("pasos"));
}

TEST_F(MedidasCliSalida, GiniWorking) {
    const Salida s = ejecutar("gini " + comillas(dis) + " --pasos");
    ASSERT_EQ(s.codigo, 0);
    EXPECT_NE(s.texto.find("\n    IG = Σ(pᵢ − qᵢ) / Σpᵢ, i = 1 … k − 1\n"), std::string::npos)
        << s.texto;
    EXPECT_TRUE(s.texto.ends_with("\n    IG = 0.33333333 / 1\n    IG = 0.333\n")) << s.texto;
    const QJsonDocument j = QJsonDocument::fromJson(
        QByteArray::fromStdString(ejecutar("gini " + comillas(dis) + " --json --pasos").texto));
    EXPECT_EQ(j.object()["pasos"].toArray().last().toString(), "IG = 0.333");
    EXPECT_EQ(ejecutar("gini " + comillas(dis)).texto.find("    "), std::string::npos);
}

// kalnor-cli informe prints the notes' reports, heading without markup.
TEST(InformeCli, PrintsTheReportLines) {
    DistribucionesPrueba archivos("informe_cli");
    const std::string f = archivos.crear("bi.mdb", "DISDIS", "Xi,Yi,ni\n1,2,1\n2,3,2\n3,5,1\n");
    const Salida s = ejecutar("informe " + comillas(f) + " 3");
    EXPECT_EQ(s.codigo, 0);
    std::istringstream lineas(s.texto);
    std::vector<std::string> l;
    for (std::string linea; std::getline(lineas, linea);)
        l.push_back(linea);
    ASSERT_EQ(l.size(), 6u) << s.texto;
    EXPECT_EQ(l[0], "");
    EXPECT_EQ(l[1], "=== ANÁLISIS BIVARIANTE (X, Y) ===");
    EXPECT_EQ(l[2].rfind("- Coef. de Correlación Lineal  ...  ", 0), 0u) << l[2];
    EXPECT_EQ(l[4].rfind("- Coef. de Regresión Y  ", 0), 0u);
    EXPECT_EQ(l[5].rfind("- Coef. de Regresión X  ", 0), 0u);
    const Salida y = ejecutar("informe " + comillas(f) + " 3 --var Y");
    EXPECT_NE(y.texto.find("Regresión X  ..........  "), std::string::npos);
    EXPECT_LT(y.texto.find("Regresión X"), y.texto.find("Regresión Y"));
    const Salida dis = ejecutar("informe " + comillas(f) + " 1");
    EXPECT_NE(dis.texto.find("=== MEDIDAS DE DISPERSIÓN (var. X) ==="), std::string::npos);
    EXPECT_NE(dis.texto.find("- Recorrido SemiIntercuartílico  .  "), std::string::npos);
}

TEST(InformeCli, RefusesBadArguments) {
    DistribucionesPrueba archivos("informe_cli_mal");
    const std::string f = archivos.crear("uni.mdb", "DIS", "Xi,ni\n1,1\n");
    EXPECT_EQ(ejecutar("informe " + comillas(f) + " 4").codigo, 2);
    EXPECT_EQ(ejecutar("informe " + comillas(f)).codigo, 2);
    EXPECT_EQ(ejecutar("informe " + comillas(f) + " 0 --var Z").codigo, 2);
    EXPECT_EQ(ejecutar("informe " + comillas(f) + " 0 --var Y").codigo, 1);
    EXPECT_EQ(ejecutar("informe /no/existe.mdb 0").codigo, 1);
    EXPECT_EQ(ejecutar("informe " + comillas(f) + " 2").codigo, 0);
}

} // namespace
} // namespace kalnor
