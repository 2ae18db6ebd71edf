#include "Distribuciones.h"

#include "stats/Central.h"

#include <bit>

namespace kalnor::testing {
namespace {

using stats::CellValue;
using Valores = std::vector<CellValue>;
using Frecuencias = std::vector<std::int32_t>;

class LeerVariable : public Distribuciones {
protected:
    // Opens `archivo`, sets the active variable, counts and reads.
    bool leer(const std::string& archivo, const std::string& variable = "X") {
        EXPECT_TRUE(doc_.AbrirBase(archivo)) << doc_.error.MensajeError;
        doc_.VarActiva = variable;
        EXPECT_GT(doc_.ContarRegistros(), 0);
        return doc_.LeerVariable();
    }
    const Valores& valores() const { return doc_.listas.Valores; }
    const Frecuencias& frecuencias() const { return doc_.listas.Frecuencias; }
    const Valores& limInf() const { return doc_.listas.LimInf; }
    const Valores& limSup() const { return doc_.listas.LimSup; }

    Documento doc_;
};

// --- Every kind, both variables -----------------------------------------

TEST_F(LeerVariable, CategoricalKeepsTheWordsInRecordOrder) {
    const std::string a = nueva("cat.mdb", "CAT", "Xi,ni\nverde,2\nazul,5\n12,1\n");
    ASSERT_TRUE(leer(a));
    EXPECT_EQ(valores(), (Valores{txt("verde"), txt("azul"), txt("12")}));
    EXPECT_EQ(frecuencias(), (Frecuencias{2, 5, 1}));
    // A variable not taken by classes holds no class limits.
    EXPECT_TRUE(limInf().empty());
    EXPECT_TRUE(limSup().empty());
}

TEST_F(LeerVariable, DiscreteInDescendingOrderStaysDescending) {
    const std::string a = nueva("dis.mdb", "DIS", "Xi,ni\n9,1\n5.5,2\n-1,3\n");
    ASSERT_TRUE(leer(a));
    EXPECT_EQ(valores(), (Valores{num(9), num(5.5), num(-1)}));
    EXPECT_EQ(frecuencias(), (Frecuencias{1, 2, 3}));
}

TEST_F(LeerVariable, DiscreteNeverReadsY) {
    const std::string a = nueva("dis.mdb", "DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    ASSERT_TRUE(Documento::CrearCampo(a, "DIS", "Yi"));
    Database::open(a)->exec("UPDATE DIS SET Yi = 100");
    ASSERT_TRUE(leer(a, "Y"));
    EXPECT_EQ(valores(), (Valores{num(1), num(2), num(3)}));
}

TEST_F(LeerVariable, ContinuousGivesClassMarksAndLimits) {
    const std::string a = nueva("con.mdb", "CON", "LiX,LsX,ni\n0,5,1\n5,10,2\n10,15.5,3\n");
    for (const char* variable : {"X", "Y"}) { // one variable: Y reads X
        SCOPED_TRACE(variable);
        ASSERT_TRUE(leer(a, variable));
        EXPECT_EQ(valores(), (Valores{num(2.5), num(7.5), num(12.75)}));
        EXPECT_EQ(limInf(), (Valores{num(0), num(5), num(10)}));
        EXPECT_EQ(limSup(), (Valores{num(5), num(10), num(15.5)}));
        EXPECT_EQ(frecuencias(), (Frecuencias{1, 2, 3}));
    }
}

TEST_F(LeerVariable, CategoricalContinuousReadsWordsForXAndClassesForY) {
    const std::string a =
        nueva("catcon.mdb", "CATCON", "Xi,LiY,LsY,ni\nchicos,150,160,4\nchicas,160,170,6\n");
    ASSERT_TRUE(leer(a, "X"));
    EXPECT_EQ(valores(), (Valores{txt("chicos"), txt("chicas")}));
    EXPECT_TRUE(limInf().empty());
    EXPECT_TRUE(limSup().empty());

    ASSERT_TRUE(leer(a, "Y"));
    EXPECT_EQ(valores(), (Valores{num(155), num(165)}));
    EXPECT_EQ(limInf(), (Valores{num(150), num(160)}));
    EXPECT_EQ(limSup(), (Valores{num(160), num(170)}));
    EXPECT_EQ(frecuencias(), (Frecuencias{4, 6}));
}

TEST_F(LeerVariable, PairsOfValuesReadTheActiveOne) {
    struct Caso {
        const char* codigo;
        const char* csv;
        Valores x, y;
    };
    const std::vector<Caso> casos{
        {"DISDIS", "Xi,Yi,ni\n1,10,1\n2,20,1\n", {num(1), num(2)}, {num(10), num(20)}},
        {"CATCAT",
         "Xi,Yi,ni\nsí,alto,1\nno,bajo,1\n",
         {txt("sí"), txt("no")},
         {txt("alto"), txt("bajo")}},
        {"CATDIS", "Xi,Yi,ni\nA,3,1\nB,4,1\n", {txt("A"), txt("B")}, {num(3), num(4)}},
        {"DISCON", "Xi,LiY,LsY,ni\n1,0,2,1\n2,2,4,1\n", {num(1), num(2)}, {num(1), num(3)}},
        {"CONCON",
         "LiX,LsX,LiY,LsY,ni\n0,2,10,20,1\n2,4,20,40,1\n",
         {num(1), num(3)},
         {num(15), num(30)}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.codigo);
        const std::string a = nueva(std::string(c.codigo) + ".mdb", c.codigo, c.csv);
        ASSERT_TRUE(leer(a, "X"));
        EXPECT_EQ(valores(), c.x);
        ASSERT_TRUE(leer(a, "Y"));
        EXPECT_EQ(valores(), c.y);
        EXPECT_EQ(frecuencias(), (Frecuencias{1, 1}));
    }
}

// --- Conversions ----------------------------------------------------------

// Tables written by other programs may hold any type in any column.
std::string libre(const std::string& filas) {
    return "CREATE TABLE ENUNCIADO (TIPO, CLASE, ENUNCIADO);"
           "INSERT INTO ENUNCIADO VALUES ('Discreta', 'Dist. UNIDIMENSIONAL', '');"
           "CREATE TABLE DIS (Xi, ni);"
           "INSERT INTO DIS VALUES " +
           filas + ";";
}
std::string libreCon(const std::string& filas) {
    return "CREATE TABLE ENUNCIADO (TIPO, CLASE, ENUNCIADO);"
           "INSERT INTO ENUNCIADO VALUES ('Continua', 'Dist. UNIDIMENSIONAL', '');"
           "CREATE TABLE CON (LiX, LsX, ni);"
           "INSERT INTO CON VALUES " +
           filas + ";";
}

TEST_F(LeerVariable, TextThatReadsAsANumberIsThatNumber) {
    const std::string a = aMano("a.mdb", libre("('7', '3'), (8, ' 2 ')"));
    ASSERT_TRUE(leer(a));
    EXPECT_EQ(frecuencias(), (Frecuencias{3, 2}));
    EXPECT_EQ(valores(), (Valores{txt("7"), num(8)})); // values are copied as stored
    const std::string c = aMano("c.mdb", libreCon("('1,5', '2.5', 1)"));
    ASSERT_TRUE(leer(c));
    EXPECT_EQ(valores(), (Valores{num(2)}));
    EXPECT_EQ(limInf(), (Valores{txt("1,5")}));
}

// --- Records that cannot be read ----------------------------------------

class RegistroIlegible : public LeerVariable {
protected:
    void ilegible(const std::string& archivo, const std::string& motivo) {
        EXPECT_FALSE(leer(archivo));
        EXPECT_EQ(doc_.error.NumError, static_cast<int>(stats::ErrorCode::UnreadableRecord));
        EXPECT_EQ(doc_.error.MensajeError, motivo);
        EXPECT_TRUE(valores().empty());
        EXPECT_TRUE(frecuencias().empty());
    }
};

TEST_F(RegistroIlegible, EmptyFrequency) {
    ilegible(aMano("a.mdb", libre("(1, 1), (2, NULL), (3, 1)")),
             "Registro 2: el campo «ni» está vacío");
}

TEST_F(RegistroIlegible, FrequencyThatIsNotANumber) {
    ilegible(aMano("a.mdb", libre("(1, 'muchos')")),
             "Registro 1: el campo «ni» no es un número («muchos»)");
    ilegible(aMano("b.mdb", libre("(1, 1), (1, 1e12)")),
             "Registro 2: el campo «ni» no cabe en un entero de 32 bits («1e+12»)");
}

// A count that is not a whole number from 0 up, or a record without its
// value, would give a measure of a table that is not there: N = -7, a mean
// of rounded counts, an empty mode. The record is named instead.
TEST_F(RegistroIlegible, FrequenciesAndValuesTheMeasuresCannotTake) {
    const std::pair<const char*, const char*> casos[] = {
        {"(1, 2), (2, -7)", "Registro 2: el campo «ni» es negativo («-7»)"},
        {"(1, 0.5), (2, 1)", "Registro 1: el campo «ni» no es un número entero («0.5»)"},
        {"(1, 1), (2, '1,5')", "Registro 2: el campo «ni» no es un número entero («1,5»)"},
        {"(1, 1), (2, 2.5)", "Registro 2: el campo «ni» no es un número entero («2.5»)"},
        {"(1, 1), (2, -0.5)", "Registro 2: el campo «ni» es negativo («-0.5»)"},
        {"(1, 1), (2, 'x')", "Registro 2: el campo «ni» no es un número («x»)"},
        {"(1, 1), (NULL, 9), (3, 1)", "Registro 2: el campo «Xi» está vacío"},
        {"(1, 1), ('', 9)", "Registro 2: el campo «Xi» está vacío"},
        // The first record with any unreadable field, its ni before its value.
        {"(NULL, -1)", "Registro 1: el campo «ni» es negativo («-1»)"},
        {"(1, 1), (NULL, 1), (3, -1)", "Registro 2: el campo «Xi» está vacío"},
    };
    int i = 0;
    for (const auto& [filas, mensaje] : casos) {
        SCOPED_TRACE(filas);
        ilegible(aMano("f" + std::to_string(i++) + ".mdb", libre(filas)), mensaje);
    }
}

TEST_F(RegistroIlegible, AWordWithoutTextIsAMissingValue) {
    const std::string a = nueva("cat.mdb", "CAT", "Xi,ni\nrojo,1\n");
    Database::open(a)->exec("INSERT INTO CAT (Xi, ni) VALUES (NULL, 4)");
    ilegible(a, "Registro 2: el campo «Xi» está vacío");
}

TEST_F(RegistroIlegible, ClassLimitThatIsNotANumber) {
    ilegible(aMano("a.mdb", libreCon("(0, 1, 1), (1, 'dos', 1)")),
             "Registro 2: el campo «LsX» no es un número («dos»)");
    ilegible(aMano("b.mdb", libreCon("(NULL, 1, 1)")), "Registro 1: el campo «LiX» está vacío");
}

// The first record with any unreadable field is the one reported, its
// frequency checked before its limits.
TEST_F(RegistroIlegible, TheFirstUnreadableRecordIsReported) {
    ilegible(aMano("a.mdb", libreCon("(0, 1, 1), ('a', 1, NULL), (NULL, 1, 1)")),
             "Registro 2: el campo «ni» está vacío");
    ilegible(aMano("b.mdb", libreCon("(0, 1, 1), ('a', 1, 1), (NULL, 1, NULL)")),
             "Registro 2: el campo «LiX» no es un número («a»)");
    ilegible(aMano("c.mdb", libreCon("(0, 1, 1), (1, 'b', 1), (2, 3, 'x')")),
             "Registro 2: el campo «LsX» no es un número («b»)");
}

TEST_F(RegistroIlegible, AReadAfterAFailureStartsAfresh) {
    const std::string malo = aMano("a.mdb", libre("(1, NULL)"));
    EXPECT_FALSE(leer(malo));
    const std::string bueno = nueva("b.mdb", "DIS", "Xi,ni\n4,1\n");
    ASSERT_TRUE(leer(bueno));
    EXPECT_EQ(valores(), (Valores{num(4)}));
}

TEST_F(LeerVariable, NothingOpenIsAFailureNotACrash) {
    EXPECT_FALSE(doc_.LeerVariable());
    EXPECT_NE(doc_.error.NumError, 0);
    EXPECT_EQ(doc_.ContarRegistros(), 0);
}

TEST_F(LeerVariable, TablesBeyond32767RecordsAreReadWhole) {
    std::string csv = "Xi,ni\n";
    for (int i = 0; i < 40000; ++i)
        csv += std::to_string(i % 7) + ",1\n";
    ASSERT_TRUE(leer(nueva("a.mdb", "DIS", csv)));
    EXPECT_EQ(doc_.NumRegistros, 40000);
    ASSERT_EQ(valores().size(), 40000u);
    EXPECT_EQ(valores().back(), num(39999 % 7));
    EXPECT_EQ(frecuencias().size(), 40000u);
}

// --- After a sort ------------------------------------------------------------

// What a document that had read nothing gives after the same sort.
// The lists read from rows the file itself returns sorted.
struct Fresca {
    Documento doc;
    Fresca(const std::string& archivo, const std::string& campo, const std::string& variable) {
        doc.AbrirBase(archivo);
        doc.Data1 = RecordSet(Database::open(archivo),
                              "SELECT * FROM " + doc.TipoDist + " ORDER BY [" + campo + "]");
        doc.VarActiva = variable;
        doc.LeerVariable();
    }
};

TEST_F(LeerVariable, ListsReadBeforeASortMatchAReadOfTheSortedRows) {
    std::string pocos = "Xi,Yi,ni\n", muchos = "LiX,LsX,LiY,LsY,ni\n", grande = pocos;
    for (int i = 0; i < 250000; ++i) {
        // Few distinct values, also on a table big enough to be placed in
        // two halves at once.
        grande += std::to_string((i * 37) % 11) + "," + std::to_string((i * 13) % 5 - 2) + "," +
                  std::to_string(i % 4 + 1) + "\n";
    }
    for (int i = 0; i < 400; ++i) {
        // Few distinct values, and then one per row.
        pocos += std::to_string((i * 37) % 11) + "," + std::to_string((i * 13) % 5 - 2) + "," +
                 std::to_string(i % 4 + 1) + "\n";
        const std::string li = std::to_string((i * 7919) % 400) + ".25";
        muchos +=
            li + "," + li + "1," + std::to_string(i % 3) + ",9," + std::to_string(i % 5) + "\n";
    }
    const struct {
        std::string archivo;
        std::vector<std::string> campos;
    } casos[] = {{nueva("pocos.mdb", "DISDIS", pocos), {"Xi", "Yi"}},
                 {nueva("grande.mdb", "DISDIS", grande), {"Yi"}},
                 {nueva("muchos.mdb", "CONCON", muchos), {"LiX", "LiY"}}};
    for (const auto& caso : casos) {
        for (const std::string& campo : caso.campos) {
            SCOPED_TRACE(caso.archivo + " " + campo);
            ASSERT_TRUE(leer(caso.archivo, "Y"));
            doc_.VarActiva = "X";
            ASSERT_TRUE(doc_.LeerVariable());
            stats::ErrorRecord err;
            stats::MediaAritmetica(err, valores(), frecuencias()); // read in this order
            doc_.OrdenarDatos(campo);
            for (const char* variable : {"X", "Y", "X"}) {
                SCOPED_TRACE(variable);
                doc_.VarActiva = variable;
                ASSERT_TRUE(doc_.LeerVariable());
                const Fresca fresca(caso.archivo, campo, variable);
                EXPECT_EQ(valores(), fresca.doc.listas.Valores);
                EXPECT_EQ(frecuencias(), fresca.doc.listas.Frecuencias);
                EXPECT_EQ(limInf(), fresca.doc.listas.LimInf);
                EXPECT_EQ(limSup(), fresca.doc.listas.LimSup);
                // What the engine kept of its reading in the old order gives
                // the results of the fresh read, bit for bit.
                stats::ErrorRecord e1, e2;
                const double media = stats::MediaAritmetica(e1, valores(), frecuencias());
                EXPECT_EQ(std::bit_cast<std::uint64_t>(media),
                          std::bit_cast<std::uint64_t>(stats::MediaAritmetica(
                              e2, fresca.doc.listas.Valores, fresca.doc.listas.Frecuencias)));
            }
        }
    }
}

TEST_F(LeerVariable, ASortAfterADeletionReadsTheRowsAgain) {
    const std::string a = nueva("dis.mdb", "DIS", "Xi,ni\n5,1\n2,2\n9,3\n2,4\n1,5\n");
    ASSERT_TRUE(leer(a));
    doc_.Data1.MoveFirst();
    doc_.Data1.MoveNext();
    doc_.Data1.Delete(); // the 2 with frequency 2
    doc_.OrdenarDatos("Xi");
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(1), num(2), num(5), num(9)}));
    EXPECT_EQ(frecuencias(), (Frecuencias{5, 4, 1, 3}));
}

// --- Re-reading -----------------------------------------------------------

TEST_F(LeerVariable, ReReadSeesEditsAndSwitchesBetweenVariables) {
    const std::string a = nueva("a.mdb", "DISDIS", "Xi,Yi,ni\n1,10,1\n2,20,2\n");
    ASSERT_TRUE(leer(a, "X"));
    doc_.VarActiva = "Y";
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(10), num(20)}));
    doc_.VarActiva = "X";
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(1), num(2)}));
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(1), num(2)}));

    doc_.Data1.MoveFirst();
    doc_.Data1.Edit();
    doc_.Data1.SetField("Yi", num(11));
    doc_.Data1.SetField("ni", num(5));
    doc_.Data1.Update();
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(1), num(2)}));
    EXPECT_EQ(frecuencias(), (Frecuencias{5, 2}));
    doc_.VarActiva = "Y";
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(11), num(20)}));

    doc_.Data1.MoveLast();
    doc_.Data1.AddNew();
    doc_.Data1.SetField("Xi", num(3));
    doc_.Data1.SetField("Yi", num(30));
    doc_.Data1.SetField("ni", num(1));
    doc_.Data1.Update();
    ASSERT_EQ(doc_.ContarRegistros(), 3);
    ASSERT_TRUE(doc_.LeerVariable());
    EXPECT_EQ(valores(), (Valores{num(11), num(20), num(30)}));
}

TEST_F(LeerVariable, ReReadAfterReopeningSeesTheFile) {
    const std::string a = nueva("a.mdb", "DIS", "Xi,ni\n1,1\n");
    ASSERT_TRUE(leer(a));
    Database::open(a)->exec("UPDATE DIS SET Xi = 7");
    ASSERT_TRUE(leer(a));
    EXPECT_EQ(valores(), (Valores{num(7)}));
}

} // namespace
} // namespace kalnor::testing
