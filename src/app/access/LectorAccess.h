#pragma once

#include "TablaAccess.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kalnor::access {

// Reads the user tables of an Access database (Jet 3, Jet 4) through libmdb,
// read-only. libmdb finds the catalogue, the table definitions and the data
// pages; the rows themselves are decoded here, so that relocated rows are
// followed, deleted ones skipped, long memos read whole and doubles taken
// bit for bit. Every failure throws ErrorAccess.
class LectorAccess {
public:
    explicit LectorAccess(const std::string& ruta);
    // From a copy of a file's bytes (used by the fuzz target).
    explicit LectorAccess(std::span<const std::uint8_t> contenido);
    ~LectorAccess();
    LectorAccess(const LectorAccess&) = delete;
    LectorAccess& operator=(const LectorAccess&) = delete;

    bool esJet3() const;
    // User tables, in catalogue order.
    const std::vector<std::string>& nombresTablas() const { return tablas_; }
    bool tieneTabla(const std::string& nombre) const; // any letter case
    // The whole table; refuses a damaged table or one whose rows do not
    // add up to its stored row count.
    TablaAccess leerTabla(const std::string& nombre) const;

    // True when the bytes start like an Access (Jet or ACE) database.
    static bool esCabeceraAccess(std::span<const std::uint8_t> inicio);
    static bool esArchivoAccess(const std::string& ruta);

private:
    struct Estado;
    void abrirCatalogo();
    std::unique_ptr<Estado> estado_;
    std::vector<std::string> tablas_;
};

} // namespace kalnor::access
