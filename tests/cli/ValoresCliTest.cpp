// What kalnor-cli does with files a student may send: counts and values the
// measures cannot take, huge cells, and tables with a value per row on both
// sides, each run as a user would (the big ones under a memory limit).
#include "CliPrueba.h"
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ValoresCli : public kalnor::testing::CliPrueba {
protected:
    ValoresCli() : CliPrueba("kalnor_valores_cli_") {}

    // Runs kalnor-cli; with `limitado`, in 1 GB of address space and two
    // minutes of processor time, so that a grid built whole fails the test
    // instead of swapping the machine.
    Resultado cli(const std::vector<std::string>& args,
                  const std::string& entrada = {}) const override {
        return cli(args, entrada, false);
    }
    Resultado cli(const std::vector<std::string>& args, const std::string& entrada,
                  bool limitado) const {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("LC_ALL", "C.UTF-8");
        entorno.insert("QT_QPA_PLATFORM", "offscreen");
        const kalnor::testing::Limites limites =
            limitado ? kalnor::testing::Limites{rlim_t{1} << 30, 120, 600000}
                     : kalnor::testing::Limites{.esperaMs = 600000};
        return kalnor::testing::ejecutar(QStringLiteral(KALNOR_CLI), args, entrada, limites,
                                         entorno);
    }

    // Runs `sql` on the file, `texto` bound to its one parameter if any.
    static void sql(const std::string& fichero, const std::string& orden,
                    const std::string& texto = {}) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(fichero.c_str(), &db), SQLITE_OK);
        const char* resto = orden.c_str();
        while (*resto) {
            sqlite3_stmt* s = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(db, resto, -1, &s, &resto), SQLITE_OK)
                << sqlite3_errmsg(db);
            if (!s)
                break;
            if (sqlite3_bind_parameter_count(s) > 0)
                sqlite3_bind_text(s, 1, texto.data(), static_cast<int>(texto.size()),
                                  SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW) {
            }
            EXPECT_EQ(sqlite3_finalize(s), SQLITE_OK) << sqlite3_errmsg(db);
        }
        sqlite3_close(db);
    }
};

// No line of the calculator is taken for a result when a record cannot be
// read: the exit status says so and the message names the record.
TEST_F(ValoresCli, MeasuresFailOnACountOrAValueTheyCannotTake) {
    struct Caso {
        const char* tipo;
        const char* csv; // nullptr: a table without declared types, as others write

        const char* sql;
        std::vector<std::string> args;
        const char* mensaje;
    };
    // Kalnor's own tables refuse these values: the file is changed behind its
    // back, as another program could.
    const char* const sinTipos = "DROP TABLE DIS; CREATE TABLE DIS (Xi, ni);";
    const Caso casos[] = {
        {"DIS",
         "Xi,ni\n1,3\n",
         "PRAGMA ignore_check_constraints = ON; INSERT INTO DIS VALUES (2, -7)",
         {},
         "Registro 2: el campo «ni» es negativo («-7»)"},
        {"DIS",
         "Xi,ni\n1,3\n",
         "INSERT INTO DIS VALUES (NULL, 5)",
         {},
         "Registro 2: el campo «Xi» está vacío"},
        {"CON",
         "LiX,LsX,ni\n0,1,3\n",
         "INSERT INTO CON VALUES (1, NULL, 2)",
         {},
         "Registro 2: el campo «LsX» está vacío"},
        {"DISDIS",
         "Xi,Yi,ni\n1,1,3\n",
         "INSERT INTO DISDIS VALUES (2, NULL, 2)",
         {},
         "Registro 2: el campo «Yi» está vacío"},
        {"DISDIS",
         "Xi,Yi,ni\n1,1,3\n",
         "INSERT INTO DISDIS VALUES (2, NULL, 2)",
         {"--var", "Y"},
         "Registro 2: el campo «Yi» está vacío"},
        {"DIS",
         nullptr,
         "INSERT INTO DIS VALUES (1, 0.5), (2, 1.5), (3, 2.5)",
         {},
         "Registro 1: el campo «ni» no es un número entero («0.5»)"},
        {"DIS",
         nullptr,
         "INSERT INTO DIS VALUES (1, 2), (2, 'tres')",
         {},
         "Registro 2: el campo «ni» no es un número («tres»)"},
    };
    int i = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.sql);
        const std::string f = ruta("f" + std::to_string(i++) + ".mdb");
        ASSERT_EQ(cli({"nueva", c.tipo, f}).codigo, 0);
        if (c.csv)
            ASSERT_EQ(cli({"cargar", f, "-"}, c.csv).codigo, 0);
        else
            sql(f, sinTipos);
        sql(f, c.sql);
        std::vector<std::string> args{"medidas", f};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Resultado r = cli(args);
        EXPECT_EQ(r.codigo, 1) << r.salida;
        EXPECT_NE(r.errores.find(c.mensaje), std::string::npos) << r.errores;
        EXPECT_EQ(r.salida.find("Tamaño Muestral\t-"), std::string::npos) << r.salida;
        const Resultado informe = cli({"informe", f, "0"});
        EXPECT_EQ(informe.codigo, 1);
        EXPECT_NE(informe.errores.find(c.mensaje), std::string::npos) << informe.errores;
        if (std::string(c.mensaje).find("«Yi»") == std::string::npos) {
            EXPECT_EQ(cli({"info", f}).codigo, 1); // N is read from X alone
        }
    }
}

// A field of megabytes is quoted in a few dozen characters: the message
// stays readable and is written at once.
TEST_F(ValoresCli, AHugeFieldIsQuotedShort) {
    const std::string f = distribucion("a.mdb", "DIS", "Xi,ni\n1,1\n");
    sql(f, "UPDATE ENUNCIADO SET TIPO = ?", "Discreta" + std::string(10'000'000, 'x'));
    const Resultado r = cli({"info", f});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_LT(r.errores.size(), 4096u);
    EXPECT_NE(r.errores.find("xxx…"), std::string::npos) << r.errores;

    // Any CLASE opens (what it says is not checked), shown short.
    const std::string g = distribucion("g.mdb", "DIS", "Xi,ni\n1,1\n");
    sql(g, "UPDATE ENUNCIADO SET CLASE = ?", std::string(10'000'000, 'c'));
    const Resultado info = cli({"info", g});
    EXPECT_EQ(info.codigo, 0) << info.errores;
    EXPECT_LT(info.salida.size(), 4096u);

    const Resultado csv = cli({"cargar", distribucion("b.mdb", "DIS", "Xi,ni\n1,1\n"), "-"},
                              "Xi,ni\n1,1\n2," + std::string(1 << 20, '9') + "x\n");
    EXPECT_EQ(csv.codigo, 1);
    EXPECT_LT(csv.errores.size(), 4096u);
    EXPECT_NE(csv.errores.find("Línea 3"), std::string::npos) << csv.errores;
}

// Raw data with a value per record on both sides: 100,000 distinct pairs make
// a grid of 10¹⁰ cells, nearly all zero. Every command stays within what the
// records themselves need.
TEST_F(ValoresCli, OneHundredThousandDistinctPairsStayWithinTheMemoryOfTheRecords) {
    constexpr int kPares = 100'000;
    std::string csv = "Xi,Yi,ni\n";
    csv.reserve(kPares * 16);
    for (int i = 0; i < kPares; ++i)
        csv += std::to_string(i) + ',' + std::to_string((i * 7919L) % kPares) + ",1\n";
    const std::string f = distribucion("pares.mdb", "DISDIS", csv);

    std::vector<std::vector<std::string>> ordenes{
        {"info", f},
        {"medidas", f},
        {"medidas", f, "--var", "Y", "--json"},
        {"tabla", f, "--orden", "Yi"},
        {"informe", f, "3"},
    };
#ifdef KALNOR_CON_GRAFICOS // the commands that draw need the windows' build
    ordenes.push_back({"grafico", f, "--tipo", "nube", "--png", ruta("nube.png")});
    ordenes.push_back({"exportar", f, ruta("informe.html")});
#endif
    for (const auto& orden : ordenes) {
        SCOPED_TRACE(orden.front() + " " + orden.back());
        const Resultado r = cli(orden, {}, true);
        EXPECT_EQ(r.codigo, 0) << r.errores;
    }
#ifdef KALNOR_CON_GRAFICOS
    EXPECT_TRUE(fs::exists(ruta("nube.png")));
    EXPECT_TRUE(fs::exists(ruta("informe.html")));
#endif
}

} // namespace
