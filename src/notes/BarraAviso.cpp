#include "BarraAviso.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kalnor {

BarraAviso::BarraAviso(QWidget* parent)
    : QFrame(parent), texto_(new QLabel(this)), botones_(new QHBoxLayout) {
    setObjectName(QStringLiteral("barraAviso"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    texto_->setObjectName(QStringLiteral("textoAviso"));
    texto_->setWordWrap(true);
    texto_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* capas = new QHBoxLayout(this);
    capas->setContentsMargins(8, 4, 8, 4);
    capas->addWidget(texto_, 1);
    capas->addLayout(botones_);
    hide();
}

void BarraAviso::mostrar(Nivel nivel, const QString& texto, const std::vector<Boton>& botones) {
    // Colours that read in light and dark themes alike.
    const QColor fondo =
        nivel == Nivel::Problema ? QColor(0xf8, 0xd7, 0xda) : QColor(0xd9, 0xea, 0xf7);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, fondo);
    paleta.setColor(QPalette::WindowText, Qt::black);
    setPalette(paleta);
    texto_->setText(texto);
    while (QLayoutItem* item = botones_->takeAt(0)) {
        delete item->widget(); // owned by this bar; none is running its click now
        delete item;
    }
    for (const Boton& b : botones) {
        auto* boton = new QPushButton(b.texto, this);
        boton->setObjectName(b.nombre);
        // Queued: the handler may show the bar again, which deletes this button.
        connect(
            boton, &QPushButton::clicked, this, [accion = b.accion] { accion(); },
            Qt::QueuedConnection);
        botones_->addWidget(boton);
    }
    show();
}

void BarraAviso::ocultar() {
    hide();
}

QString BarraAviso::texto() const {
    return isHidden() ? QString() : texto_->text();
}

} // namespace kalnor
