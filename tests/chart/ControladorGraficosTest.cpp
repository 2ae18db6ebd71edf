#include "../panel/DistribucionPrueba.h"

#include "app/Documento.h"
#include "chart/CalculadoraEscritorio.h"
#include "chart/ControlGrafico.h"
#include "chart/ControladorGraficos.h"
#include "chart/DibujoGrafico.h"
#include "chart/ErrorGrafico.h"
#include "stats/Bivariate.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

// Records what the control asks of its drawing.
class DibujoGrabado : public DibujoGrafico {
public:
    int borrados = 0;
    int dibujos = 0;
    std::vector<QString> escritos;
    bool escribir = true;
    QString carpetaSinPermiso; // writes into it fail, as in a read-only folder
    void borrar() override { ++borrados; }
    void dibujar(const ControlGrafico&) override { ++dibujos; }
    std::vector<TipoAula> aulas;
    void dibujarAula(const GraficoAula& g) override { aulas.push_back(g.tipo); }
    bool escribirImagen(const ControlGrafico&, const QString& ruta) override {
        if (!escribir ||
            (!carpetaSinPermiso.isEmpty() && QFileInfo(ruta).absolutePath() == carpetaSinPermiso))
            return false;
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        escritos.push_back(ruta);
        return true;
    }
};

class CalculadoraGrabada : public CalculadoraEscritorio {
public:
    int abiertas = 0;
    bool falla = false;
    void abrir() override {
        if (falla)
            throw std::runtime_error("No se encuentra ninguna calculadora");
        ++abiertas;
    }
    void cerrar() override {}
};

QString texto(const EtiquetaGrafico& e) {
    const QString* t = std::get_if<QString>(&e);
    return t ? *t : QString();
}

// --- the control's properties ------------------------------------------------

TEST(ControlGrafico, DataFollowsThisSetAndThisPoint) {
    ControlGrafico g;
    g.setNumSets(1);
    g.setNumPoints(3);
    g.setThisSet(1);
    g.setThisPoint(2);
    g.setGraphData(7);
    g.setLabelText(QStringLiteral("Azu"));
    EXPECT_EQ(g.GraphData(), 7);
    EXPECT_EQ(texto(g.LabelText()), "Azu");
    EXPECT_EQ(g.dato(1, 1), 0);
    EXPECT_EQ(g.dato(1, 2), 7);
    g.setDataReset(ControlGrafico::kBorrarTodo);
    EXPECT_EQ(g.dato(1, 2), 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(g.etiqueta(2)));
    EXPECT_EQ(g.NumPoints(), 3);
}

TEST(ControlGrafico, RefusesValuesOutsideEachProperty) {
    ControlGrafico g;
    const auto numero = [](auto&& f) {
        try {
            f();
        } catch (const ErrorGrafico& e) {
            return static_cast<int>(e.numero());
        }
        return 0;
    };
    EXPECT_EQ(numero([&] { g.setGraphType(2); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setGraphStyle(4); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setPalette(3); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setGridStyle(-1); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setDrawMode(3); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setDataReset(1); }), ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setNumPoints(ControlGrafico::kMaxPuntos + 1); }),
              ErrorGrafico::kValorNoValido);
    EXPECT_EQ(numero([&] { g.setThisPoint(40000); }), ErrorGrafico::kDesbordamiento);
    EXPECT_EQ(numero([&] { g.setGraphData(1LL << 40); }), ErrorGrafico::kDesbordamiento);
    // Nothing was changed by the refusals.
    EXPECT_EQ(g.GraphType(), ControlGrafico::kBarras);
    EXPECT_EQ(g.GraphStyle(), 0);
    for (const int tipo : {1, 3, 6})
        EXPECT_NO_THROW(g.setGraphType(tipo));
}

TEST(ControlGrafico, DrawModesReachTheDrawing) {
    ControlGrafico g;
    DibujoGrabado d;
    g.setDibujo(&d);
    g.setDrawMode(ControlGrafico::kDibujar);
    EXPECT_TRUE(g.dibujado());
    g.setDrawMode(ControlGrafico::kBorrar);
    EXPECT_FALSE(g.dibujado());
    EXPECT_EQ(d.dibujos, 1);
    EXPECT_EQ(d.borrados, 1);
    d.escribir = false;
    EXPECT_THROW(g.setDrawMode(ControlGrafico::kEscribir), ErrorGrafico);
}

// --- the chart tab's handlers ------------------------------------------------

class Graficos : public ::testing::Test {
protected:
    Graficos()
        : archivos(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          c(doc, rutas()) {
        std::filesystem::create_directories(archivos.dir() / "dat");
        c.Graph1().setDibujo(&dibujo);
        c.setLimpiarDisplay([this] { ++limpiezas; });
        c.setCalculadora(&calculadora);
        c.Comenzar();
    }
    void abrir(const std::string& codigo, const std::string& csv) {
        ASSERT_TRUE(doc.AbrirBase(archivos.crear("d.mdb", codigo, csv))) << doc.error.MensajeError;
    }
    // The distributions' folder dat/ inside the test's own folder; with
    // `instalada`, that folder plays the installed program's files.
    Rutas rutas(bool instalada = false) const {
        const QString dir = QString::fromStdString(archivos.dir().string());
        return {dir + "/dat/", {}, {}, instalada ? dir : QString()};
    }
    const EstadoGraficos& e() const { return c.estado(); }
    const ControlGrafico& g() const { return c.Graph1(); }

    DistribucionesPrueba archivos;
    Documento doc;
    DibujoGrabado dibujo;
    CalculadoraGrabada calculadora;
    ControladorGraficos c;
    int limpiezas = 0;
};

TEST_F(Graficos, WordsAreLabelledByThreeLettersNumbersInFull) {
    abrir("CAT", "Xi,ni\nVerde,4\nNo,2\n12.5,1\nÑandú,3\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    ASSERT_EQ(g().NumPoints(), 4);
    EXPECT_EQ(texto(g().etiqueta(1)), "Ver");
    EXPECT_EQ(texto(g().etiqueta(2)), "No");
    EXPECT_EQ(texto(g().etiqueta(3)), "12.5");
    EXPECT_EQ(texto(g().etiqueta(4)), QString::fromUtf8("Ñan"));
    EXPECT_EQ(g().dato(1, 1), 4);
    EXPECT_EQ(g().dato(1, 4), 3);

    const EtiquetaGrafico numero = ControladorGraficos::etiquetaDe(stats::CellValue::number(12.5));
    ASSERT_TRUE(std::holds_alternative<double>(numero));
    EXPECT_EQ(std::get<double>(numero), 12.5);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        ControladorGraficos::etiquetaDe(stats::CellValue::null())));
}

TEST_F(Graficos, ChartButtonFillsTheListsAndDrawsOnTheChartTab) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n3,1\n");
    std::vector<int> pestanas;
    QObject::connect(&c, &ControladorGraficos::pestanaPedida,
                     [&](int i) { pestanas.push_back(i); });
    c.Toolbar3_ButtonClick("botonLINEAS");
    EXPECT_EQ(e().cboESTILO, QStringList({"Por Defecto", "Simbolo", "Sticks", "Simbolo+Sticks"}));
    EXPECT_EQ(e().cboPALETA, QStringList({"Color", "Pastel", "Grises"}));
    EXPECT_EQ(e().cboREJILLA, QStringList({"Ninguna", "Horizontal", "Vertical", "Hor.+Vert."}));
    EXPECT_EQ(e().seleccion, (std::array<int, 3>{-1, -1, -1}));
    EXPECT_EQ(g().GraphType(), ControlGrafico::kLineas);
    EXPECT_EQ(g().NumSets(), 1);
    EXPECT_EQ(dibujo.dibujos, 1);
    EXPECT_EQ(pestanas, std::vector<int>{3});
    EXPECT_EQ(limpiezas, 1);
    EXPECT_EQ(g().BottomTitle, QString::fromUtf8("Xᵢ"));
    EXPECT_EQ(g().LeftTitle, QString::fromUtf8("nᵢ"));
    EXPECT_EQ(g().GraphTitle, QString::fromUtf8("Distribución Discreta"));
}

TEST_F(Graficos, StyleCarriesOverPaletteAndGridAreReset) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    c.cboESTILO_Click(3); // "Pila Horiz."
    c.cboPALETA_Click(2);
    c.cboREJILLA_Click(3);
    EXPECT_EQ(e().seleccion, (std::array<int, 3>{3, 2, 3}));
    EXPECT_EQ(dibujo.dibujos, 4);
    c.Toolbar3_ButtonClick("botonSECTORES");
    EXPECT_EQ(g().GraphType(), ControlGrafico::kSectores);
    EXPECT_EQ(g().GraphStyle(), 3); // "CO sin lineas", though the list shows none
    EXPECT_EQ(e().cboESTILO[3], "CO sin lineas");
    EXPECT_EQ(e().seleccion, (std::array<int, 3>{-1, -1, -1}));
    EXPECT_EQ(g().Palette(), 0);
    EXPECT_EQ(g().GridStyle(), 0);
}

TEST_F(Graficos, OneRowDrawsOnePoint) {
    abrir("CON", "LiX,LsX,ni\n10,20,4\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    ASSERT_EQ(g().NumPoints(), 1);
    EXPECT_EQ(std::get<double>(g().etiqueta(1)), 15.0); // the class mark
    EXPECT_EQ(g().dato(1, 1), 4);
    EXPECT_TRUE(g().BottomTitle.contains("marca de clase"));
}

TEST_F(Graficos, EmptyTableDrawsNothingAndSaysNothing) {
    abrir("DIS", "");
    c.Toolbar3_ButtonClick("botonBARRAS");
    EXPECT_EQ(dibujo.dibujos, 0);
    EXPECT_TRUE(e().cboESTILO.isEmpty());
    EXPECT_EQ(limpiezas, 1);
    EXPECT_FALSE(doc.error.failed());
}

TEST_F(Graficos, OpeningClearsTheChartAndEmptiesTheLists) {
    abrir("DIS", "Xi,ni\n1,2\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    c.cboPALETA_Click(1);
    const int borrados = dibujo.borrados;
    abrir("DIS", "Xi,ni\n3,1\n");
    EXPECT_EQ(dibujo.borrados, borrados + 1);
    EXPECT_FALSE(g().dibujado());
    EXPECT_TRUE(e().cboESTILO.isEmpty());
    EXPECT_TRUE(e().cboPALETA.isEmpty());
    EXPECT_TRUE(e().cboREJILLA.isEmpty());
}

TEST_F(Graficos, TwoVariablesAreChartedRowByRowWithTheActiveVariable) {
    abrir("DISDIS", "Xi,Yi,ni\n1,10,2\n1,20,3\n2,10,4\n");
    doc.VarActiva = "Y";
    c.Toolbar3_ButtonClick("botonBARRAS");
    ASSERT_EQ(g().NumPoints(), 3);
    EXPECT_EQ(std::get<double>(g().etiqueta(2)), 20.0);
    EXPECT_EQ(g().dato(1, 3), 4);
    EXPECT_TRUE(g().GraphTitle.contains("variable Y"));
}

TEST_F(Graficos, AFailureGoesToTheErrorRecordSilently) {
    abrir("DIS", "Xi,ni\n1,2\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    c.cboESTILO_Click(7);
    EXPECT_EQ(doc.error.NumError, ErrorGrafico::kValorNoValido);
    EXPECT_EQ(g().GraphStyle(), 0);
    calculadora.falla = true;
    c.Toolbar3_ButtonClick("botonCALGEN");
    EXPECT_TRUE(doc.error.failed());
    EXPECT_EQ(doc.error.MensajeError, "No se encuentra ninguna calculadora");
}

TEST_F(Graficos, CalculatorButtonStartsTheCalculatorWithoutDrawing) {
    abrir("DIS", "Xi,ni\n1,2\n");
    std::vector<int> pestanas;
    QObject::connect(&c, &ControladorGraficos::pestanaPedida,
                     [&](int i) { pestanas.push_back(i); });
    c.Toolbar3_ButtonClick("botonCALGEN");
    EXPECT_EQ(calculadora.abiertas, 1);
    EXPECT_EQ(dibujo.dibujos, 0);
    EXPECT_TRUE(pestanas.empty());
    c.Toolbar3_ButtonClick("otraTecla");
    EXPECT_EQ(calculadora.abiertas, 1);
}

TEST_F(Graficos, ClickWritesTheImageBesideTheDistribution) {
    abrir("DIS", "Xi,ni\n1,2\n");
    c.Toolbar3_ButtonClick("botonBARRAS");
    QString aviso;
    QObject::connect(&c, &ControladorGraficos::aviso, [&](const QString& t) { aviso = t; });
    const QString escrito = c.Graph1_Click();
    EXPECT_EQ(escrito,
              QDir(QString::fromStdString(archivos.dir().string())).filePath("grafico.png"));
    EXPECT_TRUE(aviso.contains(escrito));
}

TEST_F(Graficos, ClickFallsBackToTheDistributionsFolder) {
    abrir("DIS", "Xi,ni\n1,2\n");
    c.Toolbar3_ButtonClick("barras");
    dibujo.carpetaSinPermiso = QFileInfo(QString::fromStdString(doc.BaseActual)).absolutePath();
    QString aviso;
    QObject::connect(&c, &ControladorGraficos::aviso, [&](const QString& t) { aviso = t; });
    const QString escrito = c.Graph1_Click();
    EXPECT_EQ(escrito, QString::fromStdString((archivos.dir() / "dat" / "grafico.png").string()));
    EXPECT_FALSE(doc.error.failed());
    EXPECT_EQ(aviso, "Gráfico guardado en " + escrito);
}

TEST_F(Graficos, ClickNeverWritesAmongTheInstalledProgramsFiles) {
    abrir("DIS", "Xi,ni\n1,2\n");
    ControladorGraficos instalado(doc, rutas(true));
    instalado.Graph1().setDibujo(&dibujo);
    instalado.Comenzar();
    instalado.Toolbar3_ButtonClick("botonBARRAS");
    EXPECT_EQ(instalado.Graph1_Click(),
              QString::fromStdString((archivos.dir() / "dat" / "grafico.png").string()));
}

TEST_F(Graficos, ClickReportsAFailedWrite) {
    abrir("DIS", "Xi,ni\n1,2\n");
    dibujo.escribir = false;
    QString aviso;
    QObject::connect(&c, &ControladorGraficos::aviso, [&](const QString& t) { aviso = t; });
    EXPECT_TRUE(c.Graph1_Click().isEmpty());
    EXPECT_TRUE(doc.error.failed());
    EXPECT_TRUE(aviso.startsWith("No se ha podido guardar el gráfico"));
}

TEST_F(Graficos, ClassroomChartButtonsDrawFromTheOpenTable) {
    abrir("CON", "LiX,LsX,ni\n0,10,3\n10,20,7\n20,40,6\n40,50,2\n");
    std::vector<int> pestanas;
    QObject::connect(&c, &ControladorGraficos::pestanaPedida,
                     [&](int i) { pestanas.push_back(i); });
    c.Toolbar3_ButtonClick("botonHISTOGRAMA");
    ASSERT_EQ(dibujo.aulas, std::vector{TipoAula::Histograma});
    ASSERT_TRUE(c.aula());
    EXPECT_EQ(pestanas, std::vector{ControladorGraficos::kPestanaGraficos});
    EXPECT_EQ(limpiezas, 1);
    // Unequal widths: densities, and the axis says so.
    const auto& h = *c.aula()->histograma;
    EXPECT_TRUE(h.densidad);
    EXPECT_EQ(c.aula()->ejeY, QString::fromUtf8(grafico::kEjeDensidad));
    EXPECT_DOUBLE_EQ(h.barras[2].altura, 6.0 / 20.0);
    EXPECT_TRUE(e().cboESTILO.isEmpty());

    c.Toolbar3_ButtonClick("botonOJIVA");
    EXPECT_EQ(e().cboESTILO, estilosAula(TipoAula::Ojiva));
    EXPECT_EQ(e().seleccion[0], 0);
    EXPECT_FALSE(c.aula()->opciones.porcentaje);
    EXPECT_EQ(c.aula()->ojiva->puntos.back().y, 18);
    c.cboESTILO_Click(2); // Fᵢ % with the quartiles
    EXPECT_TRUE(c.aula()->opciones.porcentaje);
    EXPECT_TRUE(c.aula()->opciones.cuartiles);
    EXPECT_DOUBLE_EQ(c.aula()->ojiva->puntos.back().y, 100.0);
    c.cboPALETA_Click(2);
    c.cboREJILLA_Click(3);
    EXPECT_EQ(c.aula()->paleta, 2);
    EXPECT_EQ(c.aula()->rejilla, 3);
    c.cboESTILO_Click(1); // the palette and grid stay
    EXPECT_EQ(c.aula()->paleta, 2);
    EXPECT_FALSE(c.aula()->opciones.cuartiles);
    EXPECT_EQ(dibujo.aulas.size(), 6u);

    // Graph1's charts take over again.
    c.Toolbar3_ButtonClick("botonBARRAS");
    EXPECT_FALSE(c.aula());
    EXPECT_EQ(dibujo.dibujos, 1);
}

TEST_F(Graficos, ClassroomChartsThatDoNotApplySayWhy) {
    abrir("CAT", "Xi,ni\nRojo,3\nVerde,1\n");
    QString aviso;
    QObject::connect(&c, &ControladorGraficos::aviso, [&](const QString& t) { aviso = t; });
    c.Toolbar3_ButtonClick("botonCAJA");
    EXPECT_FALSE(c.aula());
    EXPECT_TRUE(dibujo.aulas.empty());
    EXPECT_TRUE(aviso.contains("categórica")) << aviso.toStdString();
    aviso.clear();
    c.Toolbar3_ButtonClick("botonNUBE");
    EXPECT_TRUE(aviso.contains("dos variables")) << aviso.toStdString();

    // A discrete variable gets the bar diagram in place of a histogram, and a word on why.
    abrir("DIS", "Xi,ni\n1,2\n3,5\n4,1\n");
    c.Toolbar3_ButtonClick("botonHISTOGRAMA");
    ASSERT_TRUE(c.aula());
    EXPECT_FALSE(c.aula()->histograma);
    EXPECT_EQ(c.aula()->palos.size(), 3u);
    EXPECT_EQ(c.aula()->palos[1].x, 3);
    EXPECT_EQ(c.aula()->palos[1].y, 5);
    EXPECT_TRUE(c.aula()->nota.contains("clases"));

    // An empty table draws nothing and says nothing, as the other buttons.
    abrir("DIS", "");
    EXPECT_FALSE(c.aula()); // the open forgot the chart
    aviso.clear();
    c.Toolbar3_ButtonClick("botonOJIVA");
    EXPECT_FALSE(c.aula());
    EXPECT_TRUE(aviso.isEmpty());
}

TEST_F(Graficos, ScatterReadsBothVariablesAndLeavesTheActiveOne) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    doc.VarActiva = "Y";
    c.Toolbar3_ButtonClick("botonNUBE");
    ASSERT_TRUE(c.aula());
    const auto& n = *c.aula()->nube;
    ASSERT_EQ(n.puntos.size(), 3u);
    EXPECT_EQ(n.puntos[2].x, 3);
    EXPECT_EQ(n.puntos[2].y, 6);
    EXPECT_DOUBLE_EQ(*n.pendienteYX, 2.0);
    EXPECT_DOUBLE_EQ(*n.pendienteXY, 0.5);
    EXPECT_EQ(doc.VarActiva, "Y");
    EXPECT_EQ(doc.listas.Valores[2].asNumber(), 6);
    c.cboESTILO_Click(3); // points only
    EXPECT_FALSE(c.aula()->opciones.rectas);
    EXPECT_FALSE(c.aula()->opciones.centro);
}

TEST_F(Graficos, ScatterLinesAreTheRegressionKeysOnEveryTwoVariableExample) {
    const std::filesystem::path dat = std::filesystem::path(KALNOR_BUILD_DIR) / "dat";
    int vistos = 0;
    for (const auto& e : std::filesystem::directory_iterator(dat)) {
        Documento ejemplo;
        if (e.path().extension() != ".mdb" || !ejemplo.AbrirBase(e.path().string()) ||
            !ejemplo.esBidimensional())
            continue;
        SCOPED_TRACE(e.path().string());
        const auto g = construirAula(ejemplo, TipoAula::Nube, {});
        ASSERT_TRUE(g) << ejemplo.error.MensajeError;
        // The lists the two-variable keys read.
        stats::ValueList x, y;
        for (const char* v : {"X", "Y"}) {
            ejemplo.VarActiva = v;
            ASSERT_TRUE(ejemplo.LeerVariable());
            (v[0] == 'X' ? x : y) = ejemplo.listas.Valores;
        }
        const stats::FrequencyList& n = ejemplo.listas.Frecuencias;
        stats::ErrorRecord err;
        EXPECT_EQ(*g->nube->pendienteYX, stats::CoefRegresionX(err, x, y, n));
        EXPECT_EQ(*g->nube->pendienteXY, stats::CoefRegresionY(err, x, y, n));
        EXPECT_EQ(*g->nube->r, stats::CoefCorrelacion(err, x, y, n));
        ++vistos;
    }
    EXPECT_GE(vistos, 3);
}

TEST_F(Graficos, LorenzCurveEndsAtTheWholeAndRefusesNegativeValues) {
    // One holder of 3 among four holders: the first three hold half the total.
    abrir("DIS", "Xi,ni\n1,3\n3,1\n");
    c.Toolbar3_ButtonClick("botonLORENZ");
    ASSERT_TRUE(c.aula());
    const stats::Concentracion& l = *c.aula()->lorenz;
    ASSERT_EQ(l.puntos.size(), 2u);
    EXPECT_DOUBLE_EQ(l.puntos[0].p, 0.75);
    EXPECT_DOUBLE_EQ(l.puntos[0].q, 0.5);
    EXPECT_DOUBLE_EQ(l.puntos.back().p, 1.0);
    EXPECT_DOUBLE_EQ(l.puntos.back().q, 1.0);
    EXPECT_DOUBLE_EQ(l.indice, (0.75 - 0.5) / 0.75);
    EXPECT_TRUE(c.aula()->ejeX.startsWith("p"));

    QString aviso;
    QObject::connect(&c, &ControladorGraficos::aviso, [&](const QString& t) { aviso = t; });
    abrir("DIS", "Xi,ni\n-2,3\n3,1\n");
    c.Toolbar3_ButtonClick("botonLORENZ");
    EXPECT_FALSE(c.aula());
    EXPECT_FALSE(aviso.isEmpty());
}

} // namespace
} // namespace kalnor
