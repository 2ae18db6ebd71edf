#pragma once

// The fixture of the kalnor-cli tests: every test has a fresh folder of its
// own, removed afterwards, and runs the built kalnor-cli as a user would.

#include "../CarpetaUnica.h"
#include "../ProcesoPrueba.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kalnor::testing {

class CliPrueba : public ::testing::Test {
protected:
    using Resultado = Ejecucion;

    // `prefijo` names the test's folders in the temporary folder.
    explicit CliPrueba(std::string prefijo) : prefijo_(std::move(prefijo)) {}

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = carpetaUnica(prefijo_ + info->name());
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string ruta(const std::string& nombre) const { return (dir_ / nombre).string(); }

    // kalnor-cli with `args`, `entrada` on its standard input.
    virtual Resultado cli(const std::vector<std::string>& args,
                          const std::string& entrada = {}) const = 0;

    // A new distribution of `tipo` at `nombre` with the rows of `csv`.
    std::string distribucion(const std::string& nombre, const std::string& tipo,
                             const std::string& csv) const {
        const std::string f = ruta(nombre);
        EXPECT_EQ(cli({"nueva", tipo, f}).codigo, 0);
        if (!csv.empty()) {
            const Resultado r = cli({"cargar", f, "-"}, csv);
            EXPECT_EQ(r.codigo, 0) << r.errores;
        }
        return f;
    }

    std::filesystem::path dir_;

private:
    std::string prefijo_;
};

} // namespace kalnor::testing
