#include "PanelCalculadora.h"

#include "ControladorCalculadora.h"
#include "DestinoResultado.h"
#include "PanelPasos.h"
#include "Selectores.h"
#include "TeclaCalculadora.h"
#include "app/Rutas.h"
#include "dialogs/Ayuda.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

// The key faces live in a static library: register them explicitly.
static void iniciarCaras() {
    Q_INIT_RESOURCE(caras);
}

namespace kalnor {

namespace {

struct Cara {
    const char* imagen;  // picture under :/caras, or nullptr for a text face
    const char* texto;   // text face, and the key's accessible name otherwise
    const char* tooltip; // as the window has always shown it
    const char* atajo;   // keyboard shortcut
    const char* grupo;   // colour group of the key
};

// Measure keys cmdTECLA(0) ... cmdTECLA(19), in keypad order.
constexpr std::array<Cara, 20> kTeclas{{
    {"media_aritmetica", "Media Aritmética", " Media Aritmética ", "Alt+A", "media"},
    {"media_armonica", "Media Armónica", " Media Armónica ", "Alt+H", "media"},
    {"media_geometrica", "Media Geométrica", " Media Geométrica ", "Alt+G", "media"},
    {"media_cuadratica", "Media Cuadrática", " Media Cuadrática ", "Alt+Q", "media"},
    {"recorrido", "Recorrido", " Recorrido ", "Alt+R", "dispersion"},
    {"varianza", "Varianza", " Varianza ", "Alt+V", "dispersion"},
    {"desv_tipica", "Desviación Típica", " Desviación Típica ", "Alt+T", "dispersion"},
    {"cuasivarianza", "Cuasi-Varianza", " Cuasi-Varianza ", "Alt+S", "dispersion"},
    {"desv_media", "Desviación Media", " Desviación Media ", "Alt+D", "dispersion"},
    {"desv_mediana", "Desviación Mediana", " Desviación Mediana ", "Alt+Shift+D", "dispersion"},
    {"asim_pearson", "Coef. Asimetría de Pearson", " Coef. Asimetria - Pearson ", "Alt+P", "forma"},
    {"asim_fisher", "Coef. Asimetría de Fisher", " Coef. Asimetría - Fisher ", "Alt+F", "forma"},
    {"cv_pearson", "Coef. Variación de Pearson", " Coef. Variación Pearson ", "Alt+C",
     "dispersion"},
    {"cv_media", "Coef. Variación Media", " Coef. Variación Media ", "Alt+Shift+C", "dispersion"},
    {"cv_mediana", "Coef. Variación Mediana", " Coef. Variación Mediana ", "Alt+Ctrl+C",
     "dispersion"},
    {"semi_intercuartil", "Recorrido SemiIntercuartílico", " Recorrido semiintercuartílico ",
     "Alt+I", "posicion"},
    {"gini", "Índice de Gini", " Índice concentración Gini ", "Alt+Shift+G", "forma"},
    {nullptr, "máx", " Máximo ", "Alt+M", "posicion"},
    {nullptr, "mín", " Mínimo ", "Alt+Shift+M", "posicion"},
    {"curtosis", "Coef. de Curtosis", " Coef. Curtosis ", "Alt+K", "forma"},
}};

constexpr std::array<Cara, 2> kTeclasM{{
    {nullptr, "Me", " Mediana ", "Alt+E", "posicion"},
    {nullptr, "Mo", " Moda ", "Alt+O", "posicion"},
}};

constexpr std::array<Cara, 4> kTeclasBi{{
    {nullptr, "r", " Coef. Correlación ", "Alt+1", "bi"},
    {"covarianza", "Covarianza", " Covarianza ", "Alt+2", "bi"},
    {nullptr, "m", " Coef. Regresión ", "Alt+3", "bi"},
    {nullptr, "X|Y", " Recta de Regresión ", "Alt+4", "bi"},
}};

// Keys are told apart by their "grupo" property: means, dispersion, shape,
// position, two variables and the system keys.
const char* const kEstilo = R"(
QFrame#pantalla { background: #17302a; border-radius: 10px; }
QFrame#pantalla QLabel { color: #e8f5e9; background: transparent; }
QLabel#RESULTADO { color: #ffffff; font-family: "DejaVu Sans Mono", monospace; }
QLabel[error="true"] { color: #ffb4a9; font-weight: bold; }
QLabel#Image1[dibujo="true"] { background: #ffffff; border-radius: 6px; padding: 4px; }
QLabel#Image4 { background: #24443c; border: 1px dashed #7fa99b; border-radius: 8px; }
QLabel#Image4[resaltado="true"] { background: #2f6fb5; }
QLabel[info="true"] { color: #34495e; padding: 2px 8px; background: #eef2f5;
                      border: 1px solid #d3dbe2; border-radius: 8px; }
QPushButton[grupo] { border: 1px solid #aeb9c4; border-radius: 8px; background: #f7f9fb;
                     color: #1b2a3a; padding: 2px; }
QPushButton[grupo="media"] { background: #e8f1fd; }
QPushButton[grupo="dispersion"] { background: #eaf7ec; }
QPushButton[grupo="forma"] { background: #fbf2e3; }
QPushButton[grupo="posicion"] { background: #f1ecfa; }
QPushButton[grupo="bi"] { background: #fdeee8; }
QPushButton[grupo="sistema"] { background: #e2e7ec; }
QPushButton[grupo="borrar"] { background: #fbe0e0; color: #9b1c1c; }
QPushButton[grupo]:hover { border: 1px solid #2f6fb5; }
QPushButton[grupo]:focus { border: 2px solid #2f6fb5; }
QPushButton[grupo]:pressed { background: #cfe0f5; }
QPushButton[grupo]:disabled { color: #9aa5b1; background: #eef0f2; border-color: #d5dbe0; }
QPushButton#cmdPASOS { color: #34495e; padding: 2px 10px; background: #eef2f5;
                       border: 1px solid #aeb9c4; border-radius: 8px; }
QPushButton#cmdPASOS:checked { color: #ffffff; background: #2f6fb5; border-color: #2f6fb5; }
QFrame#PanelPasos { background: #fbfcfd; border: 1px solid #d3dbe2; border-radius: 8px; }
QLabel#tituloPasos { color: #34495e; font-weight: bold; }
)";

QString nombreControl(const char* base, int indice) {
    return QString("%1(%2)").arg(QLatin1String(base)).arg(indice);
}

TeclaCalculadora* crearTecla(QWidget* padre, const Cara& cara, const QString& nombre) {
    auto* tecla = new TeclaCalculadora(padre);
    tecla->setObjectName(nombre);
    if (cara.imagen) {
        tecla->setIcon(QIcon(QString(":/caras/%1.svg").arg(QLatin1String(cara.imagen))));
    } else {
        tecla->setText(QString::fromUtf8(cara.texto));
    }
    tecla->setToolTip(QString::fromUtf8(cara.tooltip));
    tecla->setAccessibleName(QString::fromUtf8(cara.texto).trimmed());
    tecla->setShortcut(QKeySequence(QLatin1String(cara.atajo)));
    tecla->setAccessibleDescription(
        QKeySequence(QLatin1String(cara.atajo)).toString(QKeySequence::NativeText));
    tecla->setProperty("grupo", QLatin1String(cara.grupo));
    return tecla;
}

QLabel* etiqueta(QWidget* padre, const QString& nombre) {
    auto* l = new QLabel(padre);
    l->setObjectName(nombre);
    return l;
}

} // namespace

// The window's answers to the controller: an input box and a message box.
class PanelCalculadora::Dialogos : public PreguntaValor, public AvisoUsuario {
public:
    explicit Dialogos(QWidget* padre) : padre_(padre) {}

    std::optional<QString> pedir(const QString& titulo, const QString& prompt) override {
        bool ok = false;
        const QString texto =
            QInputDialog::getText(padre_, titulo, prompt, QLineEdit::Normal, {}, &ok);
        if (!ok)
            return std::nullopt;
        return texto;
    }

    void avisar(const QString& titulo, const QString& texto) override {
        QMessageBox caja(QMessageBox::Warning, titulo, QString(texto).replace("\r\n", "\n"),
                         QMessageBox::Ok, padre_);
        caja.exec();
    }

private:
    QWidget* padre_;
};

PanelCalculadora::PanelCalculadora(Documento& documento, const Rutas& rutas, QWidget* parent)
    : QWidget(parent), controlador_(new ControladorCalculadora(documento, rutas.RutaBin, this)),
      dialogos_(std::make_unique<Dialogos>(this)), rutaHlp_(rutas.RutaHlp),
      timer_(new QTimer(this)) {
    iniciarCaras();
    controlador_->setPreguntaValor(dialogos_.get());
    controlador_->setAviso(dialogos_.get());
    letraBase_ = font();
    construir();
    aplicarEscala(1.0);
    connect(controlador_, &ControladorCalculadora::cambiado, this,
            &PanelCalculadora::mostrarEstado);
    connect(controlador_, &ControladorCalculadora::ocupado, this, [](bool si) {
        if (si)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(timer_, &QTimer::timeout, this, &PanelCalculadora::parpadear);
    controlador_->limpiarDisplay();
    controlador_->Comenzar();
    mostrarEstado();
    // Hints: the keys' pictures under the pointer, help on the right button.
    for (QWidget* w : findChildren<QWidget*>()) {
        const bool tecla = qobject_cast<TeclaCalculadora*>(w) != nullptr;
        if (tecla || w == resultado_ || w == imagen_ || w == verPasos_ ||
            mensajes_.end() != std::find(mensajes_.begin(), mensajes_.end(), w)) {
            w->installEventFilter(this);
            w->setMouseTracking(tecla);
        }
    }
}

PanelCalculadora::~PanelCalculadora() {
    // The controller may still notify while children go away.
    disconnect(controlador_, nullptr, this, nullptr);
}

void PanelCalculadora::limpiarDisplay() {
    controlador_->limpiarDisplay();
}

void PanelCalculadora::mostrarErrorComando(const QString& descripcion, int numero) {
    controlador_->mostrarErrorComando(descripcion, numero);
}

void PanelCalculadora::construir() {
    setStyleSheet(QLatin1String(kEstilo));
    auto* raiz = new QVBoxLayout(this);
    raiz->setSpacing(10);
    raiz->addWidget(construirPantalla());

    auto* info = new QHBoxLayout;
    for (int i : {1, 2, 4, 3}) {
        mensajes_[i] = etiqueta(this, nombreControl("lbl_Mensaje", i));
        mensajes_[i]->setProperty("info", true);
        info->addWidget(mensajes_[i]);
    }
    mensajes_[1]->setToolTip(" Clase de Distribución ");
    mensajes_[2]->setToolTip(" Tipo de Variable ");
    mensajes_[4]->setToolTip(" Variable activa ");
    info->addStretch();
    // The working of each press, beside the keys; shown or hidden for the
    // rest of the run, whatever distribution is opened.
    verPasos_ = new QPushButton(QStringLiteral("Paso a paso"), this);
    verPasos_->setObjectName("cmdPASOS");
    verPasos_->setCheckable(true);
    verPasos_->setToolTip(QStringLiteral(" Cómo se obtiene el resultado "));
    info->addWidget(verPasos_);
    raiz->addLayout(info);

    auto* cuerpo = new QHBoxLayout;
    cuerpo->setSpacing(14);
    cuerpo->addWidget(construirTeclado(), 3);
    cuerpo->addWidget(construirSelectores(), 1);
    pasos_ = new PanelPasos(this);
    pasos_->hide();
    cuerpo->addWidget(pasos_, 2);
    raiz->addLayout(cuerpo, 1);
    connect(verPasos_, &QPushButton::toggled, this, [this](bool ver) {
        pasos_->setVisible(ver);
        if (ver)
            pasos_->mostrar(controlador_->pasos());
    });
    connect(pasos_, &PanelPasos::paraNotas, this, &PanelCalculadora::lineaParaNotas);
}

QWidget* PanelCalculadora::construirPantalla() {
    auto* pantalla = new QFrame(this);
    pantalla->setObjectName("pantalla");
    auto* rejilla = new QGridLayout(pantalla);
    rejilla->setContentsMargins(14, 8, 14, 8);

    mensajes_[5] = etiqueta(pantalla, nombreControl("lbl_Mensaje", 5));
    mensajes_[5]->setToolTip(" Parámetros ");
    resultado_ = etiqueta(pantalla, "RESULTADO");
    resultado_->setToolTip(" Resultado ");
    resultado_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Dragged onto the notes target (Image4) it writes a line in the notes.
    resultado_->setCursor(Qt::OpenHandCursor);
    mensajes_[0] = etiqueta(pantalla, nombreControl("lbl_Mensaje", 0));
    mensajes_[0]->setToolTip(" Errores ");
    mensajes_[0]->setProperty("error", true);
    mensajes_[0]->setWordWrap(true);
    // Blinking must not make the display jump.
    QSizePolicy politica = mensajes_[0]->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    mensajes_[0]->setSizePolicy(politica);
    mensajes_[0]->setMinimumHeight(fontMetrics().height());

    imagen_ = etiqueta(pantalla, "Image1");
    imagen_->setToolTip(" Fórmulas ");
    imagen_->setAlignment(Qt::AlignCenter);
    imagen_->setMinimumSize(fontMetrics().height() * 12, fontMetrics().height() * 4);

    rejilla->addWidget(mensajes_[5], 0, 0);
    rejilla->addWidget(resultado_, 1, 0);
    rejilla->addWidget(mensajes_[0], 2, 0);
    auto* destino = new DestinoResultado(pantalla);
    connect(destino, &DestinoResultado::soltado, this, [this] {
        if (const std::optional<QString> linea = controlador_->Image4_DragDrop())
            emit lineaParaNotas(*linea);
    });

    rejilla->addWidget(imagen_, 0, 1, 3, 1);
    rejilla->addWidget(destino, 0, 2, 3, 1);
    rejilla->setColumnStretch(0, 1);
    return pantalla;
}

QWidget* PanelCalculadora::construirTeclado() {
    auto* teclado = new QWidget(this);
    auto* rejilla = new QGridLayout(teclado);
    rejilla->setContentsMargins(0, 0, 0, 0);
    rejilla->setSpacing(6);
    constexpr int kColumnas = 5;
    ControladorCalculadora* c = controlador_;
    for (int i = 0; i < static_cast<int>(kTeclas.size()); ++i) {
        auto* t = crearTecla(teclado, kTeclas[i], nombreControl("cmdTECLA", i));
        connect(t, &QPushButton::clicked, c, [c, i] { c->cmdTECLA_Click(i); });
        rejilla->addWidget(t, i / kColumnas, i % kColumnas);
    }
    int fila = static_cast<int>(kTeclas.size()) / kColumnas;
    for (int i = 0; i < 2; ++i) {
        auto* t = crearTecla(teclado, kTeclasM[i], nombreControl("cmdTECLAm", i));
        connect(t, &QPushButton::clicked, c, [c, i] { c->cmdTECLAm_Click(i); });
        rejilla->addWidget(t, fila, i);
    }
    auto* muestra = crearTecla(teclado, {nullptr, "N", " Tamaño Muestral ", "Alt+N", "posicion"},
                               "cmd_Muestra");
    connect(muestra, &QPushButton::clicked, c, [c] { c->cmd_Muestra_Click(); });
    rejilla->addWidget(muestra, fila, 2);
    variable_ =
        crearTecla(teclado, {nullptr, "X", " Variable ", "Alt+X", "sistema"}, "cmdVARIABLE");
    connect(variable_, &QPushButton::clicked, c, [c] { c->cmdVARIABLE_Click(); });
    rejilla->addWidget(variable_, fila, 3);
    auto* cls = crearTecla(teclado, {nullptr, "Cls", " Limpiar ", "Alt+L", "borrar"}, "cmd_Cls");
    connect(cls, &QPushButton::clicked, c, [c] { c->cmd_Cls_Click(); });
    rejilla->addWidget(cls, fila, 4);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cls, &QPushButton::click);

    ++fila;
    for (int i = 0; i < 4; ++i) {
        auto* t = crearTecla(teclado, kTeclasBi[i], nombreControl("cmdTECLAbi", i));
        connect(t, &QPushButton::clicked, c, [c, i] { c->cmdTECLAbi_Click(i); });
        rejilla->addWidget(t, fila, i);
        if (i == 3)
            recta_ = t;
    }
    return teclado;
}

QWidget* PanelCalculadora::construirSelectores() {
    auto* caja = new QWidget(this);
    auto* columna = new QVBoxLayout(caja);
    columna->setContentsMargins(0, 0, 0, 0);
    const std::array<const char*, kNumSelectores> kEtiquetas{
        "Cuartiles",          "Quintiles",          "Deciles",     "Percentiles",
        "Momentos al origen", "Momentos centrales", "Bivariantes", "Bivariantes centrales"};
    auto* cuantiles = new QGroupBox("Cuantiles", caja);
    auto* momentos = new QGroupBox("Momentos", caja);
    auto* formaC = new QFormLayout(cuantiles);
    auto* formaM = new QFormLayout(momentos);
    for (const SelectorInfo& si : selectores()) {
        const int i = static_cast<int>(si.selector);
        auto* combo = new QComboBox(caja);
        combo->setObjectName(QLatin1String(si.nombre));
        combo->setToolTip(QString::fromUtf8(si.tooltip));
        combo->setMaxVisibleItems(12);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setAccessibleName(QString::fromUtf8(kEtiquetas[i]));
        connect(combo, &QComboBox::activated, controlador_,
                [c = controlador_, s = si.selector](int pos) { c->seleccionar(s, pos); });
        selectores_[i] = combo;
        // Ctrl+1 ... Ctrl+8 open the lists from the keyboard.
        auto* atajo = new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + i)), this);
        connect(atajo, &QShortcut::activated, combo, [combo] {
            combo->setFocus(Qt::ShortcutFocusReason);
            combo->showPopup();
        });
        auto* texto = new QLabel(QString::fromUtf8(kEtiquetas[i]), caja);
        texto->setBuddy(combo);
        texto->setToolTip(
            QKeySequence(Qt::CTRL | (Qt::Key_1 + i)).toString(QKeySequence::NativeText));
        (i < 4 ? formaC : formaM)->addRow(texto, combo);
    }
    columna->addWidget(cuantiles);
    columna->addWidget(momentos);
    columna->addStretch();
    return caja;
}

void PanelCalculadora::mostrarEstado() {
    const EstadoCalculadora& e = controlador_->estado();
    resultado_->setText(e.RESULTADO);
    for (int i = 0; i < 6; ++i)
        mensajes_[i]->setText(e.lbl_Mensaje[i]);
    for (int i : {1, 2, 3})
        mensajes_[i]->setVisible(!e.lbl_Mensaje[i].isEmpty());
    if (!pasos_->isHidden())
        pasos_->mostrar(controlador_->pasos());
    variable_->setText(e.cmdVARIABLE);
    variable_->setEnabled(e.cmdVARIABLEEnabled);
    recta_->setText(e.cmdTECLAbi3);

    if (e.Image1 != imagenCargada_) {
        imagenCargada_ = e.Image1;
        mostrarImagen(e.Image1);
    }

    for (const SelectorInfo& si : selectores()) {
        const int i = static_cast<int>(si.selector);
        QComboBox* combo = selectores_[i];
        const QSignalBlocker bloqueo(combo);
        const QStringList& items = controlador_->items(si.selector);
        if (combo->count() != items.size()) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(e.seleccion[i]);
    }

    if (e.Timer1Interval > 0) {
        if (!timer_->isActive() || timer_->interval() != e.Timer1Interval) {
            mensajes_[0]->setVisible(true);
            timer_->start(e.Timer1Interval);
        }
    } else if (timer_->isActive()) {
        timer_->stop();
        mensajes_[0]->setVisible(true);
    }
}

void PanelCalculadora::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Texts grow with the panel, so a large screen is read from the back of
    // a classroom as well as a small one from the desk.
    const QSize tam = event->size();
    const double escala =
        std::clamp(std::min(tam.height() / 640.0, tam.width() / 1000.0), 1.0, 3.0);
    if (std::abs(escala - escala_) > 0.1)
        aplicarEscala(escala);
}

void PanelCalculadora::aplicarEscala(double escala) {
    escala_ = escala;
    QFont letra = letraBase_;
    letra.setPointSizeF(letraBase_.pointSizeF() * escala);
    setFont(letra);
    // Styled children do not inherit a changed font: give it to each.
    for (QWidget* w : findChildren<QWidget*>())
        if (!qobject_cast<TeclaCalculadora*>(w))
            w->setFont(letra);
    QFont grande = letra;
    grande.setPointSizeF(letra.pointSizeF() * 2.6);
    grande.setBold(true);
    resultado_->setFont(grande);
    QFont nombre = letra;
    nombre.setPointSizeF(letra.pointSizeF() * 1.25);
    mensajes_[5]->setFont(nombre);
}

void PanelCalculadora::mostrarImagen(const QString& ruta) {
    // Drawn at the screen's own resolution, so a vector formula stays sharp.
    QImageReader lector(ruta);
    const QSize natural = lector.size();
    const qreal ppp = devicePixelRatioF();
    QImage dibujo;
    if (natural.isValid() && natural.width() > 1) {
        // Grown with the panel's text, but never wider than half the panel.
        QSizeF logico = QSizeF(natural) * std::clamp(escala_, 1.0, 2.0) * 0.8;
        const double ancho = std::max(200.0, width() * 0.5);
        if (logico.width() > ancho)
            logico *= ancho / logico.width();
        const QSize medida = logico.toSize();
        lector.setScaledSize(medida * ppp);
        dibujo = lector.read();
        dibujo.setDevicePixelRatio(ppp);
    }
    // A picture that is missing or unreadable shows as blank.
    const bool hayDibujo = !dibujo.isNull();
    if (hayDibujo)
        imagen_->setPixmap(QPixmap::fromImage(dibujo));
    else
        imagen_->clear();
    imagen_->setProperty("dibujo", hayDibujo);
    imagen_->style()->unpolish(imagen_);
    imagen_->style()->polish(imagen_);
    // A blank picture leaves the whole display to the result.
    imagen_->setVisible(hayDibujo);
}

bool PanelCalculadora::eventFilter(QObject* objeto, QEvent* evento) {
    const QString control = objeto->objectName();
    switch (evento->type()) {
    case QEvent::Enter:
        pasarPor(control);
        break;
    case QEvent::MouseMove: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (objeto == resultado_ && (raton->buttons() & Qt::LeftButton) &&
            (raton->position().toPoint() - inicioArrastre_).manhattanLength() >=
                QApplication::startDragDistance()) {
            arrastrarResultado();
            return true;
        }
        if (raton->buttons() == Qt::NoButton)
            pasarPor(control);
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (raton->button() == Qt::RightButton) {
            kalnor::MostrarAyuda(this, rutaHlp_, controlador_->MouseDown(control));
            return true;
        }
        if (objeto == resultado_ && raton->button() == Qt::LeftButton)
            inicioArrastre_ = raton->position().toPoint();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(objeto, evento);
}

void PanelCalculadora::pasarPor(const QString& control) {
    static const QRegularExpression tecla(
        QStringLiteral("^(cmdTECLA|cmdTECLAm|cmdTECLAbi)\\((\\d+)\\)$"));
    if (control == u"cmd_Muestra") {
        controlador_->cmd_Muestra_MouseMove();
        return;
    }
    const QRegularExpressionMatch m = tecla.match(control);
    if (!m.hasMatch())
        return;
    const int indice = m.captured(2).toInt();
    const QString fila = m.captured(1);
    if (fila == u"cmdTECLA")
        controlador_->cmdTECLA_MouseMove(indice);
    else if (fila == u"cmdTECLAm")
        controlador_->cmdTECLAm_MouseMove(indice);
    else
        controlador_->cmdTECLAbi_MouseMove(indice);
}

void PanelCalculadora::arrastrarResultado() {
    auto* arrastre = new QDrag(resultado_);
    arrastre->setMimeData(DestinoResultado::datosArrastre(resultado_->text()));
    arrastre->setPixmap(resultado_->grab());
    arrastre->exec(Qt::CopyAction);
}

void PanelCalculadora::parpadear() {
    mensajes_[0]->setVisible(!mensajes_[0]->isVisible());
}

} // namespace kalnor
