// The informe (statement, table with totals, the four summary reports and
// the chart) written as PDF, HTML and ODT and read back, from the library,
// from the chart tab's key and from kalnor-cli exportar.

#include "../app/EntornoKalnor.h"

#include "chart/ControladorGraficos.h"
#include "chart/PestanaGraficos.h"
#include "notes/ExportacionInforme.h"
#include "panel/ControladorCalculadora.h"
#include "panel/InformeResumen.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

class Texto : public DestinoInforme {
public:
    void insertar(const QString& t, bool) override { texto += t; }
    QString texto;
};

// Every measure line the notes' list writes for the file, as the keys show it.
QStringList lineasDeMedidas(const QString& fichero) {
    Documento doc;
    if (!doc.AbrirBase(fichero.toStdString()))
        return {};
    ControladorCalculadora calculadora(doc, QString());
    calculadora.Comenzar();
    calculadora.limpiarDisplay();
    Texto salida;
    for (int i = 0; i < 4; ++i)
        InformeResumen::cboRESUMEN_Click(calculadora, i, salida);
    QStringList lineas;
    for (const QString& l : salida.texto.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        lineas << l.simplified();
    return lineas;
}

QString leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString ejecutar(const QString& programa, const QStringList& argumentos, int* codigo = nullptr) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000))
        return {};
    if (codigo)
        *codigo = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString llano(const QString& html) {
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText().simplified();
}

void contieneTodas(const QString& texto, const QStringList& lineas, bool sinBlancos = false) {
    QVERIFY(lineas.size() > 10);
    const QRegularExpression blancos(QStringLiteral("\\s+"));
    for (QString l : lineas) {
        // pdftotext places the words of a line by their position, not their blanks.
        if (sinBlancos)
            QVERIFY2(QString(texto).remove(blancos).contains(l.remove(blancos)), qPrintable(l));
        else
            QVERIFY2(texto.contains(l), qPrintable(l));
    }
}

} // namespace

class ExportacionInformeTest : public QObject {
    Q_OBJECT
private slots:
    void elDocumentoLoTieneTodo() {
        EntornoKalnor entorno;
        for (const char* nombre : {"Estaturas.mdb", "Peso_estatura.mdb"}) {
            const QString f = entorno.ejemplo(QString::fromLatin1(nombre));
            QString error;
            const auto doc = componerInforme(f.toStdString(), QImage(), error);
            QVERIFY2(doc, qPrintable(error));
            const QString texto = doc->toPlainText().simplified();
            contieneTodas(texto, lineasDeMedidas(f));
            QVERIFY(texto.contains(QStringLiteral("Σ")));
            QVERIFY(texto.contains(QStringLiteral("Gráfico")));
        }
        Documento abierto;
        QVERIFY(abierto.AbrirBase(entorno.ejemplo("Estaturas.mdb").toStdString()));
        QString error;
        const auto doc = componerInforme(abierto.BaseActual, QImage(), error);
        const QString enunciado = llano(QString::fromStdString(abierto.Enunciado())).left(40);
        QVERIFY(doc->toPlainText().simplified().contains(enunciado));
        // The frequencies' total under "ni".
        QVERIFY(doc->toPlainText().contains(QStringLiteral("40")));
    }

    void pdfYHtmlLeidosDeNuevo() {
        EntornoKalnor entorno;
        const QString f = entorno.ejemplo("Estaturas.mdb");
        const QStringList lineas = lineasDeMedidas(f);
        const QString html = entorno.rutas().RutaDat + "informe.html";
        QCOMPARE(exportarInforme(f.toStdString(), QImage(), html), QString());
        const QString bruto = leer(html);
        QVERIFY(bruto.contains(QStringLiteral("data:image/png;base64,")));
        contieneTodas(llano(bruto), lineas);
#ifdef KALNOR_PDFTOTEXT
        const QString pdf = entorno.rutas().RutaDat + "informe.pdf";
        QCOMPARE(exportarInforme(f.toStdString(), QImage(), pdf), QString());
        contieneTodas(ejecutar(QStringLiteral(KALNOR_PDFTOTEXT), {"-layout", pdf, "-"}), lineas,
                      true);
#endif
        const QString odt = entorno.rutas().RutaDat + "informe.odt";
        QCOMPARE(exportarInforme(f.toStdString(), QImage(), odt), QString());
        QVERIFY(leer(odt).size() > 0);
    }

    void desdeLaPestanaConElGraficoMostrado() {
        EntornoKalnor entorno;
        Documento doc;
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Estaturas.mdb").toStdString()));
        PestanaGraficos pestana(doc, entorno.rutas());
        QCOMPARE(pestana.botonInforme()->objectName(), QString("botonEXPORTARINFORME"));
        pestana.resize(900, 700);
        pestana.show();
        pestana.controlador().Toolbar3_ButtonClick(QStringLiteral("botonSECTORES"));
        const QString html = entorno.rutas().RutaDat + "pestana.html";
        QVERIFY(pestana.exportarInformeA(html));
        QVERIFY(leer(html).contains(QStringLiteral("data:image/png;base64,")));
        contieneTodas(llano(leer(html)), lineasDeMedidas(entorno.ejemplo("Estaturas.mdb")));
        QVERIFY(!pestana.exportarInformeA(entorno.rutas().RutaDat + "mal.txt"));
        QVERIFY(!QFile::exists(entorno.rutas().RutaDat + "mal.txt"));
    }

    void laOrdenDeLaLineaDeOrdenes() {
        EntornoKalnor entorno;
        const QString cli = QStringLiteral(KALNOR_CLI);
        const QString f = entorno.ejemplo("Estaturas.mdb");
        const QString html = entorno.rutas().RutaDat + "cli.html";
        int codigo = -1;
        ejecutar(cli, {"exportar", f, html}, &codigo);
        QCOMPARE(codigo, 0);
        const QString texto = llano(leer(html));
        for (int i = 0; i < 4; ++i) {
            const QString informe = ejecutar(cli, {"informe", f, QString::number(i)}, &codigo);
            QCOMPARE(codigo, 0);
            for (const QString& l : informe.split('\n', Qt::SkipEmptyParts))
                QVERIFY2(texto.contains(l.simplified()), qPrintable(l));
        }
        const QString mal = entorno.rutas().RutaDat + "informe.doc";
        ejecutar(cli, {"exportar", f, mal}, &codigo);
        QCOMPARE(codigo, 2);
        QVERIFY(!QFile::exists(mal));
        const QString otro = entorno.rutas().RutaDat + "otro.pdf";
        ejecutar(cli, {"exportar", html, otro}, &codigo);
        QCOMPARE(codigo, 1);
        QVERIFY(!QFile::exists(otro));
        ejecutar(cli, {"exportar", f}, &codigo);
        QCOMPARE(codigo, 2);
    }
};

QTEST_MAIN(ExportacionInformeTest)
#include "ExportacionInformeTest.moc"
