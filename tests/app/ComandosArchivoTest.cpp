// The toolbar's document commands, driven without widgets through a
// scripted stand-in for the window.

#include "EntornoKalnor.h"

#include "app/ComandosArchivo.h"
#include "app/InterfazComandos.h"

#include <QFileInfo>
#include <QTest>

#include <deque>
#include <map>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

class UiGuionizada : public InterfazComandos {
public:
    // Answers, in order of asking.
    std::optional<QString> archivoAbrir;
    std::optional<QString> archivoGuardar;
    const stats::KindInfo* tipoNuevo = nullptr;
    std::deque<bool> respuestas;

    // What the commands did.
    QStringList errores;
    QStringList preguntas;
    QStringList comandosFallidos;
    QStringList avisos;
    int pestana = -1;
    int columnasMostradas = 0;
    int notasGuardadas = 0;
    int nivelOcupado = 0;
    bool salio = false;

    std::optional<QString> elegirArchivoAbrir(const QString&) override { return archivoAbrir; }
    std::optional<QString> elegirArchivoGuardar(const QString&) override { return archivoGuardar; }
    const stats::KindInfo* elegirNuevaDistribucion() override { return tipoNuevo; }
    void mensajeError(const QString& texto, const QString&) override { errores << texto; }
    bool preguntar(const QString& texto) override {
        preguntas << texto;
        if (respuestas.empty())
            return false;
        const bool r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
    void ocupado(bool siNo) override { nivelOcupado += siNo ? 1 : -1; }
    void avisar(const QString& texto) override { avisos << texto; }
    void guardarNotas() override { ++notasGuardadas; }
    void limpiarDisplay() override {}
    void mostrarErrorComando(const QString& d, int) override { comandosFallidos << d; }
    void mostrarColumnas() override { ++columnasMostradas; }
    void seleccionarPestana(int i) override { pestana = i; }
    void mostrarAcercaDe() override {}
    void salir() override { salio = true; }
};

std::vector<double> columna(const QString& ruta, const char* campo) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    std::vector<double> valores;
    for (const auto& v : doc.Data1.column(campo))
        valores.push_back(v.isNumber() ? v.asNumber() : -1);
    return valores;
}

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ComandosArchivoTest : public QObject {
    Q_OBJECT

private slots:
    void abrirUnEjemploMuestraLaTabla() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        ui.archivoAbrir = entorno.ejemplo("Notas_examen.mdb");
        comandos.ejecutar("botonABRIR");
        QCOMPARE(QString::fromStdString(doc.BaseActual), *ui.archivoAbrir);
        QCOMPARE(doc.TipoDist, std::string("DIS"));
        QVERIFY(doc.NumRegistros > 0);
        QCOMPARE(ui.pestana, 1);
        QVERIFY(ui.columnasMostradas > 0);
        QCOMPARE(ui.nivelOcupado, 0);
    }

    void abrirAlgoQueNoEsDistribucionNoCambiaNada() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString buena = entorno.ejemplo("Notas_examen.mdb");
        QVERIFY(comandos.abrirDistribucion(buena));
        const QString mala = entorno.rutas().RutaDat + "texto.mdb";
        QFile f(mala);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("esto no es una base de datos");
        f.close();
        ui.archivoAbrir = mala;
        comandos.ejecutar("botonABRIR");
        QCOMPARE(ui.errores.size(), 1);
        QVERIFY(ui.errores.front().contains("texto.mdb"));
        QCOMPARE(QString::fromStdString(doc.BaseActual), buena);
        QVERIFY(doc.Data1.isOpen());
        QCOMPARE(ui.pestana, -1);
    }

#ifdef KALNOR_CLI
    // An Access file is converted by a child process into a Kalnor copy
    // beside it; the original is never written.
    void abrirAccessAbreUnaCopiaConvertida() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        comandos.setProgramaConversion(QStringLiteral(KALNOR_CLI));
        const QString original = entorno.rutas().RutaDat + "dis_notas.mdb";
        QVERIFY(QFile::copy(QStringLiteral(KALNOR_TEST_DATA) + "/access/dis_notas.mdb", original));
        const QByteArray antes = contenido(original);
        const QString copia = entorno.rutas().RutaDat + "dis_notas (Kalnor).mdb";

        ui.archivoAbrir = original;
        comandos.ejecutar("botonABRIR");
        QVERIFY2(ui.errores.isEmpty(), qPrintable(ui.errores.join('\n')));
        QCOMPARE(QString::fromStdString(doc.BaseActual), copia);
        QCOMPARE(doc.TipoDist, std::string("DIS"));
        QVERIFY(doc.NumRegistros > 0);
        QCOMPARE(ui.avisos.size(), 1);
        QVERIFY(ui.avisos.front().contains("Access"));
        QCOMPARE(contenido(original), antes);

        // Later opens offer the existing copy; "No" opens it as it is.
        doc.Data1.MoveFirst();
        doc.Data1.Edit();
        doc.Data1.SetField("ni", num(99));
        doc.Data1.Update();
        ui.respuestas = {false};
        comandos.ejecutar("botonABRIR");
        QCOMPARE(ui.preguntas.size(), 1);
        QCOMPARE(QString::fromStdString(doc.BaseActual), copia);
        QCOMPARE(columna(copia, "ni").front(), 99.0);

        // "Yes" converts again over the open copy.
        ui.respuestas = {true};
        comandos.ejecutar("botonABRIR");
        QCOMPARE(ui.preguntas.size(), 2);
        QVERIFY2(ui.errores.isEmpty(), qPrintable(ui.errores.join('\n')));
        QCOMPARE(QString::fromStdString(doc.BaseActual), copia);
        QVERIFY(columna(copia, "ni").front() != 99.0);
        QCOMPARE(contenido(original), antes);
    }

    void abrirAccessDanadoDaUnMensajeYNoCambiaNada() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        comandos.setProgramaConversion(QStringLiteral(KALNOR_CLI));
        const QString abierta = entorno.ejemplo("Notas_examen.mdb");
        QVERIFY(comandos.abrirDistribucion(abierta));
        const QString original = entorno.rutas().RutaDat + "roto.mdb";
        QByteArray bytes = contenido(QStringLiteral(KALNOR_TEST_DATA) + "/access/dis_notas.mdb");
        bytes.truncate(bytes.size() / 3);
        QFile f(original);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ui.archivoAbrir = original;
        comandos.ejecutar("botonABRIR");
        QCOMPARE(ui.errores.size(), 1);
        QVERIFY(ui.errores.front().contains("roto.mdb"));
        QCOMPARE(QString::fromStdString(doc.BaseActual), abierta);
        QVERIFY(!QFileInfo::exists(entorno.rutas().RutaDat + "roto (Kalnor).mdb"));
        QCOMPARE(contenido(original), bytes);
    }
#endif

    void abrirCanceladoNoHaceNada() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        comandos.ejecutar("botonABRIR");
        QVERIFY(doc.BaseActual.empty());
        QVERIFY(ui.errores.isEmpty());
    }

    void nuevaDeCadaTipoOfrecido_data() {
        QTest::addColumn<QString>("codigo");
        for (const char* c : {"CAT", "DIS", "CON", "DISDIS", "DISCON", "CONCON"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void nuevaDeCadaTipoOfrecido() {
        QFETCH(QString, codigo);
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        ui.tipoNuevo = stats::kindByCode(codigo.toStdString());
        comandos.ejecutar("botonNUEVA");
        QCOMPARE(QString::fromStdString(doc.BaseActual),
                 ComandosArchivo::rutaNueva(entorno.rutas()));
        QCOMPARE(QString::fromStdString(doc.TipoDist), codigo);
        QCOMPARE(doc.Tipo(), std::string(ui.tipoNuevo->tipo));
        QCOMPARE(doc.Clase(),
                 std::string(ui.tipoNuevo->bivariate ? stats::kClaseBi : stats::kClaseUni));
        QCOMPARE(doc.NumRegistros, 0);
        QVERIFY(doc.Enunciado().empty());
        QCOMPARE(ui.pestana, 1);
        QVERIFY(ui.errores.isEmpty());
        QVERIFY(ui.preguntas.isEmpty());
    }

    void nuevaPreguntaAntesDeTirarDatos() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString nueva =
            entorno.crear("Nueva.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        ui.tipoNuevo = stats::kindByCode("CON");

        ui.respuestas = {false};
        comandos.ejecutar("botonNUEVA");
        QCOMPARE(ui.preguntas.size(), 1);
        QCOMPARE(columna(nueva, "ni"), (std::vector<double>{2, 4}));

        ui.respuestas = {true};
        comandos.ejecutar("botonNUEVA");
        QCOMPARE(ui.preguntas.size(), 2);
        QCOMPARE(doc.TipoDist, std::string("CON"));
        QCOMPARE(doc.NumRegistros, 0);
    }

    void nuevaQueFallaConservaLaDistribucionAbierta() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString abierta = entorno.ejemplo("Notas_examen.mdb");
        QVERIFY(comandos.abrirDistribucion(abierta));
        QVERIFY(QFile::remove(entorno.plantilla()));
        ui.tipoNuevo = stats::kindByCode("DIS");
        comandos.ejecutar("botonNUEVA");
        QCOMPARE(ui.errores.size(), 1);
        QVERIFY(ui.errores.front().startsWith("Error de E/S al crear distribución"));
        QCOMPARE(QString::fromStdString(doc.BaseActual), abierta);
        QVERIFY(doc.NumRegistros > 0);
    }

    void guardarComoTrabajaEnLaCopia() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString original = entorno.crear("a.mdb", "DIS", {{num(5), num(1)}});
        QVERIFY(comandos.abrirDistribucion(original));
        ui.archivoGuardar = entorno.rutas().RutaDat + "b.mdb";
        comandos.ejecutar("botonGUARDAR");
        QCOMPARE(QString::fromStdString(doc.BaseActual), *ui.archivoGuardar);
        QVERIFY(ui.errores.isEmpty());
        QVERIFY(ui.notasGuardadas > 0);
        // Work goes on in the copy; the original stays as it was.
        doc.Data1.MoveFirst();
        doc.Data1.Edit();
        doc.Data1.SetField("ni", num(9));
        doc.Data1.Update();
        QCOMPARE(columna(original, "ni"), std::vector<double>{1});
        QCOMPARE(columna(*ui.archivoGuardar, "ni"), std::vector<double>{9});
    }

    void guardarComoSobreSiMismoLoReabre() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString original = entorno.crear("a.mdb", "DIS", {{num(5), num(1)}});
        QVERIFY(comandos.abrirDistribucion(original));
        ui.archivoGuardar = original;
        comandos.ejecutar("botonGUARDAR");
        QVERIFY(ui.errores.isEmpty());
        QCOMPARE(QString::fromStdString(doc.BaseActual), original);
        QCOMPARE(doc.NumRegistros, 1);
    }

    void guardarComoQueFallaSigueEnElOriginal() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString original = entorno.crear("a.mdb", "DIS", {{num(5), num(1)}});
        QVERIFY(comandos.abrirDistribucion(original));
        ui.archivoGuardar = entorno.rutas().RutaDat + "no/existe/b.mdb";
        comandos.ejecutar("botonGUARDAR");
        QCOMPARE(ui.errores.size(), 1);
        QVERIFY(ui.errores.front().contains("No se ha podido guardar"));
        QCOMPARE(QString::fromStdString(doc.BaseActual), original);
        QVERIFY(doc.Data1.isOpen());
        QVERIFY(!QFileInfo::exists(*ui.archivoGuardar));
    }

    void sinDatosSeNieganGuardarBorrarOrdenarYRecuento() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        for (const char* clave : {"botonGUARDAR", "botonBORRAR", "botonORDENAR", "botonRECUENTO"})
            comandos.ejecutar(clave);
        QCOMPARE(ui.errores.size(), 4);
        for (const QString& e : ui.errores)
            QCOMPARE(e, QString("No hay un archivo abierto o no hay datos."));
        // An empty table refuses the same way.
        QVERIFY(comandos.abrirDistribucion(entorno.crear("vacia.mdb", "DIS")));
        comandos.ejecutar("botonBORRAR");
        QCOMPARE(ui.errores.size(), 5);
    }

    void borrarPreguntaYVaciaLaTabla() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        QVERIFY(Documento::CrearCampo(ruta.toStdString(), "DIS", "Fi%"));
        QVERIFY(comandos.abrirDistribucion(ruta));

        ui.respuestas = {false};
        comandos.ejecutar("botonBORRAR");
        QCOMPARE(ui.preguntas.back(), QString("¿ Desea borrar los datos de la tabla ?"));
        QCOMPARE(doc.NumRegistros, 2);

        ui.respuestas = {true};
        comandos.ejecutar("botonBORRAR");
        QVERIFY2(ui.comandosFallidos.isEmpty(), qPrintable(ui.comandosFallidos.join(';')));
        QCOMPARE(doc.NumRegistros, 0);
        QCOMPARE(columna(ruta, "ni").size(), std::size_t{0});
        QCOMPARE(doc.Data1.FieldNames(), (std::vector<std::string>{"Xi", "ni", "Fi%"}));
    }

    void recuentoAgrupaValoresDiscretos() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString ruta = entorno.crear("a.mdb", "DIS",
                                           {{num(5), num(1)},
                                            {num(2), num(1)},
                                            {num(5), num(1)},
                                            {num(3), num(1)},
                                            {num(2), num(1)},
                                            {num(5), num(1)}});
        QVERIFY(comandos.abrirDistribucion(ruta));
        comandos.ejecutar("botonRECUENTO");
        QVERIFY(ui.comandosFallidos.isEmpty());
        std::map<double, double> tabla;
        for (doc.Data1.MoveFirst(); !doc.Data1.IsEOF(); doc.Data1.MoveNext())
            tabla[doc.Data1.Field("Xi").asNumber()] = doc.Data1.Field("ni").asNumber();
        QCOMPARE(tabla, (std::map<double, double>{{2, 2}, {3, 1}, {5, 3}}));
        QCOMPARE(columna(ruta, "ni").size(), std::size_t{3});
    }

    void recuentoNoTocaUnaContinua() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString ruta =
            entorno.crear("a.mdb", "CON", {{num(0), num(10), num(1)}, {num(0), num(10), num(1)}});
        QVERIFY(comandos.abrirDistribucion(ruta));
        comandos.ejecutar("botonRECUENTO");
        QVERIFY(ui.errores.isEmpty());
        QCOMPARE(columna(ruta, "ni"), (std::vector<double>{1, 1}));
    }

    void ordenarMuestraLaTablaOrdenada() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        const QString ruta =
            entorno.crear("a.mdb", "DIS", {{num(7), num(1)}, {num(2), num(1)}, {num(4), num(1)}});
        QVERIFY(comandos.abrirDistribucion(ruta));
        comandos.ejecutar("botonORDENAR");
        std::vector<double> vistos;
        for (const auto& v : doc.Data1.column("Xi"))
            vistos.push_back(v.asNumber());
        QCOMPARE(vistos, (std::vector<double>{2, 4, 7}));
    }

    void salirGuardaLasNotasAntes() {
        EntornoKalnor entorno;
        Documento doc;
        UiGuionizada ui;
        ComandosArchivo comandos(doc, entorno.rutas(), ui);
        comandos.ejecutar("botonSALIR");
        QVERIFY(ui.salio);
        QCOMPARE(ui.notasGuardadas, 1);
    }
};

QTEST_GUILESS_MAIN(ComandosArchivoTest)
#include "ComandosArchivoTest.moc"
