// Runs arbitrary SQL on a fresh in-memory database (hand-written schema
// rows included, as a hostile file may hold them) and then the check of a
// distribution file's schema: it must answer, accepting or refusing with a
// DbError, never crash, hang or leak.
#include "app/DbError.h"
#include "app/EsquemaArchivo.h"

#include <sqlite3.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

// Virtual machine steps the input may take before it is stopped.
constexpr int kPasos = 200;
constexpr int kPasosEntreLlamadas = 1000;

struct Cierre {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

// Nothing may reach the disk: no other database is attached.
int autorizar(void*, int accion, const char*, const char*, const char*, const char*) {
    return accion == SQLITE_ATTACH || accion == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
}

bool mencionaVacuum(std::string_view sql) {
    std::string mayusculas(sql);
    for (char& c : mayusculas)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return mayusculas.find("VACUUM") != std::string::npos; // VACUUM INTO writes a file
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string sql(reinterpret_cast<const char*>(data), size);
    if (mencionaVacuum(sql))
        return 0;
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(raw);
        return 0;
    }
    const std::unique_ptr<sqlite3, Cierre> db(raw);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, 1 << 20);
    sqlite3_limit(raw, SQLITE_LIMIT_SQL_LENGTH, 1 << 16);
    sqlite3_limit(raw, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_set_authorizer(raw, autorizar, nullptr);
    // The schema may be written by hand, as in a file made elsewhere.
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 1, nullptr);
    int llamadas = 0;
    sqlite3_progress_handler(
        raw, kPasosEntreLlamadas,
        [](void* cuenta) { return ++*static_cast<int*>(cuenta) > kPasos ? 1 : 0; }, &llamadas);
    sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_WRITABLE_SCHEMA, 0, nullptr);
    // The check itself runs without the step limit: it must end on its own.
    sqlite3_progress_handler(raw, 0, nullptr, nullptr);
    try {
        kalnor::comprobarEsquema(raw);
    } catch (const kalnor::DbError&) {
    }
    return 0;
}
