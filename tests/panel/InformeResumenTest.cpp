// The notes' summary reports, the keys' hints and dropping a result, on the
// calculator's logic without windows.
#include "DistribucionPrueba.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "panel/InformeResumen.h"
#include "panel/Pistas.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <stdexcept>
#include <vector>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace kalnor {
namespace {

using testing::DistribucionesPrueba;

struct Pieza {
    QString texto;
    bool negrita;
};

class DestinoGrabado : public DestinoInforme {
public:
    std::vector<Pieza> piezas;
    int fallarEn = -1; // throw on this piece (a destination that breaks)
    void insertar(const QString& texto, bool negrita) override {
        if (static_cast<int>(piezas.size()) == fallarEn)
            throw std::runtime_error("portapapeles");
        piezas.push_back({texto, negrita});
    }
    // Name of measure line i (0-based, after the heading) and its dots.
    QString nombre(std::size_t i) const {
        static const QRegularExpression re("^- (.*)  (\\.*)  (.*)\r\n$");
        return re.match(piezas.at(i + 1).texto).captured(1);
    }
    int puntos(std::size_t i) const {
        static const QRegularExpression re("^- (.*)  (\\.*)  (.*)\r\n$");
        return static_cast<int>(re.match(piezas.at(i + 1).texto).captured(2).size());
    }
    QString resultado(std::size_t i) const {
        static const QRegularExpression re("^- (.*)  (\\.*)  (.*)\r\n$");
        return re.match(piezas.at(i + 1).texto).captured(3);
    }
};

class Informes : public ::testing::Test {
protected:
    Informes()
        : archivos(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          c(doc, KALNOR_BIN "/") {
        c.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        c.Comenzar();
    }
    void abrir(const std::string& codigo, const std::string& csv) {
        ASSERT_TRUE(doc.AbrirBase(archivos.crear("d.mdb", codigo, csv))) << doc.error.MensajeError;
    }
    int informe(int n) { return InformeResumen::cboRESUMEN_Click(c, n, destino); }

    DistribucionesPrueba archivos;
    Documento doc;
    ControladorCalculadora c;
    DestinoGrabado destino;
};

const char* const kBi = "Xi,Yi,ni\n1,2,1\n2,3,2\n3,5,1\n4,4,1\n";

TEST_F(Informes, CentralReportHasNineLinesAndLeavesQuartileSelected) {
    abrir("DIS", "Xi,ni\n1,2\n2,5\n4,3\n7,1\n");
    EXPECT_EQ(informe(0), 9);
    ASSERT_EQ(destino.piezas.size(), 10u);
    EXPECT_EQ(destino.piezas[0].texto, "\r\n=== MEDIDAS DE TENDENCIA CENTRAL (var. X) ===\r\n");
    EXPECT_TRUE(destino.piezas[0].negrita);
    const QStringList nombres{
        "Tamaño Muestral",  "Media Aritmética", "Media Armónica", "Media Geométrica",
        "Media Cuadrática", "Mediana",          "Moda",           "Cuartil  Q(1)",
        "Cuartil  Q(3)"};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_FALSE(destino.piezas[i + 1].negrita);
        EXPECT_EQ(destino.nombre(i), nombres[static_cast<int>(i)]);
        EXPECT_EQ(destino.puntos(i) + destino.nombre(i).size(), 30);
    }
    EXPECT_EQ(destino.puntos(6), 26); // "Moda"
    EXPECT_EQ(destino.piezas[1].texto, "- Tamaño Muestral  " + QString(15, '.') + "  11\r\n");
    EXPECT_EQ(destino.resultado(1), "2.818"); // 31 / 11
    // What the keys leave behind: the last measure, the third quartile item.
    EXPECT_EQ(c.estado().lbl_Mensaje[5], "Cuartil  Q(3)");
    EXPECT_EQ(c.estado().RESULTADO, destino.resultado(8));
    EXPECT_EQ(c.estado().seleccion[static_cast<int>(Selector::CUARTILES)], 2);
    EXPECT_NE(doc.Data1.rowSource().find("ORDER BY"), std::string::npos);
}

TEST_F(Informes, DispersionAndShapeReports) {
    abrir("DIS", "Xi,ni\n2,1\n4,2\n6,1\n");
    EXPECT_EQ(informe(1), 12);
    EXPECT_EQ(destino.piezas[0].texto, "\r\n=== MEDIDAS DE DISPERSIÓN (var. X) ===\r\n");
    EXPECT_EQ(destino.nombre(0), "Varianza");
    EXPECT_EQ(destino.puntos(0), 22);
    EXPECT_EQ(destino.resultado(0), "2.0");
    EXPECT_EQ(destino.nombre(8), "Recorrido SemiIntercuartílico");
    EXPECT_EQ(destino.puntos(8), 1);
    EXPECT_EQ(destino.nombre(11), "Mínimo");

    destino.piezas.clear();
    EXPECT_EQ(informe(2), 3);
    ASSERT_EQ(destino.piezas.size(), 4u);
    EXPECT_EQ(destino.piezas[0].texto, "\r\n=== MEDIDAS DE ASIMETRÍA (var. X) ===\r\n");
    EXPECT_EQ(destino.nombre(0), "Coef. Asimetría de Pearson");
    EXPECT_EQ(destino.nombre(1), "Coef. Asimetría de Fisher");
    EXPECT_EQ(destino.nombre(2), "Coef. de Curtosis");
    EXPECT_EQ(destino.puntos(0), 4);
    EXPECT_EQ(destino.puntos(1), 5);
    EXPECT_EQ(destino.puntos(2), 13);
    EXPECT_EQ(destino.resultado(1), "0.0");
    EXPECT_EQ(destino.resultado(2), "-1.0");
}

TEST_F(Informes, BivariateReportOrdersRegressionByActiveVariable) {
    abrir("DISDIS", kBi);
    EXPECT_EQ(informe(3), 4);
    EXPECT_EQ(destino.piezas[0].texto, "\r\n=== ANÁLISIS BIVARIANTE (X, Y) ===\r\n");
    EXPECT_EQ(destino.nombre(0), "Coef. de Correlación Lineal");
    EXPECT_EQ(destino.nombre(1), "Covarianza");
    EXPECT_EQ(destino.nombre(2), "Coef. de Regresión Y");
    EXPECT_EQ(destino.nombre(3), "Coef. de Regresión X");
    EXPECT_EQ(c.estado().cmdVARIABLE, "X"); // four switches: as it was

    c.cmdVARIABLE_Click();
    destino.piezas.clear();
    informe(3);
    EXPECT_EQ(destino.nombre(2), "Coef. de Regresión X");
    EXPECT_EQ(destino.nombre(3), "Coef. de Regresión Y");
    EXPECT_EQ(c.estado().cmdVARIABLE, "Y");
    // The heading of a one-variable report names the active variable.
    destino.piezas.clear();
    informe(2);
    EXPECT_EQ(destino.piezas[0].texto, "\r\n=== MEDIDAS DE ASIMETRÍA (var. Y) ===\r\n");
}

TEST_F(Informes, BivariateReportOnOneVariableGivesEmptyNames) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n");
    EXPECT_EQ(informe(3), 4);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(destino.piezas[i + 1].texto, "-   " + QString(30, '.') + "  ?\r\n");
    EXPECT_EQ(c.estado().lbl_Mensaje[0], ControladorCalculadora::kNoHayDatosBi);
}

TEST_F(Informes, NoReportBeyondTheListAndFailuresStopIt) {
    abrir("DIS", "Xi,ni\n1,1\n");
    EXPECT_EQ(informe(4), -1);
    EXPECT_EQ(informe(-1), -1);
    EXPECT_TRUE(destino.piezas.empty());
    destino.fallarEn = 3;
    EXPECT_EQ(informe(1), 2); // heading and two lines stay
    EXPECT_EQ(destino.piezas.size(), 3u);
}

TEST_F(Informes, EmptyTableStillWritesEveryLine) {
    abrir("DIS", "");
    EXPECT_EQ(informe(2), 3);
    EXPECT_EQ(destino.resultado(0), "?");
}

// --- hints ------------------------------------------------------------------

TEST_F(Informes, PointerOverKeysShowsTheirPictures) {
    abrir("CON", "LiX,LsX,ni\n0,10,2\n10,20,5\n20,30,1\n");
    const QString bin = KALNOR_BIN "/";
    c.cmdTECLA_MouseMove(5);
    EXPECT_EQ(c.estado().Image1, bin + "varianza.svg");
    c.cmdTECLAm_MouseMove(1);
    EXPECT_EQ(c.estado().Image1, bin + "modaC.svg"); // kind text "Continua"
    c.cmdTECLAm_MouseMove(7);                        // outside the row: unchanged
    EXPECT_EQ(c.estado().Image1, bin + "modaC.svg");
    c.cmdTECLA_MouseMove(25);
    EXPECT_EQ(c.estado().Image1, bin + "negro.gif");
    c.cmd_Muestra_MouseMove();
    EXPECT_EQ(c.estado().Image1, bin + "numDatos.svg");
    c.cmdTECLA_Click(0); // a press blanks the picture
    EXPECT_EQ(c.estado().Image1, bin + "negro.gif");
}

TEST_F(Informes, ModeAndRegressionPicturesFollowKindTextAndVariableFace) {
    EXPECT_EQ(imagenTecla(FilaTeclas::TECLAm, 1, "Continua, Continua", "X"), "modaD.svg");
    EXPECT_EQ(imagenTecla(FilaTeclas::TECLAm, 1, "Discreta", "X"), "modaD.svg");
    abrir("DISDIS", kBi);
    c.cmdTECLAbi_MouseMove(2);
    EXPECT_TRUE(c.estado().Image1.endsWith("/coefRegrX.svg"));
    c.cmdTECLAbi_MouseMove(3);
    EXPECT_TRUE(c.estado().Image1.endsWith("/rectaRegreXY.svg"));
    c.cmdTECLAbi_Click(0); // switches the face to Y
    c.cmdTECLAbi_MouseMove(2);
    EXPECT_TRUE(c.estado().Image1.endsWith("/coefRegrY.svg"));
    c.cmdTECLAbi_MouseMove(3);
    EXPECT_TRUE(c.estado().Image1.endsWith("/rectaRegreYX.svg"));
}

TEST_F(Informes, MissingPictureLeavesTheOneShown) {
    ControladorCalculadora sinDibujos(doc, "/no/existe/");
    const QString antes = sinDibujos.estado().Image1;
    sinDibujos.cmdTECLA_MouseMove(0);
    EXPECT_EQ(sinDibujos.estado().Image1, antes);
}

TEST_F(Informes, EveryFormulaPictureIsThere) {
    for (const QString& nombre : imagenesFormulas()) {
        const QFileInfo f(KALNOR_BIN "/" + nombre);
        EXPECT_TRUE(f.exists() && f.size() > 1000) << nombre.toStdString();
    }
}

TEST_F(Informes, RightButtonKeywordsAsListed) {
    EXPECT_EQ(c.MouseDown("cmdTECLAbi(1)"), "Moda");
    EXPECT_EQ(c.MouseDown("cmdTECLA(18)"), "mínimo");
    EXPECT_EQ(c.MouseDown("lbl_Mensaje(4)"), "mínimo"); // the last one again
    EXPECT_EQ(c.MouseDown("cmdTECLA(6)"), "Desviación Tipica");
    EXPECT_EQ(c.MouseDown("lbl_Mensaje(3)"), "Desviación Tipica");
    EXPECT_EQ(c.MouseDown("cmdTECLA(2)"), "Media Aritmética");
    EXPECT_EQ(c.MouseDown("cmdTECLA(10)"), "Coef. Asimetria de Pearson");
    EXPECT_EQ(c.MouseDown("Image1"), "Fórmulas");
    EXPECT_EQ(c.MouseDown("lbl_Mensaje(5)"), "Conceptos");
}

// --- dropping the result onto the notes target -------------------------------

TEST_F(Informes, DropWritesNameDotsAndResult) {
    abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n");
    EXPECT_FALSE(c.Image4_DragDrop()); // nothing named yet
    c.cmdTECLA_Click(0);
    EXPECT_EQ(c.Image4_DragDrop(), "\r\nMedia Aritmética" + QString(14, '.') + "  2.0\r\n");
    c.cmdTECLA_Click(15);
    EXPECT_EQ(c.Image4_DragDrop(), "\r\nRecorrido SemiIntercuartílico.  1.0\r\n");
    c.cmd_Cls_Click();
    EXPECT_FALSE(c.Image4_DragDrop());
}

TEST_F(Informes, DropOfAFailureOrTooLongNameWritesNothing) {
    abrir("DIS", "Xi,ni\n0,1\n2,1\n");
    c.cmdTECLA_Click(1); // harmonic mean of a zero: "?"
    EXPECT_FALSE(c.Image4_DragDrop());
    abrir("DISDIS", kBi);
    c.cboMOMorigenBI_Click(3);
    ASSERT_GT(c.estado().lbl_Mensaje[5].size(), 30);
    const QString resultado = c.estado().RESULTADO;
    EXPECT_FALSE(c.Image4_DragDrop());
    EXPECT_FALSE(c.estado().lbl_Mensaje[0].isEmpty());
    EXPECT_EQ(c.estado().Timer1Interval, 500);
    EXPECT_EQ(c.estado().RESULTADO, resultado);
}

} // namespace
} // namespace kalnor
