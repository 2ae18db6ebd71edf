#pragma once

#include "app/CargaCsv.h"
#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "stats/Kinds.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <stdlib.h>

namespace kalnor::testing {

// Distribution files for the calculator's tests, made by the document layer
// in a folder of their own that goes away with the object.
class DistribucionesPrueba {
public:
    // The folder is unique per object: CTest runs test cases in parallel
    // processes, each of which may make the same `nombre`.
    explicit DistribucionesPrueba(const std::string& nombre) : dir_(carpetaNueva(nombre)) {
        std::ifstream esquema(KALNOR_SCHEMA);
        std::stringstream sql;
        sql << esquema.rdbuf();
        plantilla_ = (dir_ / "kalnor.ini").string();
        CrearPlantilla(sql.str(), plantilla_);
    }
    ~DistribucionesPrueba() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    DistribucionesPrueba(const DistribucionesPrueba&) = delete;
    DistribucionesPrueba& operator=(const DistribucionesPrueba&) = delete;

    // A file of kind `codigo` with the rows of `csv` (header first).
    std::string crear(const std::string& fichero, const std::string& codigo,
                      const std::string& csv) const {
        const stats::KindInfo* kind = stats::kindByCode(codigo);
        if (!kind)
            throw std::invalid_argument(codigo);
        const std::string ruta = (dir_ / fichero).string();
        CrearNueva(plantilla_, ruta, std::string(kind->tipo),
                   std::string(kind->bivariate ? stats::kClaseBi : stats::kClaseUni));
        if (!csv.empty()) {
            auto db = Database::open(ruta);
            CargarCsv(*db, *kind, csv);
        }
        return ruta;
    }
    // Runs SQL on a file made here (rows the loader would refuse).
    static void ejecutar(const std::string& ruta, const std::string& sql) {
        Database::open(ruta)->exec(sql);
    }

    const std::filesystem::path& dir() const { return dir_; }

private:
    static std::filesystem::path carpetaNueva(const std::string& nombre) {
        std::string plantilla =
            (std::filesystem::temp_directory_path() / ("kalnor_panel_" + nombre + "_XXXXXX"))
                .string();
        if (!mkdtemp(plantilla.data()))
            throw std::runtime_error("mkdtemp: " + plantilla);
        return plantilla;
    }

    std::filesystem::path dir_;
    std::string plantilla_;
};

} // namespace kalnor::testing
