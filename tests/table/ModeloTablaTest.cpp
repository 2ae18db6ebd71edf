// The table model over the open distribution: what the grid shows and how
// edits, pastes and deletions reach the file.

#include "../app/EntornoKalnor.h"

#include "table/FormatoCelda.h"
#include "table/ModeloTabla.h"

#include <QSignalSpy>
#include <QTest>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

std::vector<stats::CellValue> columnaEnArchivo(const QString& ruta, const char* campo) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    return doc.Data1.column(campo);
}

} // namespace

class ModeloTablaTest : public QObject {
    Q_OBJECT

private slots:
    void formatosDeLasColumnas() {
        const QLocale c = QLocale::c();
        QCOMPARE(formatoDecimal(2.5, c), QString("2.5"));
        QCOMPARE(formatoDecimal(3, c), QString("3.0"));
        QCOMPARE(formatoDecimal(1.23456, c), QString("1.235"));
        QCOMPARE(formatoDecimal(1234567.25, c), QString("1234567.25"));
        QCOMPARE(formatoDecimal(-0.5, c), QString("-0.5"));
        QCOMPARE(formatoEntero(12, c), QString("12"));
        const QLocale es(QLocale::Spanish, QLocale::Spain);
        QCOMPARE(formatoDecimal(2.5, es), QString("2,5"));
        QCOMPARE(formatoDecimal(1500, es), QString("1500,0"));
        QCOMPARE(textoCelda(stats::CellValue::text("Azul"), "Xi", c), QString("Azul"));
        QCOMPARE(textoCelda(stats::CellValue::number(7), "ni", c), QString("7"));
        QCOMPARE(textoCelda(stats::CellValue::number(7), "Xi", c), QString("7.0"));
        QCOMPARE(textoCelda(stats::CellValue::null(), "Xi", c), QString());
        QCOMPARE(anchoColumnaTwips("ni"), 1000);
        QCOMPARE(anchoColumnaTwips("Fi%"), 1300);
        QCOMPARE(twipsAPixeles(1440, 96), 96);
    }

    void entradaSegunLaColumna() {
        QVERIFY(convertirEntrada("2,5", TipoCampo::Numero) == stats::CellValue::number(2.5));
        QVERIFY(convertirEntrada(" 2.5 ", TipoCampo::Numero) == stats::CellValue::number(2.5));
        QVERIFY(convertirEntrada("7", TipoCampo::Natural) == stats::CellValue::number(7));
        QVERIFY(convertirEntrada("", TipoCampo::Natural) == stats::CellValue::null());
        QVERIFY(convertirEntrada("Rojo", TipoCampo::Palabra) == stats::CellValue::text("Rojo"));
        QVERIFY(!convertirEntrada("siete", TipoCampo::Natural));
        QVERIFY(!convertirEntrada("2,5", TipoCampo::Natural));
        QVERIFY(!convertirEntrada("-1", TipoCampo::Natural));
        // A count is a plain whole number: "1.000" is no surer a thousand than a one.
        QVERIFY(!convertirEntrada("1.000", TipoCampo::Natural));
        QVERIFY(!convertirEntrada("3.0", TipoCampo::Natural));
        QVERIFY(!convertirEntrada("+3", TipoCampo::Natural));
        QVERIFY(convertirEntrada(" 1000 ", TipoCampo::Natural) == stats::CellValue::number(1000));
        QVERIFY(!convertirEntrada("abc", TipoCampo::Numero));
        const stats::KindInfo* catdis = stats::kindByCode("CATDIS");
        QCOMPARE(tipoDeCampo(catdis, "Xi"), TipoCampo::Palabra);
        QCOMPARE(tipoDeCampo(catdis, "Yi"), TipoCampo::Numero);
        QCOMPARE(tipoDeCampo(catdis, "ni"), TipoCampo::Natural);
        QCOMPARE(tipoDeCampo(catdis, "x¡·n¡"), TipoCampo::Numero);
    }

    void muestraLasFilasDeUnEjemplo() {
        EntornoKalnor entorno;
        Documento doc;
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Notas_examen.mdb").toStdString()));
        ModeloTabla modelo(doc);
        modelo.setLocale(QLocale::c());
        QCOMPARE(modelo.registros(), doc.NumRegistros);
        QCOMPARE(modelo.rowCount(), doc.NumRegistros + 1); // the row for a new record
        QCOMPARE(modelo.columnCount(), 2);
        QCOMPARE(modelo.headerData(0, Qt::Horizontal).toString(), QString("Xi"));
        QCOMPARE(modelo.headerData(1, Qt::Horizontal).toString(), QString("ni"));
        QCOMPARE(modelo.headerData(modelo.registros(), Qt::Vertical).toString(), QString("*"));
        QCOMPARE(modelo.data(modelo.index(0, 0)).toString(), QString("1.0"));
        QCOMPARE(modelo.data(modelo.index(0, 1)).toString(), QString("1"));
        QVERIFY(modelo.data(modelo.index(modelo.registros(), 0)).toString().isEmpty());
    }

    void sigueAlDocumentoAlCerrarYReabrir() {
        EntornoKalnor entorno;
        Documento doc;
        ModeloTabla modelo(doc);
        QCOMPARE(modelo.rowCount(), 0);
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Notas_examen.mdb").toStdString()));
        QVERIFY(modelo.rowCount() > 1);
        doc.CerrarBase();
        QCOMPARE(modelo.rowCount(), 0);
    }

    void editarUnaCeldaLaEscribeEnElArchivo() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}, {num(3), num(4)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QSignalSpy escritas(&modelo, &ModeloTabla::celdaEscrita);
        QVERIFY(modelo.setData(modelo.index(1, 1), "9"));
        QVERIFY(modelo.setData(modelo.index(0, 0), "1,5"));
        QCOMPARE(escritas.size(), 2);
        doc.CerrarBase();
        QCOMPARE(columnaEnArchivo(ruta, "ni"), (std::vector{num(2), num(9)}));
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), (std::vector{num(1.5), num(3)}));
    }

    void escribirEnLaFilaVaciaAnadeUnRegistro() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "CAT", {{txt("Rojo"), num(2)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QVERIFY(!modelo.setData(modelo.index(1, 0), "  ")); // nothing typed: no record
        QCOMPARE(modelo.registros(), 1);
        QVERIFY(modelo.setData(modelo.index(1, 0), "Verde"));
        QCOMPARE(modelo.registros(), 2);
        QCOMPARE(modelo.rowCount(), 3);
        QCOMPARE(doc.NumRegistros, 2);
        QVERIFY(modelo.setData(modelo.index(1, 1), "5"));
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), (std::vector{txt("Rojo"), txt("Verde")}));
        QCOMPARE(columnaEnArchivo(ruta, "ni"), (std::vector{num(2), num(5)}));
    }

    void unDatoDeOtroTipoNoSeEscribe_data() {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("texto");
        QTest::newRow("palabra en ni") << 1 << "muchos";
        QTest::newRow("fraccion en ni") << 1 << "2,5";
        QTest::newRow("negativo en ni") << 1 << "-3";
        QTest::newRow("palabra en Xi") << 0 << "alto";
    }
    void unDatoDeOtroTipoNoSeEscribe() {
        QFETCH(int, columna);
        QFETCH(QString, texto);
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QSignalSpy rechazos(&modelo, &ModeloTabla::datoRechazado);
        QVERIFY(!modelo.setData(modelo.index(0, columna), texto));
        QVERIFY(!modelo.setData(modelo.index(1, columna), texto)); // nor as a new record
        QCOMPARE(rechazos.size(), 2);
        QCOMPARE(modelo.registros(), 1);
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), std::vector{num(1)});
        QCOMPARE(columnaEnArchivo(ruta, "ni"), std::vector{num(2)});
    }

    void pegarUnBloqueAnadeFilas() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QString motivo;
        // Over the last record and on into new ones; both decimal marks.
        QVERIFY2(modelo.pegar(0, 0, "1,5\t3\r\n2.25\t4\r\n7\t1\r\n", &motivo), qPrintable(motivo));
        QCOMPARE(modelo.registros(), 3);
        QCOMPARE(doc.NumRegistros, 3);
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), (std::vector{num(1.5), num(2.25), num(7)}));
        QCOMPARE(columnaEnArchivo(ruta, "ni"), (std::vector{num(3), num(4), num(1)}));
        // A single column pasted into "ni" from the second row.
        QVERIFY(modelo.pegar(1, 1, "8\n9\n", &motivo));
        QCOMPARE(columnaEnArchivo(ruta, "ni"), (std::vector{num(3), num(8), num(9)}));
    }

    void unBloqueConUnaCeldaMalaNoEscribeNada() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS", {{num(1), num(2)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QString motivo;
        QVERIFY(!modelo.pegar(0, 0, "5\t1\n6\tdos\n", &motivo));
        QVERIFY(motivo.contains("Línea 2"));
        QVERIFY(!modelo.pegar(0, 0, "5\t1\t3\n", &motivo)); // one column too many
        // A cell of a megabyte is quoted in a few dozen characters.
        QVERIFY(!modelo.pegar(0, 0, "5\t" + QString(1 << 20, '7') + "x\n", &motivo));
        QVERIFY2(motivo.size() < 300 && motivo.contains("7777…»"), qPrintable(motivo.left(300)));
        QCOMPARE(modelo.registros(), 1);
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), std::vector{num(1)});
        QCOMPARE(columnaEnArchivo(ruta, "ni"), std::vector{num(2)});
    }

    void copiarDaTextoTabulado() {
        EntornoKalnor entorno;
        const QString ruta =
            entorno.crear("a.mdb", "CAT", {{txt("Rojo"), num(2)}, {txt("Azul"), num(5)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        modelo.setLocale(QLocale::c());
        const QModelIndexList todo{modelo.index(0, 0), modelo.index(1, 1)};
        QCOMPARE(modelo.textoDe(todo), QString("Rojo\t2\nAzul\t5\n"));
        QCOMPARE(modelo.textoDe({modelo.index(1, 1)}), QString("5\n"));
    }

    void eliminarFilasLasQuitaDelArchivo() {
        EntornoKalnor entorno;
        const QString ruta =
            entorno.crear("a.mdb", "DIS", {{num(1), num(1)}, {num(2), num(2)}, {num(3), num(3)}});
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        QVERIFY(modelo.eliminarFilas({0, 2}));
        QCOMPARE(modelo.registros(), 1);
        QCOMPARE(doc.NumRegistros, 1);
        QCOMPARE(columnaEnArchivo(ruta, "Xi"), std::vector{num(2)});
    }

    void trasEliminarYAnadirCadaFilaMuestraSuRegistro() {
        EntornoKalnor entorno;
        std::vector<std::vector<stats::CellValue>> filas;
        for (int i = 1; i <= 6; ++i)
            filas.push_back({num(i), num(1)});
        const QString ruta = entorno.crear("a.mdb", "DIS", filas);
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        ModeloTabla modelo(doc);
        modelo.setLocale(QLocale::c());
        const auto columnaX = [&modelo] {
            QStringList x;
            for (int fila = 0; fila < modelo.registros(); ++fila)
                x.append(modelo.data(modelo.index(fila, 0)).toString());
            return x;
        };
        QVERIFY(modelo.eliminarFilas({1, 4}));
        QCOMPARE(columnaX(), (QStringList{"1.0", "3.0", "4.0", "6.0"}));
        // Read out of order, as a grid scrolled up and down does.
        QCOMPARE(modelo.data(modelo.index(3, 0)).toString(), QString("6.0"));
        QCOMPARE(modelo.data(modelo.index(0, 0)).toString(), QString("1.0"));
        QVERIFY(modelo.setData(modelo.index(modelo.registros(), 0), "9"));
        QVERIFY(modelo.eliminarFilas({0}));
        QCOMPARE(columnaX(), (QStringList{"3.0", "4.0", "6.0", "9.0"}));
        QCOMPARE(modelo.headerData(3, Qt::Vertical).toInt(), 4);
    }
};

QTEST_GUILESS_MAIN(ModeloTablaTest)
#include "ModeloTablaTest.moc"
