// The column commands of the DAT tab as the user meets them: the list under
// the grid, the header menu, the totals row, the sum into the notes.

#include "../app/EntornoKalnor.h"

#include "app/VentanaPrincipal.h"
#include "notes/EditorNotas.h"
#include "panel/ControladorCalculadora.h"
#include "panel/FormatoResultado.h"
#include "panel/PanelCalculadora.h"
#include "table/ControladorColumnas.h"
#include "table/FilaTotales.h"
#include "table/ModeloTabla.h"
#include "table/PestanaDatos.h"
#include "table/VistaTabla.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

class VentanaDePrueba : public VentanaPrincipal {
public:
    using VentanaPrincipal::VentanaPrincipal;
    QString archivoElegido;

private:
    std::optional<QString> elegirArchivoAbrir(const QString&) override { return archivoElegido; }
};

void abrir(VentanaDePrueba& ventana, const QString& ruta) {
    ventana.archivoElegido = ruta;
    ventana.Toolbar1()->findChild<QAction*>("botonABRIR")->trigger();
    ventana.SSTab1()->setCurrentIndex(1);
}

// Answers the next message box with OK and keeps its title and text.
struct MensajeVisto {
    QString titulo, texto;
};
std::shared_ptr<MensajeVisto> aceptarMensaje() {
    auto visto = std::make_shared<MensajeVisto>();
    auto* reloj = new QTimer;
    reloj->setInterval(20);
    QObject::connect(reloj, &QTimer::timeout, [reloj, visto] {
        if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            reloj->stop();
            reloj->deleteLater();
            visto->titulo = caja->windowTitle();
            visto->texto = caja->text();
            caja->accept();
        }
    });
    reloj->start();
    return visto;
}

// Opens the list and clicks the entry whose text is `entrada`.
void elegirEntrada(QComboBox* lista, const QString& entrada) {
    const int i = lista->findText(entrada);
    QVERIFY2(i >= 0, qPrintable(entrada));
    lista->showPopup();
    QAbstractItemView* vista = lista->view();
    QTRY_VERIFY(vista->isVisible());
    const QRect r = vista->visualRect(vista->model()->index(i, 0));
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, r.center());
}

// Clicks the header of `columna` and returns the menu it opened.
QMenu* clicCabecera(PestanaDatos& datos, int columna) {
    QHeaderView* cabecera = datos.tabla().horizontalHeader();
    const QPoint punto(cabecera->sectionViewportPosition(columna) + 5, cabecera->height() / 2);
    QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {}, punto);
    return datos.mnuFLOTANTEppal();
}

QStringList camposEnArchivo(const QString& ruta) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    QStringList out;
    for (const std::string& f : doc.Data1.FieldNames())
        out << QString::fromStdString(f);
    return out;
}

} // namespace

class PestanaDatosTest : public QObject {
    Q_OBJECT

private slots:
    void losControlesDeLasColumnas() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        PestanaDatos& datos = ventana.datos();
        QCOMPARE(datos.cboSUMATORIOS()->toolTip(), QString(" Añadir columnas "));
        QCOMPARE(datos.cboSUMATORIOS()->count(), 20);
        QCOMPARE(datos.cboSUMATORIOS()->itemText(6), QString(" x¡·n¡"));
        QCOMPARE(datos.lblColumnas()->text(), QString("Columnas: X"));
        QCOMPARE(datos.SUMATORIO()->text(), QString("0"));
        QCOMPARE(datos.SUMATORIO()->toolTip(), QString(" Suma total de la columna "));
        QStringList menu;
        for (QAction* a : datos.mnuFLOTANTEppal()->actions())
            menu << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(menu, (QStringList{"Eliminar esta columna", "Ordenar por esta columna", "-",
                                    "Sumar la columna", "Sumar y añadir a notas"}));

        auto visto = aceptarMensaje();
        elegirEntrada(datos.cboSUMATORIOS(), " f¡");
        QTRY_COMPARE(visto->titulo, QString("¡ Error al Añadir Columnas !"));
        QCOMPARE(visto->texto, QString("No hay un archivo abierto o\nNo hay datos suficientes"));
        QCOMPARE(datos.cboSUMATORIOS()->currentIndex(), -1);
    }

    void elegirUnaColumnaLaMuestraConSuTotal() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.resize(1000, 700);
        ventana.show();
        const QString ruta =
            entorno.crear("d.mdb", "DIS", {{num(3), num(3)}, {num(1), num(2)}, {num(2), num(5)}});
        abrir(ventana, ruta);
        PestanaDatos& datos = ventana.datos();
        ModeloTabla& modelo = datos.modelo();
        modelo.setLocale(QLocale::c());
        elegirEntrada(datos.cboSUMATORIOS(), " x¡·n¡");
        QTRY_COMPARE(modelo.columnCount(), 3);
        QCOMPARE(modelo.headerData(2, Qt::Horizontal).toString(), QString("x¡·n¡"));
        QCOMPARE(modelo.data(modelo.index(0, 2)).toString(), QString("9.0"));
        QCOMPARE(modelo.data(modelo.index(1, 2)).toString(), QString("2.0"));
        QCOMPARE(modelo.data(modelo.index(2, 2)).toString(), QString("10.0"));
        FilaTotales& totales = datos.filaTotales();
        QCOMPARE(totales.texto(0), QString("6.0"));
        QCOMPARE(totales.texto(1), QString("10"));
        QCOMPARE(totales.texto(2), QString("21.0"));
        QCOMPARE(datos.tabla().columnWidth(2), qRound(1300.0 * datos.tabla().logicalDpiX() / 1440));
        QCOMPARE(ventana.focusWidget(), &datos.tabla());
        QCOMPARE(datos.tabla().currentIndex().column(), 0);

        // Deviations sum to (almost) nothing: the row reads as the label does.
        elegirEntrada(datos.cboSUMATORIOS(), " (x¡-m)·n¡");
        QTRY_COMPARE(modelo.columnCount(), 4);
        datos.columnas()->sumarCampo("(x¡-m)·n¡");
        QCOMPARE(totales.texto(3),
                 formatoResultado(*datos.columnas()->estado().suma, QLocale::c()));
        QCOMPARE(totales.texto(3), QString("0.0"));

        // A cell edit moves the total with it, as "Sumar la columna" sees it.
        QVERIFY(modelo.setData(modelo.index(1, 2), "2.5"));
        QCOMPARE(totales.texto(2), QString("21.5"));
        datos.columnas()->sumarCampo("x¡·n¡");
        QCOMPARE(*datos.columnas()->estado().suma, 21.5);
        QCOMPARE(datos.SUMATORIO()->text(),
                 datos.columnas()->estado().suma ? QLocale().toString(21.5, 'f', 1) : QString());
        // An emptied cell leaves the column without a total.
        QVERIFY(modelo.setData(modelo.index(0, 2), ""));
        QCOMPARE(totales.texto(2), QString());
    }

    void laCabeceraEliminaUnaColumna() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        const QString ruta = entorno.crear("d.mdb", "DIS", {{num(1), num(1)}, {num(2), num(3)}});
        abrir(ventana, ruta);
        PestanaDatos& datos = ventana.datos();
        elegirEntrada(datos.cboSUMATORIOS(), " Fi%");
        elegirEntrada(datos.cboSUMATORIOS(), " x¡·n¡");
        QTRY_COMPARE(camposEnArchivo(ruta), (QStringList{"Xi", "ni", "Fi%", "x¡·n¡"}));
        QMenu* menu = clicCabecera(datos, 2);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(datos.columnas()->CampoActual(), std::string("Fi%"));
        QAction* eliminar = menu->findChild<QAction*>("mnuEliminarCol");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(eliminar).center());
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(camposEnArchivo(ruta), (QStringList{"Xi", "ni", "x¡·n¡"}));
        QCOMPARE(datos.modelo().columnCount(), 3);
        QCOMPARE(datos.filaTotales().totales().columnas(), 3);

        // "ni" is refused.
        menu = clicCabecera(datos, 1);
        QTRY_VERIFY(menu->isVisible());
        auto visto = aceptarMensaje();
        menu->findChild<QAction*>("mnuEliminarCol")->trigger();
        menu->hide();
        QCOMPARE(visto->titulo, QString("¡ Error al Eliminar Columnas !"));
        QCOMPARE(camposEnArchivo(ruta), (QStringList{"Xi", "ni", "x¡·n¡"}));
    }

    void sumarYAnadirALasNotas() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        const QString ruta =
            entorno.crear("d.mdb", "DIS", {{num(1), num(5)}, {num(2), num(5)}, {num(3), num(10)}});
        abrir(ventana, ruta);
        PestanaDatos& datos = ventana.datos();
        elegirEntrada(datos.cboSUMATORIOS(), " x¡·n¡");
        QTRY_COMPARE(datos.modelo().columnCount(), 3);
        QMenu* menu = clicCabecera(datos, 2);
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction*>("mnuSumarColNot")->trigger();
        menu->hide();
        const QString suma = QLocale().toString(45.0, 'f', 1);
        QCOMPARE(datos.SUMATORIO()->text(), suma);
        QCOMPARE(ventana.SSTab1()->currentIndex(), 2);
        const QString linea = "S[x¡·n¡]= " + QString(20, '.') + ' ' + suma;
        QVERIFY(ventana.notas().caja()->toPlainText().contains(linea));
        QCOMPARE(QApplication::clipboard()->text(), "\r\n" + linea + "\r\n");
    }

    void elBotonDerechoPideLaAyuda() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        ventana.SSTab1()->setCurrentIndex(1);
        PestanaDatos& datos = ventana.datos();
        QSignalSpy ayuda(&datos, &PestanaDatos::ayudaPedida);
        QTest::mouseClick(datos.lblColumnas(), Qt::LeftButton);
        QCOMPARE(ayuda.count(), 0);
        QTest::mousePress(datos.lblColumnas(), Qt::RightButton);
        QTest::mousePress(datos.SUMATORIO(), Qt::RightButton);
        QTest::mousePress(datos.tabla().viewport(), Qt::RightButton);
        QCOMPARE(ayuda.count(), 3);
        QCOMPARE(ayuda.at(0).at(0).toString(), QString("Columnas"));
        QCOMPARE(ayuda.at(1).at(0).toString(), QString("Sumatorio"));
        QCOMPARE(ayuda.at(2).at(0).toString(), QString("Tabla de Distribución"));
    }
};

QTEST_MAIN(PestanaDatosTest)
#include "PestanaDatosTest.moc"
