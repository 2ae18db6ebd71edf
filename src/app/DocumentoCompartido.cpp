// The open file as others may share it: whether it can be written at all,
// whether another window or program wrote to it, and writing the statement
// without covering what someone else stored meanwhile.
#include "Documento.h"

#include "DbError.h"
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kalnor {

namespace fs = std::filesystem;

namespace {

// SQLite writes its journal beside the file: a folder that admits no new
// file makes every write fail, whatever the file's own permissions say.
// Permission bits are not enough (root, read-only mounts): a file is made.
bool carpetaAdmiteEscritura(const std::string& ruta) {
    std::error_code ec;
    const fs::path carpeta = fs::absolute(ruta, ec).parent_path();
    for (int intento = 0; intento < 8; ++intento) {
        const fs::path prueba = carpeta / (".kalnor-escritura-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(intento));
        const int fd = ::open(prueba.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            fs::remove(prueba, ec);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The connection's count of commits made by other connections. Asked
// without waiting: a writer that holds the file makes it fail, and the
// question is put again later.
std::optional<long long> versionDatos(sqlite3* db) {
    long long espera = 0;
    try {
        Statement actual(db, "PRAGMA busy_timeout");
        if (actual.step())
            espera = actual.int64(0);
        actual.reset();
    } catch (const DbError&) {
        return std::nullopt;
    }
    sqlite3_busy_timeout(db, 0);
    std::optional<long long> version;
    try {
        Statement pregunta(db, "PRAGMA data_version");
        if (pregunta.step())
            version = pregunta.int64(0);
        pregunta.reset();
    } catch (const DbError&) {
        version.reset();
    }
    sqlite3_busy_timeout(db, static_cast<int>(espera));
    return version;
}

} // namespace

std::shared_ptr<Database> Documento::abrirConAcceso(const std::string& ruta, bool& soloLectura) {
    if (soloLectura)
        return Database::open(ruta, Database::Mode::ReadOnly);
    std::shared_ptr<Database> db;
    try {
        db = Database::open(ruta, Database::Mode::ReadWrite);
    } catch (const DbError& e) {
        if (e.code() != DbError::kCannotOpen && e.code() != DbError::kReadOnly)
            throw;
        // The file can be read but not written: it opens for reading only.
        db = Database::open(ruta, Database::Mode::ReadOnly);
        soloLectura = true;
        return db;
    }
    // SQLite opens a write-protected file for reading without a word.
    soloLectura = sqlite3_db_readonly(db->handle(), "main") == 1 || !carpetaAdmiteEscritura(ruta);
    return db;
}

void Documento::anotarVersion() {
    const std::shared_ptr<Database> db = Data1.isOpen() ? Data1.database() : nullptr;
    const std::optional<long long> v = db ? versionDatos(db->handle()) : std::nullopt;
    versionDatos_ = v.value_or(versionDatos_);
}

bool Documento::cambiadoPorOtro() {
    const std::shared_ptr<Database> db = Data1.isOpen() ? Data1.database() : nullptr;
    if (!db)
        return false;
    const std::optional<long long> v = versionDatos(db->handle());
    if (!v || *v == versionDatos_)
        return false;
    versionDatos_ = *v;
    return true;
}

std::string Documento::EnunciadoEnArchivo() {
    try {
        if (Data2.isOpen())
            Data2.Refresh();
    } catch (const std::exception&) {
        // Kept as read before: the file cannot be read now.
    }
    return Enunciado();
}

Documento::Guardado Documento::guardarEnunciado(const std::string& texto,
                                                const std::string* leido) {
    bool enMemoria = false; // the record set holds the new text
    try {
        if (!Data2.isOpen())
            throw DbError("No hay ninguna distribución abierta", DbError::kNotOpen);
        if (soloLectura_)
            throw DbError("El archivo se abrió solo para leer", DbError::kReadOnly);
        const std::shared_ptr<Database> db = Data2.database();
        // Compared and written under the file's write lock: nobody can
        // store other notes between the two.
        Database::Transaction transaccion(*db);
        Data2.MoveFirst();
        if (leido) {
            Statement guardado(db->handle(),
                               "SELECT [ENUNCIADO] FROM [ENUNCIADO] WHERE rowid = ?1");
            guardado.bind(1, Data2.currentRowId());
            const std::string ahora = guardado.step() ? guardado.text(0) : std::string();
            guardado.reset();
            if (ahora != *leido)
                return Guardado::CambiadoPorOtro;
        }
        Data2.Edit();
        Data2.SetField("ENUNCIADO", stats::CellValue::text(texto));
        Data2.Update();
        enMemoria = true;
        transaccion.commit();
        return Guardado::Hecho;
    } catch (const DbError& e) {
        anotarError(e.code(), e.what());
        try {
            if (enMemoria)
                Data2.Refresh(); // the write was rolled back: back to the file
        } catch (const std::exception&) {
            // Read again at the next open.
        }
        return Guardado::Fallo;
    }
}

} // namespace kalnor
