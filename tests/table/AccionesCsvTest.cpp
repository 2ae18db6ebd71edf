// "Importar CSV" and "Exportar CSV" of the DAT tab through their keys and
// dialogs: the table written and read back under both conventions, the
// preview before writing, and a bad file refused with nothing written.

#include "../DialogosPrueba.h"
#include "../app/EntornoKalnor.h"

#include "app/Documento.h"
#include "table/AccionesCsv.h"
#include "table/DialogoMuestraCsv.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

struct Visto {
    int filasMostradas = -1;
    QStringList cabecera;
    QString resumen;
    QString mensaje;
};

// Answers the preview (accepting or not) and then the message that follows.
std::shared_ptr<Visto> responderMuestra(bool aceptar) {
    auto visto = std::make_shared<Visto>();
    alAparecer([visto, aceptar](QWidget* w) {
        auto* muestra = qobject_cast<DialogoMuestraCsv*>(w);
        if (!muestra)
            return;
        visto->filasMostradas = muestra->rejilla()->rowCount();
        for (int c = 0; c < muestra->rejilla()->columnCount(); ++c)
            visto->cabecera << muestra->rejilla()->horizontalHeaderItem(c)->text();
        visto->resumen = muestra->resumen()->text();
        if (!aceptar) {
            muestra->reject();
            return;
        }
        alAparecer([visto](QWidget* m) {
            if (auto* caja = qobject_cast<QMessageBox*>(m)) {
                visto->mensaje = caja->text();
                caja->accept();
            }
        });
        muestra->accept();
    });
    return visto;
}

// The keys with the file dialogs answered by the test.
class AccionesDePrueba : public AccionesCsv {
public:
    using AccionesCsv::AccionesCsv;
    QString abrir;
    QString guardar;
    FormatoCsv formato = FormatoCsv::PuntoYComa;

private:
    std::optional<QString> elegirCsvAbrir() override { return abrir; }
    std::optional<std::pair<QString, FormatoCsv>> elegirCsvGuardar() override {
        return std::pair(guardar, formato);
    }
};

QString escribir(const QString& ruta, const QByteArray& texto) {
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
    f.write(texto);
    return ruta;
}

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

std::vector<stats::CellValue> columna(const QString& ruta, const char* campo) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    return doc.Data1.column(campo);
}

// A distribution with derived columns filled with awkward values.
QString conColumnas(const EntornoKalnor& entorno, const QString& nombre, const char* codigo,
                    const std::vector<std::string>& derivadas,
                    const std::vector<std::vector<stats::CellValue>>& filas) {
    const QString ruta = entorno.crear(nombre, codigo);
    for (const std::string& d : derivadas)
        Documento::CrearCampo(ruta.toStdString(), codigo, d);
    if (!filas.empty()) {
        Documento doc;
        doc.AbrirBase(ruta.toStdString());
        for (const auto& fila : filas) {
            doc.Data1.AddNew();
            for (std::size_t i = 0; i < fila.size(); ++i)
                doc.Data1.SetField(static_cast<int>(i), fila[i]);
            doc.Data1.Update();
        }
    }
    return ruta;
}

} // namespace

class AccionesCsvTest : public QObject {
    Q_OBJECT
private slots:
    void idaYVueltaConLasDosConvenciones_data() {
        QTest::addColumn<int>("formato");
        QTest::addColumn<QByteArray>("cabecera");
        QTest::addColumn<QByteArray>("primeraFila");
        QTest::newRow("; y coma decimal")
            << int(FormatoCsv::PuntoYComa) << QByteArray("LiX;LsX;ni;Xc¡;f¡")
            << QByteArray("0,1;1,5;3;0,8;0,1");
        QTest::newRow(", y punto decimal")
            << int(FormatoCsv::Coma) << QByteArray("LiX,LsX,ni,Xc¡,f¡")
            << QByteArray("0.1,1.5,3,0.8,0.1");
    }

    void idaYVueltaConLasDosConvenciones() {
        QFETCH(int, formato);
        QFETCH(QByteArray, cabecera);
        QFETCH(QByteArray, primeraFila);
        EntornoKalnor entorno;
        const std::vector<std::string> derivadas{"Xc¡", "f¡"};
        const QString origen = conColumnas(entorno, "origen.mdb", "CON", derivadas,
                                           {{num(0.1), num(1.5), num(3), num(0.8), num(0.1)},
                                            {num(1.5), num(2.25), num(7), num(1.875), num(1.0 / 3)},
                                            {num(-1e-7), num(1e21), num(0), num(5e20), {}}});
        const QString csv = entorno.rutas().RutaDat + "tabla.csv";
        {
            Documento doc;
            QVERIFY(doc.AbrirBase(origen.toStdString()));
            AccionesDePrueba acciones(doc);
            acciones.guardar = csv;
            acciones.formato = static_cast<FormatoCsv>(formato);
            acciones.botonExportar()->click();
        }
        const QList<QByteArray> lineas = leer(csv).split('\n');
        QCOMPARE(lineas.size(), 5); // header, three rows and the final line break
        QCOMPARE(lineas[0], cabecera);
        QCOMPARE(lineas[1], primeraFila);

        const QString destino = conColumnas(entorno, "destino.mdb", "CON", derivadas, {});
        Documento doc;
        QVERIFY(doc.AbrirBase(destino.toStdString()));
        AccionesDePrueba acciones(doc);
        acciones.abrir = csv;
        const auto visto = responderMuestra(true);
        acciones.botonImportar()->click();
        QCOMPARE(visto->filasMostradas, 3);
        QCOMPARE(visto->cabecera, (QStringList{"LiX", "LsX", "ni", "Xc¡", "f¡"}));
        QCOMPARE(visto->mensaje, QString("Cargadas 3 filas en CON"));
        QCOMPARE(doc.ContarRegistros(), 3);
        doc.CerrarBase();
        for (const char* campo : {"LiX", "LsX", "ni", "Xc¡", "f¡"})
            QVERIFY2(columna(destino, campo) == columna(origen, campo), campo);
    }

    void textosConSeparadoresVuelvenIguales() {
        EntornoKalnor entorno;
        const QString origen = entorno.crear(
            "a.mdb", "CAT", {{txt("Rojo; vivo"), num(2)}, {txt("Azul, \"marino\""), num(5)}});
        for (const FormatoCsv formato : {FormatoCsv::PuntoYComa, FormatoCsv::Coma}) {
            const QString csv = entorno.rutas().RutaDat + "cat.csv";
            {
                Documento doc;
                QVERIFY(doc.AbrirBase(origen.toStdString()));
                AccionesDePrueba acciones(doc);
                QVERIFY(acciones.exportarA(csv, formato));
            }
            const QString destino =
                entorno.crear(formato == FormatoCsv::Coma ? "coma.mdb" : "puntoycoma.mdb", "CAT");
            Documento doc;
            QVERIFY(doc.AbrirBase(destino.toStdString()));
            AccionesDePrueba acciones(doc);
            responderMuestra(true);
            QVERIFY(acciones.importarDesde(csv));
            doc.CerrarBase();
            QVERIFY(columna(destino, "Xi") == columna(origen, "Xi"));
            QVERIFY(columna(destino, "ni") == columna(origen, "ni"));
        }
    }

    void laMuestraEnsenaLasPrimerasFilasYCancelarNoEscribe() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}});
        QByteArray texto = "Xi;ni\n";
        for (int i = 0; i < 25; ++i)
            texto += QByteArray::number(i) + ",5;1\n";
        const QString csv = escribir(entorno.rutas().RutaDat + "largo.csv", texto);
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        AccionesDePrueba acciones(doc);
        acciones.abrir = csv;
        const auto visto = responderMuestra(false);
        acciones.botonImportar()->click();
        QCOMPARE(visto->filasMostradas, int(DialogoMuestraCsv::kFilasMostradas));
        QVERIFY2(visto->resumen.contains("25 filas (punto y coma y coma decimal)"),
                 qPrintable(visto->resumen));
        QCOMPARE(doc.ContarRegistros(), 1);
    }

    // The same message as kalnor-cli cargar, and the file as it was.
    void unCsvMaloSeRechazaSinEscribirNada() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        const QString csv =
            escribir(entorno.rutas().RutaDat + "malo.csv", "Xi;ni\n1,5;2\n2,5;dos\n4;1\n");
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        AccionesDePrueba acciones(doc);
        acciones.abrir = csv;
        const auto visto = responderMuestra(true);
        acciones.botonImportar()->click();
        QCOMPARE(visto->mensaje,
                 csv + ": Línea 3: «dos» no es un número (campo «ni»); no se ha escrito nada");
        QCOMPARE(doc.ContarRegistros(), 2);
        QVERIFY(doc.Data1.isOpen());
        doc.CerrarBase();
        QVERIFY(columna(ruta, "Xi") == (std::vector{num(1), num(3)}));
    }

    void sinDistribucionAbiertaNoHayDialogo() {
        Documento doc;
        AccionesDePrueba acciones(doc);
        QString texto;
        alAparecer([&texto](QWidget* w) {
            if (auto* caja = qobject_cast<QMessageBox*>(w)) {
                texto = caja->text();
                caja->accept();
            }
        });
        acciones.botonExportar()->click();
        QCOMPARE(texto, QString("No hay un archivo abierto."));
    }
};

QTEST_MAIN(AccionesCsvTest)
#include "AccionesCsvTest.moc"
