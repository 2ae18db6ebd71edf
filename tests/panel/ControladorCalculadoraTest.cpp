#include "DistribucionPrueba.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <memory>
#include <vector>

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

class PreguntaGrabada : public PreguntaValor {
public:
    std::optional<QString> respuesta;
    std::vector<std::pair<QString, QString>> preguntas; // title, prompt
    std::optional<QString> pedir(const QString& titulo, const QString& prompt) override {
        preguntas.emplace_back(titulo, prompt);
        return respuesta;
    }
};

class AvisoGrabado : public AvisoUsuario {
public:
    std::vector<std::pair<QString, QString>> avisos;
    void avisar(const QString& titulo, const QString& texto) override {
        avisos.emplace_back(titulo, texto);
    }
};

class Calculadora : public ::testing::Test {
protected:
    Calculadora()
        : archivos(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          c(doc, "/bin/") {
        c.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        c.setPreguntaValor(&pregunta);
        c.setAviso(&aviso);
        c.Comenzar();
    }

    void abrir(const std::string& codigo, const std::string& csv,
               const std::string& fichero = "d.mdb") {
        ASSERT_TRUE(doc.AbrirBase(archivos.crear(fichero, codigo, csv))) << doc.error.MensajeError;
    }
    const EstadoCalculadora& e() const { return c.estado(); }
    QString resultado() const { return e().RESULTADO; }
    QString nombre() const { return e().lbl_Mensaje[5]; }
    QString error() const { return e().lbl_Mensaje[0]; }
    QString tecla(int i) {
        c.cmdTECLA_Click(i);
        return resultado();
    }
    bool ordenada() const { return doc.Data1.rowSource().find("ORDER BY") != std::string::npos; }

    DistribucionesPrueba archivos;
    Documento doc;
    PreguntaGrabada pregunta;
    AvisoGrabado aviso;
    ControladorCalculadora c;
};

// --- measure keys -----------------------------------------------------------

TEST_F(Calculadora, KeysShowNameAndValueFormatted) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    EXPECT_EQ(tecla(0), "2.0");
    EXPECT_EQ(nombre(), "Media Aritmética");
    EXPECT_EQ(tecla(5), "0.667");
    EXPECT_EQ(nombre(), "Varianza");
    EXPECT_EQ(tecla(4), "2.0");
    EXPECT_EQ(nombre(), "Recorrido");
    EXPECT_EQ(tecla(17), "3.0");
    EXPECT_EQ(nombre(), "Máximo");
    EXPECT_EQ(tecla(18), "1.0");
    EXPECT_EQ(nombre(), "Mínimo");
    EXPECT_EQ(e().Timer1Interval, 0);
    EXPECT_TRUE(error().isEmpty());
    ASSERT_TRUE(e().valor.has_value());
    EXPECT_DOUBLE_EQ(*e().valor, 1.0);
}

TEST_F(Calculadora, EveryKeyNamesItsMeasure) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n4,3\n7,1\n");
    const char* nombres[20] = {"Media Aritmética",
                               "Media Armónica",
                               "Media Geométrica",
                               "Media Cuadrática",
                               "Recorrido",
                               "Varianza",
                               "Desviación Típica",
                               "Cuasi-Varianza",
                               "Desviación Media",
                               "Desviación Mediana",
                               "Coef. Asimetría de Pearson",
                               "Coef. Asimetría de Fisher",
                               "Coef. Variación de Pearson",
                               "Coef. Variación Media",
                               "Coef. Variación Mediana",
                               "Recorrido SemiIntercuartílico",
                               "",
                               "Máximo",
                               "Mínimo",
                               "Coef. de Curtosis"};
    for (int i = 0; i < 20; ++i) {
        if (i == 16)
            continue;
        c.cmdTECLA_Click(i);
        EXPECT_EQ(nombre(), QString::fromUtf8(nombres[i])) << i;
        EXPECT_NE(resultado(), "?") << i << " " << error().toStdString();
    }
}

TEST_F(Calculadora, EngineFailureShowsQuestionMarkAndBlinks) {
    abrir("DIS", "Xi,ni\n0,1\n2,1\n");
    EXPECT_EQ(tecla(1), "?"); // harmonic mean of a zero
    EXPECT_FALSE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 500);
    EXPECT_FALSE(e().valor.has_value());
    c.limpiarDisplay();
    EXPECT_EQ(resultado(), "0");
    EXPECT_TRUE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 0);
    EXPECT_EQ(e().Image1, "/bin/negro.gif");
}

TEST_F(Calculadora, NoDocumentOrNoRowsSaysSo) {
    for (int i : {0, 9, 15}) {
        EXPECT_EQ(tecla(i), "?");
        EXPECT_EQ(error(), "No hay datos suficientes");
        EXPECT_EQ(e().Timer1Interval, 500);
    }
    c.cmd_Muestra_Click();
    EXPECT_EQ(error(), "No hay datos suficientes");
    abrir("DIS", "");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "?");
    EXPECT_EQ(error(), "No hay datos suficientes");
    c.cboDECILES_Click(2);
    EXPECT_EQ(resultado(), "?");
    EXPECT_EQ(error(), "No hay datos suficientes");
    EXPECT_EQ(e().Image1, "/bin/decil.svg"); // the picture still changes
    c.cboMOMcentral_Click(0);
    EXPECT_EQ(error(), "No hay datos suficientes");
}

TEST_F(Calculadora, UnreadableRecordIsReportedNotComputed) {
    const std::string ruta = archivos.crear("d.mdb", "DIS", "Xi,ni\n1,1\n2,1\n");
    DistribucionesPrueba::ejecutar(ruta, "INSERT INTO DIS VALUES (3, NULL)");
    ASSERT_TRUE(doc.AbrirBase(ruta));
    EXPECT_EQ(tecla(0), "?");
    EXPECT_TRUE(error().contains("ni")) << error().toStdString();
    EXPECT_EQ(e().Timer1Interval, 500);
}

TEST_F(Calculadora, GiniKeyShowsTheNoticeAndLeavesTheDisplayCleared) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n");
    tecla(0);
    EXPECT_EQ(tecla(16), "0");
    EXPECT_TRUE(nombre().isEmpty());
    ASSERT_EQ(aviso.avisos.size(), 1u);
    EXPECT_EQ(aviso.avisos[0].first, "Kalnor v.1,05");
    EXPECT_EQ(aviso.avisos[0].second, "No disponible\r\nen versión ßeta.");
}

TEST_F(Calculadora, AChangeToTheTableIsSeenByTheNextPress) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    EXPECT_EQ(tecla(0), "2.0");
    EXPECT_EQ(tecla(5), "0.667");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "2.0");
    // A value written through the record set, as the grid does.
    doc.Data1.MoveLast();
    doc.Data1.Edit();
    doc.Data1.SetField("Xi", stats::CellValue::number(9));
    doc.Data1.Update();
    EXPECT_EQ(tecla(0), "4.0");
    EXPECT_EQ(tecla(5), "12.667");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "2.0");
    // A frequency, then a deleted record.
    doc.Data1.MoveFirst();
    doc.Data1.Edit();
    doc.Data1.SetField("ni", stats::CellValue::number(4));
    doc.Data1.Update();
    EXPECT_EQ(tecla(0), "2.5");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "1.0");
    doc.Data1.MoveFirst();
    doc.Data1.Delete();
    EXPECT_EQ(tecla(0), "5.5");
    c.cboCUARTILES_Click(0);
    EXPECT_EQ(resultado(), "2.0");
}

// The two-variable keys keep both variables between presses; a change to
// either, or to a frequency, is seen all the same.
TEST_F(Calculadora, TwoVariableKeysSeeEveryChangeToTheTable) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,7,1\n");
    const auto covarianza = [&] {
        c.cmdTECLAbi_Click(1);
        return resultado();
    };
    EXPECT_EQ(covarianza(), "1.667");
    EXPECT_EQ(covarianza(), "1.667"); // the variable switched back and forth
    EXPECT_EQ(covarianza(), "1.667");
    doc.Data1.MoveLast();
    doc.Data1.Edit();
    doc.Data1.SetField("Yi", stats::CellValue::number(10));
    doc.Data1.Update();
    EXPECT_EQ(covarianza(), "2.667");
    doc.Data1.MoveFirst();
    doc.Data1.Edit();
    doc.Data1.SetField("ni", stats::CellValue::number(2));
    doc.Data1.Update();
    EXPECT_EQ(covarianza(), "2.625");
    EXPECT_EQ(covarianza(), "2.625");
    c.cmdTECLA_Click(0); // one-variable keys on whichever variable is active
    EXPECT_TRUE(resultado() == "1.75" || resultado() == "4.5") << resultado().toStdString();
}

// --- sorting ----------------------------------------------------------------

TEST_F(Calculadora, MeanKeysKeepTheOrderMedianKeysSort) {
    abrir("DIS", "Xi,ni\n9,1\n1,1\n2,1\n3,1\n4,1\n");
    tecla(0);
    EXPECT_FALSE(ordenada());
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "3.0");
    EXPECT_EQ(nombre(), "Mediana");
    EXPECT_TRUE(ordenada());
}

TEST_F(Calculadora, MedianDeviationSortsFirst) {
    // Unsorted, the median would be taken as 2 and the deviation as 2.2.
    abrir("DIS", "Xi,ni\n9,1\n1,1\n2,1\n3,1\n4,1\n");
    EXPECT_EQ(tecla(9), "2.0");
    EXPECT_TRUE(ordenada());
}

TEST_F(Calculadora, PearsonSkewnessAndMedianVariationSortFirst) {
    abrir("DIS", "Xi,ni\n9,1\n1,1\n2,1\n3,1\n4,1\n");
    const QString asimetria = tecla(10);
    const QString variacion = tecla(14);
    EXPECT_TRUE(ordenada());
    // Same values as on the table stored in order.
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n4,1\n9,1\n", "ordenada.mdb");
    EXPECT_EQ(tecla(10), asimetria);
    EXPECT_EQ(tecla(14), variacion);
}

TEST_F(Calculadora, SemiInterquartileRangeByVariableType) {
    abrir("DIS", "Xi,ni\n8,1\n1,1\n2,1\n4,1\n");
    c.cboCUARTILES_Click(0);
    const double q1 = *e().valor;
    c.cboCUARTILES_Click(2);
    const double q3 = *e().valor;
    tecla(15);
    EXPECT_EQ(nombre(), "Recorrido SemiIntercuartílico");
    ASSERT_TRUE(e().valor.has_value());
    EXPECT_DOUBLE_EQ(*e().valor, (q3 - q1) / 2);
    abrir("CAT", "Xi,ni\nrojo,1\nazul,2\n", "cat.mdb");
    EXPECT_EQ(tecla(15), "?");
    EXPECT_TRUE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 0);
}

// --- median and mode --------------------------------------------------------

TEST_F(Calculadora, CategoricalVariable) {
    abrir("CAT", "Xi,ni\nrojo,3\nazul,5\nverde,2\n");
    EXPECT_EQ(tecla(0), "?");
    EXPECT_FALSE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 500);
    c.cmdTECLAm_Click(1);
    EXPECT_EQ(nombre(), "Moda");
    EXPECT_EQ(resultado(), "azul");
    EXPECT_FALSE(e().valor.has_value());
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(nombre(), "Mediana");
    EXPECT_EQ(resultado(), "?");
    EXPECT_TRUE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 0);
}

TEST_F(Calculadora, SeveralModesShowMultimodal) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n3,5\n");
    c.cmdTECLAm_Click(1);
    EXPECT_EQ(resultado(), "Multimodal");
    EXPECT_TRUE(error().isEmpty());
}

TEST_F(Calculadora, MedianAndModeFollowTheActiveVariableType) {
    abrir("CATDIS", "Xi,Yi,ni\nA,1,1\nB,2,1\nC,3,1\n");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "?"); // X is categorical
    c.cmdVARIABLE_Click();
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "2.0"); // Y is discrete
    c.cmdVARIABLE_Click();
    c.cmdTECLAm_Click(1);
    EXPECT_EQ(resultado(), "Multimodal"); // every word once
}

TEST_F(Calculadora, DisconQuantilesAreDiscreteForXAndByClassesForY) {
    abrir("DISCON", "Xi,LiY,LsY,ni\n1,0,10,1\n2,10,20,1\n3,20,30,1\n");
    c.cboCUARTILES_Click(1);
    EXPECT_EQ(nombre(), "Cuartil  Q(2)");
    EXPECT_EQ(resultado(), "2.0");
    c.cmdVARIABLE_Click();
    c.cboCUARTILES_Click(1);
    EXPECT_EQ(resultado(), "15.0");
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), "15.0");
}

// --- sample size ------------------------------------------------------------

TEST_F(Calculadora, SampleSizeIsThatOfTheOpenDistribution) {
    abrir("DIS", "Xi,ni\n1,1\n2,2\n");
    c.cmd_Muestra_Click();
    EXPECT_EQ(nombre(), "Tamaño Muestral");
    EXPECT_EQ(resultado(), "3");
    abrir("DIS", "Xi,ni\n1,4\n2,6\n", "otra.mdb");
    c.cmd_Muestra_Click();
    EXPECT_EQ(resultado(), "10");
    EXPECT_EQ(*e().valor, 10.0);
}

TEST_F(Calculadora, SampleSizeIsPlainDigits) {
    abrir("DIS", "Xi,ni\n1,1500\n2,1000\n");
    c.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    c.cmd_Muestra_Click();
    EXPECT_EQ(resultado(), "2500");
}

// --- variable key and two-variable keys ------------------------------------

TEST_F(Calculadora, VariableKeySwitchesEverythingThatShowsIt) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    EXPECT_TRUE(e().cmdVARIABLEEnabled);
    EXPECT_EQ(e().lbl_Mensaje[1], "Dist. BIDIMENSIONAL");
    EXPECT_EQ(e().lbl_Mensaje[2], "Discreta, Discreta");
    int cambios = 0;
    QObject::connect(&doc, &Documento::variableActivaCambiada, [&] { ++cambios; });
    tecla(0);
    c.cmdVARIABLE_Click();
    EXPECT_EQ(e().cmdVARIABLE, "Y");
    EXPECT_EQ(e().cmdTECLAbi3, "Y|X");
    EXPECT_EQ(e().lbl_Mensaje[4], "var. Y");
    EXPECT_EQ(e().lblColumnas, "Columnas: Y");
    EXPECT_EQ(doc.VarActiva, "Y");
    EXPECT_EQ(resultado(), "0"); // cleared
    EXPECT_EQ(cambios, 1);
    EXPECT_EQ(tecla(0), "4.0");
    c.cmdVARIABLE_Click();
    EXPECT_EQ(e().cmdVARIABLE, "X");
    EXPECT_EQ(e().cmdTECLAbi3, "X|Y");
    EXPECT_EQ(tecla(0), "2.0");
}

TEST_F(Calculadora, OneVariableFileDisablesTheVariableKeyAndGoesBackToX) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n");
    c.cmdVARIABLE_Click();
    abrir("DIS", "Xi,ni\n1,1\n", "uni.mdb");
    EXPECT_FALSE(e().cmdVARIABLEEnabled);
    EXPECT_EQ(e().lbl_Mensaje[1], "Dist. UNIDIMENSIONAL");
    EXPECT_EQ(e().cmdVARIABLE, "X");
    EXPECT_EQ(doc.VarActiva, "X");
    EXPECT_EQ(tecla(0), "1.0");
}

TEST_F(Calculadora, TwoVariableKeysOnOneVariableFileRefuse) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n");
    for (int i = 0; i < 4; ++i) {
        c.cmdTECLAbi_Click(i);
        EXPECT_EQ(resultado(), "?");
        EXPECT_EQ(error(), "No hay datos suficientes o Dist. Unidimensional");
        EXPECT_EQ(e().Timer1Interval, 500);
    }
    for (int i = 0; i < 6; ++i) {
        c.cboMOMorigenBI_Click(i);
        EXPECT_EQ(error(), "No hay datos suficientes, o la Distr. es Unidimensional");
        EXPECT_EQ(e().Image1, "/bin/momenOrigenBI.svg");
        c.cboMOMcentralBI_Click(i);
        EXPECT_EQ(error(), "No hay datos suficientes, o la Distr. es Unidimensional");
    }
    EXPECT_TRUE(pregunta.preguntas.empty());
}

TEST_F(Calculadora, CorrelationAndCovariance) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    c.cmdTECLAbi_Click(0);
    EXPECT_EQ(nombre(), "Coef. de Correlación Lineal");
    EXPECT_EQ(resultado(), "1.0");
    EXPECT_EQ(e().cmdVARIABLE, "Y"); // every two-variable key switches
    c.cmdTECLAbi_Click(1);
    EXPECT_EQ(nombre(), "Covarianza");
    EXPECT_EQ(resultado(), "1.333");
    EXPECT_EQ(e().cmdVARIABLE, "X");
}

TEST_F(Calculadora, RegressionCoefficientKeyAlternates) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    c.cmdTECLAbi_Click(2);
    EXPECT_EQ(nombre(), "Coef. de Regresión Y");
    EXPECT_EQ(e().cmdVARIABLE, "Y");
    c.cmdTECLAbi_Click(2);
    EXPECT_EQ(nombre(), "Coef. de Regresión X");
    EXPECT_EQ(e().cmdVARIABLE, "X");
}

TEST_F(Calculadora, RegressionLineAsksForThePoint) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    pregunta.respuesta = "8";
    c.cmdTECLAbi_Click(3);
    ASSERT_EQ(pregunta.preguntas.size(), 1u);
    EXPECT_EQ(pregunta.preguntas[0].first, "Recta Regresión: Y sobre X");
    EXPECT_EQ(pregunta.preguntas[0].second, "Escriba un valor para  X");
    EXPECT_EQ(nombre(), "Recta Regresión: Y sobre X");
    EXPECT_EQ(resultado(), "16.0");
    pregunta.respuesta = "16";
    c.cmdTECLAbi_Click(3);
    EXPECT_EQ(pregunta.preguntas[1].first, "Recta Regresión: X sobre Y");
    EXPECT_EQ(pregunta.preguntas[1].second, "Escriba un valor para  Y");
    EXPECT_EQ(nombre(), "Recta Regresión: X sobre Y");
    EXPECT_EQ(resultado(), "8.0");
}

TEST_F(Calculadora, RegressionLineWithoutAnswerComputesNothing) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    tecla(0);
    for (const std::optional<QString>& r :
         {std::optional<QString>(), std::optional<QString>("  ")}) {
        pregunta.respuesta = r;
        c.cmdTECLAbi_Click(3);
        EXPECT_EQ(resultado(), "0");
        EXPECT_TRUE(nombre().isEmpty());
        EXPECT_TRUE(error().isEmpty());
        EXPECT_FALSE(e().valor.has_value());
    }
}

TEST_F(Calculadora, RegressionLinePointWithDecimalComma) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    pregunta.respuesta = "2,5";
    c.cmdTECLAbi_Click(3);
    EXPECT_EQ(resultado(), "5.0");
}

// --- selectors --------------------------------------------------------------

TEST_F(Calculadora, ListsAreFilledAtStart) {
    EXPECT_EQ(c.items(Selector::CUARTILES), (QStringList{"Q(1)", "Q(2)", "Q(3)"}));
    EXPECT_EQ(c.items(Selector::QUINTILES).size(), 4);
    EXPECT_EQ(c.items(Selector::DECILES).last(), "D(9)");
    EXPECT_EQ(c.items(Selector::PERCENTILES).size(), 99);
    EXPECT_EQ(c.items(Selector::PERCENTILES).last(), "P(99)");
    EXPECT_EQ(c.items(Selector::MOMorigen), (QStringList{"a(1)", "a(2)", "a(3)", "a(4)"}));
    EXPECT_EQ(c.items(Selector::MOMcentral).first(), "m(1)");
    EXPECT_EQ(c.items(Selector::MOMorigenBI),
              (QStringList{"a(0,0)", "a(0,1)", "a(1,0)", "a(1,1)", "a(2,0)", "a(0,2)"}));
    EXPECT_EQ(c.items(Selector::MOMcentralBI).at(4), "m(2,0)");
}

TEST_F(Calculadora, QuantileSelectorsCaptionPictureAndSort) {
    abrir("DIS", "Xi,ni\n5,1\n1,1\n3,1\n4,1\n2,1\n");
    c.cboCUARTILES_Click(1);
    EXPECT_EQ(nombre(), "Cuartil  Q(2)");
    EXPECT_EQ(e().Image1, "/bin/cuartil.svg");
    EXPECT_TRUE(ordenada());
    const QString q2 = resultado();
    c.cmdTECLAm_Click(0);
    EXPECT_EQ(resultado(), q2);
    c.cboQUINTILES_Click(0);
    EXPECT_EQ(nombre(), "Quintil  K(1)");
    EXPECT_EQ(e().Image1, "/bin/quintil.svg");
    c.cboDECILES_Click(6);
    EXPECT_EQ(nombre(), "Decil  D(7)");
    c.cboPERCENTILES_Click(98);
    EXPECT_EQ(nombre(), "Percentil  P(99)");
    EXPECT_EQ(e().Image1, "/bin/percentil.svg");
    EXPECT_EQ(e().seleccion[static_cast<int>(Selector::PERCENTILES)], 98);
}

TEST_F(Calculadora, QuantileOfCategoricalShowsQuestionMarkWithCaption) {
    abrir("CAT", "Xi,ni\nrojo,3\nazul,5\n");
    c.cboDECILES_Click(2);
    EXPECT_EQ(nombre(), "Decil  D(3)");
    EXPECT_EQ(resultado(), "?");
    EXPECT_TRUE(error().isEmpty());
    EXPECT_EQ(e().Timer1Interval, 0);
}

TEST_F(Calculadora, MomentSelectors) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n4,3\n");
    const QString media = tecla(0);
    c.cboMOMorigen_Click(0);
    EXPECT_EQ(nombre(), "Momento respecto del Origen : a(1)");
    EXPECT_EQ(e().Image1, "/bin/momenOrigen.svg");
    EXPECT_EQ(resultado(), media);
    c.cboMOMcentral_Click(0);
    EXPECT_EQ(resultado(), "0.0");
    const QString varianza = tecla(5);
    c.cboMOMcentral_Click(1);
    EXPECT_EQ(nombre(), "Momento respecto de la Media : m(2)");
    EXPECT_EQ(resultado(), varianza);
    EXPECT_FALSE(ordenada()); // the moment lists do not sort
}

TEST_F(Calculadora, BivariateMomentsReturnToTheSameVariableAfterTwoPicks) {
    abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n");
    c.cboMOMcentralBI_Click(3);
    EXPECT_EQ(nombre(), "Momento Bivariante Central : m(1,1)");
    EXPECT_EQ(resultado(), "1.333");
    EXPECT_EQ(e().Image1, "/bin/momenCentralBI.svg");
    EXPECT_EQ(e().cmdVARIABLE, "Y");
    c.cboMOMcentralBI_Click(3);
    EXPECT_EQ(resultado(), "1.333");
    EXPECT_EQ(e().cmdVARIABLE, "X");
    c.cboMOMorigenBI_Click(0);
    EXPECT_EQ(nombre(), "Momento Bivariante Respecto al Origen : a(0,0)");
    EXPECT_EQ(resultado(), "1.0");
    c.cboMOMorigenBI_Click(2);
    EXPECT_EQ(resultado(), "2.0"); // a(1,0): mean of X
    c.cboMOMorigenBI_Click(1);
    EXPECT_EQ(resultado(), "4.0"); // a(0,1): mean of Y
    c.cboMOMcentralBI_Click(4);
    EXPECT_EQ(resultado(), "0.667"); // m(2,0): variance of X
    c.cboMOMcentralBI_Click(5);
    EXPECT_EQ(resultado(), "2.667"); // m(0,2): variance of Y
}

TEST_F(Calculadora, ClearKeyDeselectsEveryList) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n");
    c.cboDECILES_Click(3);
    c.cboMOMorigen_Click(1);
    c.cmd_Cls_Click();
    for (int s : e().seleccion)
        EXPECT_EQ(s, -1);
    EXPECT_EQ(resultado(), "0");
    EXPECT_TRUE(nombre().isEmpty());
    c.cboDECILES_Click(-1); // deselecting is not a pick
    EXPECT_EQ(resultado(), "0");
}

// --- regional format --------------------------------------------------------

TEST_F(Calculadora, SpanishLocaleUsesDecimalComma) {
    c.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    EXPECT_EQ(tecla(0), "2,0");
    EXPECT_EQ(tecla(5), "0,667");
}

TEST_F(Calculadora, FileCommandErrorShowsItsNumber) {
    c.mostrarErrorComando("No se pudo copiar", 5);
    EXPECT_EQ(resultado(), "¡ Error  5");
    EXPECT_EQ(error(), "No se pudo copiar");
    c.mostrarErrorComando("Negativo", -2);
    EXPECT_EQ(resultado(), "¡ Error -2");
}

} // namespace
} // namespace kalnor
