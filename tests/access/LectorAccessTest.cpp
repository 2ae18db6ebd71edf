#include "AyudaAccess.h"

#include "app/access/ErrorAccess.h"
#include "app/access/LectorAccess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <clocale>
#include <fstream>

namespace kalnor::access {
namespace {

using namespace prueba;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> nombres(const TablaAccess& t) {
    std::vector<std::string> r;
    for (const auto& c : t.columnas)
        r.push_back(c.nombre);
    return r;
}

std::string memo(const std::string& archivo) {
    const LectorAccess lector(fixture(archivo));
    const TablaAccess t = lector.leerTabla("ENUNCIADO");
    return t.filas.at(0).at(t.indiceColumna("ENUNCIADO")).asText();
}

// --- Tables, columns and types ---------------------------------------------

TEST(LectorAccessTablas, TemplateHoldsTheStatementAndSixEmptyKindTables) {
    const LectorAccess lector(fixture("template.mdb"));
    EXPECT_FALSE(lector.esJet3());
    EXPECT_THAT(lector.nombresTablas(),
                ElementsAre("ENUNCIADO", "CAT", "DIS", "CON", "DISDIS", "DISCON", "CONCON"));
    const std::vector<std::pair<std::string, std::vector<std::string>>> campos{
        {"ENUNCIADO", {"TIPO", "CLASE", "ENUNCIADO"}},
        {"CAT", {"Xi", "ni"}},
        {"DIS", {"Xi", "ni"}},
        {"CON", {"LiX", "LsX", "ni"}},
        {"DISDIS", {"Xi", "Yi", "ni"}},
        {"DISCON", {"Xi", "LiY", "LsY", "ni"}},
        {"CONCON", {"LiX", "LsX", "LiY", "LsY", "ni"}}};
    for (const auto& [tabla, esperados] : campos) {
        const TablaAccess t = lector.leerTabla(tabla);
        EXPECT_EQ(nombres(t), esperados) << tabla;
        EXPECT_TRUE(t.filas.empty()) << tabla;
    }
}

TEST(LectorAccessTablas, ColumnTypesFollowTheStoredTypes) {
    const LectorAccess lector(fixture("dis_notas.mdb"));
    const TablaAccess enunciado = lector.leerTabla("ENUNCIADO");
    EXPECT_EQ(enunciado.columnas[0].tipo, TipoColumna::Texto);
    EXPECT_EQ(enunciado.columnas[2].tipo, TipoColumna::Memo);
    const TablaAccess cat = lector.leerTabla("CAT");
    EXPECT_EQ(cat.columnas[0].tipo, TipoColumna::Texto);
    EXPECT_EQ(cat.columnas[1].tipo, TipoColumna::Entero);
    const TablaAccess dis = lector.leerTabla("DIS");
    EXPECT_EQ(dis.columnas[0].tipo, TipoColumna::Real);
    EXPECT_EQ(dis.columnas[3].tipo, TipoColumna::Real);
}

TEST(LectorAccessTablas, TableNamesMatchInAnyLetterCase) {
    const LectorAccess lector(fixture("dis_notas.mdb"));
    EXPECT_TRUE(lector.tieneTabla("dis"));
    EXPECT_EQ(lector.leerTabla("dis").filas.size(), 8u);
    EXPECT_FALSE(lector.tieneTabla("CATDIS"));
    EXPECT_THROW(lector.leerTabla("CATDIS"), ErrorAccess);
}

// --- Values of every fixture -----------------------------------------------

TEST(LectorAccessValores, DiscreteTableWithDerivedColumns) {
    const TablaAccess t = LectorAccess(fixture("dis_notas.mdb")).leerTabla("DIS");
    EXPECT_THAT(nombres(t), ElementsAre("Xi", "ni", "x¡·n¡", "Fi%"));
    EXPECT_EQ(t.filas, filasDisNotas());
}

TEST(LectorAccessValores, ContinuousTableKeepsUnicodeColumnNames) {
    const TablaAccess t = LectorAccess(fixture("con_alturas.mdb")).leerTabla("CON");
    EXPECT_THAT(nombres(t), ElementsAre("LiX", "LsX", "ni", "Xc¡", "x¡·n¡", "(x¡-m)²·n¡", "x¡³·n¡",
                                        "|x¡-m|·n¡"));
    const Filas esperadas{{N(150), N(160), N(4), N(155), N(620), N(1369), N(14895500), N(74)},
                          {N(160), N(170), N(11), N(165), N(1815), N(794.75), N(49413375), N(93.5)},
                          {N(170), N(180), N(15), N(175), N(2625), N(33.75), N(80390625), N(22.5)},
                          {N(180), N(190), N(7), N(185), N(1295), N(925.75), N(44321375), N(80.5)},
                          {N(190), N(200), N(3), N(195), N(585), N(1386.75), N(22244625), N(64.5)}};
    EXPECT_EQ(t.filas, esperadas);
}

TEST(LectorAccessValores, CategoricalWordsKeepAccentsAndEnye) {
    const TablaAccess t = LectorAccess(fixture("cat_colores.mdb")).leerTabla("CAT");
    const std::vector<std::string> palabras{"Azul", "Rojo", "Marrón", "Añil",     "Azul",   "Verde",
                                            "Rojo", "Azul", "Añil",   "Amarillo", "Marrón", "Azul"};
    ASSERT_EQ(t.filas.size(), palabras.size());
    for (std::size_t i = 0; i < palabras.size(); ++i)
        EXPECT_EQ(t.filas[i], (std::vector{T(palabras[i]), N(1)})) << i;
}

TEST(LectorAccessValores, TwoVariableTables) {
    EXPECT_EQ(LectorAccess(fixture("disdis_pares.mdb")).leerTabla("DISDIS").filas,
              (Filas{{N(1), N(2), N(3), N(6), N(12), N(6)},
                     {N(2), N(3), N(4), N(12), N(36), N(24)},
                     {N(2), N(5), N(1), N(5), N(25), N(10)},
                     {N(3), N(4), N(2), N(8), N(32), N(24)},
                     {N(4), N(6), N(5), N(30), N(180), N(120)},
                     {N(5), N(7), N(1), N(7), N(49), N(35)}}));
    const TablaAccess discon = LectorAccess(fixture("discon.mdb")).leerTabla("DISCON");
    EXPECT_THAT(nombres(discon), ElementsAre("Xi", "LiY", "LsY", "ni", "Yc¡", "N¡ (Y)", "y¡·n¡"));
    EXPECT_EQ(discon.filas, (Filas{{N(0), N(0), N(10), N(3), N(5), N(3), N(15)},
                                   {N(1), N(10), N(20), N(5), N(15), N(8), N(75)},
                                   {N(1), N(20), N(30), N(2), N(25), N(10), N(50)},
                                   {N(2), N(20), N(30), N(6), N(25), N(16), N(150)},
                                   {N(3), N(30), N(40), N(4), N(35), N(20), N(140)}}));
    const TablaAccess concon = LectorAccess(fixture("concon.mdb")).leerTabla("CONCON");
    EXPECT_THAT(nombres(concon),
                ElementsAre("LiX", "LsX", "LiY", "LsY", "ni", "Yc¡", "y¡·n¡", "x¡·y¡·n¡"));
    EXPECT_EQ(concon.filas.front(),
              (std::vector{N(0), N(10), N(4), N(8), N(3), N(6), N(18), N(90)}));
    EXPECT_EQ(concon.filas.back(),
              (std::vector{N(30), N(40), N(16), N(20), N(4), N(18), N(72), N(2520)}));
}

TEST(LectorAccessValores, UncompressedTextAndRowsShorterThanTheTable) {
    const LectorAccess lector(fixture("catdis.mdb"));
    EXPECT_EQ(lector.nombresTablas().size(), 8u);
    EXPECT_EQ(lector.nombresTablas().back(), "CATDIS");
    const TablaAccess enunciado = lector.leerTabla("ENUNCIADO");
    EXPECT_EQ(enunciado.filas[0][0], T("Categórica, Discreta"));
    const TablaAccess t = lector.leerTabla("CATDIS");
    EXPECT_THAT(nombres(t), ElementsAre("Xi", "Yi", "ni", "N¡ (Y)", "y¡·n¡"));
    // Each stored record holds 4 columns; the fifth reads as Null.
    EXPECT_EQ(t.filas, (Filas{{T("Español"), N(7), N(3), N(3), Nulo()},
                              {T("Inglés"), N(5.5), N(4), N(7), Nulo()},
                              {T("Francés"), N(6), N(2), N(9), Nulo()},
                              {T("Alemán"), N(8), N(1), N(10), Nulo()},
                              {T("Inglés"), N(9), N(2), N(12), Nulo()}}));
}

TEST(LectorAccessValores, NullCellsStayNull) {
    EXPECT_EQ(LectorAccess(fixture("null_cells.mdb")).leerTabla("DIS").filas,
              (Filas{{N(1), N(2)}, {Nulo(), N(3)}, {N(3), Nulo()}, {N(4), N(1)}}));
}

TEST(LectorAccessValores, EmptyTableHasNoRows) {
    const LectorAccess lector(fixture("empty_table.mdb"));
    EXPECT_TRUE(lector.leerTabla("DIS").filas.empty());
    EXPECT_EQ(lector.leerTabla("ENUNCIADO").filas.size(), 1u);
}

TEST(LectorAccessValores, DeletedRowsAreSkipped) {
    EXPECT_EQ(LectorAccess(fixture("deleted_rows.mdb")).leerTabla("DIS").filas,
              (Filas{{N(2), N(2)}, {N(3), N(1)}, {N(5), N(3)}}));
}

TEST(LectorAccessValores, FilesMissingPartsOfADistributionAreStillReadable) {
    const LectorAccess sinEnunciado(fixture("no_enunciado.mdb"));
    EXPECT_FALSE(sinEnunciado.tieneTabla("ENUNCIADO"));
    EXPECT_EQ(sinEnunciado.leerTabla("DIS").filas,
              (Filas{{N(1), N(2)}, {N(2), N(5)}, {N(3), N(3)}}));
    const LectorAccess tipoMalo(fixture("bad_tipo.mdb"));
    EXPECT_EQ(tipoMalo.leerTabla("ENUNCIADO").filas[0][0], T("Desconocida"));
    EXPECT_EQ(tipoMalo.leerTabla("DIS").filas, (Filas{{N(3), N(3)}, {N(1), N(2)}, {N(2), N(5)}}));
}

TEST(LectorAccessValores, BigTableIsReadWholeAndInOrder) {
    const TablaAccess t = LectorAccess(fixture("big_dis.mdb")).leerTabla("DIS");
    ASSERT_EQ(t.filas.size(), 32767u);
    EXPECT_EQ(t.filas, filasBigDis());
    double n = 0, xn = 0;
    for (const auto& f : t.filas) {
        n += f[1].asNumber();
        xn += f[0].asNumber() * f[1].asNumber();
    }
    EXPECT_EQ(n, 98184);
    EXPECT_EQ(xn, 4897155);
    EXPECT_EQ(t.filas[0], (std::vector{N(65.5), N(5)}));
    EXPECT_EQ(t.filas[32766], (std::vector{N(81), N(2)}));
}

// --- The pitfalls of reading through libmdb --------------------------------

TEST(LectorAccessEscollos, LongMemosAreNotCutAtTheDefaultBindSize) {
    const std::string texto = memo("big_dis.mdb");
    EXPECT_GT(texto.size(), 16384u);
    EXPECT_EQ(caracteres(texto), 23270u);
    EXPECT_EQ(sha256(texto), "c9ff7eb2ca16006be2cc628b80530de931c07bc2bc1de7f06b10e6fb609e05e8");
}

TEST(LectorAccessEscollos, EveryMemoMatchesItsChecksum) {
    for (const MemoEsperado& m : memosEsperados()) {
        const std::string texto = memo(m.archivo);
        EXPECT_EQ(caracteres(texto), m.caracteres) << m.archivo;
        EXPECT_EQ(sha256(texto), m.sha256) << m.archivo;
    }
}

TEST(LectorAccessEscollos, DoublesAreBitExactWhateverTheNumericLocale) {
    // A decimal-comma locale must not change what is read.
    const std::string anterior = std::setlocale(LC_NUMERIC, nullptr);
    bool coma = false;
    for (const char* nombre : {"es_ES.UTF-8", "es_ES.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_NUMERIC, nombre)) {
            coma = true;
            break;
        }
    const TablaAccess t = LectorAccess(fixture("dis_notas.mdb")).leerTabla("DIS");
    std::setlocale(LC_NUMERIC, anterior.c_str());
    EXPECT_EQ(bits(t.filas[3][0].asNumber()), bits(5.5));
    EXPECT_EQ(bits(t.filas[1][3].asNumber()), bits(15.625));
    EXPECT_EQ(bits(t.filas[4][3].asNumber()), bits(71.875));
    if (!coma)
        GTEST_SKIP() << "no decimal-comma locale installed; read under \"C\" only";
}

TEST(LectorAccessEscollos, RowsRelocatedTwiceAreReadOnceThroughTheirPointers) {
    const LectorAccess lector(fixture("overflow_twice.mdb"));
    const TablaAccess t = lector.leerTabla("DIS");
    EXPECT_THAT(nombres(t), ElementsAre("Xi", "ni", "x¡·n¡", "Fi%"));
    EXPECT_EQ(t.filas, filasDisNotas());
}

// --- Damaged files -----------------------------------------------------------

std::vector<char> contenido(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void escribir(const std::string& ruta, const std::vector<char>& bytes) {
    std::ofstream(ruta, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Reads every table the way a conversion does; returns the refusal, if any.
std::string leerTodo(const std::string& ruta) {
    try {
        const LectorAccess lector(ruta);
        for (const std::string& t : lector.nombresTablas())
            lector.leerTabla(t);
    } catch (const ErrorAccess& e) {
        return e.what();
    }
    return {};
}

// First stored row of a table: where it starts in the file and its length.
std::pair<std::size_t, std::size_t> primeraFila(const std::string& ruta, const char* tabla) {
    MdbHandle* mdb = mdb_open(ruta.c_str(), MDB_NOFLAGS);
    mdb_read_catalog(mdb, MDB_TABLE);
    MdbTableDef* def = mdb_read_table_by_name(mdb, const_cast<gchar*>(tabla), MDB_TABLE);
    mdb_rewind_table(def);
    const std::size_t pagina = std::size_t(mdb_read_next_dpg(def));
    const int rco = mdb->fmt->row_count_offset;
    const std::size_t inicio = mdb_get_int16(mdb->pg_buf, rco + 2) & 0x1FFF;
    mdb_free_tabledef(def);
    mdb_close(mdb);
    return {pagina * 4096 + inicio, 4096 - inicio};
}

TEST(LectorAccessEscollos, NullAndEmptyTextAreTold) {
    // The first row of CAT is ("Azul", 1). Give its word no bytes: with the
    // null-mask bit set it is an empty word; with the bit clear it is Null.
    const CarpetaTemporal carpeta;
    const auto [fila, largo] = primeraFila(fixture("cat_colores.mdb"), "CAT");
    auto bytes = contenido(fixture("cat_colores.mdb"));
    char* r = &bytes[fila];
    const std::size_t finEntradas = largo - 1; // one byte of null mask (2 columns)
    // Offsets of the variable values, from the end: Xi's start, then the end.
    const char inicioXi[2] = {r[finEntradas - 4], r[finEntradas - 3]};
    r[finEntradas - 6] = inicioXi[0];
    r[finEntradas - 5] = inicioXi[1];
    escribir(carpeta / "vacio.mdb", bytes);
    r[largo - 1] = char(r[largo - 1] & ~1); // Xi is column 0
    escribir(carpeta / "nulo.mdb", bytes);

    EXPECT_EQ(LectorAccess(carpeta / "vacio.mdb").leerTabla("CAT").filas[0],
              (std::vector{T(""), N(1)}));
    EXPECT_EQ(LectorAccess(carpeta / "nulo.mdb").leerTabla("CAT").filas[0],
              (std::vector{Nulo(), N(1)}));
    EXPECT_EQ(LectorAccess(carpeta / "vacio.mdb").leerTabla("CAT").filas[1],
              (std::vector{T("Rojo"), N(1)}));
}

TEST(LectorAccessDanado, TruncatedFileIsRefused) {
    const CarpetaTemporal carpeta;
    auto bytes = contenido(fixture("big_dis.mdb"));
    bytes.resize(bytes.size() / 2);
    escribir(carpeta / "cortado.mdb", bytes);
    EXPECT_THAT(leerTodo(carpeta / "cortado.mdb"), HasSubstr("dañad"));
}

TEST(LectorAccessDanado, FileCutInsideItsFirstPagesIsRefused) {
    const CarpetaTemporal carpeta;
    for (const std::size_t largo : {0, 100, 4096, 3 * 4096, 20 * 4096}) {
        auto bytes = contenido(fixture("dis_notas.mdb"));
        bytes.resize(largo);
        escribir(carpeta / "cortado.mdb", bytes);
        EXPECT_FALSE(leerTodo(carpeta / "cortado.mdb").empty()) << largo;
    }
}

TEST(LectorAccessDanado, FlippedDataPageIsRefused) {
    const CarpetaTemporal carpeta;
    auto bytes = contenido(fixture("dis_notas.mdb"));
    // Page 41 holds the rows of DIS (as written by the fixture's generator).
    MdbHandle* mdb = mdb_open(fixture("dis_notas.mdb").c_str(), MDB_NOFLAGS);
    ASSERT_NE(mdb, nullptr);
    mdb_read_catalog(mdb, MDB_TABLE);
    MdbTableDef* def = mdb_read_table_by_name(mdb, const_cast<gchar*>("DIS"), MDB_TABLE);
    ASSERT_NE(def, nullptr);
    mdb_rewind_table(def);
    const int pagina = mdb_read_next_dpg(def);
    mdb_free_tabledef(def);
    mdb_close(mdb);
    ASSERT_GT(pagina, 0);
    for (std::size_t i = 0; i < 4096; ++i)
        bytes[std::size_t(pagina) * 4096 + i] ^= char(0x5A);
    escribir(carpeta / "volteado.mdb", bytes);
    EXPECT_THAT(leerTodo(carpeta / "volteado.mdb"), HasSubstr("DIS"));
}

TEST(LectorAccessDanado, RowCountThatDisagreesWithTheRowsIsRefused) {
    const CarpetaTemporal carpeta;
    auto bytes = contenido(fixture("dis_notas.mdb"));
    MdbHandle* mdb = mdb_open(fixture("dis_notas.mdb").c_str(), MDB_NOFLAGS);
    ASSERT_NE(mdb, nullptr);
    mdb_read_catalog(mdb, MDB_TABLE);
    const MdbCatalogEntry* e = mdb_get_catalogentry_by_name(mdb, "DIS");
    ASSERT_NE(e, nullptr);
    const std::size_t offset = e->table_pg * 4096 + mdb->fmt->tab_num_rows_offset;
    mdb_close(mdb);
    ASSERT_EQ(bytes[offset], 8);
    bytes[offset] = 9;
    escribir(carpeta / "cuenta.mdb", bytes);
    const LectorAccess lector(carpeta / "cuenta.mdb");
    try {
        lector.leerTabla("DIS");
        FAIL() << "a table with one row missing was read";
    } catch (const ErrorAccess& e) {
        EXPECT_THAT(e.what(), HasSubstr("declara 9 filas y se leyeron 8"));
    }
}

TEST(LectorAccessDanado, FilesThatAreNotAccessAreRefused) {
    const CarpetaTemporal carpeta;
    escribir(carpeta / "texto.mdb", {'h', 'o', 'l', 'a'});
    EXPECT_THROW(LectorAccess(carpeta / "texto.mdb"), ErrorAccess);
    EXPECT_THROW(LectorAccess(carpeta / "no_existe.mdb"), ErrorAccess);
    EXPECT_FALSE(LectorAccess::esArchivoAccess(carpeta / "texto.mdb"));
    EXPECT_TRUE(LectorAccess::esArchivoAccess(fixture("template.mdb")));
}

TEST(LectorAccessDanado, ReadsFromMemoryLikeFromAFile) {
    const auto bytes = contenido(fixture("dis_notas.mdb"));
    const std::vector<std::uint8_t> copia(bytes.begin(), bytes.end());
    const LectorAccess lector{std::span<const std::uint8_t>(copia)};
    EXPECT_EQ(lector.leerTabla("DIS").filas, filasDisNotas());
}

} // namespace
} // namespace kalnor::access
