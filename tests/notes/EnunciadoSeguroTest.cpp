// The statement's rich text made safe before Qt lays it out: which markup
// stays, what is dropped, how deep markup is flattened, and that what the
// notes editor writes shows the same after it.

#include "notes/EnunciadoSeguro.h"
#include "app/Documento.h"
#include "app/access/RtfATexto.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <string>

using namespace kalnor;

namespace {

QString sanear(const QByteArray& html) {
    const EnunciadoSeguro r = sanearEnunciado(std::string_view(html.data(), html.size()));
    return QString::fromStdString(r.texto);
}
QString sanear(const QString& html) {
    return sanear(html.toUtf8());
}

// What the body holds (the head is always the same).
QString cuerpo(const QString& html) {
    const qsizetype a = html.indexOf(QStringLiteral("<body"));
    const qsizetype b = html.indexOf('>', a);
    const qsizetype c = html.lastIndexOf(QStringLiteral("</body>"));
    return html.mid(b + 1, c - b - 1).trimmed();
}

// Every element opened is closed in order, never more than the cap deep
// inside the body. Returns the deepest nesting, or -1 when not well formed.
int profundidad(const QString& html) {
    static const QRegularExpression etiqueta(QStringLiteral("<(/?)([a-z0-9]+)[^>]*?(/?)>"));
    QStringList pila;
    int maxima = 0;
    auto it = etiqueta.globalMatch(cuerpo(html));
    while (it.hasNext()) {
        const auto m = it.next();
        if (!m.captured(3).isEmpty())
            continue; // <br />, <img ... />
        if (m.captured(1).isEmpty()) {
            pila << m.captured(2);
            maxima = std::max(maxima, static_cast<int>(pila.size()));
        } else if (pila.isEmpty() || pila.takeLast() != m.captured(2)) {
            return -1;
        }
    }
    return pila.isEmpty() ? maxima : -1;
}

// Without the break opportunities added to runs with no blank.
std::string sinCortes(std::string s) {
    const std::string corte = "\u200B";
    for (auto p = s.find(corte); p != std::string::npos; p = s.find(corte, p))
        s.erase(p, corte.size());
    return s;
}

QString llano(const QString& html) {
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText();
}

QString comoLoMuestraQt(const QString& html) {
    QTextDocument d;
    d.setHtml(html);
    return d.toHtml();
}

// A statement as the notes editor writes it: fonts, bold, italics,
// underline, colours, alignment, a list and a table.
QString escritoPorElEditor() {
    QTextDocument d;
    d.setDefaultFont(QFont(QStringLiteral("Courier New"), 9));
    QTextCursor c(&d);
    QTextCharFormat negrita;
    negrita.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Enunciado: "), negrita);
    QTextCharFormat rojo;
    rojo.setForeground(QColor(200, 0, 0));
    rojo.setFontItalic(true);
    rojo.setFontUnderline(true);
    rojo.setFontPointSize(14);
    rojo.setFontFamilies({QStringLiteral("DejaVu Serif")});
    c.insertText(QStringLiteral("las notas <de> 40 alumnos & más   con espacios"), rojo);
    QTextBlockFormat centrado;
    centrado.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centrado, QTextCharFormat());
    c.insertText(QStringLiteral("Centrado, ñandú, Σxᵢ·nᵢ"));
    c.insertBlock();
    c.insertList(QTextListFormat::ListDecimal);
    c.insertText(QStringLiteral("Primera cuestión"));
    c.insertBlock();
    c.insertText(QStringLiteral("Segunda cuestión"));
    c.insertBlock(QTextBlockFormat());
    QTextCharFormat fondo;
    fondo.setBackground(QColor(255, 255, 0));
    c.insertText(QStringLiteral("Resaltado"), fondo);
    QTextTableFormat marco;
    marco.setBorder(1);
    marco.setCellPadding(2);
    QTextTable* t = c.insertTable(2, 3, marco);
    for (int f = 0; f < 2; ++f)
        for (int k = 0; k < 3; ++k)
            t->cellAt(f, k).firstCursorPosition().insertText(QStringLiteral("c%1%2").arg(f).arg(k));
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("Fin"));
    return d.toHtml();
}

} // namespace

class EnunciadoSeguroTest : public QObject {
    Q_OBJECT

private slots:
    void marcado_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QStringList>("presente");
        QTest::addColumn<QStringList>("ausente");
        const auto L = [](std::initializer_list<const char*> l) {
            QStringList r;
            for (const char* s : l)
                r << QString::fromUtf8(s);
            return r;
        };
        QTest::newRow("etiquetas permitidas")
            << "<p><b>n</b><i>c</i><u>s</u><s>t</s><sub>1</sub><sup>2</sup></p>"
            << L({"<p><b>n</b><i>c</i><u>s</u><s>t</s><sub>1</sub><sup>2</sup></p>"}) << L({});
        QTest::newRow("atributos filtrados")
            << "<p onclick=\"x()\" class=\"k\" style=\"color:#ff0000; "
               "background-image:url(a.png); font-weight:700\" align=center>a</p>"
            << L({"<p style=\"color:#ff0000; font-weight:700;\" align=\"center\">a</p>"})
            << L({"onclick", "class", "url", "a.png"});
        QTest::newRow("medidas acotadas")
            << "<p style=\"font-size:100000pt; margin-top:1e9px\">a</p><td colspan=99999>"
            << L({"font-size:72pt;"}) << L({"100000", "1e9", "99999"});
        QTest::newRow("enlaces javascript y file")
            << "<a href=\"javascript:alert(1)\">a</a><a href=\" jAvA&#x09;script:x\">b</a>"
               "<a href=\"file:///etc/passwd\">c</a><a "
               "href=\"https://ejemplo.es/?a=1&amp;b=2\">d</a>"
            << L({"<a href=\"https://ejemplo.es/?a=1&amp;b=2\">d</a>"})
            << L({"javascript", "script:", "file:", "passwd"});
        QTest::newRow("imágenes de fuera")
            << "<img src=\"/dev/zero\"><img src=\"file:///home/a.png\" width=1><img src=\"a.png\">"
               "<img src=\"http://ejemplo.es/a.png\"><img "
               "src=\"data:image/svg+xml;base64,PHN2Zz4=\">"
               "<img src=\"qrc:/a.png\">x"
            << L({"x"}) << L({"<img", "dev/zero", "a.png", "svg"});
        QTest::newRow("imagen incrustada")
            << "<img src=\"data:image/png;base64,iVBORw0K\nGgo=\" width=\"50\" height=99999>"
            << L({"<img src=\"data:image/png;base64,iVBORw0KGgo=\" width=\"50\" height=\"4000\" "
                  "/>"})
            << L({});
        QTest::newRow("guiones y estilos fuera")
            << "<script>alert(1)</script><style>@import url(x.css)</style>"
               "<iframe src=x>y</iframe><link rel=stylesheet href=x.css>z"
            << L({"z"}) << L({"alert", "import", "x.css", "iframe", "link"});
        QTest::newRow("entidades")
            << "<p>&lt;b&gt; &amp; &#241;&#xF1;&ntilde; &desconocida; &#0; &#99999999; & ; &</p>"
            << L({"&lt;b&gt; &amp; ñññ &desconocida; \xEF\xBF\xBD \xEF\xBF\xBD &amp; ; &amp;"})
            << L({"&#"});
        QTest::newRow("etiquetas sin cerrar") << "<p><b>negrita<i>y cursiva</p>sigue"
                                              << L({"negrita", "y cursiva", "sigue"}) << L({});
        QTest::newRow("celdas sin tabla ni fila")
            << "<table>antes<td>a<td>b<tr><th>c</table><td>suelta"
            << L({"<table><tr><td>antes</td><td>a</td><td>b</td></tr><tr><th>c</th></tr></table>",
                  "suelta"})
            << L({});
        QTest::newRow("lista sin cerrar")
            << "<ul>uno<li>dos<li>tres</ul>"
            << L({"<ul><li>uno</li><li>dos</li><li>tres</li></ul>"}) << L({});
        QTest::newRow("comentarios y cierres sueltos")
            << "<p>a<!-- <b>oculto</b> -->b</i></table></td>c<!sin cerrar" << L({"abc"})
            << L({"oculto", "<i", "<table", "<td"});
        QTest::newRow("etiqueta cortada al final")
            << "<p>texto</p><img src=\"data:image/png" << L({"texto"}) << L({"<img"});
    }

    void marcado() {
        QFETCH(QString, entrada);
        QFETCH(QStringList, presente);
        QFETCH(QStringList, ausente);
        const QString salida = sanear(entrada);
        QVERIFY2(profundidad(salida) >= 0, qPrintable(salida));
        for (const QString& p : presente)
            QVERIFY2(salida.contains(p), qPrintable(p + " en " + salida));
        for (const QString& a : ausente)
            QVERIFY2(!cuerpo(salida).contains(a, Qt::CaseInsensitive),
                     qPrintable(a + " en " + salida));
    }

    void utf8RotoSeSustituye() {
        const QString salida = sanear(QByteArray("<p>a\xff"
                                                 "b\xc3</p>\x01"));
        QVERIFY2(salida.contains(QStringLiteral("<p>a\uFFFDb\uFFFD</p>")), qPrintable(salida));
        QVERIFY(!salida.contains(QChar(1)));
    }

    void loProfundoSeAplanaSinPerderTexto_data() {
        QTest::addColumn<QString>("abre");
        QTest::addColumn<QString>("cierra");
        QTest::addColumn<int>("niveles");
        QTest::newRow("tablas") << "<table><tr><td>"
                                << "</td></tr></table>" << 300;
        QTest::newRow("divs") << "<div>"
                              << "</div>" << 3000;
        QTest::newRow("listas") << "<ul><li>"
                                << "</li></ul>" << 300;
        QTest::newRow("negritas") << "<b><i>"
                                  << "</i></b>" << 300;
        QTest::newRow("tablas sin cerrar") << "<table><td>"
                                           << "" << 300;
    }

    void loProfundoSeAplanaSinPerderTexto() {
        QFETCH(QString, abre);
        QFETCH(QString, cierra);
        QFETCH(int, niveles);
        QString html = QStringLiteral("<html><body>");
        for (int i = 0; i < niveles; ++i)
            html += abre + QStringLiteral("t%1 ").arg(i);
        for (int i = 0; i < niveles; ++i)
            html += cierra;
        const QString salida = sanear(html);
        const int p = profundidad(salida);
        QVERIFY2(p >= 0 && p <= kAnidamientoMaximo, qPrintable(QString::number(p)));
        const QString texto = llano(salida).simplified();
        for (int i = 0; i < niveles; ++i)
            QVERIFY2(texto.contains(QStringLiteral("t%1").arg(i)), qPrintable(texto.left(200)));
        // Flattened text stays apart, one piece after another, in order.
        QVERIFY(texto.indexOf(QStringLiteral("t1 ")) < texto.indexOf(QStringLiteral("t2 ")));
    }

    // Qt's time grows with the square of a list's items and of a run with no
    // blank, and every block and break is laid out and paginated: past their
    // limits they become spaces, keeping the text.
    void loMuchoSeJuntaSinPerderTexto_data() {
        QTest::addColumn<QString>("principio");
        QTest::addColumn<QString>("trozo");
        QTest::addColumn<int>("veces");
        QTest::addColumn<QString>("contado");
        QTest::addColumn<int>("maximo");
        QTest::newRow("elementos de lista") << "<ul>"
                                            << "<li>i%1</li>" << 3000 << "<li" << 1000;
        QTest::newRow("saltos de línea") << "<p>"
                                         << "l%1<br>" << 30000 << "<br" << 20000;
        QTest::newRow("párrafos") << ""
                                  << "<p>p%1</p>" << 30000 << "<p" << 20000;
        QTest::newRow("celdas") << "<table>"
                                << "<td>c%1" << 30000 << "<td" << 20000;
        QTest::newRow("filas") << "<table>"
                               << "<tr><td>f%1</td></tr>" << 30000 << "<tr" << 20000;
        QTest::newRow("sin blancos") << "<p>"
                                     << "<b>W%1</b>" << 2000 << "\u200B" << 20;
    }

    void loMuchoSeJuntaSinPerderTexto() {
        QFETCH(QString, principio);
        QFETCH(QString, trozo);
        QFETCH(int, veces);
        QFETCH(QString, contado);
        QFETCH(int, maximo);
        QString html = QStringLiteral("<html><body>") + principio;
        for (int i = 0; i < veces; ++i)
            html += trozo.arg(i);
        const QString salida = sanear(html);
        QVERIFY(profundidad(salida) >= 0);
        const auto n = salida.count(contado);
        QVERIFY2(n > 0 && n <= maximo, qPrintable(QString::number(n)));
        const QString texto = QString::fromStdString(sinCortes(salida.toStdString()));
        for (int i = 0; i < veces; i += 97)
            QVERIFY2(texto.contains(trozo.arg(i).remove(QRegularExpression("<[^>]*>")) + "<") ||
                         texto.contains(trozo.arg(i).remove(QRegularExpression("<[^>]*>")) + " "),
                     qPrintable(QString::number(i)));
    }

    void textoLlanoSigueLlano() {
        for (const char* t : {"Las notas de 40 alumnos",
                              "a ≤ b, sin etiquetas\n<p> no es el principio", "  x &lt;", ""}) {
            const EnunciadoSeguro r = sanearEnunciado(t);
            QCOMPARE(r.html, QString::fromUtf8(t).contains(QStringLiteral("&lt;")));
            if (!r.html)
                QCOMPARE(r.texto, std::string(t));
        }
        QVERIFY(pareceHtml("<!DOCTYPE html><p>x"));
        QVERIFY(pareceHtml("  <p>x"));
        QVERIFY(pareceHtml("texto <b>negrita</b>"));
        QVERIFY(!pareceHtml("x <desconocida>"));
        QVERIFY(!pareceHtml("línea\n<p>segunda"));
    }

    void loGrandeSeCorta() {
        const std::string parrafo = "<p>Un párrafo del enunciado, con ñ.</p>\n";
        std::string html = "<html><body>";
        while (html.size() < 3 * 1024 * 1024)
            html += parrafo;
        const EnunciadoSeguro r = sanearEnunciado(html);
        QVERIFY(r.recortado());
        QVERIFY(r.html);
        QVERIFY(r.texto.size() < kEnunciadoMaximo + kEnunciadoMaximo / 4);
        QVERIFY(QString::fromStdString(avisoEnunciadoRecortado(r.bytesOriginales))
                    .contains(QStringLiteral("3,0 MB")));
        const std::string llano(3 * 1024 * 1024, 'x');
        const EnunciadoSeguro l = sanearEnunciado(llano);
        QVERIFY(l.recortado() && !l.html);
        QVERIFY(sinCortes(l.texto).size() > 100000 && llano.starts_with(sinCortes(l.texto)));
        // Not in the middle of a character.
        std::string tildes;
        while (tildes.size() < 3 * 1024 * 1024)
            tildes += "ñ";
        const QString t = QString::fromStdString(sinCortes(sanearEnunciado(tildes).texto));
        QVERIFY(t.endsWith(QChar(0xF1)) && !t.contains(QChar(0xFFFD)));
        QVERIFY(!sanearEnunciado("corto").recortado());
        // Big letters fill pages sooner: they count for more.
        std::string palabras;
        for (int i = 0; i < 20000; ++i)
            palabras += "W ";
        QVERIFY(!sanearEnunciado("<p style=\"font-size:9pt\">" + palabras).recortado());
        QVERIFY(sanearEnunciado("<p style=\"font-size:72pt\">" + palabras).recortado());
        QVERIFY(sanearEnunciado("<p><font size=7>" + palabras).recortado());
    }

    // What the editor writes, and what Access statements become, shows the
    // same after the sanitiser as before.
    void loDelEditorSeMuestraIgual() {
        const QString html = escritoPorElEditor();
        const QString salida = sanear(html);
        QCOMPARE(comoLoMuestraQt(salida), comoLoMuestraQt(html));
        // And again: the sanitiser leaves its own output alone.
        QCOMPARE(sanear(salida), salida);
    }

    void losEjemplosSeMuestranIgual() {
        const QDir ejemplos(QStringLiteral(KALNOR_BUILD_DIR "/dat"));
        const QStringList nombres = ejemplos.entryList({QStringLiteral("*.mdb")}, QDir::Files);
        QVERIFY(nombres.size() > 5);
        for (const QString& nombre : nombres) {
            Documento doc;
            QVERIFY(doc.AbrirBase(ejemplos.filePath(nombre).toStdString()));
            const std::string enunciado = doc.Enunciado();
            const EnunciadoSeguro r = sanearEnunciado(enunciado);
            QVERIFY(!r.recortado());
            if (!r.html) {
                QCOMPARE(r.texto, enunciado);
                continue;
            }
            QCOMPARE(comoLoMuestraQt(QString::fromStdString(r.texto)),
                     comoLoMuestraQt(QString::fromStdString(enunciado)));
        }
    }

    void loDeAccessSeMuestraIgual() {
        const std::string rtf =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
            "{\\colortbl;\\red255\\green0\\blue0;}"
            "\\f0\\fs20 Normal \\b negrita\\b0  \\i cursiva\\i0  \\ul subrayado\\ulnone "
            "\\cf1 rojo\\cf0\\par\\qc\\f1\\fs28 Centrado \\'f1\\par}";
        const QString html = QString::fromStdString(access::rtfAHtml(rtf));
        QVERIFY(html.contains(QStringLiteral("negrita")));
        QCOMPARE(comoLoMuestraQt(sanear(html)), comoLoMuestraQt(html));
    }
};

QTEST_MAIN(EnunciadoSeguroTest)
#include "EnunciadoSeguroTest.moc"
