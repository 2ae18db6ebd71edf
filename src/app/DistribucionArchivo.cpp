#include "DistribucionArchivo.h"

#include "CitaBreve.h"
#include "Database.h"
#include "DbError.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <system_error>

namespace kalnor {

namespace fs = std::filesystem;
using stats::KindInfo;
using stats::VariableType;

namespace {

void agregarCampos(std::vector<std::string>& campos, VariableType tipo, char variable) {
    if (tipo == VariableType::Continuous) {
        campos.push_back(std::string("Li") + variable);
        campos.push_back(std::string("Ls") + variable);
    } else {
        campos.push_back(std::string(1, variable) + "i");
    }
}

// Runs `sql` with the statement's fields bound, on a raw connection.
void insertarEnunciado(Database& db, const std::string& tipo, const std::string& clase) {
    sqlite3_stmt* raw = nullptr;
    const char* sql = "INSERT INTO ENUNCIADO (TIPO, CLASE, ENUNCIADO) VALUES (?1, ?2, '')";
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &raw, nullptr) != SQLITE_OK)
        throw DbError("La plantilla no tiene una tabla ENUNCIADO válida: " +
                      std::string(sqlite3_errmsg(db.handle())));
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, &sqlite3_finalize);
    sqlite3_bind_text(raw, 1, tipo.c_str(), static_cast<int>(tipo.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, clase.c_str(), static_cast<int>(clase.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_DONE)
        throw DbError("No se pudo escribir el enunciado: " +
                      std::string(sqlite3_errmsg(db.handle())));
}

} // namespace

std::vector<std::string> camposDatos(const KindInfo& kind) {
    std::vector<std::string> campos;
    agregarCampos(campos, kind.x, 'X');
    if (kind.bivariate)
        agregarCampos(campos, kind.y, 'Y');
    campos.emplace_back("ni");
    return campos;
}

bool esCampoDePalabras(const KindInfo& kind, const std::string& campo) {
    return (campo == "Xi" && kind.x == VariableType::Categorical) ||
           (campo == "Yi" && kind.bivariate && kind.y == VariableType::Categorical);
}

std::string esquemaTablaDatos(const KindInfo& kind) {
    std::string sql = "CREATE TABLE " + quoteIdentifier(std::string(kind.code)) + " (";
    bool primero = true;
    for (const std::string& campo : camposDatos(kind)) {
        if (!primero)
            sql += ", ";
        primero = false;
        sql += quoteIdentifier(campo);
        if (campo == "ni")
            sql += " INTEGER CHECK (ni >= 0)";
        else if (esCampoDePalabras(kind, campo))
            sql += " TEXT";
        else
            sql += " REAL";
    }
    return sql + ") STRICT";
}

void CrearPlantilla(const std::string& schemaSql, const std::string& destPath) {
    std::error_code ec;
    fs::remove(destPath, ec);
    const std::string temporal = destPath + ".tmp";
    fs::remove(temporal, ec);
    {
        const auto db = Database::create(temporal);
        Database::Transaction tx(*db);
        db->exec(schemaSql);
        tx.commit();
    }
    fs::rename(temporal, destPath, ec);
    if (ec)
        throw DbError("No se pudo escribir la plantilla " + destPath + ": " + ec.message());
}

void CrearNueva(const std::string& templatePath, const std::string& destPath,
                const std::string& tipoText, const std::string& claseText) {
    const KindInfo* kind = stats::kindByTipo(tipoText);
    if (!kind)
        throw DbError("El tipo de distribución «" + citaBreve(tipoText) + "» no es válido");
    if (!fs::exists(templatePath))
        throw DbError("Falta la plantilla " + templatePath);

    // Work on a copy beside the destination, so a failure leaves it untouched.
    const std::string temporal = destPath + ".nueva";
    std::error_code ec;
    fs::remove(temporal, ec);
    if (!fs::copy_file(templatePath, temporal, fs::copy_options::overwrite_existing, ec))
        throw DbError("No se pudo copiar la plantilla a " + destPath + ": " + ec.message());
    // The installed template is read-only; the new file must not be.
    fs::permissions(temporal, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                    ec);
    try {
        const auto db = Database::open(temporal);
        Database::Transaction tx(*db);
        const std::string tabla(kind->code);
        if (!db->hasTable(tabla))
            db->exec(esquemaTablaDatos(*kind));
        insertarEnunciado(*db, tipoText, claseText);
        tx.commit();
    } catch (...) {
        fs::remove(temporal, ec);
        throw;
    }
    fs::rename(temporal, destPath, ec);
    if (ec) {
        fs::remove(temporal, ec);
        throw DbError("No se pudo crear " + destPath + ": " + ec.message());
    }
}

} // namespace kalnor
