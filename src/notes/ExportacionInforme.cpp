#include "ExportacionInforme.h"

#include "EnunciadoSeguro.h"
#include "ExportacionNotas.h"
#include "RecursosNotas.h"
#include "app/Documento.h"
#include "chart/ControladorGraficos.h"
#include "chart/LienzoGrafico.h"
#include "panel/ControladorCalculadora.h"
#include "panel/FormatoResultado.h"
#include "panel/InformeResumen.h"
#include "table/FormatoCelda.h"
#include "table/TotalesColumnas.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLocale>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QUrl>

namespace kalnor {

namespace {

QTextCharFormat formato(bool negrita, bool fija = false, int puntos = 10) {
    QTextCharFormat f;
    f.setFontWeight(negrita ? QFont::Bold : QFont::Normal);
    f.setFontFamilies({fija ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans")});
    f.setFontPointSize(puntos);
    return f;
}

void titulo(QTextCursor& c, const QString& texto, int puntos = 13) {
    QTextBlockFormat bloque;
    bloque.setTopMargin(12);
    bloque.setBottomMargin(6);
    c.insertBlock(bloque, formato(true, false, puntos));
    c.insertText(texto);
    c.insertBlock(QTextBlockFormat(), formato(false));
}

// The reports' lines, in the fixed letters so their dots line up.
class DestinoCursor : public DestinoInforme {
public:
    explicit DestinoCursor(QTextCursor& cursor) : cursor_(cursor) {}
    void insertar(const QString& texto, bool negrita) override {
        QString limpio = QString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        cursor_.insertText(limpio, formato(negrita, true, 9));
    }

private:
    QTextCursor& cursor_;
};

void tabla(QTextCursor& c, Documento& doc, const QLocale& lugar) {
    const std::vector<std::string>& campos = doc.Data1.FieldNames();
    std::vector<std::vector<stats::CellValue>> columnas;
    for (const std::string& campo : campos)
        columnas.push_back(doc.Data1.column(campo));
    const int registros = columnas.empty() ? 0 : static_cast<int>(columnas.front().size());
    const int mostradas = std::min(registros, kFilasInforme);
    TotalesColumnas totales;
    totales.recalcular(doc.Data1, doc.kind());

    QTextTableFormat marco;
    marco.setBorder(0.5);
    marco.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    marco.setCellPadding(3);
    marco.setCellSpacing(0);
    marco.setHeaderRowCount(1);
    const int ancho = static_cast<int>(campos.size()) + 1;
    QTextTable* t = c.insertTable(mostradas + 2, ancho, marco);
    const auto poner = [t](int fila, int col, const QString& texto, bool negrita,
                           Qt::Alignment alin) {
        QTextTableCell celda = t->cellAt(fila, col);
        QTextCursor dentro = celda.firstCursorPosition();
        QTextBlockFormat b;
        b.setAlignment(alin);
        dentro.setBlockFormat(b);
        dentro.insertText(texto, formato(negrita, false, 8));
    };
    for (std::size_t k = 0; k < campos.size(); ++k)
        poner(0, static_cast<int>(k) + 1, QString::fromStdString(campos[k]), true, Qt::AlignCenter);
    for (int f = 0; f < mostradas; ++f) {
        poner(f + 1, 0, QString::number(f + 1), false, Qt::AlignRight);
        for (std::size_t k = 0; k < campos.size(); ++k)
            poner(f + 1, static_cast<int>(k) + 1,
                  textoCelda(columnas[k][static_cast<std::size_t>(f)], campos[k], lugar), false,
                  Qt::AlignRight);
    }
    // The totals row as the grid's "Σ" row writes it.
    poner(mostradas + 1, 0, QStringLiteral("Σ"), true, Qt::AlignCenter);
    for (std::size_t k = 0; k < campos.size(); ++k) {
        const std::optional<double> suma = totales.suma(static_cast<int>(k));
        if (!suma)
            continue;
        poner(mostradas + 1, static_cast<int>(k) + 1,
              campos[k] == "ni" ? formatoEntero(*suma, lugar) : formatoResultado(*suma, lugar),
              true, Qt::AlignRight);
    }
    c.movePosition(QTextCursor::End);
    if (mostradas < registros)
        c.insertText(QStringLiteral("(y %1 registros más)").arg(registros - mostradas),
                     formato(false));
}

void informes(QTextCursor& c, Documento& doc) {
    ControladorCalculadora calculadora(doc, QString());
    calculadora.Comenzar();
    calculadora.limpiarDisplay();
    DestinoCursor destino(c);
    c.setCharFormat(formato(false, true, 9));
    for (int i = 0; i < 4; ++i)
        InformeResumen::cboRESUMEN_Click(calculadora, i, destino);
    if (calculadora.estado().cmdVARIABLEEnabled) {
        calculadora.cmdVARIABLE_Click();
        for (int i = 0; i < 3; ++i)
            InformeResumen::cboRESUMEN_Click(calculadora, i, destino);
    }
}

QImage barras(Documento& doc) {
    ControladorGraficos graficos(doc, Rutas{});
    LienzoGrafico lienzo(QSize(800, 600));
    graficos.Graph1().setDibujo(&lienzo);
    graficos.Comenzar();
    graficos.Toolbar3_ButtonClick(QStringLiteral("botonBARRAS"));
    graficos.Graph1().setDibujo(nullptr);
    return graficos.Graph1().dibujado() ? lienzo.imagen() : QImage();
}

void insertarGrafico(QTextCursor& c, QTextDocument& documento, const QImage& imagen) {
    // Named by its own data URL: the HTML file then holds the picture and
    // needs no file beside it, and PDF and ODT find it as a resource.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    imagen.save(&buffer, "PNG");
    const QString nombre =
        QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    documento.addResource(QTextDocument::ImageResource, QUrl(nombre), imagen);
    QTextImageFormat dibujo;
    dibujo.setName(nombre);
    dibujo.setWidth(480);
    dibujo.setHeight(480.0 * imagen.height() / std::max(1, imagen.width()));
    c.insertImage(dibujo);
}

} // namespace

std::unique_ptr<QTextDocument> componerInforme(const std::string& fichero, const QImage& grafico,
                                               QString& error, QString* aviso) {
    Documento doc;
    if (!doc.AbrirBase(fichero)) {
        error = QString::fromStdString(fichero + ": " + doc.error.MensajeError);
        return nullptr;
    }
    const QLocale lugar;
    // Pictures only from the file itself, never from the disk.
    auto documento = std::make_unique<DocumentoProtegido>();
    documento->setDefaultFont(formato(false).font());
    const QString nombre = QFileInfo(QString::fromStdString(fichero)).completeBaseName();
    documento->setMetaInformation(QTextDocument::DocumentTitle, nombre);
    QTextCursor c(documento.get());
    c.insertText(nombre, formato(true, false, 16));
    c.insertBlock(QTextBlockFormat(), formato(false));
    c.insertText(QStringLiteral("Distribución %1 (%2)")
                     .arg(QString::fromStdString(doc.Tipo()), QString::fromStdString(doc.Clase())),
                 formato(false));

    const EnunciadoSeguro enunciado = sanearEnunciado(doc.Enunciado());
    const QString texto = QString::fromStdString(enunciado.texto);
    if (!texto.trimmed().isEmpty()) {
        titulo(c, QStringLiteral("Enunciado"));
        c.insertFragment(enunciado.html ? QTextDocumentFragment::fromHtml(texto)
                                        : QTextDocumentFragment::fromPlainText(texto));
        if (enunciado.recortado()) {
            const QString motivo =
                QString::fromStdString(avisoEnunciadoRecortado(enunciado.bytesOriginales));
            c.insertBlock(QTextBlockFormat(), formato(false));
            c.insertText(QStringLiteral("[%1]").arg(motivo), formato(true));
            if (aviso)
                *aviso = motivo;
        }
    }
    titulo(c, QStringLiteral("Tabla de datos"));
    tabla(c, doc, lugar);
    titulo(c, QStringLiteral("Parámetros estadísticos"));
    informes(c, doc);

    const QImage imagen = grafico.isNull() ? barras(doc) : grafico;
    if (!imagen.isNull()) {
        titulo(c, QStringLiteral("Gráfico"));
        insertarGrafico(c, *documento, imagen);
    }
    return documento;
}

QString exportarInforme(const std::string& fichero, const QImage& grafico, const QString& ruta,
                        QString* aviso) {
    const std::optional<FormatoNotas> formato = formatoPorNombre(ruta);
    if (!formato)
        return QStringLiteral("No se puede escribir «%1»: el nombre debe acabar en .pdf, .html "
                              "o .odt")
            .arg(ruta);
    QString error;
    const std::unique_ptr<QTextDocument> documento =
        componerInforme(fichero, grafico, error, aviso);
    if (!documento)
        return error;
    return exportarNotas(*documento, documento->metaInformation(QTextDocument::DocumentTitle), ruta,
                         *formato);
}

} // namespace kalnor
