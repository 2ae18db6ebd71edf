#include "VentanaPrincipal.h"

#include "app/Version.h"
#include "chart/ControladorGraficos.h"
#include "chart/PestanaGraficos.h"
#include "dialogs/Ayuda.h"
#include "dialogs/CalculadoraGenerica.h"
#include "dialogs/DialogoNueva.h"
#include "dialogs/Mensajes.h"
#include "dialogs/VentanaAcercaDe.h"
#include "dialogs/VentanaAutor.h"
#include "notes/EditorNotas.h"
#include "panel/ListaResumen.h"
#include "panel/PanelCalculadora.h"
#include "table/AccionesCsv.h"
#include "table/ModeloTabla.h"
#include "table/PestanaDatos.h"
#include "table/VistaDobleEntrada.h"
#include "table/VistaTabla.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <vector>

namespace kalnor {

namespace {

struct Tecla {
    const char* clave;
    const char* consejo;
    const char* icono;
    QStyle::StandardPixmap reserva;
};

constexpr std::array<Tecla, 8> kTeclas{{
    {"botonNUEVA", " Nueva ", "document-new", QStyle::SP_FileIcon},
    {"botonABRIR", " Abrir ", "document-open", QStyle::SP_DialogOpenButton},
    {"botonGUARDAR", " Guardar ", "document-save-as", QStyle::SP_DialogSaveButton},
    {"botonBORRAR", " Borrar ", "edit-clear", QStyle::SP_TrashIcon},
    {"botonORDENAR", " Ordenar ", "view-sort-ascending", QStyle::SP_ArrowDown},
    {"botonRECUENTO", " Recuento ", "accessories-calculator", QStyle::SP_FileDialogDetailedView},
    {"botonAYUDA", " Ayuda ", "help-about", QStyle::SP_MessageBoxInformation},
    {"botonSALIR", " Salir ", "application-exit", QStyle::SP_DialogCloseButton},
}};

const QString kFiltro = QStringLiteral("Problemas de Estadística (*.mdb)");
const QString kTextoInicial = QStringLiteral("Calculadora Estadística");

// One button of a question: its text, its objectName (for tests) and role.
struct Opcion {
    QString texto;
    const char* nombre;
    QMessageBox::ButtonRole papel;
};

// Asks `texto` (with `detalle` beneath) offering `opciones`; `porDefecto` is
// the one Enter picks and the last one is what Escape picks. Returns the
// index of the option chosen.
std::size_t elegir(QWidget* padre, QMessageBox::Icon icono, const QString& texto,
                   const QString& detalle, const std::vector<Opcion>& opciones,
                   std::size_t porDefecto) {
    QMessageBox caja(icono, QStringLiteral("¡ Atención !"), texto, QMessageBox::NoButton, padre);
    caja.setInformativeText(detalle);
    std::vector<QPushButton*> botones;
    for (const Opcion& o : opciones) {
        botones.push_back(caja.addButton(o.texto, o.papel));
        botones.back()->setObjectName(QString::fromLatin1(o.nombre));
    }
    caja.setDefaultButton(botones[porDefecto]);
    caja.setEscapeButton(botones.back());
    caja.exec();
    const auto elegido = std::find(botones.begin(), botones.end(), caja.clickedButton());
    return elegido == botones.end() ? botones.size() - 1
                                    : static_cast<std::size_t>(elegido - botones.begin());
}

} // namespace

VentanaPrincipal::VentanaPrincipal(const Rutas& rutas, QWidget* parent)
    : QMainWindow(parent), rutas_(rutas), comandos_(documento_, rutas_, *this),
      pestanas_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("frm_PPAL"));
    setWindowTitle(QStringLiteral("Kalnor ver.-%1 - ßeta").arg(versionConComa()));
    resize(980, 680);

    pestanas_->setObjectName(QStringLiteral("SSTab1"));
    pestanas_->setDocumentMode(true);
    calculadora_ = new PanelCalculadora(documento_, rutas_, pestanas_);
    datos_ = new PestanaDatos(documento_, pestanas_);
    notas_ = new EditorNotas(documento_, pestanas_);
    graficos_ = new PestanaGraficos(documento_, rutas_, pestanas_);
    pestanas_->addTab(calculadora_, QStringLiteral("CAL"));
    pestanas_->addTab(datos_, QStringLiteral("DAT"));
    pestanas_->addTab(notas_, QStringLiteral("NOT"));
    pestanas_->addTab(graficos_, QStringLiteral("GRF"));
    // The two-way table, shown only while a two-variable distribution is open.
    auto* dobleEntrada = new VistaDobleEntrada(documento_, pestanas_);
    const int tde = pestanas_->addTab(dobleEntrada, QStringLiteral("TDE"));
    pestanas_->setTabToolTip(tde, QStringLiteral(" Tabla de doble entrada "));
    pestanas_->setTabVisible(tde, false);
    pestanas_->setCurrentIndex(0);
    setCentralWidget(pestanas_);

    crearBarra();
    addToolBar(graficos_->Toolbar3());
    crearEstado();

    connect(pestanas_, &QTabWidget::currentChanged, this, &VentanaPrincipal::SSTab1_Click);
    connect(datos_, &PestanaDatos::ayudaPedida, this, &VentanaPrincipal::MostrarAyuda);
    datos_->activarColumnas(calculadora_->controlador());
    // A line for the notes shows the notes tab with the line at the caret.
    const auto aNotas = [this](const QString& linea) {
        pestanas_->setCurrentIndex(2);
        notas_->PegarEnNotas(linea);
    };
    connect(datos_, &PestanaDatos::lineaParaNotas, this, aNotas);
    connect(notas_, &EditorNotas::ayudaPedida, this, &VentanaPrincipal::MostrarAyuda);
    // The notes tab's reports and the result dropped on its target.
    notas_->ponerEnBarra(new ListaResumen(calculadora_->controlador(), *notas_, notas_));
    connect(calculadora_, &PanelCalculadora::lineaParaNotas, this, aNotas);
    connect(notas_, &EditorNotas::errorAlGuardar, this, [this](const QString& descripcion) {
        statusBar()->showMessage(
            QStringLiteral("No se han podido guardar las notas: %1").arg(descripcion), 8000);
    });
    connect(notas_, &EditorNotas::guardarComoPedido, this, [this] {
        try {
            comandos_.guardarCopia();
        } catch (const std::exception& e) {
            mensajeError(QString::fromStdString(e.what()), QStringLiteral("¡ Error !"));
        }
    });
    calculadoraGenerica_ = std::make_unique<CalculadoraGenerica>();
    graficos_->controlador().setCalculadora(calculadoraGenerica_.get());
    graficos_->controlador().setLimpiarDisplay([this] { calculadora_->limpiarDisplay(); });
    connect(graficos_, &PestanaGraficos::pestanaPedida, pestanas_, &QTabWidget::setCurrentIndex);
    connect(graficos_, &PestanaGraficos::aviso, this,
            [this](const QString& texto) { statusBar()->showMessage(texto, 10000); });
    connect(&documento_, &Documento::abierto, this,
            [this] { estado_[0]->setText(QString::fromStdString(documento_.BaseActual)); });
    connect(&documento_, &Documento::abierto, this,
            [this, tde] { pestanas_->setTabVisible(tde, documento_.esBidimensional()); });
    connect(&documento_, &Documento::abierto, this, &VentanaPrincipal::mostrarAcceso);
    // Others' writes are looked for now and then, and when the window is
    // come back to (see changeEvent).
    auto* vigia = new QTimer(this);
    connect(vigia, &QTimer::timeout, this, &VentanaPrincipal::comprobarCambios);
    vigia->start(2000);
}

VentanaPrincipal::~VentanaPrincipal() = default;

void VentanaPrincipal::crearBarra() {
    barra_ = addToolBar(QStringLiteral("Archivo"));
    barra_->setObjectName(QStringLiteral("Toolbar1"));
    barra_->setMovable(false);
    barra_->setIconSize(QSize(28, 28));
    barra_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Tecla& t : kTeclas) {
        const QString clave = QString::fromLatin1(t.clave);
        QAction* accion = barra_->addAction(
            QIcon::fromTheme(QString::fromLatin1(t.icono), style()->standardIcon(t.reserva)),
            QString::fromUtf8(t.consejo).trimmed());
        accion->setObjectName(clave);
        accion->setToolTip(QString::fromUtf8(t.consejo));
        connect(accion, &QAction::triggered, this, [this, clave] { comandos_.ejecutar(clave); });
        if (clave == u"botonGUARDAR" || clave == u"botonRECUENTO")
            barra_->addSeparator();
    }
}

void VentanaPrincipal::crearEstado() {
    const std::array<QString, 4> nombres{QStringLiteral("Panel1"), QStringLiteral("Panel2"),
                                         QStringLiteral("Panel3"), QStringLiteral("Panel4")};
    for (std::size_t i = 0; i < estado_.size(); ++i) {
        estado_[i] = new QLabel(this);
        estado_[i]->setObjectName(nombres[i]);
        estado_[i]->setContentsMargins(6, 0, 6, 0);
    }
    estado_[0]->setText(kTextoInicial);
    estado_[3]->setText(QStringLiteral("Kalnor · Estadística descriptiva"));
    new ClicsPanelAutor(estado_[3]);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(estado_[0], 1);
    soloLectura_ = new QLabel(QStringLiteral("Solo lectura"), this);
    soloLectura_->setObjectName(QStringLiteral("panelSoloLectura"));
    soloLectura_->setToolTip(
        QStringLiteral(" El archivo no admite cambios: guárdelo con otro nombre para editarlo "));
    QFont negrita = soloLectura_->font();
    negrita.setBold(true);
    soloLectura_->setFont(negrita);
    soloLectura_->setContentsMargins(6, 0, 6, 0);
    statusBar()->addPermanentWidget(soloLectura_);
    soloLectura_->hide();
    statusBar()->addPermanentWidget(estado_[1]);
    statusBar()->addPermanentWidget(estado_[2]);
    statusBar()->addPermanentWidget(estado_[3]);
    reloj_ = new QTimer(this);
    connect(reloj_, &QTimer::timeout, this, &VentanaPrincipal::actualizarHora);
    reloj_->start(1000);
    actualizarHora();
}

void VentanaPrincipal::actualizarHora() {
    const QDateTime ahora = QDateTime::currentDateTime();
    estado_[1]->setText(ahora.date().toString(QStringLiteral("dd/MM/yyyy")));
    estado_[2]->setText(ahora.time().toString(QStringLiteral("HH:mm:ss")));
}

QLabel* VentanaPrincipal::panelEstado(int indice) const {
    return indice >= 1 && indice <= 4 ? estado_[static_cast<std::size_t>(indice - 1)] : nullptr;
}

void VentanaPrincipal::SSTab1_Click(int indice) {
    documento_.ContarRegistros();
    if (documento_.NumRegistros > 0)
        documento_.LeerVariable();
    if (indice == 1)
        datos_->tabla().setFocus();
    else if (indice == 2)
        notas_->caja()->setFocus();
    if (indice == 1 && datos_->modelo().rowCount() > 0) {
        const QModelIndex actual = datos_->tabla().currentIndex();
        datos_->tabla().setCurrentIndex(
            datos_->modelo().index(actual.isValid() ? actual.row() : 0, 0));
    }
}

void VentanaPrincipal::MostrarAyuda(const QString& palabraClave) {
    kalnor::MostrarAyuda(this, rutas_.RutaHlp, palabraClave);
}

void VentanaPrincipal::mostrarAcceso() {
    if (titulo_.isEmpty())
        titulo_ = windowTitle();
    const bool soloLectura = !documento_.BaseActual.empty() && documento_.soloLectura();
    setWindowTitle(soloLectura ? titulo_ + QStringLiteral(" [Solo lectura]") : titulo_);
    soloLectura_->setVisible(soloLectura);
    for (const char* clave : {"botonBORRAR", "botonORDENAR", "botonRECUENTO"})
        if (auto* accion = barra_->findChild<QAction*>(QString::fromLatin1(clave)))
            accion->setEnabled(!soloLectura);
    if (QComboBox* lista = datos_->cboSUMATORIOS())
        lista->setEnabled(!soloLectura);
    datos_->csv().botonImportar()->setEnabled(!soloLectura);
    if (QMenu* menu = datos_->mnuFLOTANTEppal())
        for (const char* clave : {"mnuEliminarCol", "mnuOrdenarCol"})
            if (auto* accion = menu->findChild<QAction*>(QString::fromLatin1(clave)))
                accion->setEnabled(!soloLectura);
}

void VentanaPrincipal::comprobarCambios() {
    // Not in the middle of a command, a dialog or a cell being typed (its
    // editor lives in the grid's viewport).
    const QWidget* foco = QApplication::focusWidget();
    if (documento_.BaseActual.empty() || ocupados_ > 0 || QApplication::activeModalWidget() ||
        (foco && datos_->tabla().viewport()->isAncestorOf(foco)))
        return;
    if (!documento_.cambiadoPorOtro())
        return;
    comandos_.recargar();
    statusBar()->showMessage(
        QStringLiteral("Otro Kalnor u otro programa ha cambiado «%1»: se ha vuelto a leer (%2 "
                       "registros).")
            .arg(QFileInfo(QString::fromStdString(documento_.BaseActual)).fileName())
            .arg(documento_.NumRegistros),
        10000);
}

bool VentanaPrincipal::dejarDocumento() {
    notas_->guardar();
    while (notas_->sinGuardar()) {
        enum { kGuardarComo, kDescartar, kCancelar };
        const std::size_t eleccion = elegir(
            this, QMessageBox::Warning,
            QStringLiteral("Las notas de «%1» no se han podido guardar en el archivo.")
                .arg(QFileInfo(QString::fromStdString(documento_.BaseActual)).fileName()),
            QStringLiteral("Si sigue, lo que ha escrito se perderá. Puede guardar la "
                           "distribución con sus notas en otro archivo."),
            {{QStringLiteral("Guardar como…"), "preguntaGuardarComo", QMessageBox::AcceptRole},
             {QStringLiteral("Descartar las notas"), "preguntaDescartar",
              QMessageBox::DestructiveRole},
             {QStringLiteral("Cancelar"), "preguntaCancelar", QMessageBox::RejectRole}},
            kGuardarComo);
        if (eleccion == kDescartar) {
            notas_->descartar();
            return true;
        }
        if (eleccion == kCancelar)
            return false;
        try {
            comandos_.guardarCopia(); // asked again when it did not take the notes
        } catch (const std::exception& e) {
            mensajeError(QString::fromStdString(e.what()), QStringLiteral("¡ Error !"));
        }
    }
    return true;
}

void VentanaPrincipal::notasSiguenA(const QString& ruta) {
    notas_->trasladarA(ruta.toStdString());
}

InterfazComandos::AnteOtroKalnor VentanaPrincipal::otroKalnorLoTiene(const QString& archivo,
                                                                     const QString& quien) {
    const std::size_t eleccion = elegir(
        this, QMessageBox::Question,
        QStringLiteral("Otro Kalnor tiene abierto este archivo, «%1» (%2).").arg(archivo, quien),
        QStringLiteral("Si los dos lo cambian, cada ventana verá los datos de la otra, y "
                       "Kalnor preguntará antes de guardar encima de unas notas que no ha "
                       "leído. ¿Cómo desea abrirlo?"),
        {{QStringLiteral("Abrir de todos modos"), "otroAbrirIgual", QMessageBox::AcceptRole},
         {QStringLiteral("Abrir en solo lectura"), "otroSoloLectura", QMessageBox::AcceptRole},
         {QStringLiteral("Cancelar"), "otroCancelar", QMessageBox::RejectRole}},
        1);
    if (eleccion == 0)
        return AnteOtroKalnor::AbrirIgual;
    if (eleccion == 1)
        return AnteOtroKalnor::SoloLectura;
    return AnteOtroKalnor::Cancelar;
}

void VentanaPrincipal::closeEvent(QCloseEvent* event) {
    if (!dejarDocumento()) {
        event->ignore();
        return;
    }
    try {
        calculadoraGenerica_->cerrar();
    } catch (...) {
        // Going down: a calculator that will not close is no reason to stay.
    }
    CerrarAyuda(this);
    QMainWindow::closeEvent(event);
}

void VentanaPrincipal::changeEvent(QEvent* event) {
    // Coming back to the window always shows the normal pointer.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ocupados_ == 0) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        // Queued: the window finishes coming back before the file is read.
        QTimer::singleShot(0, this, &VentanaPrincipal::comprobarCambios);
    }
    QMainWindow::changeEvent(event);
}

std::optional<QString> VentanaPrincipal::elegirArchivoAbrir(const QString& carpeta) {
    const QString ruta = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir Distribución Estadística"), carpeta, kFiltro);
    return ruta.isEmpty() ? std::nullopt : std::optional(ruta);
}

std::optional<QString> VentanaPrincipal::elegirArchivoGuardar(const QString& carpeta) {
    QFileDialog dialogo(this, QStringLiteral("Guardar Distribución Estadística"), carpeta, kFiltro);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("mdb"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo.selectedFiles().front();
}

const stats::KindInfo* VentanaPrincipal::elegirNuevaDistribucion() {
    DialogoNueva dialogo(this);
    return dialogo.exec() == QDialog::Accepted ? dialogo.eleccion() : nullptr;
}

void VentanaPrincipal::mensajeError(const QString& texto, const QString& titulo) {
    kalnor::mensajeError(this, texto, titulo);
}

void VentanaPrincipal::avisar(const QString& texto) {
    statusBar()->showMessage(texto, 15000);
    QMessageBox::information(this, QStringLiteral("Kalnor"), texto);
}

bool VentanaPrincipal::preguntar(const QString& texto) {
    return preguntaAtencion(this, texto);
}

void VentanaPrincipal::ocupado(bool siNo) {
    if (siNo) {
        ++ocupados_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (ocupados_ > 0) {
        --ocupados_;
        QApplication::restoreOverrideCursor();
    }
}

void VentanaPrincipal::guardarNotas() {
    notas_->guardar();
}

void VentanaPrincipal::limpiarDisplay() {
    calculadora_->limpiarDisplay();
}

void VentanaPrincipal::mostrarErrorComando(const QString& descripcion, int numero) {
    calculadora_->mostrarErrorComando(descripcion, numero);
}

void VentanaPrincipal::mostrarColumnas() {
    datos_->MostrarColumnas();
}

void VentanaPrincipal::seleccionarPestana(int indice) {
    pestanas_->setCurrentIndex(indice);
}

void VentanaPrincipal::mostrarAcercaDe() {
    VentanaAcercaDe dialogo(this);
    dialogo.exec();
}

void VentanaPrincipal::salir() {
    close();
}

} // namespace kalnor
