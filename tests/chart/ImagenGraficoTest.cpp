// The chart tab's keys that save the chart shown as PNG or SVG and copy it
// to the clipboard, each read back.

#include "../app/EntornoKalnor.h"

#include "chart/ControladorGraficos.h"
#include "chart/ImagenGrafico.h"
#include "chart/PestanaGraficos.h"
#include "chart/VistaGrafico.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>
#include <QXmlStreamReader>

using namespace kalnor;
using namespace kalnor::prueba;

class ImagenGraficoTest : public QObject {
    Q_OBJECT
private slots:
    void formatoPorElNombre() {
        QCOMPARE(formatoImagenPorNombre("a/b.PNG"), FormatoImagen::Png);
        QCOMPARE(formatoImagenPorNombre("g.svg"), FormatoImagen::Svg);
        QVERIFY(!formatoImagenPorNombre("g.jpg"));
        QVERIFY(!formatoImagenPorNombre("grafico"));
    }

    void guardarYCopiarLasBarras() {
        EntornoKalnor entorno;
        Documento doc;
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Estaturas.mdb").toStdString()));
        PestanaGraficos pestana(doc, entorno.rutas());
        pestana.resize(900, 700);
        pestana.show();
        pestana.controlador().Toolbar3_ButtonClick(QStringLiteral("botonBARRAS"));
        QVERIFY(pestana.controlador().Graph1().dibujado());
        QCOMPARE(pestana.botonGuardar()->objectName(), QString("botonGUARDARGRAFICO"));

        const QString png = entorno.rutas().RutaDat + "barras.png";
        QVERIFY(pestana.guardarComo(png));
        QImage leida;
        QVERIFY(leida.load(png));
        QVERIFY(leida.width() >= 50 && leida.height() >= 50);
        // Not a blank sheet: the bars and axes are drawn.
        bool color = false;
        for (int y = 0; y < leida.height() && !color; y += 4)
            for (int x = 0; x < leida.width() && !color; x += 4)
                color = leida.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(color);

        const QString svg = entorno.rutas().RutaDat + "barras.svg";
        QVERIFY(pestana.guardarComo(svg));
        QSvgRenderer dibujo(svg);
        QVERIFY(dibujo.isValid());
        QFile f(svg);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        int elementos = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement)
                ++elementos;
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(elementos > 10);

        QApplication::clipboard()->clear();
        pestana.botonCopiar()->click();
        QVERIFY(!QApplication::clipboard()->image().isNull());
    }

    void unNombreSinFormatoSeDiceSinEscribir() {
        EntornoKalnor entorno;
        Documento doc;
        PestanaGraficos pestana(doc, entorno.rutas());
        QSignalSpy avisos(&pestana, &PestanaGraficos::aviso);
        const QString ruta = entorno.rutas().RutaDat + "grafico.gif";
        QVERIFY(!pestana.guardarComo(ruta));
        QCOMPARE(avisos.count(), 1);
        QVERIFY(!QFile::exists(ruta));
        QVERIFY(!pestana.guardarComo(entorno.rutas().RutaDat + "no/existe/g.png"));
        QCOMPARE(avisos.count(), 2);
    }
};

QTEST_MAIN(ImagenGraficoTest)
#include "ImagenGraficoTest.moc"
