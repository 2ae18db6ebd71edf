#include "AyudaAccess.h"

#include "app/Documento.h"
#include "app/access/ErrorAccess.h"
#include "app/access/ImportadorAccess.h"
#include "app/access/LectorAccess.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <numeric>

namespace kalnor::access {
namespace {

using namespace prueba;
using stats::CellValue;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Reads a converted file with SQLite alone, as any other program would.
class Convertido {
public:
    explicit Convertido(const std::string& ruta) {
        EXPECT_EQ(sqlite3_open_v2(ruta.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    }
    ~Convertido() { sqlite3_close(db_); }
    Convertido(const Convertido&) = delete;
    Convertido& operator=(const Convertido&) = delete;

    std::vector<std::vector<CellValue>> consulta(const std::string& sql) const {
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr), SQLITE_OK) << sql;
        std::vector<std::vector<CellValue>> filas;
        while (s && sqlite3_step(s) == SQLITE_ROW) {
            std::vector<CellValue> fila;
            for (int i = 0; i < sqlite3_column_count(s); ++i) {
                switch (sqlite3_column_type(s, i)) {
                case SQLITE_NULL:
                    fila.push_back(CellValue::null());
                    break;
                case SQLITE_INTEGER:
                case SQLITE_FLOAT:
                    fila.push_back(CellValue::number(sqlite3_column_double(s, i)));
                    break;
                default:
                    fila.push_back(
                        CellValue::text(reinterpret_cast<const char*>(sqlite3_column_text(s, i))));
                }
            }
            filas.push_back(std::move(fila));
        }
        sqlite3_finalize(s);
        return filas;
    }

    std::vector<std::string> columna(const std::string& sql) const {
        std::vector<std::string> r;
        for (const auto& f : consulta(sql))
            r.push_back(f.at(0).isText() ? f[0].asText() : std::string());
        return r;
    }

    std::vector<std::string> tablas() const {
        return columna("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY rowid");
    }
    // "name TYPE" of each column.
    std::vector<std::string> campos(const std::string& tabla) const {
        return columna("SELECT name || ' ' || type FROM pragma_table_info('" + tabla + "')");
    }
    std::string esquema(const std::string& tabla) const {
        return columna("SELECT sql FROM sqlite_schema WHERE name = '" + tabla + "'").at(0);
    }
    Filas filas(const std::string& tabla) const {
        return consulta("SELECT * FROM \"" + tabla + "\" ORDER BY rowid");
    }

private:
    sqlite3* db_ = nullptr;
};

std::string importar(const CarpetaTemporal& carpeta, const std::string& archivo) {
    const std::string destino = carpeta / archivo;
    ImportadorAccess::importar(fixture(archivo), destino);
    return destino;
}

// --- Every distribution converts to what it holds ----------------------------

TEST(ImportadorAccessContenido, StatementRowAndEveryTemplateTable) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "dis_notas.mdb"));
    EXPECT_THAT(c.tablas(),
                ElementsAre("ENUNCIADO", "CAT", "DIS", "CON", "DISDIS", "DISCON", "CONCON"));
    const Filas enunciado = c.filas("ENUNCIADO");
    ASSERT_EQ(enunciado.size(), 1u);
    EXPECT_EQ(enunciado[0][0], T("Discreta"));
    EXPECT_EQ(enunciado[0][1], T("Dist. UNIDIMENSIONAL"));
    EXPECT_THAT(enunciado[0][2].asText(), HasSubstr("<html>"));
    EXPECT_THAT(enunciado[0][2].asText(), HasSubstr("Estadística"));
    EXPECT_THAT(c.campos("ENUNCIADO"), ElementsAre("TIPO TEXT", "CLASE TEXT", "ENUNCIADO TEXT"));
}

TEST(ImportadorAccessContenido, ColumnsAreStrictWordsTextNumbersRealFrequenciesInteger) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "dis_notas.mdb"));
    EXPECT_THAT(c.campos("DIS"), ElementsAre("Xi REAL", "ni INTEGER", "x¡·n¡ REAL", "Fi% REAL"));
    EXPECT_THAT(c.campos("CAT"), ElementsAre("Xi TEXT", "ni INTEGER"));
    EXPECT_THAT(c.campos("CONCON"),
                ElementsAre("LiX REAL", "LsX REAL", "LiY REAL", "LsY REAL", "ni INTEGER"));
    for (const std::string& t : c.tablas())
        EXPECT_THAT(c.esquema(t), HasSubstr("STRICT")) << t;
}

TEST(ImportadorAccessContenido, RowsKeepStoredOrderAndExactValues) {
    const CarpetaTemporal carpeta;
    EXPECT_EQ(Convertido(importar(carpeta, "dis_notas.mdb")).filas("DIS"), filasDisNotas());
    EXPECT_EQ(Convertido(importar(carpeta, "overflow_twice.mdb")).filas("DIS"), filasDisNotas());
    EXPECT_EQ(Convertido(importar(carpeta, "deleted_rows.mdb")).filas("DIS"),
              (Filas{{N(2), N(2)}, {N(3), N(1)}, {N(5), N(3)}}));
}

TEST(ImportadorAccessContenido, EveryKindAndItsDerivedColumns) {
    const CarpetaTemporal carpeta;
    struct Caso {
        const char* archivo;
        const char* tabla;
        std::size_t filas;
        std::vector<std::string> campos;
    };
    const std::vector<Caso> casos{
        {"con_alturas.mdb",
         "CON",
         5,
         {"LiX REAL", "LsX REAL", "ni INTEGER", "Xc¡ REAL", "x¡·n¡ REAL", "(x¡-m)²·n¡ REAL",
          "x¡³·n¡ REAL", "|x¡-m|·n¡ REAL"}},
        {"cat_colores.mdb", "CAT", 12, {"Xi TEXT", "ni INTEGER"}},
        {"disdis_pares.mdb",
         "DISDIS",
         6,
         {"Xi REAL", "Yi REAL", "ni INTEGER", "y¡·n¡ REAL", "y¡²·n¡ REAL", "x¡·y¡·n¡ REAL"}},
        {"discon.mdb",
         "DISCON",
         5,
         {"Xi REAL", "LiY REAL", "LsY REAL", "ni INTEGER", "Yc¡ REAL", "N¡ (Y) REAL",
          "y¡·n¡ REAL"}},
        {"concon.mdb",
         "CONCON",
         5,
         {"LiX REAL", "LsX REAL", "LiY REAL", "LsY REAL", "ni INTEGER", "Yc¡ REAL", "y¡·n¡ REAL",
          "x¡·y¡·n¡ REAL"}},
        {"catdis.mdb",
         "CATDIS",
         5,
         {"Xi TEXT", "Yi REAL", "ni INTEGER", "N¡ (Y) REAL", "y¡·n¡ REAL"}},
        {"empty_table.mdb", "DIS", 0, {"Xi REAL", "ni INTEGER"}},
        {"big_dis.mdb", "DIS", 32767, {"Xi REAL", "ni INTEGER"}},
    };
    for (const Caso& caso : casos) {
        const Convertido c(importar(carpeta, caso.archivo));
        EXPECT_EQ(c.campos(caso.tabla), caso.campos) << caso.archivo;
        const Filas convertidas = c.filas(caso.tabla);
        EXPECT_EQ(convertidas.size(), caso.filas) << caso.archivo;
        // Same values as the Access file, row by row.
        EXPECT_EQ(convertidas, LectorAccess(fixture(caso.archivo)).leerTabla(caso.tabla).filas)
            << caso.archivo;
    }
    EXPECT_EQ(Convertido(carpeta / "big_dis.mdb").filas("DIS"), filasBigDis());
}

TEST(ImportadorAccessContenido, KindOutsideTheTemplateKeepsItsTableAndNullColumn) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "catdis.mdb"));
    EXPECT_EQ(c.tablas().back(), "CATDIS");
    EXPECT_EQ(c.tablas().size(), 8u);
    EXPECT_EQ(c.consulta("SELECT count(*) FROM CATDIS WHERE \"y¡·n¡\" IS NULL")[0][0], N(5));
    EXPECT_EQ(c.filas("CATDIS")[1], (std::vector{T("Inglés"), N(5.5), N(4), N(7), Nulo()}));
}

TEST(ImportadorAccessContenido, NullsStayNull) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "null_cells.mdb"));
    EXPECT_EQ(c.filas("DIS"), (Filas{{N(1), N(2)}, {Nulo(), N(3)}, {N(3), Nulo()}, {N(4), N(1)}}));
}

TEST(ImportadorAccessContenido, PlainTextStatementStaysPlain) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "plain_text_notes.mdb"));
    const std::string texto = c.filas("ENUNCIADO")[0][2].asText();
    EXPECT_EQ(sha256(texto), "17740d483d31a7fe0f4bd7486eda7c061968284cf8591f651d721e6878a2afac");
}

TEST(ImportadorAccessContenido, NumbersAreBitExact) {
    const CarpetaTemporal carpeta;
    const Convertido c(importar(carpeta, "dis_notas.mdb"));
    const Filas filas = c.filas("DIS");
    EXPECT_EQ(bits(filas[3][0].asNumber()), bits(5.5));
    EXPECT_EQ(bits(filas[2][3].asNumber()), bits(34.375));
}

// --- The converted file is a distribution like any other ----------------------

TEST(ImportadorAccessDocumento, OpensAndReadsLikeANativeFile) {
    const CarpetaTemporal carpeta;
    struct Caso {
        const char* archivo;
        const char* codigo;
        std::int32_t filas;
        std::int64_t n;
    };
    for (const Caso& caso :
         {Caso{"dis_notas.mdb", "DIS", 8, 32}, Caso{"con_alturas.mdb", "CON", 5, 40},
          Caso{"cat_colores.mdb", "CAT", 12, 12}, Caso{"disdis_pares.mdb", "DISDIS", 6, 16},
          Caso{"discon.mdb", "DISCON", 5, 20}, Caso{"concon.mdb", "CONCON", 5, 20},
          Caso{"catdis.mdb", "CATDIS", 5, 12}, Caso{"big_dis.mdb", "DIS", 32767, 98184}}) {
        Documento doc;
        ASSERT_TRUE(doc.AbrirBase(importar(carpeta, caso.archivo)))
            << caso.archivo << ": " << doc.error.MensajeError;
        EXPECT_EQ(doc.TipoDist, caso.codigo);
        EXPECT_EQ(doc.ContarRegistros(), caso.filas) << caso.archivo;
        ASSERT_TRUE(doc.LeerVariable()) << caso.archivo << ": " << doc.error.MensajeError;
        const auto& f = doc.listas.Frecuencias;
        EXPECT_EQ(std::accumulate(f.begin(), f.end(), std::int64_t{0}), caso.n) << caso.archivo;
    }
}

TEST(ImportadorAccessDocumento, MeasuresComputeOnTheConvertedData) {
    const CarpetaTemporal carpeta;
    Documento doc;
    ASSERT_TRUE(doc.AbrirBase(importar(carpeta, "dis_notas.mdb")));
    ASSERT_TRUE(doc.LeerVariable());
    stats::ErrorRecord err;
    EXPECT_DOUBLE_EQ(stats::MediaAritmetica(err, doc.listas.Valores, doc.listas.Frecuencias),
                     5.8125);
    EXPECT_DOUBLE_EQ(stats::Varianza(err, doc.listas.Valores, doc.listas.Frecuencias), 1.93359375);
    ASSERT_TRUE(doc.AbrirBase(importar(carpeta, "big_dis.mdb")));
    ASSERT_TRUE(doc.LeerVariable());
    EXPECT_NEAR(stats::MediaAritmetica(err, doc.listas.Valores, doc.listas.Frecuencias),
                49.87732217061843, 1e-12);
    EXPECT_EQ(err.NumError, 0) << err.MensajeError;
}

// --- Files that are not distributions -----------------------------------------

std::string rechazo(const std::string& archivo, const std::string& destino) {
    try {
        ImportadorAccess::importar(fixture(archivo), destino);
    } catch (const ErrorAccess& e) {
        return e.what();
    }
    return {};
}

TEST(ImportadorAccessRechazo, FilesThatAreNotDistributionsAreRefusedAndNothingIsWritten) {
    const CarpetaTemporal carpeta;
    const std::string destino = carpeta / "copia.mdb";
    EXPECT_THAT(rechazo("bad_tipo.mdb", destino),
                HasSubstr("«Desconocida» no es ninguno de los nueve tipos"));
    EXPECT_THAT(rechazo("no_enunciado.mdb", destino), HasSubstr("no tiene la tabla ENUNCIADO"));
    EXPECT_THAT(rechazo("template.mdb", destino), HasSubstr("la tabla ENUNCIADO está vacía"));
    EXPECT_FALSE(std::filesystem::exists(destino));
    EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(destino)));
}

TEST(ImportadorAccessRechazo, FilesThatAreNotAccessAreRefused) {
    const CarpetaTemporal carpeta;
    const std::string nativo = importar(carpeta, "dis_notas.mdb");
    try {
        ImportadorAccess::importar(nativo, carpeta / "otra.mdb");
        FAIL();
    } catch (const ErrorAccess& e) {
        EXPECT_THAT(e.what(), HasSubstr("no es una base de datos de Access"));
    }
    EXPECT_THROW(ImportadorAccess::importar(carpeta / "no_existe.mdb", carpeta / "x.mdb"),
                 ErrorAccess);
}

TEST(ImportadorAccessRechazo, AnExistingDestinationIsReplacedOnlyWhenAsked) {
    const CarpetaTemporal carpeta;
    const std::string destino = carpeta / "copia.mdb";
    std::ofstream(destino) << "anterior";
    EXPECT_THAT(rechazo("dis_notas.mdb", destino), HasSubstr("Ya existe"));
    EXPECT_EQ(sha256Archivo(destino), sha256("anterior"));

    // A refused conversion leaves the old file as it was, even when replacing.
    EXPECT_THROW(ImportadorAccess::importar(fixture("bad_tipo.mdb"), destino, true), ErrorAccess);
    EXPECT_EQ(sha256Archivo(destino), sha256("anterior"));

    ImportadorAccess::importar(fixture("dis_notas.mdb"), destino, true);
    EXPECT_EQ(Convertido(destino).filas("DIS"), filasDisNotas());
    EXPECT_FALSE(std::filesystem::exists(ImportadorAccess::rutaTemporal(destino)));
}

TEST(ImportadorAccessRechazo, TheOriginalIsNeverTheDestination) {
    const CarpetaTemporal carpeta;
    const std::string original = carpeta / "original.mdb";
    std::filesystem::copy_file(fixture("dis_notas.mdb"), original);
    EXPECT_THROW(ImportadorAccess::importar(original, original, true), ErrorAccess);
    EXPECT_EQ(sha256Archivo(original), sha256Archivo(fixture("dis_notas.mdb")));
}

TEST(ImportadorAccessRechazo, OriginalsStayByteIdentical) {
    const CarpetaTemporal carpeta;
    for (const char* archivo :
         {"dis_notas.mdb", "overflow_twice.mdb", "big_dis.mdb", "bad_tipo.mdb", "template.mdb"}) {
        const std::string antes = sha256Archivo(fixture(archivo));
        try {
            ImportadorAccess::importar(fixture(archivo), carpeta / archivo);
        } catch (const ErrorAccess&) {
        }
        EXPECT_EQ(sha256Archivo(fixture(archivo)), antes) << archivo;
    }
}

} // namespace
} // namespace kalnor::access
