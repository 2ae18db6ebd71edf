#include "DistribucionPrueba.h"

#include "app/Documento.h"
#include "app/Rutas.h"
#include "panel/ControladorCalculadora.h"
#include "panel/PanelCalculadora.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace kalnor {

class AvisoMudo : public AvisoUsuario {
public:
    int avisos = 0;
    void avisar(const QString&, const QString&) override { ++avisos; }
};

class PreguntaFija : public PreguntaValor {
public:
    std::optional<QString> pedir(const QString&, const QString&) override { return "8"; }
};

// The calculator tab driven as a user drives it: real buttons, real lists.
class PanelCalculadoraTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::DistribucionesPrueba> archivos;
    std::unique_ptr<Documento> doc;
    std::unique_ptr<PanelCalculadora> panel;
    AvisoMudo aviso;
    PreguntaFija pregunta;

    template <class T> T* control(const QString& nombre) {
        T* w = panel->findChild<T*>(nombre);
        if (!w)
            qFatal("falta el control %s", qPrintable(nombre));
        return w;
    }
    QString resultado() { return control<QLabel>("RESULTADO")->text(); }
    QString mensaje(int i) { return control<QLabel>(QString("lbl_Mensaje(%1)").arg(i))->text(); }
    void pulsar(const QString& nombre) {
        QTest::mouseClick(control<QPushButton>(nombre), Qt::LeftButton);
    }
    void abrir(const std::string& codigo, const std::string& csv, const std::string& fichero) {
        QVERIFY(doc->AbrirBase(archivos->crear(fichero, codigo, csv)));
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        archivos = std::make_unique<testing::DistribucionesPrueba>(std::string("widget_") +
                                                                   QTest::currentTestFunction());
        doc = std::make_unique<Documento>();
        const QString dir = QString::fromStdString(archivos->dir().string()) + "/";
        panel = std::make_unique<PanelCalculadora>(*doc, Rutas{dir, dir, dir});
        panel->controlador().setAviso(&aviso);
        panel->controlador().setPreguntaValor(&pregunta);
        panel->resize(1024, 600);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }
    void cleanup() {
        panel.reset();
        doc.reset();
        archivos.reset();
    }

    void keysShowTheirResult() {
        abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n", "d.mdb");
        QCOMPARE(resultado(), QString("0"));
        pulsar("cmdTECLA(0)");
        QCOMPARE(resultado(), QString("2.0"));
        QCOMPARE(mensaje(5), QString("Media Aritmética"));
        pulsar("cmdTECLA(5)");
        QCOMPARE(resultado(), QString("0.667"));
        pulsar("cmd_Muestra");
        QCOMPARE(resultado(), QString("3"));
        pulsar("cmdTECLAm(0)");
        QCOMPARE(mensaje(5), QString("Mediana"));
        QCOMPARE(resultado(), QString("2.0"));
        pulsar("cmd_Cls");
        QCOMPARE(resultado(), QString("0"));
        QVERIFY(mensaje(5).isEmpty());
    }

    void theWorkingPanelFollowsEveryPress() {
        abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n", "d.mdb");
        auto* pasos = panel->findChild<QFrame*>("PanelPasos");
        auto* ver = control<QPushButton>("cmdPASOS");
        auto* texto = panel->findChild<QTextBrowser*>("textoPasos");
        QVERIFY(pasos && texto);
        QVERIFY(!pasos->isVisible()); // hidden until asked for
        pulsar("cmdTECLA(0)");
        QTest::mouseClick(ver, Qt::LeftButton);
        QVERIFY(pasos->isVisible());
        // Shown at once for the press already made, then for each new one.
        QVERIFY(texto->toPlainText().endsWith(resultado()));
        pulsar("cmdTECLA(5)");
        QCOMPARE(resultado(), QString("0.667"));
        QVERIFY(texto->toPlainText().endsWith(resultado()));

        QSignalSpy aNotas(panel.get(), &PanelCalculadora::lineaParaNotas);
        pulsar("PasosANotas");
        QCOMPARE(aNotas.count(), 1);
        const QString enviado = aNotas.at(0).at(0).toString();
        QVERIFY(enviado.endsWith(resultado() + "\r\n\r\n"));
        QCOMPARE(enviado.count("\r\n"), texto->toPlainText().count('\n') + 2);

        // Opening another distribution keeps the panel as the user left it.
        abrir("DIS", "Xi,ni\n4,2\n", "e.mdb");
        QVERIFY(pasos->isVisible());
        QTest::mouseClick(ver, Qt::LeftButton);
        QVERIFY(!pasos->isVisible());
    }

    void labelsShowTheOpenFile() {
        abrir("DIS", "Xi,ni\n1,1\n", "d.mdb");
        QCOMPARE(mensaje(1), QString("Dist. UNIDIMENSIONAL"));
        QCOMPARE(mensaje(2), QString("Discreta"));
        QCOMPARE(control<QLabel>("lbl_Mensaje(1)")->toolTip(), QString(" Clase de Distribución "));
        QCOMPARE(control<QLabel>("lbl_Mensaje(2)")->toolTip(), QString(" Tipo de Variable "));
        QVERIFY(!control<QPushButton>("cmdVARIABLE")->isEnabled());
        abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n", "bi.mdb");
        QCOMPARE(mensaje(1), QString("Dist. BIDIMENSIONAL"));
        QVERIFY(control<QPushButton>("cmdVARIABLE")->isEnabled());
    }

    void variableKeyAndTwoVariableKeys() {
        abrir("DISDIS", "Xi,Yi,ni\n1,2,1\n2,4,1\n3,6,1\n", "bi.mdb");
        auto* variable = control<QPushButton>("cmdVARIABLE");
        auto* recta = control<QPushButton>("cmdTECLAbi(3)");
        QCOMPARE(variable->text(), QString("X"));
        QCOMPARE(recta->text(), QString("X|Y"));
        pulsar("cmdVARIABLE");
        QCOMPARE(variable->text(), QString("Y"));
        QCOMPARE(recta->text(), QString("Y|X"));
        QCOMPARE(mensaje(4), QString("var. Y"));
        pulsar("cmdTECLA(0)");
        QCOMPARE(resultado(), QString("4.0"));
        pulsar("cmdTECLAbi(1)");
        QCOMPARE(mensaje(5), QString("Covarianza"));
        QCOMPARE(resultado(), QString("1.333"));
        QCOMPARE(variable->text(), QString("X"));
        pulsar("cmdTECLAbi(3)");
        QCOMPARE(mensaje(5), QString("Recta Regresión: Y sobre X"));
        QCOMPARE(resultado(), QString("16.0"));
    }

    void listsComputeOnPick() {
        abrir("DIS", "Xi,ni\n5,1\n1,1\n3,1\n4,1\n2,1\n", "d.mdb");
        auto* cuartiles = control<QComboBox>("cboCUARTILES");
        QCOMPARE(cuartiles->count(), 3);
        QCOMPARE(cuartiles->toolTip(), QString(" Cuartiles "));
        QCOMPARE(control<QComboBox>("cboPERCENTILES")->count(), 99);
        QCOMPARE(control<QComboBox>("cboMOMorigenBI")->itemText(4), QString("a(2,0)"));
        cuartiles->setFocus();
        QTest::keyClick(cuartiles, Qt::Key_Down); // no selection -> first item
        QTest::keyClick(cuartiles, Qt::Key_Down);
        QCOMPARE(cuartiles->currentIndex(), 1);
        QCOMPARE(mensaje(5), QString("Cuartil  Q(2)"));
        QCOMPARE(resultado(), QString("3.0"));
        pulsar("cmd_Cls");
        QCOMPARE(cuartiles->currentIndex(), -1);
        QCOMPARE(resultado(), QString("0"));
    }

    void errorTextBlinks() {
        abrir("CAT", "Xi,ni\nrojo,1\nazul,2\n", "c.mdb");
        pulsar("cmdTECLA(0)");
        QCOMPARE(resultado(), QString("?"));
        auto* error = control<QLabel>("lbl_Mensaje(0)");
        QVERIFY(!error->text().isEmpty());
        QVERIFY(error->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!error->isVisible(), 1500);
        QTRY_VERIFY_WITH_TIMEOUT(error->isVisible(), 1500);
        pulsar("cmdTECLAm(1)");
        QCOMPARE(resultado(), QString("azul"));
        QVERIFY(error->text().isEmpty());
    }

    void giniKeyAsksTheWindowForTheNotice() {
        abrir("DIS", "Xi,ni\n1,1\n", "d.mdb");
        pulsar("cmdTECLA(16)");
        QCOMPARE(aviso.avisos, 1);
        QCOMPARE(resultado(), QString("0"));
    }

    void keyboardReachesTheKeys() {
        abrir("DIS", "Xi,ni\n1,1\n2,1\n3,1\n", "d.mdb");
        panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel.get()));
        // Through the window, as the keyboard delivers it (shortcuts included).
        QTest::keyClick(panel->windowHandle(), Qt::Key_V, Qt::AltModifier);
        // A shortcut presses the key visibly, which takes a moment.
        QTRY_COMPARE(mensaje(5), QString("Varianza"));
        QTest::keyClick(panel->windowHandle(), Qt::Key_Escape);
        QTRY_COMPARE(resultado(), QString("0"));
        auto* tecla = control<QPushButton>("cmdTECLA(0)");
        tecla->setFocus();
        QTest::keyClick(tecla, Qt::Key_Space);
        QCOMPARE(resultado(), QString("2.0"));
        // Arrows walk the keypad: right to the harmonic mean, down to the variance.
        QTest::keyClick(tecla, Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>("cmdTECLA(6)"));
    }

    void missingPicturesAreBlank() {
        abrir("DIS", "Xi,ni\n1,1\n", "d.mdb");
        control<QComboBox>("cboDECILES")->setFocus();
        QTest::keyClick(control<QComboBox>("cboDECILES"), Qt::Key_Down);
        auto* imagen = control<QLabel>("Image1");
        QVERIFY(imagen->pixmap().isNull());
        QCOMPARE(mensaje(5), QString("Decil  D(1)"));
    }

    void fileCommandErrors() {
        panel->mostrarErrorComando("No se pudo copiar", 3);
        QCOMPARE(resultado(), QString("¡ Error  3"));
        QCOMPARE(mensaje(0), QString("No se pudo copiar"));
        panel->limpiarDisplay();
        QCOMPARE(resultado(), QString("0"));
    }

    void readableFromSmallToLarge() {
        for (const QSize tam : {QSize(1024, 768), QSize(3840, 2160)}) {
            panel->resize(tam);
            QCoreApplication::processEvents();
            auto* tecla = control<QPushButton>("cmdTECLA(5)");
            QVERIFY(tecla->width() >= tecla->minimumSizeHint().width());
            QVERIFY(tecla->iconSize().height() >= tecla->height() / 3);
        }
    }
};

} // namespace kalnor

QTEST_MAIN(kalnor::PanelCalculadoraTest)
#include "PanelCalculadoraTest.moc"
