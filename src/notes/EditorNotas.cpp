#include "EditorNotas.h"

#include "AccionesNotas.h"
#include "BarraAviso.h"
#include "DialogoLetra.h"
#include "EnunciadoSeguro.h"
#include "EstiloNotas.h"
#include "RecursosNotas.h"
#include "app/Documento.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace kalnor {

namespace {

struct BotonNotas {
    const char* texto;
    const char* consejo;
    const char* icono;
};

constexpr std::array<BotonNotas, 8> kBotones{{
    {"Normal", " Letra normal ", "edit-clear"},
    {"Cortar", " Cortar ", "edit-cut"},
    {"Deshacer", " Deshacer ", "edit-undo"},
    {"Borrar", " Borrar ", "edit-delete"},
    {"Copiar", " Copiar ", "edit-copy"},
    {"Pegar", " Pegar ", "edit-paste"},
    {"Línea", " Insertar línea ", "list-add"},
    {"Todo", " Seleccionar todo ", "edit-select-all"},
}};

QFont letraNormal() {
    QFont letra(QString::fromLatin1(kLetraNotas), kPuntosNotas);
    letra.setStyleHint(QFont::TypeWriter);
    return letra;
}

} // namespace

EditorNotas::EditorNotas(Documento& documento, QWidget* parent)
    : QWidget(parent), documento_(documento), caja_(new CajaNotas(this)) {
    caja_->setObjectName(QStringLiteral("RichTextBox1"));
    caja_->setAcceptRichText(true);
    caja_->setFont(letraNormal());
    caja_->setPlaceholderText(
        QStringLiteral("Abra una distribución o cree una nueva para escribir sus notas."));
    caja_->setReadOnly(true);

    auto* titulo = new QLabel(
        QStringLiteral("Enunciado del Problema. Cuestiones. Valores de los distintos Parámetros. "
                       "Observaciones, notas y conclusiones."));
    titulo->setWordWrap(true);
    // Image5: the notes' picture, with its help on the right button.
    auto* imagen = new QLabel;
    imagen->setObjectName(QStringLiteral("Image5"));
    imagen->setPixmap(QIcon::fromTheme(QStringLiteral("accessories-text-editor")).pixmap(24, 24));
    imagen->setToolTip(QStringLiteral(" Notas "));
    imagen->installEventFilter(this);
    QFont letraTitulo = titulo->font();
    letraTitulo.setBold(true);
    titulo->setFont(letraTitulo);

    auto* botones = new QHBoxLayout;
    botones->setSpacing(4);
    for (int i = 0; i < static_cast<int>(kBotones.size()); ++i) {
        const BotonNotas& b = kBotones[static_cast<std::size_t>(i)];
        auto* boton = new QToolButton;
        boton->setObjectName(QStringLiteral("cmdNotas_%1").arg(i));
        boton->setText(QString::fromUtf8(b.texto));
        boton->setToolTip(QString::fromUtf8(b.consejo));
        boton->setIcon(QIcon::fromTheme(QString::fromLatin1(b.icono)));
        boton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        boton->setAutoRaise(true);
        connect(boton, &QToolButton::clicked, this, [this, i] { cmdNotas_Click(i); });
        botones->addWidget(boton);
        if (i != 4 && i != 7) // copying and selecting change nothing
            edicion_.push_back(boton);
    }
    barra_ = botones;
    botones->addStretch();
    auto* letra = new QToolButton;
    letra->setObjectName(QStringLiteral("cmdLETRA"));
    letra->setText(QStringLiteral("Letra"));
    letra->setToolTip(QStringLiteral(" Cambiar fuentes "));
    letra->setIcon(QIcon::fromTheme(QStringLiteral("preferences-desktop-font")));
    letra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    letra->setAutoRaise(true);
    connect(letra, &QToolButton::clicked, this, &EditorNotas::cmdLETRA_Click);
    botones->addWidget(letra);
    edicion_.push_back(letra);
    acciones_ = new AccionesNotas(*caja_->document(), documento_, this);
    botones->addWidget(acciones_);

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(8, 8, 8, 8);
    capas->setSpacing(6);
    auto* cabecera = new QHBoxLayout;
    cabecera->addWidget(imagen);
    cabecera->addWidget(titulo, 1);
    capas->addLayout(cabecera);
    capas->addLayout(botones);
    aviso_ = new BarraAviso(this);
    capas->addWidget(aviso_);
    capas->addWidget(caja_, 1);

    connect(caja_, &QTextEdit::textChanged, &autoGuardado_, &AutoGuardado::cambio);
    connect(&autoGuardado_, &AutoGuardado::guardar, this, &EditorNotas::escribir);
    connect(&documento_, &Documento::abierto, this, &EditorNotas::alAbrirse);
    cargar();
}

void EditorNotas::alAbrirse() {
    if (rutaCargada_ != documento_.BaseActual) {
        cargar(); // another file
        return;
    }
    // The same file again (a column added, or changed by someone else):
    // what was typed is kept and written, unless the stored notes changed
    // meanwhile; those are taken only when nothing here is unsaved.
    if (sinGuardar() || !forzarEn_.empty())
        escribir();
    else if (documento_.Enunciado() != guardado_)
        cargar();
    else
        mostrarAviso(); // the file may have become read-only
}

bool EditorNotas::sinGuardar() const {
    return autoGuardado_.pendiente() || estado_ != Estado::AlDia;
}

void EditorNotas::descartar() {
    forzarEn_.clear();
    origenTraslado_.clear();
    if (!documento_.BaseActual.empty())
        documento_.EnunciadoEnArchivo(); // what someone else stored, too
    cargar();
}

void EditorNotas::trasladarA(const std::string& ruta) {
    if (ruta.empty()) {
        if (!origenTraslado_.empty())
            rutaCargada_ = origenTraslado_;
        forzarEn_.clear();
        origenTraslado_.clear();
        return;
    }
    if (!sinGuardar())
        return; // the copy holds these notes already
    if (origenTraslado_.empty())
        origenTraslado_ = rutaCargada_;
    rutaCargada_ = ruta;
    forzarEn_ = ruta;
}

void EditorNotas::ponerEstado(Estado estado, const QString& motivo) {
    estado_ = estado;
    motivo_ = motivo;
    if (estado == Estado::AlDia)
        autoGuardado_.reanudar();
    else
        autoGuardado_.suspender();
    mostrarAviso();
}

void EditorNotas::mostrarAviso() {
    using Boton = BarraAviso::Boton;
    const Boton guardarComo{QStringLiteral("avisoGuardarComo"), QStringLiteral("Guardar como…"),
                            [this] { emit guardarComoPedido(); }};
    switch (estado_) {
    case Estado::Fallo:
        aviso_->mostrar(BarraAviso::Nivel::Problema,
                        QStringLiteral("<b>Las notas no se han guardado:</b> %1<br>El texto sigue "
                                       "aquí. Pulse «Reintentar» o guarde la distribución en otro "
                                       "archivo con «Guardar como…».")
                            .arg(motivo_.toHtmlEscaped()),
                        {{QStringLiteral("avisoReintentar"), QStringLiteral("Reintentar"),
                          [this] {
                              autoGuardado_.cambio();
                              autoGuardado_.guardarYa();
                          }},
                         guardarComo});
        return;
    case Estado::Conflicto:
        aviso_->mostrar(
            BarraAviso::Nivel::Problema,
            QStringLiteral("<b>Otra ventana u otro programa ha cambiado las notas de este "
                           "archivo</b> desde que se abrieron aquí. Las suyas no se han guardado "
                           "para no borrar las otras. ¿Qué desea hacer?"),
            {{QStringLiteral("avisoConservar"), QStringLiteral("Conservar las mías"),
              [this] {
                  forzarEn_ = rutaCargada_;
                  estado_ = Estado::AlDia;
                  autoGuardado_.reanudar();
                  autoGuardado_.cambio();
                  autoGuardado_.guardarYa();
              }},
             {QStringLiteral("avisoTomar"), QStringLiteral("Tomar las del archivo"),
              [this] { descartar(); }},
             {QStringLiteral("avisoGuardarComo"),
              QStringLiteral("Guardar las mías en otro archivo…"),
              [this] { emit guardarComoPedido(); }}});
        return;
    case Estado::AlDia:
        break;
    }
    if (!rutaCargada_.empty() && documento_.soloLectura() && rutaCargada_ == documento_.BaseActual)
        aviso_->mostrar(BarraAviso::Nivel::Informacion,
                        QStringLiteral("Este archivo está abierto en <b>solo lectura</b>: las "
                                       "notas no se pueden cambiar. Para trabajar en él, "
                                       "guárdelo con otro nombre."),
                        {guardarComo});
    else if (!rutaCargada_.empty() && caja_->isReadOnly()) // writable, but cut for size
        aviso_->mostrar(BarraAviso::Nivel::Informacion,
                        QString::fromStdString(avisoEnunciadoRecortado(guardado_.size())) +
                            QStringLiteral(" Se muestra recortado y, para no perder el resto, "
                                           "no se puede modificar aquí."),
                        {});
    else
        aviso_->ocultar();
}

bool EditorNotas::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::RightButton &&
        objeto->objectName() == u"Image5") {
        emit ayudaPedida(QStringLiteral("Notas"));
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void EditorNotas::cargar() {
    const QSignalBlocker bloqueo(caja_);
    autoGuardado_.olvidar();
    rutaCargada_ = documento_.BaseActual;
    forzarEn_.clear();
    origenTraslado_.clear();
    guardado_ = rutaCargada_.empty() ? std::string() : documento_.Enunciado();
    caja_->clear();
    caja_->setCurrentFont(letraNormal());
    // Only the start of a statement too big is shown: writing it back would
    // lose the rest.
    const bool recortado = mostrarEnunciado(*caja_, guardado_);
    // A file opened read-only: nothing would keep what is written.
    const bool soloLectura = !rutaCargada_.empty() && documento_.soloLectura();
    caja_->setReadOnly(rutaCargada_.empty() || soloLectura || recortado);
    for (QWidget* control : edicion_)
        control->setEnabled(!soloLectura);
    caja_->document()->clearUndoRedoStacks();
    ponerEstado(Estado::AlDia);
}

void EditorNotas::escribir() {
    if (rutaCargada_.empty() || rutaCargada_ != documento_.BaseActual)
        return;
    // A copy the text was taken to gets it whatever notes it holds.
    const bool forzar = forzarEn_ == rutaCargada_;
    if (!documento_.Data2.isOpen() || (estado_ == Estado::Conflicto && !forzar)) {
        // Closed for a moment: written when it reopens. Or held back until
        // the user says what to do with the other notes.
        autoGuardado_.cambio();
        return;
    }
    const QString texto = caja_->toPlainText().isEmpty() ? QString() : caja_->toHtml();
    const std::string nuevo = texto.toStdString();
    switch (documento_.guardarEnunciado(nuevo, forzar ? nullptr : &guardado_)) {
    case Documento::Guardado::Hecho:
        autoGuardado_.olvidar(); // the file holds the box as it is now
        guardado_ = nuevo;
        forzarEn_.clear();
        origenTraslado_.clear();
        ponerEstado(Estado::AlDia);
        return;
    case Documento::Guardado::CambiadoPorOtro:
        autoGuardado_.cambio();
        ponerEstado(Estado::Conflicto);
        return;
    case Documento::Guardado::Fallo: {
        autoGuardado_.cambio();
        const QString motivo = QString::fromStdString(documento_.error.MensajeError);
        ponerEstado(Estado::Fallo, motivo);
        emit errorAlGuardar(motivo);
        return;
    }
    }
}

void EditorNotas::guardar() {
    autoGuardado_.guardarYa();
}

void EditorNotas::PegarEnNotas(const QString& texto) {
    QClipboard* portapapeles = QApplication::clipboard();
    portapapeles->clear();
    portapapeles->setText(texto);
    if (caja_->isReadOnly())
        return; // the line is on the clipboard, for a file that can be written
    caja_->setFocus();
    QString plano = texto;
    plano.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    caja_->insertPlainText(plano);
}

void EditorNotas::insertar(const QString& texto, bool negrita) {
    if (caja_->isReadOnly())
        return; // no distribution open: nowhere to keep the notes
    QString plano = texto;
    plano.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor = caja_->textCursor();
    QTextCharFormat formato = caja_->currentCharFormat();
    formato.setFontWeight(negrita ? QFont::Bold : QFont::Normal);
    cursor.insertText(plano, formato);
    caja_->setTextCursor(cursor);
    if (negrita) {
        QTextCharFormat normal;
        normal.setFontWeight(QFont::Normal);
        caja_->mergeCurrentCharFormat(normal);
    }
}

void EditorNotas::ponerEnBarra(QWidget* control) {
    edicion_.push_back(control);
    control->setEnabled(rutaCargada_.empty() || !documento_.soloLectura());
    // Before the stretch that keeps the font button at the right.
    barra_->insertWidget(static_cast<int>(kBotones.size()), control);
}

void EditorNotas::letraINI(bool normal, const QFont& elegida, const QColor& color) {
    QTextCharFormat formato;
    if (normal) {
        formato.setFontFamilies({QString::fromLatin1(kLetraNotas)});
        formato.setFontPointSize(kPuntosNotas);
        formato.setForeground(QColor(Qt::black));
        formato.setFontWeight(QFont::Normal);
        formato.setFontItalic(false);
    } else {
        formato.setFontFamilies({elegida.family()});
        formato.setFontPointSize(tamanoAplicado(elegida.pointSize()));
        formato.setForeground(color);
        formato.setFontWeight(elegida.bold() ? QFont::Bold : QFont::Normal);
        formato.setFontItalic(elegida.italic());
    }
    caja_->mergeCurrentCharFormat(formato);
}

void EditorNotas::cmdNotas_Click(int indice) {
    if (caja_->isReadOnly() && indice != 4 && indice != 7)
        return; // only copying and selecting on notes that cannot change
    switch (indice) {
    case 0:
        letraINI(true);
        break;
    case 1:
        caja_->cut();
        break;
    case 2:
        caja_->undo();
        break;
    case 3: {
        QTextCursor cursor = caja_->textCursor();
        cursor.deleteChar(); // the selection, or the character after the caret
        caja_->setTextCursor(cursor);
        break;
    }
    case 4: {
        QClipboard* portapapeles = QApplication::clipboard();
        portapapeles->clear();
        QString seleccion = caja_->textCursor().selectedText();
        seleccion.replace(QChar::ParagraphSeparator, '\n');
        if (!seleccion.isEmpty())
            portapapeles->setText(seleccion);
        return; // copying leaves the focus where it was
    }
    case 5:
        caja_->paste();
        break;
    case 6:
        PegarEnNotas(QStringLiteral("\r\n") + QString(58, '~') + QStringLiteral("\r\n"));
        break;
    case 7:
        caja_->selectAll();
        break;
    default:
        return;
    }
    caja_->setFocus();
}

void EditorNotas::cmdLETRA_Click() {
    DialogoLetra dialogo(letraNormal(), this);
    const bool aceptado = dialogo.exec() == QDialog::Accepted;
    letraINI(!aceptado, dialogo.letra(), dialogo.color());
    caja_->setFocus();
}

} // namespace kalnor
