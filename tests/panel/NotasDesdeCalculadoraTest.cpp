// The calculator meets the notes in the window: the summary reports of the
// notes tab, dropping the result on its target, and the keys' pictures.

#include "../app/EntornoKalnor.h"

#include "app/VentanaPrincipal.h"
#include "dialogs/VentanaAyuda.h"
#include "notes/EditorNotas.h"
#include "panel/ControladorCalculadora.h"
#include "panel/DestinoResultado.h"
#include "panel/ListaResumen.h"
#include "panel/PanelCalculadora.h"
#include "panel/Pistas.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>

#include <memory>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

// The window of a program folder that also holds the formula pictures.
struct Ventana {
    Ventana() {
        const QDir bin(QStringLiteral(KALNOR_BUILD_DIR "/bin"));
        for (const QString& n : bin.entryList({"*.svg", "*.gif"}, QDir::Files))
            QFile::copy(bin.filePath(n), entorno.rutas().RutaBin + n);
        ventana = std::make_unique<VentanaPrincipal>(entorno.rutas());
        ventana->show();
    }
    void abrir(const QString& ruta) { QVERIFY(ventana->documento().AbrirBase(ruta.toStdString())); }
    QTextEdit* notas() const { return ventana->notas().caja(); }
    ControladorCalculadora& calculadora() const { return ventana->calculadora().controlador(); }
    template <class T> T* control(const char* nombre) const {
        return ventana->findChild<T*>(nombre);
    }

    EntornoKalnor entorno;
    std::unique_ptr<VentanaPrincipal> ventana;
};

void soltarResultado(QWidget* destino) {
    QMimeData datos;
    datos.setData(DestinoResultado::kTipo, "2.0");
    const QPointF centro = QRectF(destino->rect()).center();
    QDragEnterEvent entrar(centro.toPoint(), Qt::CopyAction, &datos, Qt::LeftButton,
                           Qt::NoModifier);
    QApplication::sendEvent(destino, &entrar);
    QDropEvent soltar(centro, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(destino, &soltar);
}

} // namespace

class NotasDesdeCalculadoraTest : public QObject {
    Q_OBJECT

private slots:
    void elInformeSeEscribeEnElCursorConCabeceraEnNegrita() {
        Ventana v;
        v.abrir(v.entorno.crear("d.mdb", "DIS",
                                {{num(2), num(1)}, {num(4), num(2)}, {num(6), num(1)}}));
        QTextEdit* notas = v.notas();
        notas->setPlainText(QStringLiteral("antes\ndespués"));
        QTextCursor cursor = notas->textCursor();
        cursor.setPosition(5); // end of "antes"
        notas->setTextCursor(cursor);
        QApplication::clipboard()->setText(QStringLiteral("mío"));

        auto* lista = v.control<ListaResumen>("cboRESUMEN");
        QVERIFY(lista);
        QCOMPARE(lista->toolTip(), QStringLiteral(" Parámetros Estadísticos "));
        QCOMPARE(lista->count(), 4);
        lista->cboRESUMEN_Click(2);

        const QStringList lineas = notas->toPlainText().split('\n');
        QCOMPARE(lineas.value(0), QStringLiteral("antes"));
        QCOMPARE(lineas.value(1), QStringLiteral("=== MEDIDAS DE ASIMETRÍA (var. X) ==="));
        QVERIFY(lineas.value(2).startsWith("- Coef. Asimetría de Pearson  ....  "));
        QVERIFY(lineas.value(4).startsWith("- Coef. de Curtosis  .............  "));
        QCOMPARE(lineas.value(5), QStringLiteral("")); // the rest follows the report
        QCOMPARE(lineas.value(6), QStringLiteral("después"));
        const QTextDocument* doc = notas->document();
        QVERIFY(doc->findBlockByNumber(1).charFormat().fontWeight() == QFont::Bold ||
                doc->findBlockByNumber(1).begin().fragment().charFormat().fontWeight() ==
                    QFont::Bold);
        QCOMPARE(doc->findBlockByNumber(2).begin().fragment().charFormat().fontWeight(),
                 int(QFont::Normal));
        QTest::keyClicks(notas, "z");
        QTextCursor tras = notas->textCursor();
        tras.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
        QCOMPARE(tras.charFormat().fontWeight(), int(QFont::Normal));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mío"));
        QCOMPARE(v.calculadora().estado().lbl_Mensaje[5], QStringLiteral("Coef. de Curtosis"));
    }

    void soltarElResultadoEscribeLaLineaEnLasNotas() {
        Ventana v;
        v.abrir(v.entorno.crear("d.mdb", "DIS",
                                {{num(1), num(1)}, {num(2), num(1)}, {num(3), num(1)}}));
        auto* destino = v.control<QLabel>("Image4");
        QVERIFY(destino);
        QCOMPARE(destino->toolTip(), QStringLiteral(" Arrastre el resultado hasta aquí "));
        soltarResultado(destino); // nothing named yet: nothing written
        QVERIFY(v.notas()->toPlainText().isEmpty());

        v.control<QPushButton>("cmdTECLA(0)")->click();
        const QString valor = v.calculadora().estado().RESULTADO;
        soltarResultado(destino);
        QCOMPARE(v.ventana->SSTab1()->currentIndex(), 2);
        QCOMPARE(v.notas()->toPlainText(),
                 "\nMedia Aritmética" + QString(14, '.') + "  " + valor + "\n");

        v.control<QPushButton>("cmd_Cls")->click();
        soltarResultado(destino);
        QCOMPARE(v.notas()->toPlainText().count('\n'), 2);
    }

    void losPasosVanALasNotasDondeEsteElCursor() {
        Ventana v;
        v.abrir(v.entorno.crear("d.mdb", "DIS",
                                {{num(1), num(1)}, {num(2), num(1)}, {num(3), num(1)}}));
        QTextEdit* notas = v.notas();
        notas->setPlainText(QStringLiteral("antes\ndespués"));
        QTextCursor cursor = notas->textCursor();
        cursor.setPosition(6); // at the start of "después"
        notas->setTextCursor(cursor);

        v.ventana->SSTab1()->setCurrentIndex(0);
        v.control<QPushButton>("cmdPASOS")->click();
        v.control<QPushButton>("cmdTECLA(0)")->click();
        const QStringList pasos = v.calculadora().pasos();
        QVERIFY(!pasos.isEmpty());
        v.control<QPushButton>("PasosANotas")->click();
        QCOMPARE(v.ventana->SSTab1()->currentIndex(), 2);
        QCOMPARE(notas->toPlainText(), "antes\n" + pasos.join('\n') + "\n\ndespués");
    }

    void pasarSobreUnaTeclaMuestraSuFormula() {
        Ventana v;
        v.abrir(v.entorno.crear("d.mdb", "DIS", {{num(1), num(1)}}));
        v.ventana->SSTab1()->setCurrentIndex(0);
        auto* imagen = v.control<QLabel>("Image1");
        auto* tecla = v.control<QPushButton>("cmdTECLA(5)");
        QVERIFY(!imagen->isVisible());
        QTest::mouseMove(tecla);
        QTRY_VERIFY(v.calculadora().estado().Image1.endsWith("varianza.svg"));
        QVERIFY(imagen->isVisible());
        QVERIFY(!imagen->pixmap().isNull());
        QVERIFY(imagen->pixmap().width() > 100);
        tecla->click(); // a press blanks it
        QVERIFY(!imagen->isVisible());
    }

    void cadaFormulaSeDibujaConTinta() {
        for (const QString& nombre : imagenesFormulas()) {
            QImageReader lector(QStringLiteral(KALNOR_BUILD_DIR "/bin/") + nombre);
            const QSize natural = lector.size();
            QVERIFY2(natural.width() > 60 && natural.height() > 20, qPrintable(nombre));
            lector.setScaledSize(natural * 2); // a high-density screen
            const QImage dibujo = lector.read().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(!dibujo.isNull(), qPrintable(nombre));
            int tinta = 0;
            int fondo = 0;
            for (int y = 0; y < dibujo.height(); y += 2)
                for (int x = 0; x < dibujo.width(); x += 2) {
                    const int gris = qGray(dibujo.pixel(x, y));
                    tinta += gris < 100;
                    fondo += gris > 240;
                }
            QVERIFY2(tinta > 50 && fondo > tinta, qPrintable(nombre));
        }
    }

    void elBotonDerechoAbreLaAyudaYSeNavega() {
        Ventana v;
        QFile::copy(QStringLiteral(KALNOR_SOURCE_DIR "/data/help/kalnor.hlp"),
                    v.entorno.rutas().RutaHlp + "kalnor.hlp");
        auto* covarianza = v.control<QPushButton>("cmdTECLAbi(1)");
        QTest::mouseClick(covarianza, Qt::LeftButton);
        QVERIFY(!v.ventana->findChild<VentanaAyuda*>());
        QTest::mousePress(covarianza, Qt::RightButton);
        auto* ayuda = v.ventana->findChild<VentanaAyuda*>();
        QVERIFY(ayuda);
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Moda"));
        QVERIFY(ayuda->texto()->toPlainText().contains("Multimodal"));
        QTest::mousePress(v.control<QPushButton>("cmdTECLA(6)"), Qt::RightButton);
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Desviación Tipica"));
        QTest::mousePress(v.control<QLabel>("lbl_Mensaje(4)"), Qt::RightButton);
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Desviación Tipica")); // the last again
        // The formula picture of the topic is found in bin/.
        QVERIFY(ayuda->texto()->document()->toHtml().contains("desvTipica.svg"));
        QVERIFY(!ayuda->texto()
                     ->loadResource(QTextDocument::ImageResource, QUrl("desvTipica.svg"))
                     .isNull());
        // Links, back and forward.
        emit ayuda->texto()->anchorClicked(QUrl("tema:Varianza"));
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Varianza"));
        ayuda->atras();
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Desviación Tipica"));
        ayuda->atras();
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Moda"));
        ayuda->adelante();
        ayuda->adelante();
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Varianza"));
        QTest::mousePress(v.control<QLabel>("Image5"), Qt::RightButton);
        QCOMPARE(ayuda->temaMostrado(), QStringLiteral("Notas"));
        ayuda->atras();
        // No topic: the index, never an empty page.
        ayuda->mostrar("palabra sin tema");
        QVERIFY(ayuda->temaMostrado().isEmpty());
        QVERIFY(ayuda->texto()->toPlainText().contains("Índice"));
        QVERIFY(ayuda->texto()->toPlainText().contains("Media Aritmética"));
        // Searching the text filters the index.
        ayuda->filtrar("logaritmo");
        int vistos = 0;
        for (int i = 0; i < ayuda->indice()->count(); ++i)
            vistos += !ayuda->indice()->item(i)->isHidden();
        QVERIFY(vistos > 0 && vistos < ayuda->indice()->count());
    }
};

QTEST_MAIN(NotasDesdeCalculadoraTest)
#include "NotasDesdeCalculadoraTest.moc"
