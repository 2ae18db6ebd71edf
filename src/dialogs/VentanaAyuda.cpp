#include "VentanaAyuda.h"

#include "Ayuda.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kalnor {

namespace {
const QString kNombreVentana = QStringLiteral("VentanaAyuda");
}

VentanaAyuda::VentanaAyuda(ArchivoAyuda ayuda, QWidget* parent)
    : QDialog(parent), ayuda_(std::move(ayuda)), filtro_(new QLineEdit), indice_(new QListWidget),
      texto_(new QTextBrowser) {
    setObjectName(kNombreVentana);
    setWindowTitle(QStringLiteral("Ayuda de Kalnor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(720, 480);

    filtro_->setPlaceholderText(QStringLiteral("Buscar en el índice"));
    filtro_->setClearButtonEnabled(true);
    indice_->addItems(ayuda_.indice());
    texto_->setOpenExternalLinks(false);
    texto_->document()->setDocumentMargin(12);

    auto* izquierda = new QWidget;
    auto* capasIzquierda = new QVBoxLayout(izquierda);
    capasIzquierda->setContentsMargins(0, 0, 0, 0);
    capasIzquierda->addWidget(new QLabel(QStringLiteral("Índice")));
    capasIzquierda->addWidget(filtro_);
    capasIzquierda->addWidget(indice_, 1);

    auto* division = new QSplitter;
    division->addWidget(izquierda);
    division->addWidget(texto_);
    division->setStretchFactor(1, 1);
    division->setSizes({220, 500});

    auto* capas = new QHBoxLayout(this);
    capas->setContentsMargins(8, 8, 8, 8);
    capas->addWidget(division);

    connect(filtro_, &QLineEdit::textChanged, this, &VentanaAyuda::filtrar);
    connect(indice_, &QListWidget::currentTextChanged, this, [this](const QString& clave) {
        if (!clave.isEmpty())
            mostrar(clave);
    });
}

void VentanaAyuda::filtrar(const QString& texto) {
    for (int i = 0; i < indice_->count(); ++i) {
        QListWidgetItem* item = indice_->item(i);
        item->setHidden(!item->text().contains(texto, Qt::CaseInsensitive));
    }
}

void VentanaAyuda::mostrar(const QString& palabraClave) {
    const ArchivoAyuda::Tema* tema = ayuda_.buscar(palabraClave);
    if (!tema) {
        temaMostrado_.clear();
        texto_->setHtml(ayuda_.temas().isEmpty()
                            ? QStringLiteral("<p>No se encuentra el archivo de ayuda.</p>")
                            : QStringLiteral("<p>No hay ayuda sobre «%1». Elija un tema del "
                                             "índice.</p>")
                                  .arg(palabraClave.toHtmlEscaped()));
        return;
    }
    temaMostrado_ = tema->claves.value(0);
    texto_->setHtml(ArchivoAyuda::html(*tema));
    const QList<QListWidgetItem*> items = indice_->findItems(palabraClave, Qt::MatchExactly);
    if (!items.isEmpty() && indice_->currentItem() != items.front()) {
        const QSignalBlocker bloqueo(indice_);
        indice_->setCurrentItem(items.front());
    }
}

void MostrarAyuda(QWidget* origen, const QString& rutaHlp, const QString& palabraClave) {
    QWidget* ventana = origen ? origen->window() : nullptr;
    auto* ayuda = ventana ? ventana->findChild<VentanaAyuda*>(kNombreVentana) : nullptr;
    if (!ayuda) {
        ayuda =
            new VentanaAyuda(ArchivoAyuda::leer(rutaHlp + QStringLiteral("kalnor.hlp")), ventana);
        ayuda->setWindowFlag(Qt::Window);
    }
    ayuda->mostrar(palabraClave);
    ayuda->show();
    ayuda->raise();
    ayuda->activateWindow();
}

void CerrarAyuda(QWidget* origen) {
    QWidget* ventana = origen ? origen->window() : nullptr;
    if (auto* ayuda = ventana ? ventana->findChild<VentanaAyuda*>(kNombreVentana) : nullptr)
        ayuda->close();
}

} // namespace kalnor
