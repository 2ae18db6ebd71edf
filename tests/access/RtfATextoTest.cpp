#include "app/access/RtfATexto.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <memory>

namespace kalnor::access {
namespace {

// The notes box reads our rich text through QTextDocument: check what it sees.
QTextDocument& documento(const std::string& html) {
    static int argc = 1;
    static char nombre[] = "rtf_tests";
    static char* argv[] = {nombre, nullptr};
    static QGuiApplication app(argc, argv);
    static QTextDocument doc;
    doc.setHtml(QString::fromStdString(html));
    return doc;
}

QTextBlock bloque(const QTextDocument& doc, int n) {
    return doc.findBlockByNumber(n);
}

QTextCharFormat formatoDe(const QTextBlock& b, const QString& texto) {
    for (auto it = b.begin(); !it.atEnd(); ++it)
        if (it.fragment().text().contains(texto))
            return it.fragment().charFormat();
    ADD_FAILURE() << "no fragment with " << texto.toStdString();
    return {};
}

QString familia(const QTextCharFormat& f) {
    const QStringList familias = f.fontFamilies().toStringList();
    return familias.isEmpty() ? QString() : familias.front();
}

const char* const kDisNotas =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fnil\\fcharset0 Courier "
    "New;}{\\f1\\fnil\\fcharset0 Times New Roman;}}\r\n"
    "\\viewkind4\\uc1\\pard\\b\\f0\\fs28 Notas del examen de Estad\\'edstica\\b0\\fs20\\par\r\n"
    "\\par\r\n"
    "Las calificaciones obtenidas por 32 alumnos de 1\\'ba de Bachillerato en el examen de "
    "Estad\\'edstica son las de la tabla adjunta.\\par\r\n"
    "\\par\r\n"
    "\\b Se pide:\\b0\\par\r\n"
    "a) Calcular la media aritm\\'e9tica, la mediana y la moda.\\par\r\n"
    "b) Calcular la varianza y la desviaci\\'f3n t\\'edpica.\\par\r\n"
    "c) \\'bfQu\\'e9 porcentaje de alumnos ha obtenido una nota inferior a 5?\\par\r\n"
    "\\f1\\fs24\\'a1\\'c1nimo, se\\'f1ores!\\f0\\fs20\\par\r\n"
    "}\r\n";

TEST(RtfATexto, ParagraphsAndAccentedLettersSurvive) {
    const QTextDocument& doc = documento(rtfAHtml(kDisNotas));
    EXPECT_EQ(doc.toPlainText().toStdString(),
              "Notas del examen de Estadística\n"
              "\n"
              "Las calificaciones obtenidas por 32 alumnos de 1º de Bachillerato en el examen de "
              "Estadística son las de la tabla adjunta.\n"
              "\n"
              "Se pide:\n"
              "a) Calcular la media aritmética, la mediana y la moda.\n"
              "b) Calcular la varianza y la desviación típica.\n"
              "c) ¿Qué porcentaje de alumnos ha obtenido una nota inferior a 5?\n"
              "¡Ánimo, señores!");
}

TEST(RtfATexto, BoldFontFaceAndSizeSurvive) {
    const QTextDocument& doc = documento(rtfAHtml(kDisNotas));
    const QTextCharFormat titulo = formatoDe(bloque(doc, 0), "Notas");
    EXPECT_EQ(titulo.fontWeight(), QFont::Bold);
    EXPECT_EQ(familia(titulo), "Courier New");
    EXPECT_DOUBLE_EQ(titulo.fontPointSize(), 14);

    const QTextCharFormat sePide = formatoDe(bloque(doc, 4), "Se pide:");
    EXPECT_EQ(sePide.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(sePide.fontPointSize(), 10);

    const QTextCharFormat normal = formatoDe(bloque(doc, 5), "media");
    EXPECT_NE(normal.fontWeight(), QFont::Bold);
    EXPECT_EQ(familia(normal), "Courier New");
    EXPECT_DOUBLE_EQ(normal.fontPointSize(), 10);

    const QTextCharFormat ultima = formatoDe(bloque(doc, 8), "nimo");
    EXPECT_EQ(familia(ultima), "Times New Roman");
    EXPECT_DOUBLE_EQ(ultima.fontPointSize(), 12);
}

TEST(RtfATexto, ItalicAndRepeatedBlanksSurvive) {
    const QTextDocument& doc = documento(
        rtfAHtml("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\i Nota:\\i0  cada   clase\\par}"));
    // The blank after a control word belongs to it; the others are text.
    EXPECT_EQ(doc.toPlainText().toStdString(), "Nota: cada   clase");
    EXPECT_TRUE(formatoDe(bloque(doc, 0), "Nota:").fontItalic());
    EXPECT_FALSE(formatoDe(bloque(doc, 0), "cada").fontItalic());
}

TEST(RtfATexto, UnderlineStrikeAndColourSurvive) {
    const QTextDocument& doc =
        documento(rtfAHtml("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
                           "\\ul subrayado\\ulnone  \\cf1 rojo\\cf2  verde\\cf0  \\strike "
                           "tachado\\strike0\\par}"));
    const QTextBlock b = bloque(doc, 0);
    EXPECT_TRUE(formatoDe(b, "subrayado").fontUnderline());
    EXPECT_FALSE(formatoDe(b, "rojo").fontUnderline());
    EXPECT_EQ(formatoDe(b, "rojo").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatoDe(b, "verde").foreground().color(), QColor(0, 128, 0));
    EXPECT_TRUE(formatoDe(b, "tachado").fontStrikeOut());
}

TEST(RtfATexto, UnicodeEscapesSkipTheirFallback) {
    EXPECT_EQ(documento(rtfAHtml("{\\rtf1\\uc1 caf\\u233?, \\u8364? y \\u-10179?\\u-8704?\\par}"))
                  .toPlainText()
                  .toStdString(),
              "café, € y 😀");
    EXPECT_EQ(
        documento(rtfAHtml("{\\rtf1\\uc2 \\u241\\'3f\\'3fandu\\par}")).toPlainText().toStdString(),
        "ñandu");
    EXPECT_EQ(documento(rtfAHtml("{\\rtf1 \\'80 \\'e1\\par}")).toPlainText().toStdString(), "€ á");
}

TEST(RtfATexto, SpecialCharactersAndHtmlAreEscaped) {
    const std::string html =
        rtfAHtml("{\\rtf1 a < b & c > d \\{x\\} \\\\ \\emdash\\~\\ldblquote q\\rdblquote\\par}");
    EXPECT_EQ(documento(html).toRawText().toStdString(), "a < b & c > d {x} \\ —\u00a0“q”");
}

TEST(RtfATexto, IgnoredDestinationsLeaveNoText) {
    EXPECT_EQ(documento(rtfAHtml("{\\rtf1{\\*\\generator Riched20;}{\\info{\\author Ana}}"
                                 "{\\stylesheet{\\s0 Normal;}}{\\pict\\wmetafile8 0a0b0c}"
                                 "Hola{\\*\\desconocido basura}\\par}"))
                  .toPlainText()
                  .toStdString(),
              "Hola");
}

TEST(RtfATexto, BrokenRtfGivesWhatCanBeRead) {
    EXPECT_EQ(documento(rtfAHtml("{\\rtf1 sin cerrar {\\b negrita")).toPlainText().toStdString(),
              "sin cerrar negrita");
    EXPECT_EQ(documento(rtfAHtml("{\\rtf1 de más}}}\\par texto")).toPlainText().toStdString(),
              "de más\ntexto");
    std::string profundo = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        profundo += '{';
    profundo += "hondo";
    EXPECT_NO_THROW(rtfAHtml(profundo));
    EXPECT_NO_THROW(rtfAHtml("{\\rtf1\\fs999999999999999999\\u99999999999\\'zz\\"));
}

TEST(RtfATexto, PlainTextStaysPlain) {
    const std::string plano = "Precio del billete: 1,50 €.\r\n¿Cuál es la media?";
    EXPECT_FALSE(esRtf(plano));
    EXPECT_EQ(enunciadoDesdeAccess(plano), plano);
    EXPECT_TRUE(esRtf("  {\\rtf1 x}"));
    EXPECT_NE(enunciadoDesdeAccess("{\\rtf1 x}").find("<html>"), std::string::npos);
    // The notes box tells rich from plain text this way.
    EXPECT_TRUE(Qt::mightBeRichText(QString::fromStdString(enunciadoDesdeAccess("{\\rtf1 x}"))));
    EXPECT_FALSE(Qt::mightBeRichText(QString::fromStdString(enunciadoDesdeAccess(plano))));
}

} // namespace
} // namespace kalnor::access
