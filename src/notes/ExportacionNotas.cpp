#include "ExportacionNotas.h"

#include "RecursosNotas.h"
#include "app/EscrituraAtomica.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include <array>
#include <memory>

namespace kalnor {

namespace {

constexpr qreal kMargenMm = 20;

// The bytes of the document in `formato` (PDF through the same page layout
// as printing, so the file looks like the printed sheet).
QByteArray contenido(const QTextDocument& notas, const QString& titulo, FormatoNotas formato) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (formato == FormatoNotas::Pdf) {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(titulo);
        pdf.setCreator(QStringLiteral("Kalnor"));
        pdf.setResolution(300);
        pdf.setPageSize(paginaDelLugar(QLocale()));
        imprimirNotas(notas, pdf);
        return bytes;
    }
    // The copy asks its parent for every picture: only embedded ones.
    DocumentoProtegido recursos;
    const std::unique_ptr<QTextDocument> copia(notas.clone(&recursos));
    copia->setMetaInformation(QTextDocument::DocumentTitle, titulo);
    QTextDocumentWriter escritor(&buffer, formato == FormatoNotas::Html ? "html" : "odf");
    if (!escritor.write(copia.get()))
        return {};
    return bytes;
}

} // namespace

std::optional<FormatoNotas> formatoPorNombre(const QString& ruta) {
    const QString sufijo = QFileInfo(ruta).suffix().toLower();
    if (sufijo == u"pdf")
        return FormatoNotas::Pdf;
    if (sufijo == u"html" || sufijo == u"htm")
        return FormatoNotas::Html;
    if (sufijo == u"odt")
        return FormatoNotas::Odt;
    return std::nullopt;
}

QPageSize paginaDelLugar(const QLocale& lugar) {
    // Where Letter paper is the custom (CLDR's list of Letter territories).
    constexpr std::array kCarta{
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,           QLocale::Chile,
        QLocale::Colombia,     QLocale::CostaRica,  QLocale::Guatemala,        QLocale::Panama,
        QLocale::Philippines,  QLocale::PuertoRico, QLocale::Venezuela,        QLocale::ElSalvador,
        QLocale::Nicaragua,    QLocale::Belize,     QLocale::DominicanRepublic};
    for (const QLocale::Territory t : kCarta)
        if (lugar.territory() == t)
            return QPageSize(QPageSize::Letter);
    return QPageSize(QPageSize::A4);
}

void imprimirNotas(const QTextDocument& notas, QPagedPaintDevice& dispositivo) {
    dispositivo.setPageLayout(QPageLayout(
        dispositivo.pageLayout().pageSize(), QPageLayout::Portrait,
        QMarginsF(kMargenMm, kMargenMm, kMargenMm, kMargenMm), QPageLayout::Millimeter));
    // print() lays out a clone of the copy, which asks the copy, which asks
    // its parent for every picture: only embedded ones.
    DocumentoProtegido recursos;
    const std::unique_ptr<QTextDocument> copia(notas.clone(&recursos));
    copia->print(&dispositivo);
}

QString exportarNotas(const QTextDocument& notas, const QString& titulo, const QString& ruta,
                      FormatoNotas formato) {
    const QByteArray bytes = contenido(notas, titulo, formato);
    if (bytes.isEmpty())
        return noSeEscribe(ruta, QStringLiteral("no se ha podido componer el documento"));
    return escribirAtomico(ruta, bytes);
}

} // namespace kalnor
