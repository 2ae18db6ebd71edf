// Opening files as a student may send them: hostile schemas are refused
// with a message that names what is not allowed, within bounded memory and
// time; valid but unusual files (UTF-16, row ids across all 64 bits, a
// write-ahead log in a read-only folder) open and give the same results as
// plain ones. Each file is made here with SQLite's C API and opened through
// kalnor-cli, run as a child under a memory and a time limit.
#include "../CarpetaUnica.h"
#include "../ProcesoPrueba.h"
#include "app/Database.h"
#include "app/DbError.h"
#include "app/Documento.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr rlim_t kMemoria = rlim_t{1} << 30; // 1 GB of address space
constexpr rlim_t kSegundosDeCpu = 60;        // CPU time of one run
constexpr int kEsperaMaxima = 120000;        // wall clock of one run, in ms
constexpr uid_t kNadie = 65534;              // "nobody"

using Resultado = kalnor::testing::Ejecucion;

std::string leer(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool contiene(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

// Runs `programa` (kalnor-cli) with `args` as a child under the limits,
// `entrada` on its standard input; as the user "nobody" when
// `sinPrivilegios`.
Resultado cli(const std::string& programa, const std::vector<std::string>& args,
              const std::string& entrada = {}, bool sinPrivilegios = false) {
    const Resultado r =
        kalnor::testing::ejecutar(QString::fromStdString(programa), args, entrada,
                                  {kMemoria, kSegundosDeCpu, kEsperaMaxima, sinPrivilegios});
    if (r.codigo == -1)
        ADD_FAILURE() << "kalnor-cli was killed or ran for more than " << kEsperaMaxima / 1000
                      << " s";
    return r;
}

// A database made with SQLite's own API.
class Archivo {
public:
    // A new file at `ruta` (in `codificacion`, when given), or the one there.
    explicit Archivo(const fs::path& ruta, const char* codificacion = nullptr, bool nuevo = true) {
        if (nuevo)
            fs::remove(ruta);
        EXPECT_EQ(sqlite3_open(ruta.c_str(), &db_), SQLITE_OK);
        if (codificacion)
            exec(std::string("PRAGMA encoding='") + codificacion + "'");
    }
    ~Archivo() { sqlite3_close(db_); }
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
        EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << "\n" << sql;
        sqlite3_free(error);
    }

    // Replaces the stored definition of `objeto` by `sql`, as a hand-made
    // file can (the rows stay as they were written).
    void reescribir(const std::string& objeto, const std::string& sql) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 1, nullptr);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, "UPDATE sqlite_schema SET sql = ?1 WHERE name = ?2", -1,
                                     &st, nullptr),
                  SQLITE_OK);
        sqlite3_bind_text(st, 1, sql.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, objeto.c_str(), -1, SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
        EXPECT_EQ(sqlite3_changes(db_), 1);
        sqlite3_finalize(st);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 0, nullptr);
    }

private:
    sqlite3* db_ = nullptr;
};

constexpr const char* kEnunciadoDis =
    "CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT;"
    "INSERT INTO ENUNCIADO VALUES ('Discreta', 'Dist. UNIDIMENSIONAL', '');";

class EsquemaArchivo : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = kalnor::testing::carpetaUnica(std::string("kalnor_esquema_") + info->name());
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir_, ec))
            if (e.is_directory())
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path ruta(const std::string& nombre) const { return dir_ / nombre; }
    Resultado cli(const std::vector<std::string>& args, const std::string& entrada = {},
                  bool sinPrivilegios = false) const {
        return ::cli(programa_, args, entrada, sinPrivilegios);
    }

    fs::path dir_;
    std::string programa_ = KALNOR_CLI;
};

// --- Hostile schemas ----------------------------------------------------------

struct Hostil {
    const char* nombre;
    std::string tabla;      // creates DIS (and more) with its rows
    std::string definicion; // when not empty, DIS's stored definition afterwards
    const char* orden;      // "info" reads the file; "cargar" also writes a row
    const char* motivo;     // part of the refusal
};

// Expressions that cost far more than the limits allow when evaluated: a
// 600 MB text, or a blob of 400 MB.
const std::string kCara = "length(hex(zeroblob(300000000)))";

const std::vector<Hostil>& hostiles() {
    static const std::vector<Hostil> casos = {
        {"columna generada virtual",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z INTEGER AS (" + kCara +
             ") VIRTUAL) STRICT; INSERT INTO DIS (Xi, ni) VALUES (1, 2), (3, 4);",
         "", "info", "La tabla DIS tiene una columna generada (Z), que Kalnor no admite."},
        {"columna generada almacenada",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z INTEGER AS (ni * 2) "
         "STORED) STRICT; INSERT INTO DIS (Xi, ni) VALUES (1, 2), (3, 4);",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z INTEGER AS (" + kCara +
             ") STORED) STRICT",
         "cargar", "La tabla DIS tiene una columna generada (Z), que Kalnor no admite."},
        {"CHECK costoso",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
         "INSERT INTO DIS VALUES (1, 2), (3, 4);",
         "CREATE TABLE DIS (Xi REAL CHECK (" + kCara + " > 0), ni INTEGER CHECK (ni >= 0)) STRICT",
         "cargar", "una regla de validación (CHECK) en la columna «Xi»"},
        {"DEFAULT zeroblob",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z BLOB DEFAULT "
         "(zeroblob(400000000))) STRICT; INSERT INTO DIS VALUES (1, 2, NULL);",
         "", "cargar", "un valor por defecto (DEFAULT) en la columna «Z»"},
        {"DEFAULT randomblob",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z DEFAULT "
         "(randomblob(400000000))); INSERT INTO DIS VALUES (1, 2, NULL);",
         "", "cargar", "un valor por defecto (DEFAULT) en la columna «Z»"},
        {"índice sobre una expresión",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
         "INSERT INTO DIS VALUES (1, 2), (3, 4); CREATE INDEX caro ON DIS (hex(zeroblob(Xi)));",
         "", "info", "La tabla DIS tiene un índice sobre una expresión (caro)"},
        {"índice parcial",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
         "INSERT INTO DIS VALUES (1, 2); CREATE INDEX p ON DIS (Xi) WHERE ni > 0;",
         "", "info", "un índice parcial"},
        {"tipo que no es el de Kalnor",
         "CREATE TABLE DIS (Xi TEXT, ni INTEGER CHECK (ni >= 0)) STRICT;"
         "INSERT INTO DIS VALUES ('1', 2);",
         "", "info", "la columna «Xi» de tipo TEXT"},
        {"frecuencia de texto",
         "CREATE TABLE DIS (Xi REAL, ni TEXT); INSERT INTO DIS VALUES (1, '2');", "", "info",
         "la columna «ni» de tipo TEXT"},
        {"regla de toda la tabla",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), CHECK (Xi > 0)) STRICT;"
         "INSERT INTO DIS VALUES (1, 2);",
         "", "cargar", "una regla de la tabla entera (CHECK"},
        {"otra regla en ni",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0 AND " + kCara +
             " > 0)) STRICT; INSERT INTO DIS VALUES (1, 2);",
         "", "cargar", "una regla de validación (CHECK) en la columna «ni»"},
        {"sin número de registro",
         "CREATE TABLE DIS (Xi REAL PRIMARY KEY, ni INTEGER) WITHOUT ROWID;"
         "INSERT INTO DIS VALUES (1, 2);",
         "", "info", "WITHOUT ROWID"},
        {"clave primaria",
         "CREATE TABLE DIS (Xi REAL PRIMARY KEY, ni INTEGER); INSERT INTO DIS VALUES (1, 2);", "",
         "info", "una clave primaria (PRIMARY KEY) en la columna «Xi»"},
        {"NOT NULL",
         "CREATE TABLE DIS (Xi REAL NOT NULL, ni INTEGER); INSERT INTO DIS VALUES (1, 2);", "",
         "cargar", "la regla NOT NULL en la columna «Xi»"},
        {"enunciado con ordenación propia",
         "CREATE TABLE DIS (Xi REAL, ni INTEGER); INSERT INTO DIS VALUES (1, 2);"
         "CREATE TABLE NOTAS (texto TEXT COLLATE NOCASE);",
         "", "info", "La tabla NOTAS tiene una ordenación propia (COLLATE)"},
    };
    return casos;
}

// Every refusal comes from the check of the schema, before any row is read
// or written: bounded time and memory, the same clear message from `info`
// and from `cargar`, and the file as it was.
TEST_F(EsquemaArchivo, HostileSchemasAreRefusedNamingWhatIsNotAllowed) {
    for (const Hostil& caso : hostiles()) {
        SCOPED_TRACE(caso.nombre);
        const fs::path f = ruta("hostil.mdb");
        {
            Archivo a(f);
            a.exec(std::string(kEnunciadoDis) + caso.tabla);
            if (!caso.definicion.empty())
                a.reescribir("DIS", caso.definicion);
        }
        const std::string antes = leer(f);
        const Resultado r = std::string(caso.orden) == "cargar"
                                ? cli({"cargar", f.string(), "-"}, "Xi,ni\n5,6\n")
                                : cli({"info", f.string()});
        EXPECT_EQ(r.codigo, 1) << r.salida << r.errores;
        EXPECT_TRUE(contiene(r.errores, caso.motivo)) << r.errores;
        EXPECT_TRUE(contiene(r.errores, "que Kalnor no admite")) << r.errores;
        EXPECT_FALSE(contiene(r.errores, "dañado")) << r.errores;
        EXPECT_EQ(leer(f), antes);
        const Resultado calculo = cli({"medidas", f.string()});
        EXPECT_EQ(calculo.codigo, 1);
        EXPECT_TRUE(contiene(calculo.errores, caso.motivo)) << calculo.errores;
    }
}

// The document refuses them too and keeps the distribution it had open.
TEST_F(EsquemaArchivo, TheOpenDocumentStaysAsItWas) {
    const fs::path bueno = ruta("bueno.mdb");
    {
        Archivo a(bueno);
        a.exec(std::string(kEnunciadoDis) +
               "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
               "INSERT INTO DIS VALUES (1, 2), (3, 4);");
    }
    kalnor::Documento doc;
    ASSERT_TRUE(doc.AbrirBase(bueno.string())) << doc.error.MensajeError;
    const fs::path hostil = ruta("hostil.mdb");
    {
        Archivo a(hostil);
        a.exec(std::string(kEnunciadoDis) +
               "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0), Z REAL AS (Xi + ni)) STRICT;"
               "INSERT INTO DIS (Xi, ni) VALUES (1, 2);");
    }
    EXPECT_FALSE(doc.AbrirBase(hostil.string()));
    EXPECT_EQ(doc.error.NumError, kalnor::DbError::kUnsupported);
    EXPECT_TRUE(contiene(doc.error.MensajeError, "una columna generada (Z)"))
        << doc.error.MensajeError;
    EXPECT_EQ(doc.BaseActual, bueno.string());
    EXPECT_EQ(doc.NumRegistros, 2);
    ASSERT_TRUE(doc.LeerVariable());
    EXPECT_EQ(doc.listas.Frecuencias.size(), 2u);
}

// SQLite's second wall: a statement that would run without end is stopped
// after its time, and the next one gets a time of its own.
TEST_F(EsquemaArchivo, AStatementWithoutEndIsStoppedWithAClearMessage) {
    const auto db = kalnor::Database::create(ruta("a.mdb").string());
    try {
        db->exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c) "
                 "SELECT count(*) FROM c");
        ADD_FAILURE() << "the statement ended";
    } catch (const kalnor::DbError& e) {
        EXPECT_EQ(e.code(), kalnor::DbError::kInterrupted);
        EXPECT_TRUE(contiene(e.what(), "tardaba demasiado")) << e.what();
    }
    EXPECT_NO_THROW(db->exec("CREATE TABLE t (x); INSERT INTO t VALUES (1)"));
}

// --- Files Kalnor writes, and other programs' plain tables ---------------------

TEST_F(EsquemaArchivo, ExamplesNewFilesAndTheirColumnsOpen) {
    int ejemplos = 0;
    for (const auto& e : fs::directory_iterator(KALNOR_DAT)) {
        if (e.path().extension() != ".mdb")
            continue;
        ++ejemplos;
        const Resultado r = cli({"medidas", e.path().string()});
        EXPECT_EQ(r.codigo, 0) << e.path() << r.errores;
    }
    EXPECT_GT(ejemplos, 0);
    for (const char* tipo :
         {"CAT", "DIS", "CON", "CATCAT", "CATDIS", "CATCON", "DISDIS", "DISCON", "CONCON"}) {
        SCOPED_TRACE(tipo);
        const std::string f = ruta(std::string(tipo) + ".mdb").string();
        ASSERT_EQ(cli({"nueva", tipo, f}).codigo, 0);
        EXPECT_EQ(cli({"info", f}).codigo, 0);
    }
    const std::string f = ruta("DIS.mdb").string();
    ASSERT_EQ(cli({"cargar", f, "-"}, "Xi,ni\n1,2\n3,4\n").codigo, 0);
    for (const char* columna : {"x¡·n¡", "f¡", "N¡"})
        EXPECT_EQ(cli({"columna", f, columna}).codigo, 0) << columna;
    ASSERT_EQ(cli({"eliminar", f, "f¡"}).codigo, 0);
    const Resultado r = cli({"info", f});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(contiene(r.salida, "Campos: Xi ni x¡·n¡ N¡")) << r.salida;
}

TEST_F(EsquemaArchivo, ConvertedAccessFilesOpen) {
    int convertidos = 0;
    for (const auto& e : fs::directory_iterator(KALNOR_TEST_DATA "/access")) {
        if (e.path().extension() != ".mdb")
            continue;
        const std::string destino = ruta(e.path().stem().string() + " (Kalnor).mdb").string();
        if (cli({"importar", e.path().string(), destino}).codigo != 0)
            continue; // not a distribution, or a build without Access support
        ++convertidos;
        const Resultado r = cli({"info", destino});
        EXPECT_TRUE(r.codigo == 0 || !contiene(r.errores, "que Kalnor no admite"))
            << e.path() << r.errores;
    }
    if (convertidos == 0)
        GTEST_SKIP() << "kalnor-cli importar converted nothing (built without mdbtools?)";
}

TEST_F(EsquemaArchivo, TablesOfOtherProgramsWithPlainColumnsOpen) {
    const std::vector<std::string> tablas = {
        "CREATE TABLE DIS (Xi, ni)",
        "CREATE TABLE DIS (\"Xi\" NUMERIC, [ni] int /* frecuencia */ NULL, `Fi %` VARCHAR(20))",
        "CREATE TABLE IF NOT EXISTS main.dis (Xi DOUBLE PRECISION, ni BIGINT, nota TEXT)",
        "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (\"ni\" >= 0)) STRICT; "
        "CREATE INDEX porXi ON DIS (Xi COLLATE NOCASE, ni DESC); "
        "CREATE TABLE OTRA (a ANY) STRICT",
    };
    for (const std::string& tabla : tablas) {
        SCOPED_TRACE(tabla);
        const fs::path f = ruta("otro.mdb");
        {
            Archivo a(f);
            a.exec(std::string(kEnunciadoDis) + tabla +
                   "; INSERT INTO DIS (Xi, ni) VALUES (1, 2);");
        }
        const Resultado r = cli({"info", f.string()});
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_TRUE(contiene(r.salida, "N: 2")) << r.salida;
        EXPECT_EQ(cli({"cargar", f.string(), "-"}, "Xi,ni\n5,6\n").codigo, 0);
    }
}

// --- Valid and unusual files -----------------------------------------------------

// The output of a run that must succeed.
std::string bien(const Resultado& r) {
    EXPECT_EQ(r.codigo, 0) << r.errores;
    return r.salida;
}

TEST_F(EsquemaArchivo, AUtf16FileGivesWhatItsUtf8TwinGives) {
    const char* contenido[] = {
        "CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT;"
        "INSERT INTO ENUNCIADO VALUES ('Categórica', 'Dist. UNIDIMENSIONAL', '¿Qué color?');"
        "CREATE TABLE CAT (Xi TEXT, ni INTEGER CHECK (ni >= 0)) STRICT;"
        "INSERT INTO CAT VALUES ('azúl', 3), ('verde', 2), ('ñandú', 5), ('azúl', 1);",
        "CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT;"
        "INSERT INTO ENUNCIADO VALUES ('Continua', 'Dist. UNIDIMENSIONAL', 'Alturas');"
        "CREATE TABLE CON (LiX REAL, LsX REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
        "INSERT INTO CON VALUES (150, 160, 3), (160, 170, '7'), (170, 180, 2);",
    };
    for (const char* sql : contenido) {
        SCOPED_TRACE(sql);
        const fs::path u8 = ruta("utf8.mdb"), u16 = ruta("utf16.mdb");
        {
            Archivo a(u8, "UTF-8");
            a.exec(sql);
            Archivo b(u16, "UTF-16le");
            b.exec(sql);
        }
        EXPECT_EQ(bien(cli({"medidas", u16.string(), "--json"})),
                  bien(cli({"medidas", u8.string(), "--json"})));
        EXPECT_EQ(bien(cli({"info", u16.string()})), bien(cli({"info", u8.string()})));
        EXPECT_EQ(bien(cli({"tabla", u16.string()})), bien(cli({"tabla", u8.string()})));
        EXPECT_EQ(cli({"cargar", u16.string(), "-"}, "Xi,ni\nmorado,1\n").codigo == 0,
                  cli({"cargar", u8.string(), "-"}, "Xi,ni\nmorado,1\n").codigo == 0);
        EXPECT_EQ(bien(cli({"tabla", u16.string()})), bien(cli({"tabla", u8.string()})));
    }
}

// Two files with the same rows in the same stored order: one numbered from 1,
// the other with ids that span more than 2^63.
TEST_F(EsquemaArchivo, RowIdsAcrossAll64BitsGiveTheResultsOfPlainOnes) {
    struct Caso {
        const char* nombre;
        int filas;
        std::string id; // the row id of row i (1..filas), an SQL expression
    };
    const std::vector<Caso> casos = {
        {"los extremos", 5,
         "CASE i WHEN 1 THEN -9223372036854775808 WHEN 5 THEN 9223372036854775807 "
         "ELSE (i - 3) * 4611686018427387904 END"},
        {"muchas filas", 210000, "-9000000000000000000 + i * 72000000000000"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const fs::path normal = ruta("normal.mdb"), ancho = ruta("ancho.mdb");
        const std::string filas =
            "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < " +
            std::to_string(c.filas) + ") ";
        const std::string valores = "(i * 37) % 101, 1 + i % 4 FROM s ORDER BY i";
        {
            Archivo a(normal);
            a.exec(std::string(kEnunciadoDis) +
                   "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
                   "INSERT INTO DIS (rowid, Xi, ni) " +
                   filas + "SELECT i, " + valores);
            Archivo b(ancho);
            b.exec(std::string(kEnunciadoDis) +
                   "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
                   "INSERT INTO DIS (rowid, Xi, ni) " +
                   filas + "SELECT " + c.id + ", " + valores);
        }
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"medidas", "--json"}, {"info"}, {"tabla"}, {"tabla", "--orden", "Xi"}}) {
            std::vector<std::string> a{args[0], normal.string()}, b{args[0], ancho.string()};
            a.insert(a.end(), args.begin() + 1, args.end());
            b.insert(b.end(), args.begin() + 1, args.end());
            EXPECT_EQ(bien(cli(b)), bien(cli(a))) << args[0];
        }
        // Writing a whole column places each row's value by its id.
        EXPECT_EQ(cli({"columna", ancho.string(), "x¡·n¡"}).codigo, 0);
        EXPECT_EQ(cli({"columna", normal.string(), "x¡·n¡"}).codigo, 0);
        EXPECT_EQ(bien(cli({"tabla", ancho.string()})), bien(cli({"tabla", normal.string()})));
        EXPECT_EQ(cli({"recuento", ancho.string()}).codigo, 0);
        EXPECT_EQ(cli({"recuento", normal.string()}).codigo, 0);
        EXPECT_EQ(bien(cli({"tabla", ancho.string()})), bien(cli({"tabla", normal.string()})));
    }
}

// --- A write-ahead log in a read-only folder -----------------------------------------

// A folder nobody may write to. Root writes anywhere, so then the runs are
// made as "nobody" (if the system lets root become it).
class CarpetaDeSoloLectura : public EsquemaArchivo {
protected:
    void SetUp() override {
        EsquemaArchivo::SetUp();
        carpeta_ = ruta("solo-lectura");
        fs::create_directory(carpeta_);
        fs::permissions(dir_, fs::perms(0755));
        archivo_ = (carpeta_ / "w.mdb").string();
        ASSERT_EQ(cli({"nueva", "DIS", archivo_}).codigo, 0);
        ASSERT_EQ(cli({"cargar", archivo_, "-"}, "Xi,ni\n3,1\n1,2\n2,4\n7,1\n").codigo, 0);
        if (geteuid() != 0)
            return;
        if (!nadiePuedeLeer()) {
            // The build folder may be closed to other users (under /root,
            // say): nobody runs a copy of the program.
            const fs::path copia = dir_ / "kalnor-cli";
            fs::copy_file(KALNOR_CLI, copia);
            fs::permissions(copia, fs::perms(0755));
            programa_ = copia.string();
        }
        if (!nadiePuedeLeer())
            GTEST_SKIP() << "running as root, and root cannot run kalnor-cli as nobody here";
    }

    // Whether "nobody" can run the program on the file.
    bool nadiePuedeLeer() const {
        const pid_t hijo = fork();
        if (hijo == 0)
            _exit(setgroups(0, nullptr) == 0 && setgid(kNadie) == 0 && setuid(kNadie) == 0 &&
                          access(programa_.c_str(), X_OK) == 0 &&
                          access(archivo_.c_str(), R_OK) == 0
                      ? 0
                      : 1);
        int estado = 0;
        waitpid(hijo, &estado, 0);
        return WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
    }

    // Leaves the file in write-ahead log mode (checkpointed, no -wal left).
    void conRegistro() {
        Archivo a(archivo_, nullptr, false);
        a.exec("PRAGMA journal_mode=WAL");
    }

    // Writes a row that stays in the -wal file, as when a program stops
    // without closing the file.
    void conCambiosPendientes() {
        const pid_t hijo = fork();
        if (hijo == 0) {
            sqlite3* db = nullptr;
            const bool bien = sqlite3_open(archivo_.c_str(), &db) == SQLITE_OK &&
                              sqlite3_exec(db,
                                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                                           "INSERT INTO DIS VALUES (100, 5);",
                                           nullptr, nullptr, nullptr) == SQLITE_OK;
            _exit(bien ? 0 : 1); // without closing
        }
        int estado = 0;
        waitpid(hijo, &estado, 0);
        ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
        ASSERT_TRUE(fs::exists(archivo_ + "-wal"));
    }

    void cerrarCarpeta() { fs::permissions(carpeta_, fs::perms(0555)); }

    Resultado comoOtro(const std::vector<std::string>& args, const std::string& entrada = {}) {
        return cli(args, entrada, true);
    }

    fs::path carpeta_;
    std::string archivo_;
};

TEST_F(CarpetaDeSoloLectura, AFileWithItsLogCopiedInOpensForReading) {
    const std::string antes = bien(cli({"medidas", archivo_, "--json"}));
    conRegistro();
    cerrarCarpeta();
    const std::string bytes = leer(archivo_);
    EXPECT_EQ(bien(comoOtro({"medidas", archivo_, "--json"})), antes);
    const Resultado info = comoOtro({"info", archivo_});
    EXPECT_EQ(info.codigo, 0) << info.errores;
    EXPECT_TRUE(contiene(info.salida, "Registros: 4")) << info.salida;
    const Resultado escribir = comoOtro({"cargar", archivo_, "-"}, "Xi,ni\n9,9\n");
    EXPECT_EQ(escribir.codigo, 1);
    EXPECT_FALSE(contiene(escribir.errores, "dañado")) << escribir.errores;
    EXPECT_EQ(leer(archivo_), bytes);
    EXPECT_FALSE(fs::exists(archivo_ + "-wal"));
}

TEST_F(CarpetaDeSoloLectura, PendingChangesAreReadWithTheSharedMemoryFile) {
    conCambiosPendientes();
    ASSERT_TRUE(fs::exists(archivo_ + "-shm"));
    cerrarCarpeta();
    const Resultado info = comoOtro({"info", archivo_});
    EXPECT_EQ(info.codigo, 0) << info.errores;
    EXPECT_TRUE(contiene(info.salida, "Registros: 5")) << info.salida;
    EXPECT_TRUE(contiene(info.salida, "N: 13")) << info.salida;
}

TEST_F(CarpetaDeSoloLectura, PendingChangesWithoutTheSharedMemoryFileAreNotLeftOut) {
    conCambiosPendientes();
    fs::remove(archivo_ + "-shm");
    cerrarCarpeta();
    const Resultado info = comoOtro({"info", archivo_});
    EXPECT_EQ(info.codigo, 1) << info.salida;
    EXPECT_TRUE(contiene(info.errores, "w.mdb-wal»")) << info.errores;
    EXPECT_TRUE(contiene(info.errores, "carpeta")) << info.errores;
    EXPECT_FALSE(contiene(info.errores, "dañado")) << info.errores;
}

} // namespace
