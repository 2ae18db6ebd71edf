// Where the program finds its template, help and distributions.

#include "app/Rutas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

using kalnor::Rutas;

void escribir(const QString& ruta, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Rutas, BesideTheProgramInTheBuildTree) {
    QTemporaryDir dir;
    escribir(dir.path() + "/bin/kalnor.ini");
    const Rutas r = Rutas::desdePrograma(dir.path());
    EXPECT_EQ(r.RutaBin, dir.path() + "/bin/");
    EXPECT_EQ(r.RutaHlp, dir.path() + "/hlp/");
    EXPECT_EQ(r.RutaDat, dir.path() + "/dat/");
    // The build tree is the developer's own: nothing in it is off limits.
    EXPECT_FALSE(r.esInstalada(r.RutaDat));
    EXPECT_FALSE(r.esInstalada(r.RutaBin));
}

// Installed: bin/ and hlp/ from share/kalnor beside the program's bin
// folder, distributions in a per-user folder seeded once with the examples.
TEST(Rutas, InstalledUsesSharedFilesAndAPerUserFolder) {
    QTemporaryDir prefijo;
    QTemporaryDir usuario;
    const QString share = prefijo.path() + "/share/kalnor/";
    escribir(share + "bin/kalnor.ini");
    escribir(share + "dat/Notas_examen.mdb", "ejemplo");
    QDir().mkpath(prefijo.path() + "/bin");
    ASSERT_EQ(setenv("XDG_DATA_HOME", qPrintable(usuario.path()), 1), 0);

    const Rutas r = Rutas::desdePrograma(prefijo.path() + "/bin");
    EXPECT_EQ(QFileInfo(r.RutaBin).canonicalFilePath(),
              QFileInfo(share + "bin").canonicalFilePath());
    EXPECT_EQ(QFileInfo(r.RutaHlp).absoluteFilePath(),
              QFileInfo(share + "hlp/").absoluteFilePath());
    EXPECT_EQ(r.RutaDat, usuario.path() + "/kalnor/dat/");
    EXPECT_TRUE(QFileInfo::exists(r.RutaDat + "Notas_examen.mdb"));
    // The installed files are never written: not even beside an example
    // opened where it was installed.
    EXPECT_TRUE(r.esInstalada(share + "dat"));
    EXPECT_TRUE(r.esInstalada(share));
    EXPECT_FALSE(r.esInstalada(r.RutaDat));
    EXPECT_FALSE(r.esInstalada(prefijo.path() + "/share"));

    // The user's own changes are never overwritten by a later start.
    escribir(r.RutaDat + "Notas_examen.mdb", "mío");
    Rutas::desdePrograma(prefijo.path() + "/bin");
    QFile f(r.RutaDat + "Notas_examen.mdb");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("mío"));
    unsetenv("XDG_DATA_HOME");
}

} // namespace
