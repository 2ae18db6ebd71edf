#pragma once

// Distribution files for the document tests, made in a fresh folder per test
// from the shipped schema.

#include "../CarpetaUnica.h"
#include "app/CargaCsv.h"
#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "stats/Kinds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace kalnor::stats {
inline void PrintTo(const CellValue& v, std::ostream* os) {
    if (v.isNumber())
        *os << v.asNumber();
    else if (v.isText())
        *os << '"' << v.asText() << '"';
    else
        *os << (v.isNull() ? "(null)" : "(empty)");
}
} // namespace kalnor::stats

namespace kalnor::testing {

inline stats::CellValue num(double v) {
    return stats::CellValue::number(v);
}
inline stats::CellValue txt(std::string s) {
    return stats::CellValue::text(std::move(s));
}

class Distribuciones : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = kalnor::testing::carpetaUnica("kalnor_doc_" + std::string(info->test_suite_name()) +
                                             "_" + info->name());
        plantilla_ = ruta("kalnor.ini");
        std::ifstream esquema(KALNOR_SCHEMA);
        CrearPlantilla(std::string(std::istreambuf_iterator<char>(esquema), {}), plantilla_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string ruta(const std::string& nombre) const { return (dir_ / nombre).string(); }

    // A new distribution of `codigo` holding the rows of `csv` (header first).
    std::string nueva(const std::string& nombre, std::string_view codigo,
                      std::string_view csv = {}) {
        const stats::KindInfo* k = stats::kindByCode(codigo);
        EXPECT_NE(k, nullptr) << codigo;
        const std::string destino = ruta(nombre);
        CrearNueva(plantilla_, destino, std::string(k->tipo),
                   std::string(k->bivariate ? stats::kClaseBi : stats::kClaseUni));
        if (!csv.empty()) {
            const auto db = Database::open(destino);
            CargarCsv(*db, *k, csv);
        }
        return destino;
    }

    // A file made by plain SQL, for shapes the program itself never writes.
    std::string aMano(const std::string& nombre, const std::string& sql) {
        const std::string destino = ruta(nombre);
        Database::create(destino)->exec(sql);
        return destino;
    }

    std::filesystem::path dir_;
    std::string plantilla_;
};

} // namespace kalnor::testing
