#include "EditorNotas.h"

#include "AccionesNotas.h"
#include "DialogoLetra.h"
#include "EstiloNotas.h"
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
    : QWidget(parent), documento_(documento), caja_(new QTextEdit(this)) {
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
    capas->addWidget(caja_, 1);

    connect(caja_, &QTextEdit::textChanged, &autoGuardado_, &AutoGuardado::cambio);
    connect(&autoGuardado_, &AutoGuardado::guardar, this, &EditorNotas::escribir);
    connect(&documento_, &Documento::abierto, this, [this] {
        // Reopened under our feet (a column added ...): keep what was typed.
        if (autoGuardado_.pendiente() && rutaCargada_ == documento_.BaseActual)
            escribir();
        else
            cargar();
    });
    cargar();
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
    const QString texto =
        rutaCargada_.empty() ? QString() : QString::fromStdString(documento_.Enunciado());
    caja_->clear();
    caja_->setCurrentFont(letraNormal());
    if (Qt::mightBeRichText(texto))
        caja_->setHtml(texto);
    else
        caja_->setPlainText(texto);
    caja_->setReadOnly(rutaCargada_.empty());
    caja_->document()->clearUndoRedoStacks();
}

void EditorNotas::escribir() {
    if (rutaCargada_.empty() || rutaCargada_ != documento_.BaseActual)
        return;
    if (!documento_.Data2.isOpen()) {
        autoGuardado_.cambio(); // closed for a moment: written when it reopens
        return;
    }
    const QString texto = caja_->toPlainText().isEmpty() ? QString() : caja_->toHtml();
    if (!documento_.setEnunciado(texto.toStdString()))
        emit errorAlGuardar(QString::fromStdString(documento_.error.MensajeError));
}

void EditorNotas::guardar() {
    autoGuardado_.guardarYa();
}

void EditorNotas::PegarEnNotas(const QString& texto) {
    QClipboard* portapapeles = QApplication::clipboard();
    portapapeles->clear();
    portapapeles->setText(texto);
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
