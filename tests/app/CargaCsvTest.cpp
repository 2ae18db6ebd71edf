#include "Distribuciones.h"

#include "app/DbError.h"
#include "app/RecordSet.h"

namespace kalnor::testing {
namespace {

using Valores = std::vector<stats::CellValue>;

class CargarCsv : public Distribuciones {
protected:
    std::size_t cargar(const std::string& archivo, std::string_view codigo, std::string_view csv) {
        return kalnor::CargarCsv(*Database::open(archivo), *stats::kindByCode(codigo), csv);
    }
    Valores columna(const std::string& archivo, const std::string& tabla,
                    const std::string& campo) {
        return RecordSet(Database::open(archivo), "SELECT * FROM " + tabla).column(campo);
    }
    // Expects a refusal naming `linea` and an unchanged table.
    void rechaza(std::string_view csv, const std::string& mensaje) {
        const std::string a = nueva("r.mdb", "CON", "LiX,LsX,ni\n0,1,1\n");
        try {
            cargar(a, "CON", csv);
            ADD_FAILURE() << "aceptado: " << csv;
        } catch (const DbError& e) {
            EXPECT_EQ(std::string(e.what()), mensaje);
        }
        EXPECT_EQ(columna(a, "CON", "ni"), (Valores{num(1)}));
    }
};

TEST_F(CargarCsv, CommaWithDecimalPointAndSemicolonWithDecimalComma) {
    const std::string a = nueva("a.mdb", "CON");
    EXPECT_EQ(cargar(a, "CON", "LiX,LsX,ni\n0.5,1.5,2\r\n1.5,2.5,3\n\n"), 2u);
    EXPECT_EQ(cargar(a, "CON", "\xEF\xBB\xBFLsX;LiX;ni\n3,5;2,5;4\n"), 1u);
    EXPECT_EQ(columna(a, "CON", "LiX"), (Valores{num(0.5), num(1.5), num(2.5)}));
    EXPECT_EQ(columna(a, "CON", "LsX"), (Valores{num(1.5), num(2.5), num(3.5)}));
    EXPECT_EQ(columna(a, "CON", "ni"), (Valores{num(2), num(3), num(4)}));
}

TEST_F(CargarCsv, WordsMayBeQuoted) {
    const std::string a = nueva("a.mdb", "CAT");
    cargar(a, "CAT", "Xi,ni\n\"Rojo, oscuro\",2\n\"dijo \"\"sí\"\"\",1\nazul,1\n");
    EXPECT_EQ(columna(a, "CAT", "Xi"),
              (Valores{txt("Rojo, oscuro"), txt("dijo \"sí\""), txt("azul")}));
}

TEST_F(CargarCsv, DerivedColumnsMayBeLoadedOrLeftEmpty) {
    const std::string a = nueva("a.mdb", "DIS");
    ASSERT_TRUE(Documento::CrearCampo(a, "DIS", "Fi"));
    cargar(a, "DIS", "Xi,ni,Fi\n1,2,2\n2,1,\n");
    EXPECT_EQ(columna(a, "DIS", "Fi"), (Valores{num(2), stats::CellValue::null()}));
}

TEST_F(CargarCsv, BadLinesAreRefusedWithTheirNumberAndNothingIsWritten) {
    rechaza("LiX,LsX,ni\n1,2,1\n2,3,x\n", "Línea 3: «x» no es un número (campo «ni»)");
    rechaza("LiX,LsX,ni\n1,2,1\n\n2,3,1.5\n",
            "Línea 4: la frecuencia «1.5» no es un número natural");
    rechaza("LiX,LsX,ni\n1,2,-1\n", "Línea 2: la frecuencia «-1» no es un número natural");
    rechaza("LiX,LsX,ni\n1,2\n", "Línea 2: se esperaban 3 campos y hay 2");
    rechaza("LiX,LsX,ni\n,2,1\n", "Línea 2: el campo «LiX» está vacío");
    rechaza("LiX,LsX,ni\n1,dos,1\n", "Línea 2: «dos» no es un número (campo «LsX»)");
    rechaza("LiX,ni\n1,1\n", "Línea 1: falta el campo «LsX» en la cabecera");
    rechaza("LiX,LsX,Xi,ni\n", "Línea 1: la tabla CON no tiene el campo «Xi»");
    rechaza("LiX,LsX,ni,ni\n", "Línea 1: el campo «ni» está repetido");
    rechaza("", "Los datos están vacíos: falta la línea de cabecera");
}

// A frequency is a whole number. A point groups thousands only where the
// comma is the decimal separator (a ';' file); where the point is the decimal
// separator, "1.000" is no count at all.
TEST_F(CargarCsv, ThousandsSeparatorsFollowTheFilesConvention) {
    struct Caso {
        const char* codigo;
        std::string csv;
        Valores x;
        Valores ni;
    };
    const Caso casos[] = {
        {"DIS", "Xi;ni\n2;1.000\n3;12.345.678\n", {num(2), num(3)}, {num(1000), num(12345678)}},
        {"DIS",
         "Xi;ni\n1.234,5;2\n-1.000;1\n0,5;1\n",
         {num(1234.5), num(-1000), num(0.5)},
         {num(2), num(1), num(1)}},
        // A ';' file that writes its decimals with a point, as before.
        {"DIS", "Xi;ni\n0.25;3\n123.456;1\n", {num(0.25), num(123.456)}, {num(3), num(1)}},
        {"DIS", "Xi;ni\n0.25;3\n1.500,5;1\n", {num(0.25), num(1500.5)}, {num(3), num(1)}},
        {"DIS", "Xi,ni\n1.000,7\n", {num(1)}, {num(7)}},
        // Text saved in the Windows code page, and lines ended by CR alone.
        {"CAT",
         "Xi,ni\n\xD1"
         "and\xFA,1\ra\xF1o \x80,2\r",
         {txt("Ñandú"), txt("año €")},
         {num(1), num(2)}},
        {"DIS", "Xi,ni\r1,1\r\r2,2", {num(1), num(2)}, {num(1), num(2)}},
    };
    int i = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.csv);
        const std::string a = nueva("m" + std::to_string(i++) + ".mdb", c.codigo);
        EXPECT_EQ(cargar(a, c.codigo, c.csv), c.x.size());
        EXPECT_EQ(columna(a, c.codigo, "Xi"), c.x);
        EXPECT_EQ(columna(a, c.codigo, "ni"), c.ni);
    }
}

TEST_F(CargarCsv, CountsAndNumbersThatCannotBeTakenAsWritten) {
    rechaza("LiX,LsX,ni\n0,1,1.000\n", "Línea 2: la frecuencia «1.000» no es un número natural");
    rechaza("LiX;LsX;ni\n0;1;1,5\n", "Línea 2: la frecuencia «1,5» no es un número natural");
    rechaza("LiX;LsX;ni\n0;1;10.00\n", "Línea 2: la frecuencia «10.00» no es un número natural");
    rechaza("LiX;LsX;ni\n0.5;1.5;1.000\n",
            "Línea 2: la frecuencia «1.000» no es un número natural");
    rechaza("LiX,LsX,ni\n0,1,+2\n", "Línea 2: la frecuencia «+2» no es un número natural");
    rechaza("LiX,LsX,ni\n1e-400,1,1\n", "Línea 2: «1e-400» está tan cerca de cero que no se "
                                        "puede guardar como número (campo «LiX»)");
    rechaza("LiX;LsX;ni\n0;1e400;1\n",
            "Línea 2: «1e400» es demasiado grande para guardarse como número (campo «LsX»)");
    rechaza("LiX,LsX,ni\n0,1,1e-400\n", "Línea 2: «1e-400» está tan cerca de cero que no se "
                                        "puede guardar como número (campo «ni»)");
}

TEST_F(CargarCsv, AHugeBadCellIsQuotedShort) {
    const std::string a = nueva("a.mdb", "DIS");
    const std::string celda(1 << 20, '7');
    for (const std::string& csv :
         {"Xi,ni\n1," + celda + "x\n", "Xi,ni\n" + celda + "x,1\n", "Xi," + celda + "\n1,1\n"}) {
        try {
            cargar(a, "DIS", csv);
            ADD_FAILURE() << "aceptado";
        } catch (const DbError& e) {
            const std::string mensaje = e.what();
            EXPECT_LT(mensaje.size(), 300u);
            EXPECT_NE(mensaje.find("7777…»"), std::string::npos) << mensaje;
        }
    }
}

} // namespace
} // namespace kalnor::testing
