#include "../panel/DistribucionPrueba.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

int ejecutar(const std::string& argumentos) {
    const std::string orden = "LC_ALL=C '" KALNOR_CLI "' " + argumentos + " >/dev/null 2>&1";
    const int estado = std::system(orden.c_str());
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

bool esPng(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    char firma[8] = {};
    f.read(firma, 8);
    return f && std::string(firma + 1, 3) == "PNG" && std::filesystem::file_size(ruta) > 2000;
}

class GraficoCli : public ::testing::Test {
protected:
    GraficoCli() : archivos(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
    std::string salida(const std::string& nombre) const {
        return (archivos.dir() / nombre).string();
    }
    DistribucionesPrueba archivos;
};

TEST_F(GraficoCli, WritesAPngForEveryType) {
    const std::string d = archivos.crear("d.mdb", "CAT", "Xi,ni\nRojo,3\nVerde,5\nAzul,2\n");
    for (const std::string tipo : {"barras", "sectores", "lineas"}) {
        for (const std::string estilo : {"0", "3"}) {
            const std::string png = salida(tipo + estilo + ".png");
            EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo " + tipo + " --estilo " + estilo +
                               " --paleta 1 --rejilla 3 --png '" + png +
                               "' --ancho 400 --alto 300"),
                      0)
                << tipo;
            EXPECT_TRUE(esPng(png)) << tipo;
        }
    }
}

TEST_F(GraficoCli, ClassroomChartsAsPngsAndTheirRefusals) {
    const std::string con =
        archivos.crear("c.mdb", "CON", "LiX,LsX,ni\n0,10,3\n10,20,7\n20,40,6\n40,50,2\n");
    const std::string bi = archivos.crear("b.mdb", "DISDIS", "Xi,Yi,ni\n1,2,3\n2,3,1\n4,4,2\n");
    for (const std::string tipo :
         {"histograma", "poligono", "histograma+poligono", "ojiva", "caja", "lorenz"}) {
        const std::string png = salida(tipo + ".png");
        EXPECT_EQ(ejecutar("grafico '" + con + "' --tipo '" + tipo +
                           "' --paleta 2 --rejilla 1 --png '" + png + "'"),
                  0)
            << tipo;
        EXPECT_TRUE(esPng(png)) << tipo;
    }
    EXPECT_EQ(
        ejecutar("grafico '" + con + "' --tipo ojiva --estilo 3 --png '" + salida("o.png") + "'"),
        0);
    EXPECT_EQ(
        ejecutar("grafico '" + bi + "' --tipo nube --estilo 1 --png '" + salida("n.png") + "'"), 0);
    EXPECT_EQ(
        ejecutar("grafico '" + bi + "' --tipo nube --estilo 4 --png '" + salida("m.png") + "'"), 0);
    EXPECT_EQ(ejecutar("grafico '" + bi + "' --tipo barras --estilo 4 --png x.png"), 2);
    EXPECT_TRUE(esPng(salida("n.png")));
    // A histogram has no styles; the box's list has two.
    EXPECT_EQ(ejecutar("grafico '" + con + "' --tipo histograma --estilo 1 --png x.png"), 2);
    EXPECT_EQ(ejecutar("grafico '" + con + "' --tipo caja --estilo 2 --png x.png"), 2);
    // Words have no box, one variable has no scatter.
    const std::string cat = archivos.crear("w.mdb", "CAT", "Xi,ni\nRojo,3\n");
    EXPECT_EQ(ejecutar("grafico '" + cat + "' --tipo caja --png '" + salida("w.png") + "'"), 1);
    EXPECT_FALSE(std::filesystem::exists(salida("w.png")));
    EXPECT_EQ(ejecutar("grafico '" + con + "' --tipo nube --png '" + salida("u.png") + "'"), 1);
    EXPECT_FALSE(std::filesystem::exists(salida("u.png")));
}

TEST_F(GraficoCli, SecondVariableOfATwoVariableTable) {
    const std::string d = archivos.crear("b.mdb", "DISCON", "Xi,LiY,LsY,ni\n1,0,10,2\n2,10,20,3\n");
    EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo barras --var Y --png '" + salida("y.png") + "'"),
              0);
    EXPECT_TRUE(esPng(salida("y.png")));
    const std::string u = archivos.crear("u.mdb", "DIS", "Xi,ni\n1,2\n");
    EXPECT_EQ(ejecutar("grafico '" + u + "' --tipo barras --var Y --png '" + salida("u.png") + "'"),
              1);
}

TEST_F(GraficoCli, RefusalsLeaveNoImage) {
    const std::string vacia = archivos.crear("v.mdb", "DIS", "");
    EXPECT_EQ(ejecutar("grafico '" + vacia + "' --tipo barras --png '" + salida("v.png") + "'"), 1);
    EXPECT_FALSE(std::filesystem::exists(salida("v.png")));
    const std::string d = archivos.crear("d.mdb", "DIS", "Xi,ni\n1,2\n");
    EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo tarta --png '" + salida("t.png") + "'"), 2);
    EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo barras --estilo 4 --png x.png"), 2);
    EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo barras --paleta dos --png x.png"), 2);
    EXPECT_EQ(ejecutar("grafico '" + d + "' --tipo barras"), 2);
    std::ofstream(salida("no.mdb")) << "esto no es una distribución";
    EXPECT_EQ(ejecutar("grafico '" + salida("no.mdb") + "' --tipo barras --png '" +
                       salida("n.png") + "'"),
              1);
    EXPECT_FALSE(std::filesystem::exists(salida("n.png")));
}

// Without the drawing program beside it, kalnor-cli says so and fails; its
// other commands still work.
TEST_F(GraficoCli, WithoutTheDrawingProgramTheCommandFailsAndSaysWhy) {
    const std::filesystem::path solo = archivos.dir() / "solo";
    std::filesystem::create_directories(solo);
    const std::filesystem::path cli = solo / "kalnor-cli";
    std::filesystem::copy_file(KALNOR_CLI, cli);
    const std::string d = archivos.crear("d.mdb", "DIS", "Xi,ni\n1,2\n");
    const std::string mensajes = salida("mensajes.txt");
    const std::string orden = "'" + cli.string() + "' grafico '" + d + "' --tipo barras --png '" +
                              salida("b.png") + "' 2>'" + mensajes + "'";
    const int estado = std::system(orden.c_str());
    ASSERT_TRUE(WIFEXITED(estado));
    EXPECT_EQ(WEXITSTATUS(estado), 1);
    std::ifstream f(mensajes);
    const std::string texto((std::istreambuf_iterator<char>(f)), {});
    EXPECT_NE(texto.find("no se puede ejecutar"), std::string::npos) << texto;
    EXPECT_FALSE(std::filesystem::exists(salida("b.png")));
    const std::string info = "'" + cli.string() + "' info '" + d + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(info.c_str()), 0);
}

} // namespace
} // namespace kalnor
