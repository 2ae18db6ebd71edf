// The main window as the user meets it: its frame, the grid after opening an
// example, typing and pasting data, the new-distribution dialog and help.

#include "../DialogosPrueba.h"
#include "EntornoKalnor.h"

#include "app/VentanaPrincipal.h"
#include "dialogs/DialogoNueva.h"
#include "dialogs/VentanaAcercaDe.h"
#include "dialogs/VentanaAutor.h"
#include "dialogs/VentanaAyuda.h"
#include "notes/EditorNotas.h"
#include "table/ModeloTabla.h"
#include "table/PestanaDatos.h"
#include "table/VistaTabla.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

// Answers the next message box with OK and keeps its title and text.
struct MensajeVisto {
    QString titulo;
    QString texto;
};
std::shared_ptr<MensajeVisto> aceptarMensaje() {
    auto visto = std::make_shared<MensajeVisto>();
    alAparecer([visto](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        if (!caja)
            return;
        visto->titulo = caja->windowTitle();
        visto->texto = caja->text();
        caja->accept();
    });
    return visto;
}

// The window with the file dialog answered by the test.
class VentanaDePrueba : public VentanaPrincipal {
public:
    using VentanaPrincipal::VentanaPrincipal;
    QString archivoElegido;

private:
    std::optional<QString> elegirArchivoAbrir(const QString&) override { return archivoElegido; }
};

void abrirConElDialogo(VentanaDePrueba& ventana, const QString& ruta) {
    ventana.archivoElegido = ruta;
    ventana.Toolbar1()->findChild<QAction*>("botonABRIR")->trigger();
}

QLineEdit* editarCelda(VistaTabla& tabla, const QModelIndex& celda) {
    tabla.setCurrentIndex(celda);
    tabla.edit(celda);
    return tabla.viewport()->findChild<QLineEdit*>();
}

std::vector<stats::CellValue> columnaEnArchivo(const QString& ruta, const char* campo) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    return doc.Data1.column(campo);
}

} // namespace

class VentanaPrincipalTest : public QObject {
    Q_OBJECT

private slots:
    void marcoDeLaVentana() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        QCOMPARE(ventana.windowTitle(), QString("Kalnor ver.-1,05 - ßeta"));
        QTabWidget* tabs = ventana.SSTab1();
        QCOMPARE(tabs->count(), 5);
        QStringList nombres;
        for (int i = 0; i < tabs->count(); ++i)
            nombres << tabs->tabText(i);
        // The two-way table's tab shows only with a two-variable distribution.
        QCOMPARE(nombres, (QStringList{"CAL", "DAT", "NOT", "GRF", "TDE"}));
        QVERIFY(!tabs->isTabVisible(4));
        QCOMPARE(tabs->currentIndex(), 0);
        QStringList consejos;
        for (QAction* a : ventana.Toolbar1()->actions())
            if (!a->isSeparator()) {
                consejos << a->toolTip();
                QVERIFY(!a->icon().isNull());
            }
        QCOMPARE(consejos, (QStringList{" Nueva ", " Abrir ", " Guardar ", " Borrar ", " Ordenar ",
                                        " Recuento ", " Ayuda ", " Salir "}));
        QCOMPARE(ventana.panelEstado(1)->text(), QString("Calculadora Estadística"));
        QVERIFY(!ventana.panelEstado(2)->text().isEmpty());
        QVERIFY(!ventana.panelEstado(3)->text().isEmpty());
        QVERIFY(!ventana.panelEstado(4)->text().isEmpty());
    }

    void ayudaAbreAcercaDeYElPanelCuatroLaImagen() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QString titulo;
        alAparecer([&titulo](QWidget* w) {
            if (auto* acerca = qobject_cast<VentanaAcercaDe*>(w)) {
                titulo = acerca->windowTitle();
                acerca->Command2()->click();
            }
        });
        ventana.Toolbar1()->findChild<QAction*>("botonAYUDA")->trigger();
        QCOMPARE(titulo, QString("Acerca de Kalnor..."));

        bool autor = false;
        alAparecer([&autor](QWidget* w) {
            autor = qobject_cast<VentanaAutor*>(w) != nullptr;
            w->close();
        });
        QLabel* panel = ventana.panelEstado(4);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(panel, Qt::LeftButton, {}, panel->rect().center());
        QTRY_VERIFY(autor);
    }

    void abrirUnEjemploMuestraSuTabla() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        const QString ruta = entorno.ejemplo("Estaturas.mdb");
        abrirConElDialogo(ventana, ruta);
        QCOMPARE(ventana.SSTab1()->currentIndex(), 1);
        QCOMPARE(ventana.panelEstado(1)->text(), ruta);
        ModeloTabla& modelo = ventana.datos().modelo();
        QCOMPARE(modelo.registros(), ventana.documento().NumRegistros);
        QVERIFY(modelo.registros() > 0);
        QCOMPARE(modelo.headerData(0, Qt::Horizontal).toString(), QString("LiX"));
        const int ni = modelo.columnCount() - 1;
        QCOMPARE(modelo.headerData(ni, Qt::Horizontal).toString(), QString("ni"));
        VistaTabla& tabla = ventana.datos().tabla();
        const double dpi = tabla.logicalDpiX();
        QCOMPARE(tabla.columnWidth(0), qRound(1300 * dpi / 1440));
        QCOMPARE(tabla.columnWidth(ni), qRound(1000 * dpi / 1440));
        QVERIFY(modelo.data(modelo.index(0, 0)).toString().contains(QLocale().decimalPoint()));
        QVERIFY(!modelo.data(modelo.index(0, ni)).toString().contains(QLocale().decimalPoint()));
        QCOMPARE(tabla.currentIndex().column(), 0);
    }

    // kalnor FICHERO (the desktop file's %f): the table of that file at start.
    void elFicheroDeLaOrdenSeAbreAlEmpezar() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        const QString ruta = entorno.ejemplo("Estaturas.mdb");
        QVERIFY(ventana.comandos().abrirAlEmpezar(ruta));
        QCOMPARE(ventana.SSTab1()->currentIndex(), 1);
        QCOMPARE(ventana.panelEstado(1)->text(), ruta);
        QVERIFY(ventana.datos().modelo().registros() > 0);
    }

    void unFicheroQueNoSeAbreDejaLaVentanaVacia() {
        EntornoKalnor entorno;
        const QString roto = entorno.rutas().RutaDat + "roto.mdb";
        QFile f(roto);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("esto no es una distribución");
        f.close();
        for (const QString& ruta : {roto, entorno.rutas().RutaDat + "no-existe.mdb"}) {
            VentanaDePrueba ventana(entorno.rutas());
            ventana.show();
            const auto visto = aceptarMensaje();
            QVERIFY(!ventana.comandos().abrirAlEmpezar(ruta));
            QVERIFY2(visto->texto.startsWith("No se puede abrir «"), qPrintable(visto->texto));
            QVERIFY(ventana.documento().BaseActual.empty());
            QCOMPARE(ventana.panelEstado(1)->text(), QString("Calculadora Estadística"));
            QCOMPARE(ventana.datos().modelo().rowCount(), 0);
            QCOMPARE(ventana.SSTab1()->currentIndex(), 0);
        }
    }

    void escribirEnLaTablaBajaALaFilaSiguiente() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        VistaTabla& tabla = ventana.datos().tabla();
        ModeloTabla& modelo = ventana.datos().modelo();
        QLineEdit* editor = editarCelda(tabla, modelo.index(0, 1));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "6");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(tabla.currentIndex(), modelo.index(1, 1));
        ventana.documento().CerrarBase();
        QVERIFY(columnaEnArchivo(ruta, "ni") == (std::vector{num(6), num(4)}));
    }

    void unaPalabraEnNiSeRechazaConElMensaje() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        VistaTabla& tabla = ventana.datos().tabla();
        ModeloTabla& modelo = ventana.datos().modelo();
        const auto mensaje = aceptarMensaje();
        QLineEdit* editor = editarCelda(tabla, modelo.index(0, 1));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "muchos");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(mensaje->titulo, QString("¡ ERROR !"));
        QCOMPARE(mensaje->texto, VistaTabla::textoErrorDatos());
        QCOMPARE(mensaje->texto.split('\n').size(), 6);
        QVERIFY(columnaEnArchivo(ruta, "ni") == std::vector{num(2)});
    }

    void pegarUnBloqueDesdeUnaHojaDeCalculo() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS");
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        VistaTabla& tabla = ventana.datos().tabla();
        tabla.setCurrentIndex(ventana.datos().modelo().index(0, 0));
        QApplication::clipboard()->setText("1,5\t2\n2,5\t3\n3.5\t1\n");
        QTest::keySequence(&tabla, QKeySequence::Paste);
        QCOMPARE(ventana.datos().modelo().registros(), 3);
        QVERIFY(columnaEnArchivo(ruta, "Xi") == (std::vector{num(1.5), num(2.5), num(3.5)}));
        // And back out, tab-separated.
        tabla.selectAll();
        QTest::keySequence(&tabla, QKeySequence::Copy);
        QVERIFY(QApplication::clipboard()->text().startsWith("1"));
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 3);
    }

    void borrarFilasSeleccionadasPreguntaAntes() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        VistaTabla& tabla = ventana.datos().tabla();
        tabla.selectRow(0);
        alAparecer([](QWidget* w) {
            auto* caja = qobject_cast<QMessageBox*>(w);
            QVERIFY(caja);
            QCOMPARE(caja->windowTitle(), QString("¡ Atención !"));
            caja->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(&tabla, Qt::Key_Delete);
        QCOMPARE(ventana.datos().modelo().registros(), 1);
        QVERIFY(columnaEnArchivo(ruta, "Xi") == std::vector{num(3)});
    }

    void nuevaDistribucionDesdeElDialogo() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        alAparecer([](QWidget* w) {
            auto* dialogo = qobject_cast<DialogoNueva*>(w);
            QVERIFY(dialogo);
            QTreeWidgetItem* bi = dialogo->arbol()->topLevelItem(1);
            dialogo->arbol()->setCurrentItem(bi->child(1)); // "Discreta, Continua"
            QVERIFY(dialogo->aceptar()->isEnabled());
            dialogo->aceptar()->click();
        });
        ventana.Toolbar1()->findChild<QAction*>("botonNUEVA")->trigger();
        QCOMPARE(ventana.documento().TipoDist, std::string("DISCON"));
        QCOMPARE(ventana.SSTab1()->currentIndex(), 1);
        QCOMPARE(ventana.datos().modelo().columnCount(), 4);
        QCOMPARE(ventana.panelEstado(1)->text(), entorno.rutas().RutaDat + "Nueva.mdb");
    }

    void reglasDelBotonAceptar() {
        DialogoNueva dialogo;
        QTreeWidget* arbol = dialogo.arbol();
        QCOMPARE(dialogo.windowTitle(), QString("NUEVA DISTRIBUCIÓN"));
        QCOMPARE(arbol->topLevelItemCount(), 2);
        QCOMPARE(arbol->topLevelItem(0)->text(0), QString("UNIDIMENSIONAL : X"));
        QCOMPARE(arbol->topLevelItem(1)->text(0), QString("BIDIMENSIONAL : X,Y"));
        QVERIFY(!dialogo.aceptar()->isEnabled());
        QStringList tipos;
        for (int r = 0; r < 2; ++r)
            for (int i = 0; i < arbol->topLevelItem(r)->childCount(); ++i) {
                QTreeWidgetItem* nodo = arbol->topLevelItem(r)->child(i);
                tipos << nodo->text(0);
                emit arbol->itemClicked(nodo, 0);
                QVERIFY(dialogo.aceptar()->isEnabled());
                QVERIFY(dialogo.eleccion());
                const std::string_view tipo = dialogo.eleccion()->tipo;
                QCOMPARE(QString::fromUtf8(tipo.data(), qsizetype(tipo.size())), nodo->text(0));
                QCOMPARE(dialogo.ClaseElegida(),
                         r == 0 ? QString("Dist. UNIDIMENSIONAL") : QString("Dist. BIDIMENSIONAL"));
            }
        QCOMPARE(tipos, (QStringList{"Categórica", "Discreta", "Continua", "Discreta, Discreta",
                                     "Discreta, Continua", "Continua, Continua"}));
        emit arbol->itemClicked(arbol->topLevelItem(0), 0);
        QVERIFY(!dialogo.aceptar()->isEnabled());
        QVERIFY(dialogo.TipoElegido().isEmpty());
        emit arbol->itemClicked(arbol->topLevelItem(0)->child(0), 0);
        QVERIFY(dialogo.aceptar()->isEnabled());
        arbol->collapseItem(arbol->topLevelItem(1));
        QVERIFY(!dialogo.aceptar()->isEnabled());
    }

    void elBotonDerechoEnLaTablaAbreSuAyuda() {
        EntornoKalnor entorno;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        ventana.SSTab1()->setCurrentIndex(1);
        VistaTabla& tabla = ventana.datos().tabla();
        QTest::mouseClick(tabla.viewport(), Qt::LeftButton);
        QVERIFY(!ventana.findChild<VentanaAyuda*>());
        QTest::mousePress(tabla.viewport(), Qt::RightButton);
        auto* ayuda = ventana.findChild<VentanaAyuda*>();
        QVERIFY(ayuda);
        QVERIFY(ayuda->isVisible());
        QCOMPARE(ayuda->temaMostrado(), QString("Tabla de Distribución"));
    }

    void lasNotasSeGuardanAlCambiarDeDistribucion() {
        EntornoKalnor entorno;
        const QString a = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        const QString b = entorno.crear("b.mdb", "DIS", {{num(1), num(1)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(a));
        QTest::keyClicks(ventana.notas().caja(), "notas de a");
        abrirConElDialogo(ventana, b); // at once: before the writing delay
        QVERIFY(ventana.notas().caja()->toPlainText().isEmpty());
        Documento doc;
        QVERIFY(doc.AbrirBase(a.toStdString()));
        QVERIFY(QString::fromStdString(doc.Enunciado()).contains("notas de a"));
    }
};

QTEST_MAIN(VentanaPrincipalTest)
#include "VentanaPrincipalTest.moc"
