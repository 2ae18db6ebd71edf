#include "Distribuciones.h"

namespace kalnor::testing {
namespace {

class CrearBorrarCampo : public Distribuciones {};

TEST_F(CrearBorrarCampo, AddsAndDropsADoubleField) {
    const std::string a = nueva("a.mdb", "CON", "LiX,LsX,ni\n0,1,2\n");
    std::string mensaje;
    ASSERT_TRUE(Documento::CrearCampo(a, "CON", "x¡²·n¡", &mensaje)) << mensaje;
    EXPECT_EQ(Database::open(a)->fieldNames("CON"),
              (std::vector<std::string>{"LiX", "LsX", "ni", "x¡²·n¡"}));
    Database::open(a)->exec("UPDATE CON SET \"x¡²·n¡\" = 0.5");
    ASSERT_TRUE(Documento::BorrarCampo(a, "CON", "x¡²·n¡", &mensaje)) << mensaje;
    EXPECT_EQ(Database::open(a)->fieldNames("CON"), (std::vector<std::string>{"LiX", "LsX", "ni"}));
}

TEST_F(CrearBorrarCampo, TableNameMustMatchExactly) {
    const std::string a = nueva("a.mdb", "DIS");
    EXPECT_TRUE(Documento::CrearCampo(a, "dis", "Fi"));
    EXPECT_TRUE(Documento::CrearCampo(a, "NOEXISTE", "Fi"));
    EXPECT_EQ(Database::open(a)->fieldNames("DIS"), (std::vector<std::string>{"Xi", "ni"}));
    ASSERT_TRUE(Documento::CrearCampo(a, "DIS", "Fi"));
    EXPECT_TRUE(Documento::BorrarCampo(a, "Dis", "Fi"));
    EXPECT_EQ(Database::open(a)->fieldNames("DIS"), (std::vector<std::string>{"Xi", "ni", "Fi"}));
}

TEST_F(CrearBorrarCampo, FailureReturnsFalseWithADescription) {
    const std::string a = nueva("a.mdb", "DIS");
    std::string mensaje;
    EXPECT_FALSE(Documento::CrearCampo(a, "DIS", "ni", &mensaje)); // already there
    EXPECT_FALSE(mensaje.empty());
    mensaje.clear();
    EXPECT_FALSE(Documento::BorrarCampo(a, "DIS", "Zi", &mensaje));
    EXPECT_FALSE(mensaje.empty());
    mensaje.clear();
    EXPECT_FALSE(Documento::CrearCampo(ruta("no-existe.mdb"), "DIS", "Fi", &mensaje));
    EXPECT_FALSE(mensaje.empty());
    EXPECT_FALSE(std::filesystem::exists(ruta("no-existe.mdb")));
}

} // namespace
} // namespace kalnor::testing
