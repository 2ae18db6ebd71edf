// Loads arbitrary bytes as CSV rows into a categorical and a continuous
// distribution: bad input must be refused as a whole, never crash.
#include "app/CargaCsv.h"
#include "app/Database.h"
#include "app/DbError.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

const std::string& archivo() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() /
                               ("kalnor_fuzz_csv_" + std::to_string(getpid()) + ".mdb"))
                                  .string();
        std::filesystem::remove(p);
        kalnor::Database::create(p)->exec(
            "CREATE TABLE CAT (Xi TEXT, ni INTEGER CHECK (ni >= 0)) STRICT;"
            "CREATE TABLE CON (LiX REAL, LsX REAL, ni INTEGER CHECK (ni >= 0), Fi REAL) STRICT;");
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view texto(reinterpret_cast<const char*>(data), size);
    static const auto db = [] {
        auto abierta = kalnor::Database::open(archivo());
        abierta->exec("PRAGMA synchronous = OFF"); // speed: the file is thrown away
        return abierta;
    }();
    for (const char* codigo : {"CAT", "CON"}) {
        try {
            kalnor::CargarCsv(*db, *kalnor::stats::kindByCode(codigo), texto);
        } catch (const kalnor::DbError&) {
        }
    }
    // Keep the file small between runs.
    db->exec("DELETE FROM CAT; DELETE FROM CON;");
    return 0;
}
