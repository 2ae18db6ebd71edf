// The two-way table tab: what it shows, that it follows the grid, and the
// CSV it exports.
#include "../app/EntornoKalnor.h"

#include "app/VentanaPrincipal.h"
#include "table/VistaDobleEntrada.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace kalnor;
using namespace kalnor::prueba;

class VistaDobleEntradaTest : public QObject {
    Q_OBJECT

private slots:
    void muestraLaTablaYLaSigue() {
        EntornoKalnor entorno;
        const QString f = entorno.crear("a.mdb", "DISDIS",
                                        {{num(1), num(10), num(2)}, {num(2), num(10), num(3)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(f.toStdString()));
        VistaDobleEntrada vista(doc);
        vista.show();
        QTableWidget& t = vista.tabla();
        QCOMPARE(t.rowCount(), 3); // X = 1, 2 and the marginal row
        QCOMPARE(t.columnCount(), 2);
        QCOMPARE(t.item(2, 1)->text(), QString("5"));
        QCOMPARE(t.horizontalHeaderItem(1)->text(), QString("nᵢ·"));
        QVERIFY(t.item(0, 1)->font().bold());

        // A new row in the grid shows at once.
        doc.Data1.AddNew();
        doc.Data1.SetField("Xi", num(1));
        doc.Data1.SetField("Yi", num(20));
        doc.Data1.SetField("ni", num(4));
        doc.Data1.Update();
        emit doc.datosCambiados();
        QCOMPARE(t.columnCount(), 3);
        QCOMPARE(t.item(2, 2)->text(), QString("9"));

        const QString csv = entorno.rutas().RutaDat + "t.csv";
        QString motivo;
        QVERIFY2(vista.exportar(csv, motivo), qPrintable(motivo));
        QFile archivo(csv);
        QVERIFY(archivo.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(archivo.readAll()),
                 QString("X \\ Y,10,20,nᵢ·\n1,2,4,6\n2,3,0,3\nn·ⱼ,5,4,9\n"));
        QVERIFY(!vista.exportar(entorno.rutas().RutaDat + "no/existe/t.csv", motivo));
        QVERIFY(!motivo.isEmpty());
    }

    // A value per record on both sides: past what a grid can show the tab
    // says why, and past what a CSV can hold it offers no export either.
    void unValorPorRegistroNoLlenaLaPantalla() {
        EntornoKalnor entorno;
        for (const int pares : {600, 3000}) {
            std::vector<std::vector<stats::CellValue>> filas;
            for (int i = 0; i < pares; ++i)
                filas.push_back({num(i), num((i * 7) % pares), num(1)});
            const QString f = entorno.crear(QString("p%1.mdb").arg(pares), "DISDIS", filas);
            Documento doc;
            QVERIFY(doc.AbrirBase(f.toStdString()));
            VistaDobleEntrada vista(doc);
            vista.show();
            QCOMPARE(vista.tabla().rowCount(), 0);
            const QString titulo = vista.findChild<QLabel*>()->text();
            QVERIFY2(titulo.contains(QString("%1 × %1 casillas").arg(pares)), qPrintable(titulo));
            const bool exportable = pares == 600;
            QCOMPARE(titulo.contains("Exportar CSV"), exportable);
            QCOMPARE(vista.findChild<QPushButton*>()->isEnabled(), exportable);
            QString motivo;
            QCOMPARE(vista.exportar(entorno.rutas().RutaDat + "t.csv", motivo), exportable);
            QCOMPARE(motivo.contains("demasiadas"), !exportable);
        }
    }

    void laPestanaSoloConDosVariables() {
        EntornoKalnor entorno;
        VentanaPrincipal ventana(entorno.rutas());
        QTabWidget* pestanas = ventana.SSTab1();
        const int tde = pestanas->count() - 1;
        QCOMPARE(pestanas->tabText(tde), QString("TDE"));
        QVERIFY(!pestanas->isTabVisible(tde));
        Documento& doc = ventana.documento();
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Peso_estatura.mdb").toStdString()));
        QVERIFY(pestanas->isTabVisible(tde));
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Estaturas.mdb").toStdString()));
        QVERIFY(!pestanas->isTabVisible(tde));
    }
};

QTEST_MAIN(VistaDobleEntradaTest)
#include "VistaDobleEntradaTest.moc"
