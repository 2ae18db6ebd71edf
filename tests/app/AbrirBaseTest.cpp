#include "Distribuciones.h"

#include "app/DbError.h"
#include "app/RecordSet.h"

#include <sqlite3.h>

#include <fstream>

namespace kalnor::testing {
namespace {

using stats::allKinds;

class AbrirBase : public Distribuciones {};

// --- The template and new files ------------------------------------------

TEST_F(AbrirBase, TemplateHoldsTheStatementTableAndSixEmptyStrictDataTables) {
    const auto db = Database::open(plantilla_);
    EXPECT_EQ(db->fieldNames("ENUNCIADO"),
              (std::vector<std::string>{"TIPO", "CLASE", "ENUNCIADO"}));
    EXPECT_EQ(RecordSet(db, "SELECT * FROM [ENUNCIADO]").RecordCount(), 0);
    for (const char* codigo : {"CAT", "DIS", "CON", "DISDIS", "DISCON", "CONCON"}) {
        SCOPED_TRACE(codigo);
        ASSERT_TRUE(db->hasTable(codigo));
        EXPECT_EQ(db->fieldNames(codigo), camposDatos(*stats::kindByCode(codigo)));
        EXPECT_EQ(RecordSet(db, std::string("SELECT * FROM ") + codigo).RecordCount(), 0);
    }
    for (const char* codigo : {"CATCAT", "CATDIS", "CATCON"})
        EXPECT_FALSE(db->hasTable(codigo));
}

TEST_F(AbrirBase, TemplateTablesRefuseValuesOfTheWrongType) {
    const auto db = Database::open(plantilla_);
    EXPECT_THROW(db->exec("INSERT INTO DIS (Xi, ni) VALUES ('dos', 1)"), DbError);
    EXPECT_THROW(db->exec("INSERT INTO DIS (Xi, ni) VALUES (2, 2.5)"), DbError);
    EXPECT_THROW(db->exec("INSERT INTO DIS (Xi, ni) VALUES (2, -1)"), DbError);
    EXPECT_NO_THROW(db->exec("INSERT INTO CAT (Xi, ni) VALUES ('azul', 3)"));
}

TEST_F(AbrirBase, EveryKindOpensAsANewEmptyDistribution) {
    for (const auto& k : allKinds()) {
        SCOPED_TRACE(k.code);
        const std::string archivo = nueva(std::string(k.code) + ".mdb", k.code);
        Documento doc;
        ASSERT_TRUE(doc.AbrirBase(archivo)) << doc.error.MensajeError;
        EXPECT_EQ(doc.BaseActual, archivo);
        EXPECT_EQ(doc.TipoDist, k.code);
        EXPECT_EQ(doc.NumRegistros, 0);
        EXPECT_EQ(doc.Tipo(), k.tipo);
        EXPECT_EQ(doc.Clase(), k.bivariate ? stats::kClaseBi : stats::kClaseUni);
        EXPECT_EQ(doc.esBidimensional(), k.bivariate);
        EXPECT_EQ(doc.Enunciado(), "");
        EXPECT_EQ(doc.Data1.FieldNames(), camposDatos(k));
        EXPECT_EQ(doc.kind(), stats::kindByCode(k.code));
    }
}

TEST_F(AbrirBase, NewDistributionReplacesAnEarlierFileOnlyWhenComplete) {
    const std::string archivo = nueva("Nueva.mdb", "DIS", "Xi,ni\n1,1\n");
    EXPECT_THROW(
        CrearNueva(ruta("no-existe.ini"), archivo, "Discreta", std::string(stats::kClaseUni)),
        DbError);
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(archivo));
    EXPECT_EQ(doc.NumRegistros, 1);

    nueva("Nueva.mdb", "CON");
    ASSERT_TRUE(doc.AbrirBase(archivo));
    EXPECT_EQ(doc.TipoDist, "CON");
    EXPECT_EQ(doc.NumRegistros, 0);
}

TEST_F(AbrirBase, StatementIsWrittenAtOnce) {
    const std::string archivo = nueva("a.mdb", "DIS");
    {
        Documento doc;
        ASSERT_TRUE(doc.AbrirBase(archivo));
        EXPECT_TRUE(doc.setEnunciado("Notas de 4.º: ¿media?"));
    }
    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(archivo));
    EXPECT_EQ(otro.Enunciado(), "Notas de 4.º: ¿media?");
}

TEST_F(AbrirBase, SignalsOpeningAndClosing) {
    const std::string archivo = nueva("a.mdb", "DIS", "Xi,ni\n1,2\n3,4\n");
    Documento doc;
    int abiertos = 0;
    int cerrados = 0;
    QObject::connect(&doc, &Documento::abierto, [&] { ++abiertos; });
    QObject::connect(&doc, &Documento::cerrado, [&] { ++cerrados; });
    ASSERT_TRUE(doc.AbrirBase(archivo));
    EXPECT_EQ(abiertos, 1);
    EXPECT_EQ(doc.NumRegistros, 2);
    doc.CerrarBase();
    EXPECT_EQ(cerrados, 1);
    EXPECT_FALSE(doc.Data1.isOpen());
    EXPECT_FALSE(doc.Data2.isOpen());
    EXPECT_EQ(doc.ContarRegistros(), 0);
    ASSERT_TRUE(doc.AbrirBase(doc.BaseActual)); // re-open after a change of structure
    EXPECT_EQ(abiertos, 2);
}

// --- Refusals: each leaves the open document as it was --------------------

class AbrirBaseRechaza : public Distribuciones {
protected:
    void SetUp() override {
        Distribuciones::SetUp();
        previo_ = nueva("previo.mdb", "CON", "LiX,LsX,ni\n0,10,3\n10,20,5\n");
        ASSERT_TRUE(doc_.AbrirBase(previo_));
        QObject::connect(&doc_, &Documento::abierto, [this] { ++abiertos_; });
    }

    // Opens `archivo`, expects a refusal whose description contains `motivo`
    // and the previous document untouched.
    void rechaza(const std::string& archivo, const std::string& motivo) {
        EXPECT_FALSE(doc_.AbrirBase(archivo));
        EXPECT_NE(doc_.error.NumError, 0);
        EXPECT_NE(doc_.error.MensajeError.find(motivo), std::string::npos)
            << doc_.error.MensajeError;
        EXPECT_EQ(abiertos_, 0);
        EXPECT_EQ(doc_.BaseActual, previo_);
        EXPECT_EQ(doc_.TipoDist, "CON");
        EXPECT_EQ(doc_.NumRegistros, 2);
        EXPECT_EQ(doc_.Tipo(), "Continua");
        ASSERT_TRUE(doc_.Data1.isOpen());
        EXPECT_EQ(doc_.Data1.database()->path(), previo_);
        EXPECT_EQ(doc_.Data1.column("LsX"), (std::vector{num(10), num(20)}));
        ASSERT_TRUE(doc_.LeerVariable());
        EXPECT_EQ(doc_.listas.Valores, (std::vector{num(5), num(15)}));
    }

    // A copy of a valid DIS distribution changed by `sql`.
    std::string cambiada(const std::string& nombre, const std::string& sql) {
        const std::string archivo = nueva(nombre, "DIS", "Xi,ni\n1,1\n");
        Database::open(archivo)->exec(sql);
        return archivo;
    }

    Documento doc_;
    std::string previo_;
    int abiertos_ = 0;
};

TEST_F(AbrirBaseRechaza, MissingFile) {
    rechaza(ruta("no-existe.mdb"), "El archivo no existe");
}

TEST_F(AbrirBaseRechaza, FileThatIsNotADatabase) {
    std::ofstream(ruta("texto.mdb")) << "Xi,ni\n1,2\n";
    rechaza(ruta("texto.mdb"), "no es una distribución de Kalnor");
    std::ofstream(ruta("vacio.mdb")).flush();
    rechaza(ruta("vacio.mdb"), "no es una distribución de Kalnor");
    rechaza(dir_.string(), "no es una distribución de Kalnor");
}

TEST_F(AbrirBaseRechaza, DamagedFile) {
    const std::string archivo = nueva("roto.mdb", "DIS", "Xi,ni\n1,1\n");
    {
        // Scribble over the table catalogue on the first page.
        std::fstream f(archivo, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(100);
        const std::string basura(3000, '\x5a');
        f.write(basura.data(), static_cast<std::streamsize>(basura.size()));
    }
    rechaza(archivo, "dañado");
}

TEST_F(AbrirBaseRechaza, NoStatementTable) {
    rechaza(aMano("sin.mdb", "CREATE TABLE DIS (Xi REAL, ni INTEGER);"
                             "INSERT INTO DIS VALUES (1, 1);"),
            "Falta la tabla ENUNCIADO");
}

TEST_F(AbrirBaseRechaza, EmptyStatementTable) {
    rechaza(plantilla_, "ENUNCIADO está vacía");
}

TEST_F(AbrirBaseRechaza, KindOutsideTheNine) {
    rechaza(cambiada("raro.mdb", "UPDATE ENUNCIADO SET TIPO = 'Desconocida'"),
            "El tipo de distribución «Desconocida» no es válido");
    // Texts are compared exactly: letter case and accents count.
    rechaza(cambiada("minus.mdb", "UPDATE ENUNCIADO SET TIPO = 'discreta'"), "«discreta»");
    rechaza(cambiada("acento.mdb", "UPDATE ENUNCIADO SET TIPO = 'Categorica'"), "«Categorica»");
}

TEST_F(AbrirBaseRechaza, MissingDataTable) {
    rechaza(cambiada("sin-tabla.mdb", "UPDATE ENUNCIADO SET TIPO = 'Categórica, Categórica'"),
            "Falta la tabla de datos «CATCAT»");
    rechaza(cambiada("sin-dis.mdb", "DROP TABLE DIS"), "Falta la tabla de datos «DIS»");
}

TEST_F(AbrirBaseRechaza, DataTableWithoutItsFields) {
    rechaza(cambiada("sin-ni.mdb", "DROP TABLE DIS; CREATE TABLE DIS (Xi REAL)"),
            "Falta el campo «ni»");
}

TEST_F(AbrirBaseRechaza, AccessFile) {
    rechaza(KALNOR_TEST_DATA "/access/dis_notas.mdb", "Microsoft Access");
}

} // namespace
} // namespace kalnor::testing
