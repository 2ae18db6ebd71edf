// The statement and notes exported to PDF, HTML and ODT and printed, each
// read back: PDF pages and text with poppler's tools, HTML parsed again,
// ODT's content.xml taken out of the package.

#include "../app/EntornoKalnor.h"

#include "notes/AccionesNotas.h"
#include "notes/EditorNotas.h"
#include "notes/ExportacionNotas.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

const QString kEnunciado = QStringLiteral("Se midieron las estaturas de cuarenta alumnos.");
const QString kMedia = QStringLiteral("Media aritmética.....  162,5");

// The notes as the tab holds them: the statement, a bold report title and
// its lines, and what the student typed.
void llenar(QTextDocument& d, int lineasDeMas = 0) {
    QTextCursor c(&d);
    c.insertText(kEnunciado + "\n\n");
    QTextCharFormat negrita;
    negrita.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("MEDIDAS DE TENDENCIA CENTRAL"), negrita);
    c.insertText("\n" + kMedia + "\n", QTextCharFormat());
    c.insertText(QStringLiteral("Conclusión: la mayoría mide entre 155 y 170 cm."));
    for (int i = 0; i < lineasDeMas; ++i)
        c.insertText(QStringLiteral("\nLínea de trabajo %1").arg(i + 1));
}

#if defined(KALNOR_PDFINFO) || defined(KALNOR_UNZIP)
QString ejecutar(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

#endif

#ifdef KALNOR_PDFINFO
int paginasPdf(const QString& ruta) {
    const QString info = ejecutar(QStringLiteral(KALNOR_PDFINFO), {ruta});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString tamanoPdf(const QString& ruta) {
    const QString info = ejecutar(QStringLiteral(KALNOR_PDFINFO), {ruta});
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+(.*)")).match(info);
    return m.captured(1);
}

// The text of the pages, blanks collapsed (pdftotext's layout does not keep them).
QString textoPdf(const QString& ruta) {
    return ejecutar(QStringLiteral(KALNOR_PDFTOTEXT), {ruta, QStringLiteral("-")}).simplified();
}

#endif

// The printer dialog answered with a PDF file as the printer.
class AccionesDePrueba : public AccionesNotas {
public:
    using AccionesNotas::AccionesNotas;
    QString salida;
    QPageSize papel;

private:
    bool elegirImpresora(QPrinter& impresora) override {
        papel = impresora.pageLayout().pageSize();
        impresora.setOutputFormat(QPrinter::PdfFormat);
        impresora.setOutputFileName(salida);
        return true;
    }
};

} // namespace

class ExportacionNotasTest : public QObject {
    Q_OBJECT
private slots:
    void formatoPorElNombre() {
        QCOMPARE(formatoPorNombre("a/b.PDF"), FormatoNotas::Pdf);
        QCOMPARE(formatoPorNombre("notas.html"), FormatoNotas::Html);
        QCOMPARE(formatoPorNombre("notas.htm"), FormatoNotas::Html);
        QCOMPARE(formatoPorNombre("notas.odt"), FormatoNotas::Odt);
        QVERIFY(!formatoPorNombre("notas.doc"));
        QVERIFY(!formatoPorNombre("notas"));
    }

    void papelDelPais() {
        QCOMPARE(paginaDelLugar(QLocale(QLocale::Spanish, QLocale::Spain)).id(), QPageSize::A4);
        QCOMPARE(paginaDelLugar(QLocale(QLocale::French, QLocale::France)).id(), QPageSize::A4);
        QCOMPARE(paginaDelLugar(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
                 QPageSize::Letter);
        QCOMPARE(paginaDelLugar(QLocale(QLocale::Spanish, QLocale::Mexico)).id(),
                 QPageSize::Letter);
    }

    void pdfConSusPaginasYSuTexto() {
#ifndef KALNOR_PDFINFO
        QSKIP("sin pdfinfo ni pdftotext (poppler-utils)");
#else
        EntornoKalnor entorno;
        QTextDocument corto;
        llenar(corto);
        const QString uno = entorno.rutas().RutaDat + "corto.pdf";
        QCOMPARE(exportarNotas(corto, "Estaturas", uno, FormatoNotas::Pdf), QString());
        QCOMPARE(paginasPdf(uno), 1);
        QVERIFY2(tamanoPdf(uno).contains("A4"), qPrintable(tamanoPdf(uno)));
        const QString texto = textoPdf(uno);
        QVERIFY2(texto.contains(kEnunciado), qPrintable(texto));
        QVERIFY(texto.contains("MEDIDAS DE TENDENCIA CENTRAL"));
        QVERIFY2(texto.contains(kMedia.simplified()), qPrintable(texto));

        QTextDocument largo;
        llenar(largo, 150);
        const QString varias = entorno.rutas().RutaDat + "largo.pdf";
        QCOMPARE(exportarNotas(largo, "Estaturas", varias, FormatoNotas::Pdf), QString());
        QVERIFY(paginasPdf(varias) >= 3);
        QVERIFY(textoPdf(varias).contains("Línea de trabajo 150"));
#endif
    }

    void htmlQueSeLeeIgual() {
        EntornoKalnor entorno;
        QTextDocument notas;
        llenar(notas);
        const QString ruta = entorno.rutas().RutaDat + "notas.html";
        QCOMPARE(exportarNotas(notas, "Estaturas", ruta, FormatoNotas::Html), QString());
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains("<title>Estaturas</title>"));
        QTextDocument leido;
        leido.setHtml(html);
        QCOMPARE(leido.toPlainText(), notas.toPlainText());
        QVERIFY(html.contains("font-weight:700") || html.contains("font-weight:600"));
    }

    void odtConSuTexto() {
#ifndef KALNOR_UNZIP
        QSKIP("sin unzip");
#else
        EntornoKalnor entorno;
        QTextDocument notas;
        llenar(notas);
        const QString ruta = entorno.rutas().RutaDat + "notas.odt";
        QCOMPARE(exportarNotas(notas, "Estaturas", ruta, FormatoNotas::Odt), QString());
        QCOMPARE(ejecutar(KALNOR_UNZIP, {"-p", ruta, "mimetype"}),
                 QString("application/vnd.oasis.opendocument.text"));
        const QString xml = ejecutar(KALNOR_UNZIP, {"-p", ruta, "content.xml"});
        QVERIFY2(xml.contains(kEnunciado), qPrintable(xml.left(400)));
        QVERIFY(xml.contains(kMedia.toHtmlEscaped()) || xml.contains("Media aritmética"));
#endif
    }

    // From the tab's key: the notes the editor holds, on the country's paper.
    void imprimirDesdeLaPestana() {
#ifndef KALNOR_PDFINFO
        QSKIP("sin pdfinfo ni pdftotext (poppler-utils)");
#else
        EntornoKalnor entorno;
        Documento doc;
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Estaturas.mdb").toStdString()));
        EditorNotas editor(doc);
        llenar(*editor.caja()->document());
        AccionesDePrueba acciones(*editor.caja()->document(), doc);
        acciones.salida = entorno.rutas().RutaDat + "impreso.pdf";
        acciones.botonImprimir()->click();
        QCOMPARE(acciones.papel.id(), paginaDelLugar(QLocale()).id());
        QCOMPARE(paginasPdf(acciones.salida), 1);
        QVERIFY(textoPdf(acciones.salida).contains(kMedia.simplified()));
        QCOMPARE(acciones.titulo(), QString("Estaturas"));
#endif
    }

    void unaCarpetaQueNoExisteSeDiceSinEscribir() {
        Documento doc;
        QTextDocument notas;
        llenar(notas);
        AccionesNotas acciones(notas, doc);
        QString texto;
        auto* reloj = new QTimer(&acciones);
        reloj->setInterval(20);
        connect(reloj, &QTimer::timeout, [&texto, reloj] {
            if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reloj->stop();
                texto = caja->text();
                caja->accept();
            }
        });
        reloj->start();
        QVERIFY(!acciones.exportarA("/no/existe/notas.pdf", FormatoNotas::Pdf));
        QVERIFY2(texto.startsWith("No se puede escribir «/no/existe/notas.pdf»"),
                 qPrintable(texto));
        QVERIFY(!QFile::exists("/no/existe/notas.pdf"));
    }
};

QTEST_MAIN(ExportacionNotasTest)
#include "ExportacionNotasTest.moc"
