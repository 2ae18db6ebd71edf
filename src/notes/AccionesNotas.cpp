#include "AccionesNotas.h"

#include "app/Documento.h"
#include "dialogs/Mensajes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolButton>

#include <array>

namespace kalnor {

namespace {

constexpr std::array kFormatos{FormatoNotas::Pdf, FormatoNotas::Html, FormatoNotas::Odt};

QString sufijo(FormatoNotas formato) {
    switch (formato) {
    case FormatoNotas::Pdf:
        return QStringLiteral("pdf");
    case FormatoNotas::Html:
        return QStringLiteral("html");
    case FormatoNotas::Odt:
        break;
    }
    return QStringLiteral("odt");
}

QToolButton* boton(QWidget* padre, const char* nombre, const QString& texto, const QString& consejo,
                   const char* icono) {
    auto* b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setText(texto);
    b->setToolTip(consejo);
    // Not every theme has document-export: the save-as picture then.
    b->setIcon(QIcon::fromTheme(QString::fromLatin1(icono),
                                QIcon::fromTheme(QStringLiteral("document-save-as"))));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

} // namespace

AccionesNotas::AccionesNotas(const QTextDocument& notas, const Documento& documento,
                             QWidget* parent)
    : QWidget(parent), notas_(notas), documento_(documento),
      exportar_(boton(this, "cmdExportarNotas", QStringLiteral("Exportar"),
                      QStringLiteral(" Guardar el enunciado y las notas en PDF, HTML u ODT "),
                      "document-export")),
      imprimir_(boton(this, "cmdImprimirNotas", QStringLiteral("Imprimir"),
                      QStringLiteral(" Imprimir el enunciado y las notas "), "document-print")) {
    auto* capas = new QHBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->setSpacing(4);
    capas->addWidget(exportar_);
    capas->addWidget(imprimir_);
    connect(exportar_, &QToolButton::clicked, this, &AccionesNotas::alExportar);
    connect(imprimir_, &QToolButton::clicked, this, &AccionesNotas::alImprimir);
}

QString AccionesNotas::filtro(FormatoNotas formato) {
    switch (formato) {
    case FormatoNotas::Pdf:
        return QStringLiteral("Documento PDF (*.pdf)");
    case FormatoNotas::Html:
        return QStringLiteral("Página web HTML (*.html *.htm)");
    case FormatoNotas::Odt:
        break;
    }
    return QStringLiteral("Texto OpenDocument (*.odt)");
}

QString AccionesNotas::titulo() const {
    return documento_.BaseActual.empty()
               ? QStringLiteral("Kalnor")
               : QFileInfo(QString::fromStdString(documento_.BaseActual)).completeBaseName();
}

std::optional<std::pair<QString, FormatoNotas>> AccionesNotas::elegirArchivoExportar() {
    QFileDialog dialogo(this, QStringLiteral("Exportar el enunciado y las notas"), carpeta_);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filtros;
    for (const FormatoNotas f : kFormatos)
        filtros << filtro(f);
    dialogo.setNameFilters(filtros);
    dialogo.setDefaultSuffix(sufijo(FormatoNotas::Pdf));
    dialogo.selectFile(titulo() + QStringLiteral(".pdf"));
    // The type chosen gives the suffix of a name typed without one.
    connect(&dialogo, &QFileDialog::filterSelected, &dialogo, [&dialogo](const QString& elegido) {
        for (const FormatoNotas f : kFormatos)
            if (elegido == filtro(f))
                dialogo.setDefaultSuffix(sufijo(f));
    });
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    const QString ruta = dialogo.selectedFiles().front();
    FormatoNotas formato = FormatoNotas::Pdf;
    for (const FormatoNotas f : kFormatos)
        if (dialogo.selectedNameFilter() == filtro(f))
            formato = f;
    // A suffix typed by the user wins over the type list.
    return std::pair(ruta, formatoPorNombre(ruta).value_or(formato));
}

bool AccionesNotas::elegirImpresora(QPrinter& impresora) {
    QPrintDialog dialogo(&impresora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir el enunciado y las notas"));
    return dialogo.exec() == QDialog::Accepted;
}

void AccionesNotas::alExportar() {
    if (const auto eleccion = elegirArchivoExportar())
        exportarA(eleccion->first, eleccion->second);
}

bool AccionesNotas::exportarA(const QString& ruta, FormatoNotas formato) {
    carpeta_ = QFileInfo(ruta).absolutePath();
    const QString motivo = exportarNotas(notas_, titulo(), ruta, formato);
    if (!motivo.isEmpty()) {
        mensajeError(this, motivo);
        return false;
    }
    return true;
}

void AccionesNotas::alImprimir() {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPageSize(paginaDelLugar(QLocale()));
    impresora.setDocName(titulo());
    if (elegirImpresora(impresora))
        imprimirNotas(notas_, impresora);
}

} // namespace kalnor
