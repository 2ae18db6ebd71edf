// One distribution file shared: opened only for reading, written by another
// window or program meanwhile, held by another writer.

#include "Distribuciones.h"

#include "app/DbError.h"

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kalnor::testing {
namespace {

class ArchivoCompartido : public Distribuciones {};

// Another program's connection to the file, by SQLite's own API.
class OtraConexion {
public:
    explicit OtraConexion(const std::string& ruta) {
        EXPECT_EQ(sqlite3_open_v2(ruta.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    }
    ~OtraConexion() { sqlite3_close_v2(db_); }
    OtraConexion(const OtraConexion&) = delete;
    OtraConexion& operator=(const OtraConexion&) = delete;
    int exec(const std::string& sql) {
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    }

private:
    sqlite3* db_ = nullptr;
};

std::string enunciadoDe(const std::string& ruta) {
    Documento doc;
    EXPECT_TRUE(doc.AbrirBase(ruta, Documento::Acceso::SoloLectura)) << doc.error.MensajeError;
    return doc.Enunciado();
}

TEST_F(ArchivoCompartido, AFileOpenedForReadingMeasuresButWritesNothing) {
    const std::string archivo = nueva("d.mdb", "DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo, Documento::Acceso::SoloLectura));
    EXPECT_TRUE(doc.soloLectura());
    EXPECT_EQ(doc.NumRegistros, 3);
    ASSERT_TRUE(doc.LeerVariable());
    EXPECT_EQ(doc.listas.Valores.size(), 3u);

    EXPECT_EQ(doc.guardarEnunciado("nuevo", nullptr), Documento::Guardado::Fallo);
    EXPECT_FALSE(doc.error.MensajeError.empty());
    EXPECT_FALSE(doc.setEnunciado("nuevo"));
    EXPECT_EQ(enunciadoDe(archivo), "");

    // Opened again from itself it stays read-only; asked for writing, it is not.
    ASSERT_TRUE(doc.AbrirBase(archivo));
    EXPECT_TRUE(doc.soloLectura());
    ASSERT_TRUE(doc.AbrirBase(archivo, Documento::Acceso::Escritura));
    EXPECT_FALSE(doc.soloLectura());
    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(archivo));
    EXPECT_FALSE(otro.soloLectura());
}

// Permission bits bind every user but root (who runs the CI).
TEST_F(ArchivoCompartido, AWriteProtectedFileOpensReadOnly) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes any file whatever its permissions";
    const std::string archivo = nueva("d.mdb", "DIS", "Xi,ni\n1,1\n");
    ASSERT_EQ(::chmod(archivo.c_str(), 0444), 0);
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo)) << doc.error.MensajeError;
    EXPECT_TRUE(doc.soloLectura());
    EXPECT_EQ(doc.NumRegistros, 1);

    // A writable file in a folder that admits no journal beside it.
    std::filesystem::create_directory(dir_ / "cerrada");
    const std::string encerrado = (dir_ / "cerrada" / "e.mdb").string();
    std::filesystem::copy_file(nueva("e.mdb", "DIS", "Xi,ni\n1,1\n"), encerrado);
    ASSERT_EQ(::chmod((dir_ / "cerrada").c_str(), 0555), 0);
    Documento otro;
    const bool abierto = otro.AbrirBase(encerrado);
    const bool soloLectura = otro.soloLectura();
    ::chmod((dir_ / "cerrada").c_str(), 0755); // so the folder can be removed
    ASSERT_TRUE(abierto) << otro.error.MensajeError;
    EXPECT_TRUE(soloLectura);
}

TEST_F(ArchivoCompartido, RowsAnotherConnectionAddsAreNoticedOnce) {
    const std::string archivo = nueva("d.mdb", "DIS", "Xi,ni\n1,1\n2,1\n");
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo));
    EXPECT_FALSE(doc.cambiadoPorOtro());
    // Its own writes are not someone else's.
    ASSERT_EQ(doc.guardarEnunciado("mías", nullptr), Documento::Guardado::Hecho);
    EXPECT_FALSE(doc.cambiadoPorOtro());

    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(archivo));
    otro.Data1.AddNew();
    otro.Data1.SetField("Xi", num(3));
    otro.Data1.SetField("ni", num(1));
    otro.Data1.Update();

    EXPECT_TRUE(doc.cambiadoPorOtro());
    EXPECT_FALSE(doc.cambiadoPorOtro());
    ASSERT_TRUE(doc.AbrirBase(doc.BaseActual));
    EXPECT_EQ(doc.NumRegistros, 3);
    EXPECT_FALSE(doc.cambiadoPorOtro());
}

TEST_F(ArchivoCompartido, NotesStoredByAnotherAreNeverWrittenOver) {
    const std::string archivo = nueva("d.mdb", "DIS");
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo));
    const std::string leido = doc.Enunciado();

    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(archivo));
    ASSERT_TRUE(otro.setEnunciado("suyas"));

    EXPECT_EQ(doc.guardarEnunciado("mías", &leido), Documento::Guardado::CambiadoPorOtro);
    EXPECT_EQ(enunciadoDe(archivo), "suyas");
    EXPECT_EQ(doc.EnunciadoEnArchivo(), "suyas");
    // Against what the file holds now, or regardless, the write goes in.
    const std::string ahora = "suyas";
    EXPECT_EQ(doc.guardarEnunciado("mías", &ahora), Documento::Guardado::Hecho);
    EXPECT_EQ(enunciadoDe(archivo), "mías");
    EXPECT_EQ(doc.guardarEnunciado("otra vez", nullptr), Documento::Guardado::Hecho);
    EXPECT_EQ(enunciadoDe(archivo), "otra vez");
}

TEST_F(ArchivoCompartido, AWriterHoldingTheFileMakesTheNotesFailWithAReason) {
    const std::string archivo = nueva("d.mdb", "DIS", "Xi,ni\n1,1\n");
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo));
    const std::string leido = doc.Enunciado();
    OtraConexion otra(archivo);
    ASSERT_EQ(otra.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    EXPECT_EQ(doc.guardarEnunciado("mías", &leido), Documento::Guardado::Fallo);
    EXPECT_EQ(doc.error.NumError, DbError::kLocked);
    EXPECT_FALSE(doc.error.MensajeError.empty());
    EXPECT_FALSE(doc.cambiadoPorOtro()); // asked without waiting, answered later
    ASSERT_EQ(otra.exec("COMMIT"), SQLITE_OK);
    EXPECT_EQ(doc.guardarEnunciado("mías", &leido), Documento::Guardado::Hecho);
    EXPECT_EQ(enunciadoDe(archivo), "mías");
}

} // namespace
} // namespace kalnor::testing
