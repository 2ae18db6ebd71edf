#include "DialogoLetra.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalnor {

DialogoLetra::DialogoLetra(const QFont& inicial, QWidget* parent)
    : QDialog(parent), fuentes_(new QFontDialog(inicial, this)),
      botonColor_(new QPushButton(QStringLiteral("Color…"), this)) {
    setWindowTitle(QStringLiteral("Letra"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The standard font chooser, embedded; this dialog adds the colour.
    fuentes_->setOptions(QFontDialog::NoButtons);
    fuentes_->setWindowFlags(Qt::Widget);
    fuentes_->setCurrentFont(inicial);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* fila = new QHBoxLayout;
    fila->addWidget(botonColor_);
    fila->addStretch();
    fila->addWidget(botones);

    auto* capas = new QVBoxLayout(this);
    capas->addWidget(fuentes_, 1);
    capas->addLayout(fila);

    connect(botonColor_, &QPushButton::clicked, this, [this] {
        const QColor elegido = QColorDialog::getColor(color_, this, QStringLiteral("Color"));
        if (elegido.isValid()) {
            color_ = elegido;
            pintarMuestra();
        }
    });
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pintarMuestra();
}

QFont DialogoLetra::letra() const {
    return fuentes_->currentFont();
}

void DialogoLetra::pintarMuestra() {
    QPixmap muestra(16, 16);
    muestra.fill(color_);
    botonColor_->setIcon(QIcon(muestra));
}

} // namespace kalnor
