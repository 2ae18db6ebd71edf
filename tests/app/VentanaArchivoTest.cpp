// The main window and a file it cannot always write: opened read-only,
// refusing the notes, changed by another window or program, held open by
// another Kalnor. Nothing typed may be lost on the way.

#include "../DialogosPrueba.h"
#include "EntornoKalnor.h"

#include "app/VentanaPrincipal.h"
#include "notes/BarraAviso.h"
#include "notes/EditorNotas.h"
#include "panel/PanelCalculadora.h"
#include "table/AccionesCsv.h"
#include "table/ModeloTabla.h"
#include "table/PestanaDatos.h"
#include "table/VistaTabla.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <sqlite3.h>

#include <functional>
#include <memory>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

// Clicks the button named `boton` of the next message box and keeps its text.
std::shared_ptr<QString> responder(QObject* dueno, const QString& boton) {
    auto texto = std::make_shared<QString>();
    alAparecer(dueno, [texto, boton](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        if (!caja)
            return;
        *texto = caja->text() + '\n' + caja->informativeText();
        if (auto* b = caja->findChild<QPushButton*>(boton))
            b->click();
        else
            caja->reject();
    });
    return texto;
}

// The window with the save dialog answered by the test.
class VentanaDePrueba : public VentanaPrincipal {
public:
    using VentanaPrincipal::VentanaPrincipal;
    QString archivoGuardar;

private:
    std::optional<QString> elegirArchivoGuardar(const QString&) override {
        return archivoGuardar.isEmpty() ? std::nullopt : std::optional(archivoGuardar);
    }
};

// Another program's connection to the file, by SQLite's own API.
class OtraConexion {
public:
    explicit OtraConexion(const QString& ruta) {
        sqlite3_open_v2(ruta.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~OtraConexion() { sqlite3_close_v2(db_); }
    OtraConexion(const OtraConexion&) = delete;
    OtraConexion& operator=(const OtraConexion&) = delete;
    int exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};

std::vector<stats::CellValue> columnaEnArchivo(const QString& ruta, const char* campo) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString(), Documento::Acceso::SoloLectura);
    return doc.Data1.column(campo);
}

QString notasEnArchivo(const QString& ruta) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString(), Documento::Acceso::SoloLectura);
    return QString::fromStdString(doc.Enunciado());
}

QAction* tecla(VentanaPrincipal& ventana, const char* nombre) {
    return ventana.Toolbar1()->findChild<QAction*>(nombre);
}

void escribirNotas(VentanaPrincipal& ventana, const QString& texto) {
    ventana.SSTab1()->setCurrentIndex(2);
    QTextEdit* caja = ventana.notas().caja();
    caja->setFocus();
    caja->moveCursor(QTextCursor::End);
    QTest::keyClicks(caja, texto);
}

} // namespace

class VentanaArchivoTest : public QObject {
    Q_OBJECT

private slots:
    void soloLecturaNoDejaEditarPeroSiMedir() {
        EntornoKalnor entorno;
        const QString ruta =
            entorno.crear("a.mdb", "DIS", {{num(1), num(1)}, {num(2), num(1)}, {num(3), num(1)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        const QString titulo = ventana.windowTitle();
        QVERIFY(ventana.documento().AbrirBase(ruta.toStdString(), Documento::Acceso::SoloLectura));
        ventana.datos().MostrarColumnas();

        QVERIFY(ventana.windowTitle().contains("Solo lectura"));
        auto* etiqueta = ventana.findChild<QLabel*>("panelSoloLectura");
        QVERIFY(etiqueta && !etiqueta->isHidden());
        QCOMPARE(etiqueta->text(), QString("Solo lectura"));
        for (const char* nombre : {"botonBORRAR", "botonORDENAR", "botonRECUENTO"})
            QVERIFY2(!tecla(ventana, nombre)->isEnabled(), nombre);
        QVERIFY(tecla(ventana, "botonGUARDAR")->isEnabled()); // the way to a copy
        QVERIFY(!ventana.datos().cboSUMATORIOS()->isEnabled());
        QVERIFY(!ventana.datos().csv().botonImportar()->isEnabled());
        QVERIFY(ventana.datos().csv().botonExportar()->isEnabled());

        ModeloTabla& modelo = ventana.datos().modelo();
        QVERIFY(!(modelo.flags(modelo.index(0, 0)) & Qt::ItemIsEditable));
        VistaTabla& tabla = ventana.datos().tabla();
        tabla.setCurrentIndex(modelo.index(0, 0));
        QApplication::clipboard()->setText("9\t9\n");
        QTest::keySequence(&tabla, QKeySequence::Paste);
        tabla.selectRow(0);
        QTest::keyClick(&tabla, Qt::Key_Delete); // no question, nothing deleted
        QVERIFY(columnaEnArchivo(ruta, "Xi") == (std::vector{num(1), num(2), num(3)}));

        QVERIFY(ventana.notas().caja()->isReadOnly());
        QVERIFY(ventana.notas().aviso()->texto().contains("solo lectura"));
        ventana.notas().PegarEnNotas("Σ = 6");
        QVERIFY(ventana.notas().caja()->toPlainText().isEmpty());

        ventana.SSTab1()->setCurrentIndex(0);
        auto* media = ventana.calculadora().findChild<QPushButton*>("cmdTECLA(0)");
        QVERIFY(media);
        QTest::mouseClick(media, Qt::LeftButton);
        auto* resultado = ventana.calculadora().findChild<QLabel*>("RESULTADO");
        QVERIFY(resultado && resultado->text().startsWith("2"));

        // «Guardar» makes a copy that takes changes, and gives everything back.
        const QString otra = entorno.rutas().RutaDat + "copia.mdb";
        ventana.archivoGuardar = otra;
        tecla(ventana, "botonGUARDAR")->trigger();
        QCOMPARE(ventana.documento().BaseActual, otra.toStdString());
        QVERIFY(!ventana.documento().soloLectura());
        QCOMPARE(ventana.windowTitle(), titulo);
        QVERIFY(etiqueta->isHidden());
        QVERIFY(tecla(ventana, "botonORDENAR")->isEnabled());
        QVERIFY(!ventana.notas().caja()->isReadOnly());
        QVERIFY(ventana.notas().aviso()->texto().isEmpty());
        QVERIFY(modelo.flags(modelo.index(0, 0)) & Qt::ItemIsEditable);
    }

    // A writer that holds the file makes every write fail (CI runs as root,
    // so permission bits could not).
    void notasQueNoSeGuardanSeDicenYNoSePierden() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        const QString copia = entorno.rutas().RutaDat + "rescate.mdb";
        QObject vigilancia;
        {
            VentanaDePrueba ventana(entorno.rutas());
            ventana.show();
            QVERIFY(ventana.comandos().abrirDistribucion(ruta));
            OtraConexion otra(ruta);
            QCOMPARE(otra.exec("BEGIN EXCLUSIVE"), SQLITE_OK);

            escribirNotas(ventana, "conclusiones del examen");
            ventana.notas().guardar();
            const QString aviso = ventana.notas().aviso()->texto();
            QVERIFY2(aviso.contains("no se han guardado"), qPrintable(aviso));
            QVERIFY(ventana.notas().findChild<QPushButton*>("avisoGuardarComo"));
            QVERIFY(ventana.notas().sinGuardar());
            QVERIFY(!ventana.notas().caja()->isReadOnly());
            QCOMPARE(ventana.notas().caja()->toPlainText(), QString("conclusiones del examen"));

            // Leaving asks; «Cancelar» stays with the text.
            const auto pregunta = responder(&vigilancia, "preguntaCancelar");
            tecla(ventana, "botonSALIR")->trigger();
            QVERIFY2(pregunta->contains("no se han podido guardar"), qPrintable(*pregunta));
            QVERIFY(ventana.isVisible());
            QCOMPARE(ventana.notas().caja()->toPlainText(), QString("conclusiones del examen"));

            // «Guardar como…» takes data and notes to another file, then leaves.
            ventana.archivoGuardar = copia;
            responder(&vigilancia, "preguntaGuardarComo");
            tecla(ventana, "botonSALIR")->trigger();
            QVERIFY(!ventana.isVisible());
            QCOMPARE(ventana.documento().BaseActual, copia.toStdString());
            QCOMPARE(otra.exec("COMMIT"), SQLITE_OK);
        }
        QVERIFY(notasEnArchivo(copia).contains("conclusiones del examen"));
        QVERIFY(columnaEnArchivo(copia, "Xi") == std::vector{num(1)});
        QVERIFY(notasEnArchivo(ruta).isEmpty());
    }

    void descartarLasNotasEsUnaDecisionDelUsuario() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        QObject vigilancia;
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        OtraConexion otra(ruta);
        QCOMPARE(otra.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
        escribirNotas(ventana, "borrador");
        responder(&vigilancia, "preguntaDescartar");
        QVERIFY(ventana.close());
        QVERIFY(!ventana.isVisible());
        QCOMPARE(otra.exec("COMMIT"), SQLITE_OK);
        QVERIFY(notasEnArchivo(ruta).isEmpty());
    }

    void filasQueAnadeOtroProgramaSeLeen() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}, {num(2), num(1)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        QCOMPARE(ventana.datos().modelo().registros(), 2);
        {
            Documento otro; // kalnor-cli cargar, say
            QVERIFY(otro.AbrirBase(ruta.toStdString()));
            otro.Data1.AddNew();
            otro.Data1.SetField("Xi", num(5));
            otro.Data1.SetField("ni", num(1));
            otro.Data1.Update();
        }
        QTRY_COMPARE_WITH_TIMEOUT(ventana.datos().modelo().registros(), 3, 10000);
        QCOMPARE(ventana.documento().NumRegistros, 3);
        QVERIFY2(ventana.statusBar()->currentMessage().contains("se ha vuelto a leer"),
                 qPrintable(ventana.statusBar()->currentMessage()));
    }

    void notasGuardadasPorOtroNoSeSobrescriben_data() {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<QString>("enLaCaja");
        QTest::addColumn<QString>("enElArchivo");
        QTest::newRow("tomar las suyas") << "avisoTomar"
                                         << "sus notas"
                                         << "sus notas";
        QTest::newRow("conservar las mías") << "avisoConservar"
                                            << "mis notas"
                                            << "mis notas";
    }

    void notasGuardadasPorOtroNoSeSobrescriben() {
        QFETCH(QString, boton);
        QFETCH(QString, enLaCaja);
        QFETCH(QString, enElArchivo);
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        escribirNotas(ventana, "mis notas");
        {
            Documento otro; // another window on the same file
            QVERIFY(otro.AbrirBase(ruta.toStdString()));
            QVERIFY(otro.setEnunciado("sus notas"));
        }
        ventana.notas().guardar();
        QCOMPARE(notasEnArchivo(ruta), QString("sus notas"));
        QCOMPARE(ventana.notas().caja()->toPlainText(), QString("mis notas"));
        QVERIFY(ventana.notas().aviso()->texto().contains("ha cambiado las notas"));
        QVERIFY(ventana.notas().sinGuardar());

        auto* elegido = ventana.notas().findChild<QPushButton*>(boton);
        QVERIFY(elegido);
        elegido->click();
        QTRY_COMPARE(ventana.notas().caja()->toPlainText(), enLaCaja);
        QTRY_VERIFY(!ventana.notas().sinGuardar());
        QVERIFY(notasEnArchivo(ruta).contains(enElArchivo));
        QVERIFY(ventana.notas().aviso()->texto().isEmpty());
    }

    void lasNotasPropiasPuedenIrAOtroArchivo() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        const QString copia = entorno.rutas().RutaDat + "mias.mdb";
        VentanaDePrueba ventana(entorno.rutas());
        ventana.show();
        QVERIFY(ventana.comandos().abrirDistribucion(ruta));
        escribirNotas(ventana, "mis notas");
        {
            Documento otro;
            QVERIFY(otro.AbrirBase(ruta.toStdString()));
            QVERIFY(otro.setEnunciado("sus notas"));
        }
        ventana.notas().guardar();
        ventana.archivoGuardar = copia;
        auto* boton = ventana.notas().findChild<QPushButton*>("avisoGuardarComo");
        QVERIFY(boton);
        boton->click();
        QTRY_COMPARE(ventana.documento().BaseActual, copia.toStdString());
        QVERIFY(!ventana.notas().sinGuardar());
        QCOMPARE(ventana.notas().caja()->toPlainText(), QString("mis notas"));
        QVERIFY(notasEnArchivo(copia).contains("mis notas"));
        QCOMPARE(notasEnArchivo(ruta), QString("sus notas"));
        QVERIFY(columnaEnArchivo(copia, "Xi") == std::vector{num(1)});
    }

    void otroKalnorConElArchivoAbiertoSeAnuncia() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(1)}});
        QObject vigilancia;
        auto primera = std::make_unique<VentanaDePrueba>(entorno.rutas());
        QVERIFY(primera->comandos().abrirDistribucion(ruta));

        VentanaDePrueba segunda(entorno.rutas());
        segunda.show();
        const auto pregunta = responder(&vigilancia, "otroSoloLectura");
        QVERIFY(segunda.comandos().abrirDistribucion(ruta));
        QVERIFY2(pregunta->contains("Otro Kalnor tiene abierto este archivo"),
                 qPrintable(*pregunta));
        QVERIFY(segunda.documento().soloLectura());
        QVERIFY(!primera->documento().soloLectura());

        // «Cancelar» keeps what the window had open.
        VentanaDePrueba tercera(entorno.rutas());
        responder(&vigilancia, "otroCancelar");
        QVERIFY(!tercera.comandos().abrirDistribucion(ruta));
        QVERIFY(tercera.documento().BaseActual.empty());

        // Once the first one is gone, nobody asks.
        primera.reset();
        bool preguntado = false;
        QObject soloEsta;
        alAparecer(&soloEsta, [&preguntado](QWidget* w) {
            preguntado = true;
            w->close();
        });
        QVERIFY(tercera.comandos().abrirDistribucion(ruta));
        QVERIFY(!preguntado);
        QVERIFY(!tercera.documento().soloLectura());
    }
};

QTEST_MAIN(VentanaArchivoTest)
#include "VentanaArchivoTest.moc"
