#include "Distribuciones.h"

#include <map>

namespace kalnor::testing {
namespace {

using stats::CellValue;
using Valores = std::vector<CellValue>;

class OrdenarDatos : public Distribuciones {
protected:
    void abrir(const std::string& archivo) {
        ASSERT_TRUE(doc_.AbrirBase(archivo)) << doc_.error.MensajeError;
        QObject::connect(&doc_, &Documento::datosCambiados, [this] { ++cambios_; });
    }
    Valores columna(const std::string& campo) const { return doc_.Data1.column(campo); }

    Documento doc_;
    int cambios_ = 0;
};

TEST_F(OrdenarDatos, NumbersSortByValue) {
    abrir(nueva("a.mdb", "DIS", "Xi,ni\n10,1\n9,2\n100,3\n-2,4\n2.5,5\n"));
    doc_.OrdenarDatos("Xi");
    EXPECT_FALSE(doc_.error.failed()) << doc_.error.MensajeError;
    EXPECT_EQ(columna("Xi"), (Valores{num(-2), num(2.5), num(9), num(10), num(100)}));
    EXPECT_EQ(columna("ni"), (Valores{num(4), num(5), num(2), num(1), num(3)}));
    EXPECT_EQ(doc_.Data1.rowSource(), "SELECT * FROM DIS ORDER BY [Xi]");
    EXPECT_EQ(doc_.NumRegistros, 5);
    EXPECT_EQ(cambios_, 1);
}

TEST_F(OrdenarDatos, WordsSortAlphabetically) {
    abrir(nueva("a.mdb", "CAT", "Xi,ni\npera,1\nmanzana,1\nuva,1\nNaranja,1\nkiwi,1\n"));
    doc_.OrdenarDatos("Xi");
    EXPECT_EQ(columna("Xi"),
              (Valores{txt("kiwi"), txt("manzana"), txt("Naranja"), txt("pera"), txt("uva")}));
}

TEST_F(OrdenarDatos, EmptyFieldMeansTheActiveVariablesSortField) {
    abrir(nueva("a.mdb", "DISCON", "Xi,LiY,LsY,ni\n1,20,30,1\n2,10,20,1\n"));
    doc_.OrdenarDatos();
    EXPECT_EQ(columna("Xi"), (Valores{num(1), num(2)}));
    doc_.VarActiva = "Y";
    doc_.OrdenarDatos();
    EXPECT_EQ(doc_.Data1.rowSource(), "SELECT * FROM DISCON ORDER BY [LiY]");
    EXPECT_EQ(columna("Xi"), (Valores{num(2), num(1)}));

    Documento con;
    ASSERT_TRUE(con.AbrirBase(nueva("b.mdb", "CON", "LiX,LsX,ni\n5,10,1\n0,5,1\n")));
    con.OrdenarDatos();
    EXPECT_EQ(con.Data1.rowSource(), "SELECT * FROM CON ORDER BY [LiX]");
}

TEST_F(OrdenarDatos, SortsByAnyFieldIncludingDerivedOnes) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n1,3\n2,1\n3,2\n");
    ASSERT_TRUE(Documento::CrearCampo(a, "DIS", "x¡·n¡ (%)"));
    abrir(a);
    doc_.OrdenarDatos("ni");
    EXPECT_EQ(columna("Xi"), (Valores{num(2), num(3), num(1)}));
    doc_.OrdenarDatos("x¡·n¡ (%)");
    EXPECT_FALSE(doc_.error.failed()) << doc_.error.MensajeError;
}

TEST_F(OrdenarDatos, OrderLastsUntilTheFileIsOpenedAgain) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n3,1\n1,1\n2,1\n");
    abrir(a);
    doc_.OrdenarDatos("Xi");
    EXPECT_EQ(columna("Xi"), (Valores{num(1), num(2), num(3)}));
    ASSERT_TRUE(doc_.AbrirBase(a));
    EXPECT_EQ(columna("Xi"), (Valores{num(3), num(1), num(2)}));
}

TEST_F(OrdenarDatos, SortingAgainWithoutChangesDoesNothing) {
    abrir(nueva("a.mdb", "DIS", "Xi,ni\n3,1\n1,1\n"));
    doc_.OrdenarDatos("Xi");
    doc_.OrdenarDatos("Xi");
    doc_.OrdenarDatos();
    EXPECT_EQ(cambios_, 1);

    // A change to the rows makes the next sort re-query.
    doc_.Data1.MoveFirst();
    doc_.Data1.Edit();
    doc_.Data1.SetField("Xi", num(5));
    doc_.Data1.Update();
    EXPECT_EQ(columna("Xi"), (Valores{num(5), num(3)}));
    doc_.OrdenarDatos("Xi");
    EXPECT_EQ(cambios_, 2);
    EXPECT_EQ(columna("Xi"), (Valores{num(3), num(5)}));
}

TEST_F(OrdenarDatos, ShowsRowsAnotherProgramWroteMeanwhile) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n3,1\n1,1\n");
    abrir(a);
    doc_.OrdenarDatos("ni");
    Database::open(a)->exec("INSERT INTO DIS VALUES (2, 5)");
    doc_.OrdenarDatos("Xi");
    EXPECT_EQ(columna("Xi"), (Valores{num(1), num(2), num(3)}));
    EXPECT_EQ(doc_.NumRegistros, 3);
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(doc_.listas.Frecuencias, (stats::FrequencyList{1, 5, 1}));
}

TEST_F(OrdenarDatos, FailuresGoToTheErrorRecordAndKeepTheOrder) {
    doc_.OrdenarDatos("Xi");
    EXPECT_NE(doc_.error.NumError, 0); // nothing open
    EXPECT_FALSE(doc_.error.MensajeError.empty());

    abrir(nueva("a.mdb", "DIS", "Xi,ni\n3,1\n1,1\n"));
    doc_.error.clear();
    doc_.OrdenarDatos("Zi");
    EXPECT_NE(doc_.error.NumError, 0);
    EXPECT_NE(doc_.error.MensajeError.find("«Zi»"), std::string::npos);
    EXPECT_EQ(doc_.Data1.rowSource(), "SELECT * FROM DIS");
    EXPECT_EQ(columna("Xi"), (Valores{num(3), num(1)}));

    doc_.error.clear();
    doc_.VarActiva = "Y"; // a one-variable table has no Y to sort by
    doc_.OrdenarDatos();
    EXPECT_NE(doc_.error.NumError, 0);
    EXPECT_EQ(cambios_, 0);
}

// --- Tally ----------------------------------------------------------------

class Recuento : public OrdenarDatos {
protected:
    void recontar() {
        doc_.OrdenarDatos("Xi");
        doc_.Recuento();
        EXPECT_FALSE(doc_.error.failed()) << doc_.error.MensajeError;
    }
};

TEST_F(Recuento, MergesRunsOfEqualNumbers) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n5,1\n2,1\n5,1\n3,1\n2,1\n5,1\n");
    abrir(a);
    recontar();
    EXPECT_EQ(columna("Xi"), (Valores{num(2), num(3), num(5)}));
    EXPECT_EQ(columna("ni"), (Valores{num(2), num(1), num(3)}));
    EXPECT_EQ(doc_.NumRegistros, 3);
    // Still shown sorted; the file holds the merged rows.
    EXPECT_EQ(doc_.Data1.rowSource(), "SELECT * FROM DIS ORDER BY [Xi]");
    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(a));
    EXPECT_EQ(otro.NumRegistros, 3);
}

TEST_F(Recuento, LongRunsMergeWhole) {
    std::string csv = "Xi,ni\n";
    for (int i = 0; i < 1001; ++i)
        csv += std::to_string(i % 3) + ",1\n";
    abrir(nueva("a.mdb", "DIS", csv));
    recontar();
    EXPECT_EQ(columna("Xi"), (Valores{num(0), num(1), num(2)}));
    EXPECT_EQ(columna("ni"), (Valores{num(334), num(334), num(333)}));
}

TEST_F(Recuento, NumbersCompareByValue) {
    abrir(aMano("a.mdb", "CREATE TABLE ENUNCIADO (TIPO, CLASE, ENUNCIADO);"
                         "INSERT INTO ENUNCIADO VALUES ('Discreta', 'Dist. UNIDIMENSIONAL', '');"
                         "CREATE TABLE DIS (Xi, ni);"
                         "INSERT INTO DIS VALUES (2, 1), ('2.0', 1), ('2,0', 4);"));
    doc_.Recuento();
    EXPECT_EQ(columna("ni"), (Valores{num(6)}));
}

TEST_F(Recuento, MergesOnlyEqualWords) {
    abrir(nueva("a.mdb", "CAT", "Xi,ni\nrojo,1\nazul,1\nrojo,2\nverde,1\nazul,1\nRojo,1\n"));
    recontar();
    const Valores palabras = columna("Xi");
    const Valores ni = columna("ni");
    ASSERT_EQ(palabras.size(), 4u);
    std::map<std::string, double> tabla;
    for (std::size_t i = 0; i < palabras.size(); ++i)
        tabla[palabras[i].asText()] = ni[i].asNumber();
    EXPECT_EQ(tabla,
              (std::map<std::string, double>{{"azul", 2}, {"rojo", 3}, {"Rojo", 1}, {"verde", 1}}));
}

TEST_F(Recuento, FrequencyTableStaysAsItIs) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n1,4\n2,7\n3,1\n");
    abrir(a);
    recontar();
    EXPECT_EQ(columna("Xi"), (Valores{num(1), num(2), num(3)}));
    EXPECT_EQ(columna("ni"), (Valores{num(4), num(7), num(1)}));
    EXPECT_EQ(cambios_, 1); // the sort only
}

TEST_F(Recuento, SurvivingRowIsTheLastOfItsRunAndKeepsItsOtherFields) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n2,1\n2,3\n");
    ASSERT_TRUE(Documento::CrearCampo(a, "DIS", "Fi"));
    Database::open(a)->exec("UPDATE DIS SET Fi = rowid * 10");
    abrir(a);
    doc_.Recuento(); // stored order
    EXPECT_EQ(columna("ni"), (Valores{num(4)}));
    EXPECT_EQ(columna("Fi"), (Valores{num(20)}));
}

TEST_F(Recuento, RowsWithoutANumberAreLeftAloneAndSplitRuns) {
    abrir(aMano("a.mdb", "CREATE TABLE ENUNCIADO (TIPO, CLASE, ENUNCIADO);"
                         "INSERT INTO ENUNCIADO VALUES ('Discreta', 'Dist. UNIDIMENSIONAL', '');"
                         "CREATE TABLE DIS (Xi, ni);"
                         "INSERT INTO DIS VALUES (2, 1), (2, NULL), (2, 1), (2, 'x'),"
                         " (NULL, 1), (NULL, 1), ('dos', 1), ('dos', 1), (3, 1), (3, 2);"));
    doc_.Recuento();
    EXPECT_EQ(columna("Xi"), (Valores{num(2), num(2), num(2), num(2), CellValue::null(),
                                      CellValue::null(), txt("dos"), txt("dos"), num(3)}));
    EXPECT_EQ(columna("ni"), (Valores{num(1), CellValue::null(), num(1), txt("x"), num(1), num(1),
                                      num(1), num(1), num(3)}));
}

TEST_F(Recuento, OnlyOneVariableCategoricalOrDiscreteTablesAreTallied) {
    for (const auto& [codigo, csv] :
         std::vector<std::pair<const char*, const char*>>{{"CON", "LiX,LsX,ni\n0,1,1\n0,1,1\n"},
                                                          {"DISDIS", "Xi,Yi,ni\n1,1,1\n1,2,1\n"},
                                                          {"CATCAT", "Xi,Yi,ni\na,b,1\na,c,1\n"}}) {
        SCOPED_TRACE(codigo);
        Documento doc;
        ASSERT_TRUE(doc.AbrirBase(nueva(std::string(codigo) + ".mdb", codigo, csv)));
        doc.Recuento();
        EXPECT_EQ(doc.ContarRegistros(), 2);
    }
}

TEST_F(Recuento, NothingOpenDoesNothing) {
    doc_.Recuento();
    EXPECT_FALSE(doc_.error.failed());
}

} // namespace
} // namespace kalnor::testing
