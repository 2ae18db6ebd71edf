#pragma once

#include "../CarpetaUnica.h"
#include "app/Database.h"
#include "app/RecordSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

namespace kalnor::stats {
// Readable values in failure messages.
inline void PrintTo(const CellValue& v, std::ostream* os) {
    switch (v.kind()) {
    case CellValue::Kind::Empty:
        *os << "(empty)";
        break;
    case CellValue::Kind::Null:
        *os << "(null)";
        break;
    case CellValue::Kind::Number:
        *os << v.asNumber();
        break;
    case CellValue::Kind::Text:
        *os << '"' << v.asText() << '"';
        break;
    }
}
} // namespace kalnor::stats

namespace kalnor::testing {

// A fresh folder per test with a small distribution-like file in it.
class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = kalnor::testing::carpetaUnica("kalnor_db_" + std::string(info->test_suite_name()) +
                                             "_" + info->name());
        path_ = (dir_ / "dist.mdb").string();
        auto db = Database::create(path_);
        db->exec("CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT;"
                 "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
                 "CREATE TABLE CAT (Xi TEXT, ni INTEGER CHECK (ni >= 0)) STRICT;"
                 "INSERT INTO ENUNCIADO VALUES ('Discreta', 'Dist. UNIDIMENSIONAL', 'Notas');"
                 "INSERT INTO DIS VALUES (5, 1), (2, 1), (3, 1), (2, 4), (NULL, 2);");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    std::shared_ptr<Database> openDb() const { return Database::open(path_); }

    std::filesystem::path dir_;
    std::string path_;
};

} // namespace kalnor::testing
