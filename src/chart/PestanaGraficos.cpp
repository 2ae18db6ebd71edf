#include "PestanaGraficos.h"

#include "ControladorGraficos.h"
#include "EstadoGraficos.h"
#include "IconosAula.h"
#include "ImagenGrafico.h"
#include "VistaGrafico.h"
#include "app/Documento.h"
#include "app/Rutas.h"
#include "notes/ExportacionInforme.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalnor {

PestanaGraficos::PestanaGraficos(Documento& documento, const Rutas& rutas, QWidget* parent)
    : QWidget(parent), documento_(documento),
      controlador_(new ControladorGraficos(documento, rutas, this)) {
    setObjectName(QStringLiteral("PestanaGraficos"));
    grafico_ = new VistaGrafico(this);
    controlador_->Graph1().setDibujo(grafico_);

    const std::array<QString, 3> nombres{QStringLiteral("cboESTILO"), QStringLiteral("cboPALETA"),
                                         QStringLiteral("cboREJILLA")};
    const std::array<QString, 3> etiquetas{textos_grafico::kEtiquetaEstilo,
                                           textos_grafico::kEtiquetaPaleta,
                                           textos_grafico::kEtiquetaRejilla};
    const std::array<QString, 3> consejos{textos_grafico::kConsejoEstilo,
                                          textos_grafico::kConsejoPaleta,
                                          textos_grafico::kConsejoRejilla};
    auto* opciones = new QHBoxLayout;
    for (std::size_t i = 0; i < listas_.size(); ++i) {
        auto* etiqueta = new QLabel(etiquetas[i], this);
        listas_[i] = new QComboBox(this);
        listas_[i]->setObjectName(nombres[i]);
        listas_[i]->setToolTip(consejos[i]);
        listas_[i]->setMinimumContentsLength(14);
        listas_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        etiqueta->setBuddy(listas_[i]);
        opciones->addWidget(etiqueta);
        opciones->addWidget(listas_[i]);
        opciones->addSpacing(16);
    }
    opciones->addStretch(1);
    // Saving and copying the chart sit with the lists: the toolbar draws.
    guardar_ = new QPushButton(QStringLiteral("Guardar gráfico…"), this);
    guardar_->setObjectName(QStringLiteral("botonGUARDARGRAFICO"));
    guardar_->setToolTip(QStringLiteral("Guarda el gráfico como imagen PNG o SVG"));
    copiar_ = new QPushButton(QStringLiteral("Copiar gráfico"), this);
    copiar_->setObjectName(QStringLiteral("botonCOPIARGRAFICO"));
    copiar_->setToolTip(QStringLiteral("Copia el gráfico al portapapeles"));
    // A row of their own: beside the lists they would widen the window.
    auto* claves = new QHBoxLayout;
    claves->addStretch(1);
    claves->addWidget(guardar_);
    claves->addWidget(copiar_);
    informe_ = new QPushButton(QStringLiteral("Exportar informe…"), this);
    informe_->setObjectName(QStringLiteral("botonEXPORTARINFORME"));
    informe_->setToolTip(QStringLiteral(
        "Escribe en PDF, HTML u ODT el enunciado, la tabla, los parámetros y el gráfico"));
    claves->addWidget(informe_);
    connect(informe_, &QPushButton::clicked, this, [this] {
        if (documento_.BaseActual.empty()) {
            emit aviso(QStringLiteral("No hay un archivo abierto."));
            return;
        }
        QString ruta = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exportar informe"), QStringLiteral("informe.pdf"),
            QStringLiteral("Documento PDF (*.pdf);;Página web (*.html *.htm);;"
                           "Documento de texto ODF (*.odt)"));
        if (!ruta.isEmpty())
            exportarInformeA(ruta);
    });
    connect(guardar_, &QPushButton::clicked, this, [this] {
        const QString ruta = pedirRutaImagen();
        if (!ruta.isEmpty())
            guardarComo(ruta);
    });
    connect(copiar_, &QPushButton::clicked, this, [this] { copiarGrafico(*grafico_->chart()); });
    connect(listas_[0], &QComboBox::activated, controlador_, &ControladorGraficos::cboESTILO_Click);
    connect(listas_[1], &QComboBox::activated, controlador_, &ControladorGraficos::cboPALETA_Click);
    connect(listas_[2], &QComboBox::activated, controlador_,
            &ControladorGraficos::cboREJILLA_Click);

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(opciones);
    columna->addLayout(claves);
    columna->addWidget(grafico_, 1);

    barra_ = new QToolBar(QStringLiteral("Gráficos"), this);
    barra_->setObjectName(QStringLiteral("Toolbar3"));
    barra_->setMovable(false);
    barra_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const BotonGrafico& b : ControladorGraficos::botones()) {
        const QString clave = QString::fromLatin1(b.clave);
        QAction* accion = barra_->addAction(QString::fromUtf8(b.texto));
        accion->setObjectName(clave);
        connect(accion, &QAction::triggered, this,
                [this, clave] { controlador_->Toolbar3_ButtonClick(clave); });
    }
    barra_->addSeparator();
    for (const BotonAula& b : ControladorGraficos::botonesAula()) {
        const QString clave = QString::fromLatin1(b.clave);
        QAction* accion = barra_->addAction(iconoAula(b.tipo), QString::fromUtf8(b.texto));
        accion->setObjectName(clave);
        accion->setToolTip(QString::fromUtf8(b.consejo));
        // Pictures only: with their words the bar would not fit the window.
        if (auto* boton = qobject_cast<QToolButton*>(barra_->widgetForAction(accion)))
            boton->setToolButtonStyle(Qt::ToolButtonIconOnly);
        connect(accion, &QAction::triggered, this,
                [this, clave] { controlador_->Toolbar3_ButtonClick(clave); });
    }

    connect(controlador_, &ControladorGraficos::cambiado, this, &PestanaGraficos::mostrarEstado);
    connect(controlador_, &ControladorGraficos::pestanaPedida, this,
            &PestanaGraficos::pestanaPedida);
    connect(controlador_, &ControladorGraficos::aviso, this, &PestanaGraficos::aviso);
    connect(grafico_, &VistaGrafico::pulsado, controlador_, &ControladorGraficos::Graph1_Click);
    controlador_->Comenzar();
}

PestanaGraficos::~PestanaGraficos() {
    controlador_->Graph1().setDibujo(nullptr);
}

QComboBox* PestanaGraficos::lista(int indice) const {
    return indice >= 0 && indice < 3 ? listas_[static_cast<std::size_t>(indice)] : nullptr;
}

QString PestanaGraficos::pedirRutaImagen() {
    QString filtro;
    QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar gráfico"), QStringLiteral("grafico.png"),
        QStringLiteral("Imagen PNG (*.png);;Gráfico vectorial SVG (*.svg)"), &filtro);
    if (!ruta.isEmpty() && !formatoImagenPorNombre(ruta))
        ruta += filtro.contains(QStringLiteral("svg")) ? QStringLiteral(".svg")
                                                       : QStringLiteral(".png");
    return ruta;
}

bool PestanaGraficos::guardarComo(const QString& ruta) {
    const QString error = guardarGrafico(*grafico_->chart(), ruta);
    if (!error.isEmpty())
        emit aviso(error);
    return error.isEmpty();
}

bool PestanaGraficos::exportarInformeA(const QString& ruta) {
    // The chart on show goes in; with none, the informe draws the bars.
    const bool mostrado = controlador_->Graph1().dibujado() || controlador_->aula().has_value();
    const QImage imagen = mostrado ? imagenDeGrafico(*grafico_->chart()) : QImage();
    const QString error = exportarInforme(documento_.BaseActual, imagen, ruta);
    if (!error.isEmpty())
        emit aviso(error);
    return error.isEmpty();
}

void PestanaGraficos::mostrarEstado() {
    const EstadoGraficos& e = controlador_->estado();
    const std::array<const QStringList*, 3> items{&e.cboESTILO, &e.cboPALETA, &e.cboREJILLA};
    for (std::size_t i = 0; i < listas_.size(); ++i) {
        const QSignalBlocker bloqueo(listas_[i]);
        QStringList actuales;
        for (int k = 0; k < listas_[i]->count(); ++k)
            actuales << listas_[i]->itemText(k);
        if (actuales != *items[i]) {
            listas_[i]->clear();
            listas_[i]->addItems(*items[i]);
        }
        listas_[i]->setCurrentIndex(e.seleccion[i]);
    }
}

} // namespace kalnor
