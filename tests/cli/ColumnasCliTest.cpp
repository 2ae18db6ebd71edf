// kalnor-cli columna, suma and eliminar run as a user would, and a fill of a
// million records killed halfway.
#include "../CarpetaUnica.h"
#include "../ProcesoPrueba.h"
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Resultado = kalnor::testing::Ejecucion;

class ColumnasCli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = kalnor::testing::carpetaUnica("kalnor_columnas_cli_" + std::string(info->name()));
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static void preparar(QProcess& p, const std::vector<std::string>& args) {
        QStringList lista;
        for (const std::string& a : args)
            lista << QString::fromStdString(a);
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("LC_ALL", "C.UTF-8"); // numbers with a decimal point
        p.setProcessEnvironment(entorno);
        p.setProgram(QStringLiteral(KALNOR_CLI));
        p.setArguments(lista);
    }

    Resultado cli(const std::vector<std::string>& args, const std::string& entrada = {}) const {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("LC_ALL", "C.UTF-8"); // numbers with a decimal point
        return kalnor::testing::ejecutar(QStringLiteral(KALNOR_CLI), args, entrada,
                                         {.esperaMs = 60000}, entorno);
    }

    std::string distribucion(const std::string& tipo, const std::string& csv,
                             const std::string& nombre = "d.mdb") const {
        const std::string f = (dir_ / nombre).string();
        EXPECT_EQ(cli({"nueva", tipo, f}).codigo, 0);
        if (!csv.empty()) {
            EXPECT_EQ(cli({"cargar", f, "-"}, csv).codigo, 0);
        }
        return f;
    }

    fs::path dir_;
};

bool contiene(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

TEST_F(ColumnasCli, AddsAndFillsColumnsAsTheListDoes) {
    const std::string f = distribucion("CON", "LiX,LsX,ni\n0,10,4\n10,20,6\n");
    for (const char* c : {"Xc¡", "x¡·n¡", "(x¡-m)", "|x¡-m|·n¡", "f¡"}) {
        const Resultado r = cli({"columna", f, c});
        EXPECT_EQ(r.codigo, 0) << c << r.errores;
        EXPECT_EQ(r.errores, "");
    }
    EXPECT_EQ(cli({"tabla", f}).salida, "LiX,LsX,ni,Xc¡,x¡·n¡,(x¡-m),|x¡-m|·n¡,f¡\n"
                                        "0,10,4,5,20,-6,24,0.4\n"
                                        "10,20,6,15,90,4,24,0.6\n");
}

TEST_F(ColumnasCli, TheWindowsMessagesEndWithExitOne) {
    const std::string f = distribucion("DIS", "Xi,ni\n2,4\n4,2\n0,3\n5,5\n");
    Resultado r = cli({"columna", f, "Xc¡"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "Solo calculable en variable continua"));
    r = cli({"columna", f, "n¡/x¡"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "División por cero")) << r.errores;
    EXPECT_TRUE(contiene(r.errores, "registro 3")) << r.errores;
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,ni,Xc¡,n¡/x¡\n2,4,,2\n4,2,,0.5\n0,3,,\n5,5,,\n");

    cli({"columna", f, "f¡"});
    r = cli({"columna", f, " f¡ "}); // an entry as the list shows it
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "ya existe")) << r.errores;

    r = cli({"columna", f, "x¡·y¡·n¡"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "no es una columna de la lista X")) << r.errores;
    r = cli({"columna", f, "y¡·n¡", "--var", "Y"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "unidimensional")) << r.errores;

    const std::string vacia = distribucion("DIS", "", "vacia.mdb");
    r = cli({"columna", vacia, "f¡"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "No hay un archivo abierto o No hay datos suficientes"));
    EXPECT_EQ(cli({"tabla", vacia}).salida, "Xi,ni\n");
    EXPECT_EQ(cli({"columna", f}).codigo, 2);
}

TEST_F(ColumnasCli, TheYListAndTheJointColumn) {
    const std::string f = distribucion("DISDIS", "Xi,Yi,ni\n2,3,4\n");
    EXPECT_EQ(cli({"columna", f, "x¡·y¡·n¡", "--var", "Y"}).codigo, 0);
    EXPECT_EQ(cli({"columna", f, "y¡²·n¡", "--var", "Y"}).codigo, 0);
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,Yi,ni,x¡·y¡·n¡,y¡²·n¡\n2,3,4,24,36\n");
}

TEST_F(ColumnasCli, SumsAsTheLabelShowsThem) {
    const std::string f = distribucion("DIS", "Xi,ni\n1,5\n2,5\n3,10\n");
    ASSERT_EQ(cli({"columna", f, "x¡·n¡"}).codigo, 0);
    EXPECT_EQ(cli({"suma", f, "x¡·n¡"}).salida, "45.0\n");
    EXPECT_EQ(cli({"suma", f, "x¡·n¡", "--json"}).salida,
              "{\"campo\": \"x¡·n¡\", \"texto\": \"45.0\", \"valor\": 45}\n");
    ASSERT_EQ(cli({"columna", f, "f¡"}).codigo, 0);
    EXPECT_EQ(cli({"suma", f, "f¡", "--json"}).salida,
              "{\"campo\": \"f¡\", \"texto\": \"1.0\", \"valor\": 1}\n");

    const std::string cat = distribucion("CAT", "Xi,ni\nrojo,1\n", "cat.mdb");
    const Resultado r = cli({"suma", cat, "Xi"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "No coinciden los tipos")) << r.errores;
    EXPECT_EQ(cli({"suma", cat, "ni"}).salida, "1.0\n");
}

TEST_F(ColumnasCli, DeletesDerivedColumnsOnly) {
    const std::string f = distribucion("DIS", "Xi,ni\n1,1\n");
    cli({"columna", f, "Fi%"});
    cli({"columna", f, "x¡·n¡"});
    Resultado r = cli({"eliminar", f, "ni"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "Esta columna NO puede eliminarse, forma parte de los datos."))
        << r.errores;
    EXPECT_EQ(cli({"eliminar", f, "Fi%"}).codigo, 0);
    EXPECT_EQ(cli({"tabla", f}).salida, "Xi,ni,x¡·n¡\n1,1,1\n");
    r = cli({"eliminar", f, "Fi%"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(contiene(r.errores, "No existe la columna")) << r.errores;
}

TEST_F(ColumnasCli, AFillKilledHalfwayLeavesAConsistentFile) {
    const std::string f = distribucion("DIS", "");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(f.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
                               "WHERE i < 1000000) INSERT INTO DIS (Xi, ni) "
                               "SELECT i % 100 + 1, i % 7 + 1 FROM c",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    const fs::path diario = f + "-journal";
    bool muerto = false;
    // Killed once the fill's transaction has written well into the file.
    for (const std::uintmax_t umbral : {1u << 20, 4u << 20, 8u << 20}) {
        QProcess p;
        preparar(p, {"columna", f, "x¡·n¡"});
        p.start();
        ASSERT_TRUE(p.waitForStarted());
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (p.state() == QProcess::Running && std::chrono::steady_clock::now() < limite) {
            std::error_code ec;
            if (fs::exists(diario, ec) && fs::file_size(diario, ec) >= umbral) {
                p.kill();
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        p.waitForFinished(30000);
        muerto = muerto || p.exitStatus() == QProcess::CrashExit;

        // The file opens; the column is as it was (empty) or filled to a
        // record boundary, and nothing is half-written.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(f.c_str(), &db), SQLITE_OK);
        const auto uno = [db](const char* sql) {
            sqlite3_stmt* st = nullptr;
            EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK) << sql;
            std::string out;
            if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
                out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
            return out;
        };
        EXPECT_EQ(uno("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(uno("SELECT count(*) FROM pragma_table_info('DIS') WHERE name = 'x¡·n¡'"), "1");
        EXPECT_EQ(uno("SELECT count(*) FROM DIS WHERE \"x¡·n¡\" IS NOT NULL AND "
                      "\"x¡·n¡\" <> Xi * ni"),
                  "0");
        // Filled records come first: no empty record before a filled one.
        EXPECT_EQ(uno("SELECT coalesce((SELECT max(rowid) FROM DIS WHERE \"x¡·n¡\" IS NOT "
                      "NULL), 0) < coalesce((SELECT min(rowid) FROM DIS WHERE \"x¡·n¡\" IS "
                      "NULL), 9e18)"),
                  "1");
        const std::string llenos = uno("SELECT count(\"x¡·n¡\") FROM DIS");
        EXPECT_TRUE(llenos == "0" || llenos == "1000000") << llenos;
        sqlite3_close(db);
        // And the window's document opens it too.
        const Resultado r = cli({"suma", f, "ni"});
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_EQ(cli({"eliminar", f, "x¡·n¡"}).codigo, 0);
    }
    EXPECT_TRUE(muerto) << "no fill was caught halfway";
}

} // namespace
