#include "PestanaDatos.h"

#include "AccionesCsv.h"
#include "ControladorColumnas.h"
#include "FilaTotales.h"
#include "ModeloTabla.h"
#include "VistaTabla.h"
#include "app/CitaBreve.h"
#include "app/Documento.h"
#include "dialogs/Mensajes.h"
#include "panel/ControladorCalculadora.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace kalnor {

namespace {
// Fills shorter than this end before a progress bar would be seen.
constexpr int kRegistrosConProgreso = 100000;
} // namespace

PestanaDatos::PestanaDatos(Documento& documento, QWidget* parent)
    : QWidget(parent), documento_(documento), modelo_(new ModeloTabla(documento, this)),
      tabla_(new VistaTabla(*modelo_, this)),
      totales_(new FilaTotales(documento, *modelo_, *tabla_, this)), tipo_(new QLabel(this)),
      csv_(new AccionesCsv(documento, this)), barraColumnas_(new QHBoxLayout) {
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
    cabecera->addSpacing(12);
    cabecera->addWidget(csv_);

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(8, 8, 8, 8);
    capas->setSpacing(6);
    capas->addLayout(cabecera);
    auto* rejilla = new QVBoxLayout;
    rejilla->setSpacing(0);
    rejilla->addWidget(tabla_, 1);
    rejilla->addWidget(totales_);
    capas->addLayout(rejilla, 1);
    capas->addLayout(barraColumnas_);

    connect(tabla_, &VistaTabla::ayudaPedida, this, &PestanaDatos::ayudaPedida);
    connect(&documento_, &Documento::abierto, this, &PestanaDatos::mostrarTipo);
    connect(csv_, &AccionesCsv::tablaCambiada, this, &PestanaDatos::MostrarColumnas);
    connect(&documento_, &Documento::cerrado, this, &PestanaDatos::mostrarTipo);
    mostrarTipo();
}

PestanaDatos::~PestanaDatos() = default;

void PestanaDatos::activarColumnas(ControladorCalculadora& calculadora) {
    if (columnas_)
        return;
    calculadora_ = &calculadora;
    columnas_ = new ControladorColumnas(documento_, calculadora, *this, this);

    lblColumnas_ = new QLabel(this);
    lblColumnas_->setObjectName(QStringLiteral("lblColumnas"));
    lista_ = new QComboBox(this);
    lista_->setObjectName(QStringLiteral("cboSUMATORIOS"));
    lista_->setToolTip(QStringLiteral(" Añadir columnas "));
    lista_->setMinimumContentsLength(12);
    lista_->setMaxVisibleItems(21);
    lista_->setPlaceholderText(QStringLiteral("Añadir columna"));
    auto* suma = new QLabel(QStringLiteral("Suma:"), this);
    sumatorio_ = new QLabel(this);
    sumatorio_->setObjectName(QStringLiteral("SUMATORIO"));
    sumatorio_->setToolTip(QStringLiteral(" Suma total de la columna "));
    sumatorio_->setFrameShape(QFrame::StyledPanel);
    sumatorio_->setFrameShadow(QFrame::Sunken);
    sumatorio_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sumatorio_->setMinimumWidth(140);
    sumatorio_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progreso_ = new QProgressBar(this);
    progreso_->setObjectName(QStringLiteral("progresoColumna"));
    progreso_->setMaximumWidth(220);
    progreso_->hide();

    barraColumnas_->addWidget(lblColumnas_);
    barraColumnas_->addWidget(lista_);
    barraColumnas_->addWidget(progreso_);
    barraColumnas_->addStretch();
    barraColumnas_->addWidget(suma);
    barraColumnas_->addWidget(sumatorio_);
    lblColumnas_->installEventFilter(this);
    sumatorio_->installEventFilter(this);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("mnuFLOTANTEppal"));
    const auto accion = [this](const char* nombre, const QString& texto, auto manejador) {
        QAction* a = menu_->addAction(texto);
        a->setObjectName(QString::fromLatin1(nombre));
        connect(a, &QAction::triggered, columnas_, manejador);
        return a;
    };
    accion("mnuEliminarCol", QStringLiteral("Eliminar esta columna"),
           &ControladorColumnas::mnuEliminarCol_Click);
    accion("mnuOrdenarCol", QStringLiteral("Ordenar por esta columna"),
           &ControladorColumnas::mnuOrdenarCol_Click);
    menu_->addSeparator()->setObjectName(QStringLiteral("linea1"));
    accion("mnuSumarCol", QStringLiteral("Sumar la columna"),
           &ControladorColumnas::mnuSumarCol_Click);
    accion("mnuSumarColNot", QStringLiteral("Sumar y añadir a notas"),
           &ControladorColumnas::mnuSumarColNot_Click);

    tabla_->horizontalHeader()->setSectionsClickable(true);
    connect(tabla_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &PestanaDatos::DBGrid1_HeadClick);
    // `activated`, not a change of index: the same entry chosen again fills
    // its column again.
    connect(lista_, &QComboBox::activated, columnas_, &ControladorColumnas::cboSUMATORIOS_Click);
    connect(columnas_, &ControladorColumnas::cambiado, this, &PestanaDatos::mostrarEstado);
    connect(calculadora_, &ControladorCalculadora::cambiado, this, &PestanaDatos::mostrarEstado);
    // Rows imported from a CSV make the result on the display stale.
    connect(csv_, &AccionesCsv::tablaCambiada, calculadora_,
            &ControladorCalculadora::limpiarDisplay);
    mostrarEstado();
}

void PestanaDatos::mostrarEstado() {
    if (!columnas_)
        return;
    const EstadoColumnas& e = columnas_->estado();
    lblColumnas_->setText(e.lblColumnas);
    QStringList actuales;
    for (int i = 0; i < lista_->count(); ++i)
        actuales.append(lista_->itemText(i));
    if (actuales != e.cboSUMATORIOS) {
        const QSignalBlocker bloqueo(lista_);
        lista_->clear();
        lista_->addItems(e.cboSUMATORIOS);
    }
    if (lista_->currentIndex() != e.seleccion) {
        const QSignalBlocker bloqueo(lista_);
        lista_->setCurrentIndex(e.seleccion);
    }
    sumatorio_->setText(calculadora_->estado().SUMATORIO);
}

void PestanaDatos::DBGrid1_HeadClick(int ColIndex) {
    columnas_->DBGrid1_HeadClick(ColIndex);
    // A pop-up that returns at once: the chosen item runs its handler.
    menu_->popup(QCursor::pos());
}

bool PestanaDatos::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::RightButton) {
        if (objeto == lblColumnas_) {
            emit ayudaPedida(QStringLiteral("Columnas"));
            return true;
        }
        if (objeto == sumatorio_) {
            emit ayudaPedida(QStringLiteral("Sumatorio"));
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void PestanaDatos::mostrarTipo() {
    if (documento_.BaseActual.empty() || !documento_.Data1.isOpen()) {
        tipo_->setText(QStringLiteral("Ninguna distribución abierta"));
        return;
    }
    tipo_->setText(QStringLiteral("%1  ·  %2")
                       .arg(QString::fromStdString(documento_.Tipo()),
                            QString::fromStdString(citaBreve(documento_.Clase()))));
}

void PestanaDatos::MostrarColumnas() {
    modelo_->recargar();
    tabla_->MostrarColumnas();
}

void PestanaDatos::mensaje(const QString& texto, const QString& titulo) {
    // The normal pointer over the box, even in the middle of a fill.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto restaurar = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    if (!titulo.isEmpty()) {
        mensajeError(this, texto, titulo);
        return;
    }
    QMessageBox caja(QMessageBox::NoIcon, QStringLiteral("Kalnor"), texto, QMessageBox::Ok, this);
    caja.exec();
}

void PestanaDatos::ocupado(bool siNo) {
    if (siNo) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    progreso_->hide();
}

void PestanaDatos::progreso(int hechos, int total) {
    if (total < kRegistrosConProgreso)
        return;
    progreso_->setFormat(QStringLiteral("Rellenando la columna: %p %"));
    progreso_->setRange(0, total);
    progreso_->setValue(hechos);
    progreso_->show();
    // The fill runs inside this event handler: paint the bar now.
    progreso_->repaint();
}

void PestanaDatos::mostrarColumnas() {
    MostrarColumnas();
}

void PestanaDatos::pegarEnNotas(const QString& linea) {
    emit lineaParaNotas(linea);
}

} // namespace kalnor
