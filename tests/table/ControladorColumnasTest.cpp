// The derived columns and the column commands, driven through the
// controller as the DAT tab drives it, checked on the file itself.
#include "../panel/DistribucionPrueba.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "table/CatalogoColumnas.h"
#include "table/ControladorColumnas.h"
#include "table/InterfazColumnas.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace kalnor {
namespace {

using stats::CellValue;
using testing::DistribucionesPrueba;

struct Mensaje {
    QString texto, titulo;
};

class VentanaGrabada : public InterfazColumnas {
public:
    std::vector<Mensaje> mensajes;
    std::vector<QString> notas;
    int columnasMostradas = 0;
    int ocupados = 0;
    int maxProgreso = 0;
    void mensaje(const QString& texto, const QString& titulo) override {
        mensajes.push_back({texto, titulo});
    }
    void ocupado(bool siNo) override { ocupados += siNo ? 1 : -1; }
    void progreso(int hechos, int) override { maxProgreso = std::max(maxProgreso, hechos); }
    void mostrarColumnas() override { ++columnasMostradas; }
    void pegarEnNotas(const QString& linea) override { notas.push_back(linea); }
};

using Columna = std::vector<std::optional<double>>;

class Columnas : public ::testing::Test {
protected:
    Columnas()
        : archivos(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          calc(doc, "/bin/"), c(doc, calc, ui) {
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        calc.setLocale(en);
        c.setLocale(en);
    }

    std::string abrir(const std::string& codigo, const std::string& csv,
                      const std::string& fichero = "d.mdb") {
        ruta = archivos.crear(fichero, codigo, csv);
        EXPECT_TRUE(doc.AbrirBase(ruta)) << doc.error.MensajeError;
        return ruta;
    }

    // Picks the entry whose field is `campo` in the list shown now.
    void elegir(const std::string& campo) {
        const QStringList& items = c.estado().cboSUMATORIOS;
        for (int i = 0; i < items.size(); ++i)
            if (campoDeEntrada(items[i].toStdString()) == campo) {
                c.cboSUMATORIOS_Click(i);
                return;
            }
        ADD_FAILURE() << "no entry " << campo;
    }

    void variableY() {
        ASSERT_TRUE(calc.estado().cmdVARIABLEEnabled);
        calc.cmdVARIABLE_Click();
        ASSERT_EQ(calc.estado().cmdVARIABLE, "Y");
    }

    // A column as the file holds it, in the order of `orden` ("" stored).
    Columna enArchivo(const std::string& campo, const std::string& orden = {}) const {
        Documento otro;
        EXPECT_TRUE(otro.AbrirBase(ruta));
        if (!orden.empty())
            otro.OrdenarDatos(orden);
        Columna out;
        for (const CellValue& v : otro.Data1.column(campo))
            out.push_back(v.isNumber() ? std::optional(v.asNumber()) : std::nullopt);
        return out;
    }
    // The column as Data1 holds it now.
    Columna enTabla(const std::string& campo) const {
        Columna out;
        for (const CellValue& v : doc.Data1.column(campo))
            out.push_back(v.isNumber() ? std::optional(v.asNumber()) : std::nullopt);
        return out;
    }
    int campos(const std::string& campo) const {
        int n = 0;
        for (const std::string& f : doc.Data1.FieldNames())
            n += f == campo;
        return n;
    }
    QString ultimo() const { return ui.mensajes.empty() ? QString() : ui.mensajes.back().texto; }

    DistribucionesPrueba archivos;
    std::string ruta;
    Documento doc;
    ControladorCalculadora calc;
    VentanaGrabada ui;
    ControladorColumnas c;
};

Columna de(std::initializer_list<double> v) {
    Columna out;
    for (double x : v)
        out.push_back(x);
    return out;
}

const std::optional<double> vacio;

// ---- The lists -----------------------------------------------------------

TEST_F(Columnas, TheListsHoldTheEntriesOfTheActiveVariable) {
    const QStringList x{" Xc¡",    " N¡",     " f¡",        " f¡%",        " Fi",
                        " Fi%",    " x¡·n¡",  " x¡²",       " x¡²·n¡",     " x¡³",
                        " x¡³·n¡", " (x¡-m)", " (x¡-m)·n¡", " (x¡-m)²·n¡", " (x¡-m)³·n¡",
                        " |x¡-m|", " n¡/x¡",  " lg(x¡)",    " n¡·lg(x¡)",  " |x¡-m|·n¡"};
    EXPECT_EQ(c.estado().cboSUMATORIOS, x);
    EXPECT_EQ(c.estado().lblColumnas, "Columnas: X");

    abrir("DISDIS", "Xi,Yi,ni\n1,2,3\n");
    variableY();
    const QStringList y{
        " Yc¡",        " N¡ (Y)", " f¡ (Y)", " f¡% (Y)", " Fi (Y)",    " Fi% (Y)",   " y¡·n¡",
        " y¡²",        " y¡²·n¡", " y¡³",    " y¡³·n¡",  " (y¡-m)",    " (y¡-m)·n¡", " (y¡-m)²·n¡",
        " (y¡-m)³·n¡", " |y¡-m|", " n¡/y¡",  " lg(y¡)",  " n¡·lg(y¡)", " |y¡-m|·n¡", " x¡·y¡·n¡"};
    EXPECT_EQ(c.estado().cboSUMATORIOS, y);
    EXPECT_EQ(c.estado().lblColumnas, "Columnas: Y");
    calc.cmdVARIABLE_Click();
    EXPECT_EQ(c.estado().cboSUMATORIOS, x);
    EXPECT_FALSE(c.estado().cboSUMATORIOS.contains(" x¡·y¡·n¡"));
    // The characters are the exact ones: ¡ U+00A1, · U+00B7, ² U+00B2, ³ U+00B3.
    EXPECT_EQ(x[8], QString::fromUcs4(U" x\u00A1\u00B2\u00B7n\u00A1"));
    EXPECT_EQ(x[9], QString::fromUcs4(U" x\u00A1\u00B3"));
}

TEST_F(Columnas, NoFileOrNoRowsRefusesAndClearsTheSelection) {
    c.cboSUMATORIOS_Click(3);
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(ui.mensajes[0].titulo, "¡ Error al Añadir Columnas !");
    EXPECT_EQ(ui.mensajes[0].texto, "No hay un archivo abierto o\nNo hay datos suficientes");
    EXPECT_EQ(c.estado().seleccion, -1);

    abrir("DIS", "");
    c.cboSUMATORIOS_Click(6);
    EXPECT_EQ(ui.mensajes.size(), 2u);
    EXPECT_EQ(c.estado().seleccion, -1);
    EXPECT_EQ(campos("x¡·n¡"), 0);
    c.cboSUMATORIOS_Click(-1); // nothing chosen: nothing happens
    EXPECT_EQ(ui.mensajes.size(), 2u);
}

// ---- The examples of a continuous and a discrete table --------------------

TEST_F(Columnas, ContinuousClassesGiveMarksProductsAndDeviations) {
    abrir("CON", "LiX,LsX,ni\n0,10,4\n10,20,6\n");
    for (const char* f : {"Xc¡", "x¡·n¡", "(x¡-m)", "|x¡-m|·n¡"})
        elegir(f);
    EXPECT_TRUE(ui.mensajes.empty()) << ultimo().toStdString();
    EXPECT_EQ(enArchivo("Xc¡"), de({5, 15}));
    EXPECT_EQ(enArchivo("x¡·n¡"), de({20, 90}));
    EXPECT_EQ(enArchivo("(x¡-m)"), de({-6, 4}));
    EXPECT_EQ(enArchivo("|x¡-m|·n¡"), de({24, 24}));
    EXPECT_EQ(ui.ocupados, 0);
    EXPECT_GE(ui.columnasMostradas, 4);
    // The display was cleared on the way.
    EXPECT_EQ(calc.estado().RESULTADO, "0");
}

TEST_F(Columnas, CumulativeColumnsSortByTheVariableFirst) {
    abrir("DIS", "Xi,ni\n3,3\n1,2\n2,5\n");
    elegir("f¡%");
    EXPECT_EQ(enArchivo("f¡%"), de({30, 20, 50})); // in the listed order
    elegir("N¡");
    EXPECT_NE(doc.Data1.rowSource().find("ORDER BY [Xi]"), std::string::npos);
    EXPECT_EQ(enTabla("Xi"), de({1, 2, 3}));
    EXPECT_EQ(enTabla("N¡"), de({2, 7, 10}));
    EXPECT_EQ(enArchivo("N¡", "Xi"), de({2, 7, 10}));
    // "Fi" sorts as well: totals in a stored order would be wrong.
    elegir("Fi");
    EXPECT_EQ(enTabla("Fi"), de({0.2, 0.7, 1}));
    elegir("Fi%");
    EXPECT_EQ(enTabla("Fi%"), de({20, 70, 100}));
    EXPECT_TRUE(ui.mensajes.empty());
}

TEST_F(Columnas, ContinuousCumulativeColumnsSortByTheLowerLimit) {
    abrir("CON", "LiX,LsX,ni\n20,30,1\n0,10,2\n10,20,1\n");
    elegir("N¡");
    EXPECT_EQ(enTabla("LiX"), de({0, 10, 20}));
    EXPECT_EQ(enTabla("N¡"), de({2, 3, 4}));
    elegir("Fi");
    EXPECT_EQ(enTabla("Fi"), de({0.5, 0.75, 1}));
}

// ---- Failures that stop at a record ---------------------------------------

TEST_F(Columnas, LogarithmsOfAPositiveValueAndOfZero) {
    abrir("DIS", "Xi,ni\n100,1\n1000,2\n");
    elegir("lg(x¡)");
    EXPECT_EQ(enArchivo("lg(x¡)"), de({2, 3}));
    EXPECT_TRUE(ui.mensajes.empty());

    abrir("DIS", "Xi,ni\n100,1\n0,2\n10,1\n", "cero.mdb");
    elegir("lg(x¡)");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ultimo().contains("registro 2")) << ultimo().toStdString();
    EXPECT_TRUE(ultimo().contains("logaritmo")) << ultimo().toStdString();
    EXPECT_EQ(enArchivo("lg(x¡)"), (Columna{2, vacio, vacio}));
}

TEST_F(Columnas, DivisionByZeroStopsWithTheRecordsBeforeKept) {
    abrir("DIS", "Xi,ni\n2,4\n4,2\n0,3\n5,5\n");
    elegir("n¡/x¡");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ultimo().contains("División por cero")) << ultimo().toStdString();
    EXPECT_TRUE(ultimo().contains("registro 3")) << ultimo().toStdString();
    EXPECT_TRUE(ultimo().contains("hasta el registro 2")) << ultimo().toStdString();
    EXPECT_TRUE(ui.mensajes[0].titulo.isEmpty());
    EXPECT_EQ(enArchivo("n¡/x¡"), (Columna{2, 0.5, vacio, vacio}));
}

TEST_F(Columnas, AFailingRefillLeavesNoEarlierValuesBehind) {
    abrir("DIS", "Xi,ni\n2,4\n4,2\n5,3\n");
    elegir("n¡/x¡");
    ASSERT_TRUE(ui.mensajes.empty());
    DistribucionesPrueba::ejecutar(ruta, "UPDATE DIS SET Xi = 0 WHERE Xi = 4");
    doc.AbrirBase(ruta);
    elegir("n¡/x¡");
    EXPECT_EQ(enArchivo("n¡/x¡"), (Columna{2, vacio, vacio}));
}

TEST_F(Columnas, EmptyCellsEmptyTheirRecordOrStopARunningTotal) {
    abrir("DIS", "Xi,ni\n1,1\n2,2\n3,3\n");
    DistribucionesPrueba::ejecutar(ruta, "UPDATE DIS SET Xi = NULL WHERE ni = 2");
    doc.AbrirBase(ruta);
    elegir("x¡·n¡");
    EXPECT_TRUE(ui.mensajes.empty());
    EXPECT_EQ(enArchivo("x¡·n¡"), (Columna{1, vacio, 9}));
    elegir("lg(x¡)");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ultimo().contains("registro 2"));
    EXPECT_EQ(enArchivo("lg(x¡)"), (Columna{0, vacio, vacio}));
}

TEST_F(Columnas, AMeanThatCannotBeTakenLeavesTheColumnEmpty) {
    abrir("DIS", "Xi,ni\n1,1\n2,2\n");
    DistribucionesPrueba::ejecutar(ruta, "UPDATE DIS SET ni = NULL WHERE Xi = 2");
    doc.AbrirBase(ruta);
    elegir("(x¡-m)");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ultimo().contains("Registro 2")) << ultimo().toStdString();
    EXPECT_EQ(enArchivo("(x¡-m)"), (Columna{vacio, vacio}));
}

// ---- Kinds, messages and duplicates ---------------------------------------

TEST_F(Columnas, ClassMarksOnlyOnAContinuousVariable) {
    abrir("DIS", "Xi,ni\n1,1\n");
    elegir("Xc¡");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(ultimo(), "Solo calculable en variable continua");
    EXPECT_EQ(campos("Xc¡"), 1); // added, empty
    EXPECT_EQ(enArchivo("Xc¡"), (Columna{vacio}));
}

TEST_F(Columnas, ChoosingAColumnAgainRefillsItInPlace) {
    abrir("DIS", "Xi,ni\n1,1\n2,3\n");
    elegir("Fi%");
    elegir("x¡·n¡");
    DistribucionesPrueba::ejecutar(ruta, "UPDATE DIS SET ni = 1");
    doc.AbrirBase(ruta);
    elegir("Fi%");
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_TRUE(ultimo().contains("ya existe")) << ultimo().toStdString();
    EXPECT_EQ(campos("Fi%"), 1);
    EXPECT_EQ(doc.Data1.FieldNames()[2], "Fi%"); // keeps its place
    EXPECT_EQ(enArchivo("Fi%", "Xi"), de({50, 100}));
}

TEST_F(Columnas, CategoricalValuesRunNoFormulaButFrequenciesAreComputed) {
    abrir("CAT", "Xi,ni\nrojo,1\nazul,3\n");
    elegir("x¡·n¡");
    elegir("f¡");
    elegir("N¡");
    EXPECT_TRUE(ui.mensajes.empty());
    EXPECT_EQ(enArchivo("x¡·n¡"), (Columna{vacio, vacio}));
    EXPECT_EQ(enArchivo("f¡"), de({0.25, 0.75}));
    EXPECT_EQ(enTabla("N¡"), de({3, 4})); // azul, rojo
}

TEST_F(Columnas, FieldNamesAreStoredAsTheseExactCharacters) {
    abrir("DIS", "Xi,ni\n1,1\n");
    elegir("(x¡-m)²·n¡");
    doc.CerrarBase();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ruta.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info('DIS')", -1, &st, nullptr);
    std::vector<std::pair<std::string, std::string>> info;
    while (sqlite3_step(st) == SQLITE_ROW)
        info.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                          reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    ASSERT_EQ(info.size(), 3u);
    EXPECT_EQ(info[2].first, "(x\xC2\xA1-m)\xC2\xB2\xC2\xB7n\xC2\xA1");
    EXPECT_EQ(info[2].second, "REAL");
}

// ---- Y and the joint column ------------------------------------------------

TEST_F(Columnas, OneRecordOfTwoContinuousVariables) {
    abrir("CONCON", "LiX,LsX,LiY,LsY,ni\n0,10,4,8,3\n");
    variableY();
    for (const char* f : {"Yc¡", "y¡·n¡", "x¡·y¡·n¡"})
        elegir(f);
    EXPECT_TRUE(ui.mensajes.empty());
    EXPECT_EQ(enArchivo("Yc¡"), de({6}));
    EXPECT_EQ(enArchivo("y¡·n¡"), de({18}));
    EXPECT_EQ(enArchivo("x¡·y¡·n¡"), de({90}));
}

TEST_F(Columnas, TwoDiscreteVariables) {
    abrir("DISDIS", "Xi,Yi,ni\n2,3,4\n");
    variableY();
    elegir("x¡·y¡·n¡");
    elegir("y¡²·n¡");
    EXPECT_EQ(enArchivo("x¡·y¡·n¡"), de({24}));
    EXPECT_EQ(enArchivo("y¡²·n¡"), de({36}));
}

TEST_F(Columnas, TheJointProductOfADiscreteXAndAContinuousY) {
    abrir("DISCON", "Xi,LiY,LsY,ni\n2,0,10,3\n");
    variableY();
    elegir("x¡·y¡·n¡");
    EXPECT_EQ(enArchivo("x¡·y¡·n¡"), de({30}));
}

TEST_F(Columnas, CategoricalXLeavesTheYFormulasEmpty) {
    abrir("CATDIS", "Xi,Yi,ni\na,1,1\nb,2,1\n");
    variableY();
    elegir("Yc¡");
    EXPECT_EQ(ultimo(), "Solo calculable en variable continua");
    elegir("y¡·n¡");
    elegir("Fi% (Y)");
    EXPECT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(enArchivo("y¡·n¡"), (Columna{vacio, vacio}));
    EXPECT_EQ(enArchivo("Fi% (Y)", "Yi"), de({50, 100}));

    abrir("CATCON", "Xi,LiY,LsY,ni\na,0,2,1\n", "catcon.mdb");
    elegir("Yc¡");
    elegir("y¡·n¡");
    EXPECT_EQ(enArchivo("Yc¡"), de({1}));
    EXPECT_EQ(enArchivo("y¡·n¡"), (Columna{vacio}));
}

TEST_F(Columnas, YCumulativeColumnsSortByY) {
    abrir("DISDIS", "Xi,Yi,ni\n1,30,1\n2,10,2\n3,20,1\n");
    calc.cmdVARIABLE_Click(); // Y
    doc.OrdenarDatos("Xi");   // a sort made before does not matter
    elegir("N¡ (Y)");
    EXPECT_EQ(enTabla("Yi"), de({10, 20, 30}));
    EXPECT_EQ(enTabla("N¡ (Y)"), de({2, 3, 4}));
}

// ---- Every column on every kind, against a computation of its own ----------

struct Registro {
    std::optional<double> x, y; // values or class marks
    double n;
};

std::optional<double> esperado(const std::string& f, const Registro& r, double N, double m,
                               double acumulado) {
    const auto x = r.x;
    if (f == "Xc¡" || f == "Yc¡")
        return x;
    if (f == "N¡" || f == "N¡ (Y)")
        return acumulado;
    if (f == "f¡" || f == "f¡ (Y)")
        return r.n / N;
    if (f == "f¡%" || f == "f¡% (Y)")
        return r.n * 100 / N;
    if (f == "Fi" || f == "Fi (Y)")
        return acumulado / N;
    if (f == "Fi%" || f == "Fi% (Y)")
        return acumulado * 100 / N;
    if (!x)
        return std::nullopt;
    const double v = *x;
    const double d = v - m;
    if (f == "x¡·n¡" || f == "y¡·n¡")
        return v * r.n;
    if (f == "x¡²" || f == "y¡²")
        return std::pow(v, 2);
    if (f == "x¡²·n¡" || f == "y¡²·n¡")
        return std::pow(v, 2) * r.n;
    if (f == "x¡³" || f == "y¡³")
        return std::pow(v, 3);
    if (f == "x¡³·n¡" || f == "y¡³·n¡")
        return std::pow(v, 3) * r.n;
    if (f == "(x¡-m)" || f == "(y¡-m)")
        return d;
    if (f == "(x¡-m)·n¡" || f == "(y¡-m)·n¡")
        return d * r.n;
    if (f == "(x¡-m)²·n¡" || f == "(y¡-m)²·n¡")
        return std::pow(d, 2) * r.n;
    if (f == "(x¡-m)³·n¡" || f == "(y¡-m)³·n¡")
        return std::pow(d, 3) * r.n;
    if (f == "|x¡-m|" || f == "|y¡-m|")
        return std::abs(d);
    if (f == "|x¡-m|·n¡" || f == "|y¡-m|·n¡")
        return std::abs(d) * r.n;
    if (f == "n¡/x¡" || f == "n¡/y¡")
        return r.n / v;
    if (f == "lg(x¡)" || f == "lg(y¡)")
        return std::log(v) / std::log(10.0);
    if (f == "n¡·lg(x¡)" || f == "n¡·lg(y¡)")
        return std::log(v) / std::log(10.0) * r.n;
    if (f == "x¡·y¡·n¡")
        return v * *r.y * r.n;
    return std::nullopt;
}

void comparar(const Columna& hay, const Columna& quiero, const std::string& que) {
    ASSERT_EQ(hay.size(), quiero.size()) << que;
    for (std::size_t i = 0; i < hay.size(); ++i) {
        ASSERT_EQ(hay[i].has_value(), quiero[i].has_value()) << que << " registro " << i + 1;
        if (hay[i]) {
            EXPECT_NEAR(*hay[i], *quiero[i], 1e-12 * std::max(1.0, std::abs(*quiero[i])))
                << que << " registro " << i + 1;
        }
    }
}

struct Caso {
    const char* tipo;
    const char* csv;            // rows already in the order of the variable
    std::vector<Registro> x, y; // per record: X's and Y's value
};

TEST_F(Columnas, EveryColumnOnEveryKind) {
    const std::vector<Caso> casos = {
        {"CAT", "Xi,ni\na,2\nb,3\nc,5\n", {{{}, {}, 2}, {{}, {}, 3}, {{}, {}, 5}}, {}},
        {"DIS", "Xi,ni\n1.5,2\n2,3\n7,5\n", {{1.5, {}, 2}, {2, {}, 3}, {7, {}, 5}}, {}},
        {"CON", "LiX,LsX,ni\n0,2,2\n2,6,3\n6,10,5\n", {{1, {}, 2}, {4, {}, 3}, {8, {}, 5}}, {}},
        {"CATCAT",
         "Xi,Yi,ni\na,p,2\nb,q,3\n",
         {{{}, {}, 2}, {{}, {}, 3}},
         {{{}, {}, 2}, {{}, {}, 3}}},
        {"CATDIS",
         "Xi,Yi,ni\na,1,2\nb,4,3\n",
         {{{}, {}, 2}, {{}, {}, 3}},
         {{{}, {}, 2}, {{}, {}, 3}}},
        {"CATCON",
         "Xi,LiY,LsY,ni\na,0,2,2\nb,2,4,3\n",
         {{{}, {}, 2}, {{}, {}, 3}},
         {{1, {}, 2}, {3, {}, 3}}},
        {"DISDIS", "Xi,Yi,ni\n1,2,2\n3,5,3\n", {{1, 2, 2}, {3, 5, 3}}, {{2, 1, 2}, {5, 3, 3}}},
        {"DISCON",
         "Xi,LiY,LsY,ni\n1,0,2,2\n3,2,6,3\n",
         {{1, 1, 2}, {3, 4, 3}},
         {{1, 1, 2}, {4, 3, 3}}},
        {"CONCON",
         "LiX,LsX,LiY,LsY,ni\n0,2,1,3,2\n2,4,3,7,3\n",
         {{1, 2, 2}, {3, 5, 3}},
         {{2, 1, 2}, {5, 3, 3}}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.tipo);
        const stats::KindInfo* k = stats::kindByCode(caso.tipo);
        abrir(caso.tipo, caso.csv, std::string(caso.tipo) + ".mdb");
        for (const bool deY : {false, true}) {
            if (deY && !k->bivariate)
                continue;
            if (deY)
                variableY();
            const std::vector<Registro>& regs = deY ? caso.y : caso.x;
            const stats::VariableType t = deY ? k->y : k->x;
            const bool continua = t == stats::VariableType::Continuous;
            // Which formulas of values apply on this kind.
            const bool valores =
                deY ? (std::string(caso.tipo) == "DISDIS" || std::string(caso.tipo) == "CONCON" ||
                       std::string(caso.tipo) == "DISCON")
                    : t != stats::VariableType::Categorical;
            double N = 0, sx = 0;
            for (const Registro& r : regs) {
                N += r.n;
                sx += r.x.value_or(0) * r.n;
            }
            const double m = sx / N;
            for (const ColumnaDerivada& col : columnasDe(deY ? "Y" : "X")) {
                const std::string f(col.campo);
                SCOPED_TRACE(f);
                ui.mensajes.clear();
                elegir(f);
                const bool marca = col.operacion == Operacion::Marca;
                const bool frec = f.find("N¡") == 0 || f.find("f¡") == 0 || f.find("Fi") == 0;
                bool aplica = frec || (marca ? continua : valores);
                if (f == "x¡·y¡·n¡")
                    aplica = valores;
                if (marca && !continua)
                    EXPECT_EQ(ultimo(), "Solo calculable en variable continua");
                else
                    EXPECT_TRUE(ui.mensajes.empty()) << ultimo().toStdString();
                Columna quiero;
                double acumulado = 0;
                for (const Registro& r : regs) {
                    acumulado += r.n;
                    quiero.push_back(aplica ? esperado(f, r, N, m, acumulado) : std::nullopt);
                }
                // The rows are stored in the variable's order, so the order
                // a cumulative column sorts to is the stored one.
                comparar(enArchivo(f), quiero, f);
            }
            if (deY)
                calc.cmdVARIABLE_Click();
        }
    }
}

// ---- Deleting, sorting and summing ----------------------------------------

TEST_F(Columnas, ProtectedFieldsAreNeverDeleted) {
    abrir("DIS", "Xi,ni\n1,1\n");
    c.DBGrid1_HeadClick(1);
    EXPECT_EQ(c.CampoActual(), "ni");
    EXPECT_EQ(c.ColumnaActual(), 1);
    c.mnuEliminarCol_Click();
    ASSERT_EQ(ui.mensajes.size(), 1u);
    EXPECT_EQ(ui.mensajes[0].titulo, "¡ Error al Eliminar Columnas !");
    EXPECT_EQ(ui.mensajes[0].texto, "Esta columna NO puede eliminarse,\nforma parte de los datos.");
    EXPECT_EQ(campos("ni"), 1);
    for (const char* f : {"Xi", "Yi", "Li", "Ls", "LiX", "LsX", "LiY", "LsY"})
        EXPECT_TRUE(esCampoProtegido(f));
}

TEST_F(Columnas, DeletingADerivedColumnKeepsTheOthers) {
    abrir("DIS", "Xi,ni\n1,1\n2,3\n");
    elegir("Fi%");
    elegir("x¡·n¡");
    c.DBGrid1_HeadClick(2);
    EXPECT_EQ(c.CampoActual(), "Fi%");
    c.mnuEliminarCol_Click();
    EXPECT_TRUE(ui.mensajes.empty()) << ultimo().toStdString();
    EXPECT_EQ(campos("Fi%"), 0);
    EXPECT_EQ(doc.Data1.FieldNames(), (std::vector<std::string>{"Xi", "ni", "x¡·n¡"}));
    Documento otro;
    ASSERT_TRUE(otro.AbrirBase(ruta));
    EXPECT_EQ(otro.Data1.FieldNames(), (std::vector<std::string>{"Xi", "ni", "x¡·n¡"}));
    EXPECT_EQ(enArchivo("x¡·n¡"), de({1, 6}));
}

TEST_F(Columnas, DeletingOnAnEmptyTableIsRefused) {
    abrir("DIS", "Xi,ni\n1,1\n");
    elegir("f¡");
    DistribucionesPrueba::ejecutar(ruta, "DELETE FROM DIS");
    doc.AbrirBase(ruta);
    c.eliminarCampo("f¡");
    EXPECT_EQ(ultimo(), "No hay un archivo abierto o\nNo hay datos suficientes");
    EXPECT_EQ(campos("f¡"), 1);
}

TEST_F(Columnas, SortingByAColumn) {
    abrir("DIS", "Xi,ni\n1,5\n2,1\n3,3\n");
    c.DBGrid1_HeadClick(1);
    c.mnuOrdenarCol_Click();
    EXPECT_EQ(enTabla("Xi"), de({2, 3, 1}));
    EXPECT_EQ(ui.ocupados, 0);

    Documento vacio;
    ControladorCalculadora calc2(vacio, "");
    ControladorColumnas sinArchivo(vacio, calc2, ui);
    sinArchivo.mnuOrdenarCol_Click();
    EXPECT_EQ(ultimo(), "No hay un archivo abierto o no hay datos.");
    EXPECT_EQ(ui.mensajes.back().titulo, "¡ Error !");
}

TEST_F(Columnas, SumsGoToTheLabelAndToTheNotes) {
    abrir("DIS", "Xi,ni\n1,5\n2,5\n3,10\n");
    elegir("x¡·n¡"); // 5 + 10 + 30
    c.DBGrid1_HeadClick(1);
    c.mnuSumarCol_Click();
    EXPECT_EQ(calc.estado().SUMATORIO, "20.0");
    c.DBGrid1_HeadClick(2);
    c.mnuSumarColNot_Click();
    EXPECT_EQ(calc.estado().SUMATORIO, "45.0");
    ASSERT_EQ(ui.notas.size(), 1u);
    EXPECT_EQ(ui.notas[0], "\r\nS[x¡·n¡]= " + QString(20, '.') + " 45.0\r\n");
    EXPECT_EQ(ControladorColumnas::lineaNotas("x¡·n¡", "45.0").size(), 2 + 30 + 1 + 4 + 2);
    // limpiarDisplay resets the label.
    calc.limpiarDisplay();
    EXPECT_EQ(calc.estado().SUMATORIO, "0");
}

TEST_F(Columnas, SummingWordsShowsNothingOrBlinksInTheMessageLine) {
    abrir("CAT", "Xi,ni\nrojo,1\n");
    c.DBGrid1_HeadClick(1);
    c.mnuSumarCol_Click();
    EXPECT_EQ(calc.estado().SUMATORIO, "1.0");
    c.DBGrid1_HeadClick(0);
    c.mnuSumarCol_Click();
    EXPECT_EQ(calc.estado().SUMATORIO, "1.0"); // kept
    EXPECT_TRUE(calc.estado().lbl_Mensaje[0].isEmpty());
    EXPECT_TRUE(doc.error.failed());
    c.mnuSumarColNot_Click();
    EXPECT_TRUE(ui.notas.empty());
    EXPECT_TRUE(calc.estado().lbl_Mensaje[0].contains("No coinciden los tipos"));
    EXPECT_EQ(calc.estado().Timer1Interval, 500);
    EXPECT_TRUE(ui.mensajes.empty());
}

TEST_F(Columnas, ALongFieldNameGetsNoDotsRatherThanAFailure) {
    const QString linea = ControladorColumnas::lineaNotas(QString(40, 'a'), "1.0");
    EXPECT_EQ(linea, "\r\nS[" + QString(40, 'a') + "]=  1.0\r\n");
}

TEST_F(Columnas, SumsAreExact) {
    abrir("DIS", "Xi,ni\n0.1,1\n0.2,1\n0.3,1\n1e16,1\n-1e16,1\n");
    c.sumarCampo("Xi");
    ASSERT_TRUE(c.estado().suma);
    EXPECT_EQ(*c.estado().suma, 0.6); // the terms' exact sum, rounded once
}

} // namespace
} // namespace kalnor
