#include "AyudaAccess.h"

#include "app/access/ConversionAccess.h"
#include "app/access/ImportadorAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace kalnor::access {
namespace {

using namespace prueba;
using namespace std::chrono_literals;
using ::testing::HasSubstr;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

void aplicacion() {
    static int argc = 1;
    static char nombre[] = "conversion_tests";
    static char* argv[] = {nombre, nullptr};
    static QCoreApplication app(argc, argv);
}

// A stand-in for kalnor-cli: a shell script.
std::string guion(const CarpetaTemporal& carpeta, const std::string& nombre,
                  const std::string& cuerpo) {
    const std::string ruta = carpeta / nombre;
    std::ofstream(ruta) << "#!/bin/sh\n" << cuerpo << '\n';
    std::filesystem::permissions(ruta, std::filesystem::perms::owner_all);
    return ruta;
}

std::string copiarFixture(const CarpetaTemporal& carpeta, const std::string& archivo) {
    std::filesystem::copy_file(fixture(archivo), carpeta / archivo);
    return carpeta / archivo;
}

// --- Names and places of the copy ---------------------------------------------

TEST(ConversionAccessNombres, CopyGoesBesideTheOriginalOrIntoTheDataFolder) {
    EXPECT_EQ(ConversionAccess::rutaCopia("/profes/notas.mdb", "/datos/", true),
              "/profes/notas (Kalnor).mdb");
    EXPECT_EQ(ConversionAccess::rutaCopia("/profes/notas.mdb", "/datos/", false),
              "/datos/notas (Kalnor).mdb");
    EXPECT_EQ(ConversionAccess::rutaCopia("/profes/examen.final.mdb", "/datos", false),
              "/datos/examen.final (Kalnor).mdb");
}

TEST(ConversionAccessNombres, WritableFolderKeepsTheCopyBeside) {
    aplicacion();
    const CarpetaTemporal carpeta, datos;
    const std::string original = copiarFixture(carpeta, "dis_notas.mdb");
    EXPECT_EQ(ConversionAccess::rutaCopia(q(original), q(datos.ruta().string())),
              q(carpeta / "dis_notas (Kalnor).mdb"));
}

TEST(ConversionAccessNombres, AnEarlierCopyIsFoundBesideOrInTheDataFolder) {
    const CarpetaTemporal carpeta, datos;
    const std::string original = copiarFixture(carpeta, "dis_notas.mdb");
    const QString rutaDat = q(datos.ruta().string());
    EXPECT_TRUE(ConversionAccess::copiaExistente(q(original), rutaDat).isEmpty());
    std::ofstream(datos / "dis_notas (Kalnor).mdb") << "x";
    EXPECT_EQ(ConversionAccess::copiaExistente(q(original), rutaDat),
              q(datos / "dis_notas (Kalnor).mdb"));
    std::ofstream(carpeta / "dis_notas (Kalnor).mdb") << "x";
    EXPECT_EQ(ConversionAccess::copiaExistente(q(original), rutaDat),
              q(carpeta / "dis_notas (Kalnor).mdb"));
}

TEST(ConversionAccessNombres, AccessFilesAreKnownByTheirHeader) {
    const CarpetaTemporal carpeta;
    EXPECT_TRUE(ConversionAccess::esArchivoAccess(q(fixture("catdis.mdb"))));
    std::ofstream(carpeta / "texto.mdb") << "Standard Jet DB";
    EXPECT_FALSE(ConversionAccess::esArchivoAccess(q(carpeta / "texto.mdb")));
    EXPECT_FALSE(ConversionAccess::esArchivoAccess(q(carpeta / "no_existe.mdb")));
}

// --- Conversion in a child process ---------------------------------------------

TEST(ConversionAccessProceso, ConvertsAndLeavesTheOriginalAlone) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const std::string original = copiarFixture(carpeta, "dis_notas.mdb");
    const std::string antes = sha256Archivo(original);
    const QString copia = q(carpeta / "dis_notas (Kalnor).mdb");
    const auto r = ConversionAccess(KALNOR_CLI).convertir(q(original), copia, false);
    ASSERT_TRUE(r.ok) << r.mensaje.toStdString();
    EXPECT_EQ(r.copia, copia);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("copia convertida"));
    EXPECT_TRUE(QFile::exists(copia));
    EXPECT_EQ(sha256Archivo(original), antes);
}

TEST(ConversionAccessProceso, AnExistingCopyIsReplacedOnlyWhenAsked) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const std::string original = copiarFixture(carpeta, "dis_notas.mdb");
    const std::string copia = carpeta / "dis_notas (Kalnor).mdb";
    std::ofstream(copia) << "anterior";
    const ConversionAccess conversion(KALNOR_CLI);
    const auto r = conversion.convertir(q(original), q(copia), false);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("Ya existe"));
    EXPECT_EQ(sha256Archivo(copia), sha256("anterior"));
    EXPECT_TRUE(conversion.convertir(q(original), q(copia), true).ok);
    EXPECT_NE(sha256Archivo(copia), sha256("anterior"));
}

TEST(ConversionAccessProceso, RefusalsArriveAsTheirMessage) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const auto r = ConversionAccess(KALNOR_CLI)
                       .convertir(q(fixture("bad_tipo.mdb")), q(carpeta / "c.mdb"), false);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("no es ninguno de los nueve tipos"));
    EXPECT_FALSE(std::filesystem::exists(carpeta / "c.mdb"));
}

TEST(ConversionAccessProceso, DamagedFilesGiveAMessageAndNoCopy) {
    aplicacion();
    const CarpetaTemporal carpeta;
    std::ifstream f(fixture("big_dis.mdb"), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(f), {}};
    std::vector<char> cortado(bytes.begin(), bytes.begin() + std::ptrdiff_t(bytes.size() / 3));
    std::ofstream(carpeta / "cortado.mdb", std::ios::binary)
        .write(cortado.data(), std::streamsize(cortado.size()));
    // Scramble bytes all over the file, page 0's header aside.
    for (std::size_t i = 4096; i < bytes.size(); i += 97)
        bytes[i] = char(bytes[i] ^ 0xA5);
    std::ofstream(carpeta / "volteado.mdb", std::ios::binary)
        .write(bytes.data(), std::streamsize(bytes.size()));

    const ConversionAccess conversion(KALNOR_CLI, 20s);
    for (const char* nombre : {"cortado.mdb", "volteado.mdb"}) {
        const std::string original = carpeta / nombre;
        const std::string antes = sha256Archivo(original);
        const std::string copia = carpeta / (std::string("copia-") + nombre);
        const auto r = conversion.convertir(q(original), q(copia), false);
        EXPECT_FALSE(r.ok) << nombre;
        EXPECT_FALSE(r.mensaje.isEmpty()) << nombre;
        EXPECT_FALSE(std::filesystem::exists(copia)) << nombre;
        EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(copia))) << nombre;
        EXPECT_EQ(sha256Archivo(original), antes) << nombre;
    }
}

TEST(ConversionAccessProceso, ACrashIsReportedAndItsLeftoversRemoved) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const std::string copia = carpeta / "c.mdb";
    const std::string programa = guion(
        carpeta, "choca.sh", "echo a medias > \"$3.importando\"; echo basura >&2; kill -SEGV $$");
    const auto r =
        ConversionAccess(q(programa)).convertir(q(fixture("dis_notas.mdb")), q(copia), false);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("se detuvo de forma inesperada"));
    EXPECT_FALSE(std::filesystem::exists(copia));
    EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(copia)));
}

TEST(ConversionAccessProceso, AHangIsStoppedAtTheTimeLimit) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const std::string copia = carpeta / "c.mdb";
    const std::string programa =
        guion(carpeta, "cuelga.sh", "echo a medias > \"$3.importando\"; exec sleep 60");
    const auto r = ConversionAccess(q(programa), 500ms)
                       .convertir(q(fixture("dis_notas.mdb")), q(copia), false);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("no terminó"));
    EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(copia)));
}

TEST(ConversionAccessProceso, AMissingConverterIsReported) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const auto r = ConversionAccess(q(carpeta / "no-existe"))
                       .convertir(q(fixture("dis_notas.mdb")), q(carpeta / "c.mdb"), false);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.mensaje.toStdString(), HasSubstr("No se pudo iniciar"));
}

// --- The command itself ------------------------------------------------------

struct Salida {
    int codigo;
    std::string salida, errores;
};

Salida kalnorCli(const QStringList& argumentos) {
    QProcess p;
    p.start(KALNOR_CLI, argumentos);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

TEST(KalnorCliImportar, UsageExistingDestinationAndSuccess) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const QString origen = q(fixture("dis_notas.mdb"));
    const QString destino = q(carpeta / "copia.mdb");
    EXPECT_EQ(kalnorCli({"importar", origen}).codigo, 2);
    EXPECT_EQ(kalnorCli({"importar", origen, destino, "--otra"}).codigo, 2);

    const Salida bien = kalnorCli({"importar", origen, destino});
    EXPECT_EQ(bien.codigo, 0) << bien.errores;
    EXPECT_THAT(bien.salida, HasSubstr("Discreta (DIS), 8 filas"));

    const Salida existe = kalnorCli({"importar", origen, destino});
    EXPECT_EQ(existe.codigo, 1);
    EXPECT_THAT(existe.errores, HasSubstr("--forzar"));
    EXPECT_EQ(kalnorCli({"importar", origen, destino, "--forzar"}).codigo, 0);

    const Salida malo =
        kalnorCli({"importar", q(fixture("no_enunciado.mdb")), q(carpeta / "n.mdb")});
    EXPECT_EQ(malo.codigo, 1);
    EXPECT_THAT(malo.errores, HasSubstr("no tiene la tabla ENUNCIADO"));
}

// One byte of the page map changed: the reader library dereferences a null
// pointer on it. kalnor-cli converts in a child, so it still answers.
TEST(KalnorCliImportar, AReaderThatCrashesCostsAMessageAndWritesNothing) {
    aplicacion();
    const CarpetaTemporal carpeta;
    const std::string original = copiarFixture(carpeta, "dis_notas.mdb");
    {
        std::fstream f(original, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(98359);
        f.put(char(230));
    }
    const std::string antes = sha256Archivo(original);
    const std::string destino = carpeta / "copia.mdb";
    const Salida r = kalnorCli({"importar", q(original), q(destino)});
    EXPECT_EQ(r.codigo, 1) << r.errores;
    EXPECT_THAT(r.errores, ::testing::StartsWith("kalnor-cli: "));
    EXPECT_THAT(r.errores, HasSubstr("dis_notas.mdb"));
    EXPECT_TRUE(r.salida.empty()) << r.salida;
    EXPECT_FALSE(std::filesystem::exists(destino));
    EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(destino)));
    EXPECT_EQ(sha256Archivo(original), antes);
}

} // namespace
} // namespace kalnor::access
