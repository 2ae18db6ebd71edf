#include "../panel/DistribucionPrueba.h"

#include "app/Documento.h"
#include "app/Rutas.h"
#include "chart/ControlGrafico.h"
#include "chart/ControladorGraficos.h"
#include "chart/GraficoAula.h"
#include "chart/PestanaGraficos.h"
#include "chart/RenderAula.h"
#include "chart/RenderGrafico.h"
#include "chart/VistaGrafico.h"

#include <QAbstractSeries>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace kalnor {

namespace {

// A control holding `n` points of a bell-shaped frequency distribution.
std::unique_ptr<ControlGrafico> ejemplo(int tipo, int estilo, int n = 8) {
    auto g = std::make_unique<ControlGrafico>();
    g->setNumSets(1);
    g->setNumPoints(n);
    for (int i = 1; i <= n; ++i) {
        g->setThisPoint(i);
        const int centro = n / 2;
        g->setGraphData(1 + (centro - std::abs(i - centro)) * 3);
        g->setLabelText(i % 2 ? EtiquetaGrafico(i + 0.5) : EtiquetaGrafico(QStringLiteral("Pal")));
    }
    g->setGraphType(tipo);
    g->setGraphStyle(estilo);
    g->GraphTitle = QStringLiteral("Distribución Discreta");
    g->BottomTitle = QStringLiteral("Xi");
    g->LeftTitle = QStringLiteral("ni");
    g->setDrawMode(ControlGrafico::kDibujar);
    return g;
}

QImage pintar(const ControlGrafico& g) {
    return imagenGrafico(g, QSize(480, 360), QLocale(QLocale::Spanish, QLocale::Spain));
}

// Share of pixels that are not white.
double tinta(const QImage& imagen) {
    const QImage rgb = imagen.convertToFormat(QImage::Format_RGB32);
    qint64 pintados = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* fila = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            pintados += qGray(fila[x]) < 240;
    }
    return static_cast<double>(pintados) / (rgb.width() * rgb.height());
}

} // namespace

class RenderGraficoTest : public QObject {
    Q_OBJECT
private slots:
    void cadaEstiloPintaAlgoDistinto_data();
    void cadaEstiloPintaAlgoDistinto();
    void paletasDistintas();
    void muchosPuntos_data();
    void muchosPuntos();
    void borradoQuedaEnBlanco();
    void etiquetasSegunElIdioma();
    void pestana();
    void cadaGraficoDeAulaPintaAlgoDistinto();
};

void RenderGraficoTest::cadaEstiloPintaAlgoDistinto_data() {
    QTest::addColumn<int>("tipo");
    QTest::newRow("barras") << int(ControlGrafico::kBarras);
    QTest::newRow("sectores") << int(ControlGrafico::kSectores);
    QTest::newRow("lineas") << int(ControlGrafico::kLineas);
}

void RenderGraficoTest::cadaEstiloPintaAlgoDistinto() {
    QFETCH(int, tipo);
    QList<QImage> imagenes;
    for (int estilo = 0; estilo < 4; ++estilo) {
        const QImage imagen = pintar(*ejemplo(tipo, estilo));
        QVERIFY2(tinta(imagen) > 0.02,
                 qPrintable(QStringLiteral("estilo %1 en blanco").arg(estilo)));
        for (const QImage& otra : imagenes)
            QVERIFY2(otra != imagen, qPrintable(QStringLiteral("estilo %1 repetido").arg(estilo)));
        imagenes << imagen;
    }
}

void RenderGraficoTest::paletasDistintas() {
    auto g = ejemplo(ControlGrafico::kSectores, 0);
    QList<QImage> imagenes;
    for (int paleta = 0; paleta < 3; ++paleta) {
        g->setPalette(paleta);
        imagenes << pintar(*g);
    }
    QVERIFY(imagenes[0] != imagenes[1]);
    QVERIFY(imagenes[1] != imagenes[2]);
    // The grey palette has no colour at all.
    const QImage gris = imagenes[2].convertToFormat(QImage::Format_RGB32);
    int coloreados = 0;
    for (int y = 0; y < gris.height(); y += 3)
        for (int x = 0; x < gris.width(); x += 3) {
            const QColor c = gris.pixelColor(x, y);
            coloreados += std::abs(c.red() - c.blue()) > 24 || std::abs(c.red() - c.green()) > 24;
        }
    QCOMPARE(coloreados, 0);
}

void RenderGraficoTest::muchosPuntos_data() {
    cadaEstiloPintaAlgoDistinto_data();
}

void RenderGraficoTest::muchosPuntos() {
    QFETCH(int, tipo);
    for (int estilo = 0; estilo < 4; ++estilo)
        QVERIFY(tinta(pintar(*ejemplo(tipo, estilo, ControlGrafico::kMaxPuntos))) > 0.02);
}

void RenderGraficoTest::borradoQuedaEnBlanco() {
    auto g = ejemplo(ControlGrafico::kBarras, 0);
    g->setDrawMode(ControlGrafico::kBorrar);
    QCOMPARE(tinta(pintar(*g)), 0.0);
}

void RenderGraficoTest::etiquetasSegunElIdioma() {
    auto g = ejemplo(ControlGrafico::kBarras, 0);
    QCOMPARE(textoEtiqueta(*g, 1, QLocale(QLocale::Spanish, QLocale::Spain)),
             QStringLiteral("1,5"));
    QCOMPARE(textoEtiqueta(*g, 1, QLocale(QLocale::English, QLocale::UnitedStates)),
             QStringLiteral("1.5"));
    QCOMPARE(textoEtiqueta(*g, 2, QLocale::c()), QStringLiteral("Pal"));
    const auto chart = construirGrafico(*g, QLocale(QLocale::Spanish, QLocale::Spain));
    QVERIFY(chart->localizeNumbers());
    QCOMPARE(chart->title(), QStringLiteral("Distribución Discreta"));
}

void RenderGraficoTest::cadaGraficoDeAulaPintaAlgoDistinto() {
    testing::DistribucionesPrueba archivos("graficos_aula");
    Documento uni, bi;
    QVERIFY(uni.AbrirBase(
        archivos.crear("c.mdb", "CON", "LiX,LsX,ni\n0,10,3\n10,20,7\n20,40,6\n40,50,2\n")));
    QVERIFY(bi.AbrirBase(archivos.crear("b.mdb", "DISDIS", "Xi,Yi,ni\n1,2,3\n2,3,1\n4,4,2\n")));
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    QList<QImage> imagenes;
    for (const TipoAula tipo :
         {TipoAula::Histograma, TipoAula::Poligono, TipoAula::HistogramaPoligono, TipoAula::Ojiva,
          TipoAula::Caja, TipoAula::Nube, TipoAula::Lorenz}) {
        Documento& doc = tipo == TipoAula::Nube ? bi : uni;
        const auto g = construirAula(doc, tipo, opcionesAula(tipo, 0));
        QVERIFY2(g, doc.error.MensajeError.c_str());
        const QImage imagen = imagenAula(*g, QSize(480, 360), es);
        QVERIFY2(tinta(imagen) > 0.02, qPrintable(nombreAula(tipo)));
        for (const QImage& otra : imagenes)
            QVERIFY2(otra != imagen, qPrintable(nombreAula(tipo)));
        imagenes << imagen;
        // Each style of those that have some draws differently.
        const QStringList estilos = estilosAula(tipo);
        for (int e = 1; e < estilos.size(); ++e) {
            const auto otro = construirAula(doc, tipo, opcionesAula(tipo, e));
            QVERIFY(otro);
            QVERIFY2(imagenAula(*otro, QSize(480, 360), es) != imagen, qPrintable(estilos[e]));
        }
    }
    // Numbers in the legend follow the locale.
    const auto caja = construirAula(uni, TipoAula::Caja, {});
    const auto chart = construirGraficoAula(*caja, es);
    QStringList nombres;
    for (QAbstractSeries* s : chart->series())
        nombres << s->name();
    QVERIFY2(nombres.join('|').contains(","), qPrintable(nombres.join('|')));
}

void RenderGraficoTest::pestana() {
    testing::DistribucionesPrueba archivos("pestana_graficos");
    Documento doc;
    QVERIFY(doc.AbrirBase(archivos.crear("d.mdb", "DIS", "Xi,ni\n1,2\n2,5\n3,1\n")));
    Rutas rutas;
    rutas.RutaDat = QString::fromStdString(archivos.dir().string()) + '/';
    PestanaGraficos pestana(doc, rutas);
    pestana.resize(700, 500);

    const QStringList esperados{" Barras ", " Sectores ", " Lineas ", " Calculadora Genérica "};
    QStringList textos;
    for (QAction* a : pestana.Toolbar3()->actions())
        if (!a->isSeparator())
            textos << a->text();
    QCOMPARE(textos.mid(0, 4), esperados);
    // The classroom charts follow, each with its picture and tip.
    QCOMPARE(textos.size(), 4 + int(ControladorGraficos::botonesAula().size()));
    for (const BotonAula& b : ControladorGraficos::botonesAula()) {
        auto* a = pestana.Toolbar3()->findChild<QAction*>(QString::fromLatin1(b.clave));
        QVERIFY(a);
        QVERIFY(!a->icon().isNull());
        QCOMPARE(a->toolTip(), QString::fromUtf8(b.consejo));
    }
    QCOMPARE(pestana.lista(0)->objectName(), QStringLiteral("cboESTILO"));
    QCOMPARE(pestana.lista(1)->toolTip(), QStringLiteral(" Paleta "));
    QCOMPARE(pestana.lista(2)->toolTip(), QStringLiteral(" Estilo "));
    QStringList etiquetas;
    for (QLabel* l : pestana.findChildren<QLabel*>())
        etiquetas << l->text();
    QVERIFY(etiquetas.contains("Estilo :") && etiquetas.contains("Paleta :") &&
            etiquetas.contains("Rejilla :"));
    QCOMPARE(pestana.lista(1)->count(), 0);

    pestana.Toolbar3()->actions()[0]->trigger();
    QCOMPARE(pestana.lista(0)->count(), 4);
    QCOMPARE(pestana.lista(0)->currentIndex(), -1);
    QCOMPARE(pestana.lista(1)->itemText(2), QStringLiteral("Grises"));
    QVERIFY(!pestana.grafico().chart()->series().isEmpty());

    pestana.lista(0)->activated(1);
    QCOMPARE(pestana.controlador().Graph1().GraphStyle(), 1);
    QCOMPARE(pestana.lista(0)->currentIndex(), 1);

    pestana.Toolbar3()->findChild<QAction*>("botonPOLIGONO")->trigger();
    QVERIFY(pestana.controlador().aula());
    QVERIFY(pestana.grafico().chart()->title().startsWith("Polígono de frecuencias"));
    QCOMPARE(pestana.lista(0)->count(), 0);

    pestana.show();
    QTest::mouseClick(pestana.grafico().viewport(), Qt::LeftButton);
    QVERIFY(QFileInfo::exists(QString::fromStdString((archivos.dir() / "grafico.png").string())));
    QImage escrita(QString::fromStdString((archivos.dir() / "grafico.png").string()));
    QVERIFY(!escrita.isNull());
    QVERIFY(tinta(escrita) > 0.02);
}

} // namespace kalnor

QTEST_MAIN(kalnor::RenderGraficoTest)
#include "RenderGraficoTest.moc"
