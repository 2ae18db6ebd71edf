// Runs the built kalnor-cli as a user would, on files in a fresh folder.
#include "CliPrueba.h"
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class KalnorCli : public kalnor::testing::CliPrueba {
protected:
    KalnorCli() : CliPrueba("kalnor_cli_") {}

    Resultado cli(const std::vector<std::string>& args,
                  const std::string& entrada = {}) const override {
        return kalnor::testing::ejecutar(QStringLiteral(KALNOR_CLI), args, entrada,
                                         {.esperaMs = 30000});
    }
};

TEST_F(KalnorCli, RawObservationsBecomeAFrequencyTable) {
    const std::string f = ruta("a.mdb");
    ASSERT_EQ(cli({"nueva", "DIS", f}).codigo, 0);
    ASSERT_EQ(cli({"cargar", f, "-"}, "Xi,ni\n2,1\n2,1\n3,1\n5,1\n5,1\n5,1\n").codigo, 0);
    ASSERT_EQ(cli({"recuento", f}).codigo, 0);
    const Resultado tabla = cli({"tabla", f});
    EXPECT_EQ(tabla.codigo, 0);
    EXPECT_EQ(tabla.salida, "Xi,ni\n2,2\n3,1\n5,3\n");
}

TEST_F(KalnorCli, WordsAreTalliedOnlyWhenEqual) {
    const std::string f =
        distribucion("c.mdb", "CAT", "Xi,ni\nverde,1\nazul,1\nverde,1\nVerde,1\n");
    ASSERT_EQ(cli({"recuento", f}).codigo, 0);
    EXPECT_EQ(cli({"tabla", f, "--orden", "Xi"}).salida, "Xi,ni\nazul,1\nVerde,1\nverde,2\n");
}

TEST_F(KalnorCli, TallyLeavesOtherKindsUntouchedWithAMessage) {
    const std::string f = distribucion("x.mdb", "DISDIS", "Xi,Yi,ni\n1,1,1\n1,2,1\n");
    const Resultado r = cli({"recuento", f});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_NE(r.errores.find("DISDIS"), std::string::npos);
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,Yi,ni\n1,1,1\n1,2,1\n");
}

TEST_F(KalnorCli, TallyWithoutDataIsAnError) {
    const std::string f = ruta("vacia.mdb");
    ASSERT_EQ(cli({"nueva", "DIS", f}).codigo, 0);
    const Resultado r = cli({"recuento", f});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("No hay un archivo abierto o no hay datos."), std::string::npos);
}

TEST_F(KalnorCli, NewRefusesToOverwriteUnlessForced) {
    const std::string f = distribucion("a.mdb", "DIS", "Xi,ni\n1,1\n");
    const Resultado r = cli({"nueva", "CON", f});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ya existe"), std::string::npos);
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,ni\n1,1\n");

    EXPECT_EQ(cli({"nueva", "CON", f, "--forzar"}).codigo, 0);
    EXPECT_EQ(cli({"tabla", f}).salida, "LiX,LsX,ni\n");
}

TEST_F(KalnorCli, NewMakesEveryKind) {
    for (const char* tipo :
         {"CAT", "DIS", "CON", "CATCAT", "CATDIS", "CATCON", "DISDIS", "DISCON", "CONCON"}) {
        SCOPED_TRACE(tipo);
        const std::string f = ruta(std::string(tipo) + ".mdb");
        ASSERT_EQ(cli({"nueva", tipo, f}).codigo, 0);
        const Resultado info = cli({"info", f});
        EXPECT_EQ(info.codigo, 0) << info.errores;
        EXPECT_NE(info.salida.find(std::string("Tipo: ") + tipo + "\n"), std::string::npos);
        EXPECT_NE(info.salida.find("Registros: 0\nN: 0\n"), std::string::npos);
    }
}

TEST_F(KalnorCli, InfoShowsKindStatementFieldsRowsAndN) {
    const std::string f = distribucion("a.mdb", "CATCON", "Xi,LiY,LsY,ni\na,0,1,3\nb,1,2,4\n");
    const Resultado r = cli({"info", f});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "Tipo: CATCON\n"
                        "TIPO: Categórica, Continua\n"
                        "CLASE: Dist. BIDIMENSIONAL\n"
                        "Registros: 2\n"
                        "N: 7\n"
                        "Campos: Xi LiY LsY ni\n");
}

TEST_F(KalnorCli, LoadsSemicolonsWithDecimalCommaFromAFile) {
    const std::string f = ruta("a.mdb");
    ASSERT_EQ(cli({"nueva", "CON", f}).codigo, 0);
    std::ofstream(ruta("datos.csv")) << "LiX;LsX;ni\r\n0,5;1,5;2\r\n1,5;2,5;3\r\n";
    const Resultado r = cli({"cargar", f, ruta("datos.csv")});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(cli({"tabla", f}).salida, "LiX,LsX,ni\n0.5,1.5,2\n1.5,2.5,3\n");
}

TEST_F(KalnorCli, BadLineIsRefusedAndNothingIsWritten) {
    const std::string f = distribucion("a.mdb", "DIS", "Xi,ni\n1,1\n");
    const Resultado r = cli({"cargar", f, "-"}, "Xi,ni\n2,1\n3,1\ncuatro,1\n5,1\n");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Línea 4"), std::string::npos) << r.errores;
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,ni\n1,1\n");
}

TEST_F(KalnorCli, NumbersComeOutWithFullPrecision) {
    const std::vector<double> numeros{0.1, 1.0 / 3, 123456789.123456789, 1e-300, -2.5e17, 7};
    std::string csv = "Xi,ni\n";
    for (const double x : numeros) {
        char texto[40];
        const auto fin =
            std::to_chars(texto, texto + sizeof texto, x, std::chars_format::scientific, 20);
        csv += std::string(texto, fin.ptr) + ",1\n";
    }
    const std::string f = distribucion("a.mdb", "DIS", csv);
    std::istringstream salida(cli({"tabla", f}).salida);
    std::string linea;
    std::getline(salida, linea);
    EXPECT_EQ(linea, "Xi,ni");
    for (const double x : numeros) {
        ASSERT_TRUE(std::getline(salida, linea));
        const std::string campo = linea.substr(0, linea.find(','));
        double leido = 0;
        std::from_chars(campo.data(), campo.data() + campo.size(), leido);
        EXPECT_EQ(leido, x) << campo;
    }
    EXPECT_EQ(cli({"tabla", f}).salida.substr(0, 12), "Xi,ni\n0.1,1\n");
}

TEST_F(KalnorCli, TableSortedByAnyField) {
    const std::string f = distribucion("a.mdb", "DIS", "Xi,ni\n3,1\n1,5\n2,3\n");
    EXPECT_EQ(cli({"tabla", f, "--orden", "Xi"}).salida, "Xi,ni\n1,5\n2,3\n3,1\n");
    EXPECT_EQ(cli({"tabla", "--orden", "ni", f}).salida, "Xi,ni\n3,1\n2,3\n1,5\n");
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,ni\n3,1\n1,5\n2,3\n"); // stored order untouched
    const Resultado r = cli({"tabla", f, "--orden", "Zi"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Zi"), std::string::npos);
}

TEST_F(KalnorCli, FilesThatAreNotDistributionsAreRefused) {
    Resultado r = cli({"info", ruta("no-existe.mdb")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("El archivo no existe"), std::string::npos);
    std::ofstream(ruta("texto.mdb")) << "hola\n";
    r = cli({"tabla", ruta("texto.mdb")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no es una distribución"), std::string::npos);
    r = cli({"recuento", KALNOR_TEST_DATA "/access/cat_colores.mdb"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Microsoft Access"), std::string::npos);
}

TEST_F(KalnorCli, BadUsageExitsWithTwoAndTheUsage) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"desconocida"},
                                               {"nueva", "DIS"},
                                               {"nueva", "XYZ", ruta("a.mdb")},
                                               {"cargar", ruta("a.mdb")},
                                               {"tabla"},
                                               {"tabla", ruta("a.mdb"), "--orden"},
                                               {"info"},
                                               {"recuento", "a", "b"}}) {
        const Resultado r = cli(args);
        EXPECT_EQ(r.codigo, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.errores.find("Uso: kalnor-cli"), std::string::npos) << r.errores;
    }
    EXPECT_FALSE(fs::exists(ruta("a.mdb")));
    const Resultado ayuda = cli({"--ayuda"});
    EXPECT_EQ(ayuda.codigo, 0);
    EXPECT_NE(ayuda.salida.find("recuento FICHERO"), std::string::npos);
}

TEST_F(KalnorCli, GiniPrintsTheIndexAndTheLorenzTable) {
    const std::string f =
        distribucion("rentas.mdb", "CON", "LiX,LsX,ni\n40,100,1\n0,10,4\n10,20,3\n20,40,2\n");
    Resultado r = cli({"gini", f});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // Sorted by the class mark; IG = 6/13.
    EXPECT_EQ(r.salida, "IG = 0.46153846153846156\n"
                        "fila,xi,ni,Ni,pi,qi\n"
                        "2,5,4,4,0.4,0.10256410256410256\n"
                        "3,15,3,7,0.7,0.3333333333333333\n"
                        "4,30,2,9,0.9,0.6410256410256411\n"
                        "1,70,1,10,1,1\n");
    r = cli({"gini", f, "--json"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.rfind("{\"IG\": 0.46153846153846156, \"N\": 10, \"filas\": [\n", 0), 0u);
    EXPECT_NE(r.salida.find("{\"fila\": 1, \"x\": 70, \"ni\": 1, \"Ni\": 10, \"pi\": 1, "
                            "\"qi\": 1}\n]}\n"),
              std::string::npos)
        << r.salida;
}

TEST_F(KalnorCli, GiniRefusesNegativeValuesAndZeroTotals) {
    Resultado r = cli({"gini", distribucion("neg.mdb", "DIS", "Xi,ni\n3,1\n-2,4\n")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("valores no negativos"), std::string::npos) << r.errores;
    r = cli({"gini", distribucion("cero.mdb", "DIS", "Xi,ni\n0,5\n")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("Σxᵢ·nᵢ es 0"), std::string::npos) << r.errores;
    r = cli({"gini", distribucion("vacia.mdb", "DIS", "Xi,ni\n")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(cli({"gini"}).codigo, 2);
    EXPECT_EQ(cli({"gini", "a.mdb", "--var", "X"}).codigo, 2);
}

TEST(Ejemplos, EveryExampleOpensAndReads) {
    std::vector<std::string> tipos;
    for (const auto& e : fs::directory_iterator(KALNOR_DAT)) {
        if (e.path().extension() != ".mdb" || e.path().stem() == "Nueva")
            continue;
        SCOPED_TRACE(e.path().string());
        QProcess p;
        p.start(QStringLiteral(KALNOR_CLI), {"info", QString::fromStdString(e.path().string())});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const std::string salida = p.readAllStandardOutput().toStdString();
        tipos.push_back(salida.substr(6, salida.find('\n') - 6));
        EXPECT_EQ(salida.find("Registros: 0\n"), std::string::npos);
    }
    for (const char* tipo : {"CAT", "DIS", "CON", "DISDIS", "DISCON", "CONCON"})
        EXPECT_NE(std::find(tipos.begin(), tipos.end(), tipo), tipos.end()) << tipo;
}

} // namespace
