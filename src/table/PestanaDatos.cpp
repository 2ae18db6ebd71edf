#include "PestanaDatos.h"

#include "ModeloTabla.h"
#include "VistaTabla.h"
#include "app/Documento.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kalnor {

PestanaDatos::PestanaDatos(Documento& documento, QWidget* parent)
    : QWidget(parent), documento_(documento), modelo_(new ModeloTabla(documento, this)),
      tabla_(new VistaTabla(*modelo_, this)), tipo_(new QLabel(this)),
      barraColumnas_(new QHBoxLayout) {
    auto* titulo = new QLabel(QStringLiteral("TABLA DE LA DISTRIBUCIÓN"), this);
    QFont letra = titulo->font();
    letra.setBold(true);
    titulo->setFont(letra);
    tipo_->setObjectName(QStringLiteral("lblTipoTabla"));
    tipo_->setToolTip(QStringLiteral(" Tipo de Variable "));

    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(titulo);
    cabecera->addStretch();
    cabecera->addWidget(tipo_);

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(8, 8, 8, 8);
    capas->setSpacing(6);
    capas->addLayout(cabecera);
    capas->addWidget(tabla_, 1);
    capas->addLayout(barraColumnas_);

    connect(tabla_, &VistaTabla::ayudaPedida, this, &PestanaDatos::ayudaPedida);
    connect(&documento_, &Documento::abierto, this, &PestanaDatos::mostrarTipo);
    connect(&documento_, &Documento::cerrado, this, &PestanaDatos::mostrarTipo);
    mostrarTipo();
}

void PestanaDatos::mostrarTipo() {
    if (documento_.BaseActual.empty() || !documento_.Data1.isOpen()) {
        tipo_->setText(QStringLiteral("Ninguna distribución abierta"));
        return;
    }
    tipo_->setText(QStringLiteral("%1  ·  %2")
                       .arg(QString::fromStdString(documento_.Tipo()),
                            QString::fromStdString(documento_.Clase())));
}

void PestanaDatos::MostrarColumnas() {
    modelo_->recargar();
    tabla_->MostrarColumnas();
}

} // namespace kalnor
