#include "VentanaAyuda.h"

#include "Ayuda.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalnor {

namespace {
const QString kNombreVentana = QStringLiteral("VentanaAyuda");

QToolButton* boton(const char* icono, QStyle::StandardPixmap reserva, const QString& texto,
                   QWidget* padre) {
    auto* b = new QToolButton(padre);
    b->setIcon(QIcon::fromTheme(QLatin1String(icono), padre->style()->standardIcon(reserva)));
    b->setText(texto);
    b->setToolTip(texto);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}
} // namespace

VentanaAyuda::VentanaAyuda(ArchivoAyuda ayuda, const QString& rutaImagenes, QWidget* parent)
    : QDialog(parent), ayuda_(std::move(ayuda)), filtro_(new QLineEdit), indice_(new QListWidget),
      texto_(new QTextBrowser) {
    setObjectName(kNombreVentana);
    setWindowTitle(QStringLiteral("Ayuda de Kalnor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(900, 620);

    atras_ = boton("go-previous", QStyle::SP_ArrowBack, QStringLiteral("Atrás"), this);
    adelante_ = boton("go-next", QStyle::SP_ArrowForward, QStringLiteral("Adelante"), this);
    auto* inicio = boton("go-home", QStyle::SP_DirHomeIcon, QStringLiteral("Índice"), this);

    filtro_->setPlaceholderText(QStringLiteral("Buscar palabras en la ayuda"));
    filtro_->setClearButtonEnabled(true);
    indice_->addItems(ayuda_.indice());
    texto_->setOpenLinks(false);
    texto_->document()->setDocumentMargin(14);
    if (!rutaImagenes.isEmpty())
        texto_->setSearchPaths({rutaImagenes});

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
    division->setSizes({240, 660});

    auto* barra = new QHBoxLayout;
    barra->addWidget(atras_);
    barra->addWidget(adelante_);
    barra->addWidget(inicio);
    barra->addStretch();

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(8, 8, 8, 8);
    capas->addLayout(barra);
    capas->addWidget(division, 1);

    connect(filtro_, &QLineEdit::textChanged, this, &VentanaAyuda::filtrar);
    connect(indice_, &QListWidget::currentTextChanged, this, [this](const QString& clave) {
        if (!clave.isEmpty())
            mostrar(clave);
    });
    connect(texto_, &QTextBrowser::anchorClicked, this, [this](const QUrl& enlace) {
        const QString clave = ArchivoAyuda::claveDeEnlace(enlace);
        if (!clave.isEmpty())
            mostrar(clave);
    });
    connect(atras_, &QToolButton::clicked, this, &VentanaAyuda::atras);
    connect(adelante_, &QToolButton::clicked, this, &VentanaAyuda::adelante);
    connect(inicio, &QToolButton::clicked, this, [this] { mostrar(QString()); });
    auto* teclaAtras = new QShortcut(QKeySequence::Back, this);
    connect(teclaAtras, &QShortcut::activated, this, &VentanaAyuda::atras);
    auto* teclaAdelante = new QShortcut(QKeySequence::Forward, this);
    connect(teclaAdelante, &QShortcut::activated, this, &VentanaAyuda::adelante);
    actualizarBotones();
}

void VentanaAyuda::filtrar(const QString& texto) {
    // A topic is listed when one of its keywords or its text has the words.
    const QStringList enTexto = ayuda_.buscarTexto(texto);
    for (int i = 0; i < indice_->count(); ++i) {
        QListWidgetItem* item = indice_->item(i);
        const ArchivoAyuda::Tema* tema = ayuda_.buscar(item->text());
        const bool ver = texto.trimmed().isEmpty() ||
                         item->text().contains(texto.trimmed(), Qt::CaseInsensitive) ||
                         (tema && enTexto.contains(tema->claves.value(0)));
        item->setHidden(!ver);
    }
}

void VentanaAyuda::mostrar(const QString& palabraClave) {
    // Keep the history short of repeats and cut what lay ahead.
    if (posicion_ < 0 || historial_.value(posicion_) != palabraClave) {
        while (historial_.size() > posicion_ + 1)
            historial_.removeLast();
        historial_.append(palabraClave);
        posicion_ = static_cast<int>(historial_.size()) - 1;
    }
    ensenar(palabraClave);
    actualizarBotones();
}

void VentanaAyuda::atras() {
    if (posicion_ <= 0)
        return;
    --posicion_;
    ensenar(historial_[posicion_]);
    actualizarBotones();
}

void VentanaAyuda::adelante() {
    if (posicion_ + 1 >= historial_.size())
        return;
    ++posicion_;
    ensenar(historial_[posicion_]);
    actualizarBotones();
}

void VentanaAyuda::actualizarBotones() {
    atras_->setEnabled(posicion_ > 0);
    adelante_->setEnabled(posicion_ + 1 < historial_.size());
}

void VentanaAyuda::ensenar(const QString& palabraClave) {
    const ArchivoAyuda::Tema* tema = ayuda_.buscar(palabraClave);
    if (!tema) {
        // No topic: the index, never an empty page.
        temaMostrado_.clear();
        if (ayuda_.temas().isEmpty()) {
            texto_->setHtml(QStringLiteral("<p>No se encuentra el archivo de ayuda.</p>"));
            return;
        }
        QString md = palabraClave.trimmed().isEmpty()
                         ? QStringLiteral("# Índice de la ayuda\n\n")
                         : QStringLiteral("# Índice de la ayuda\n\nNo hay un tema «%1». Elija "
                                          "uno de la lista:\n\n")
                               .arg(palabraClave);
        for (const ArchivoAyuda::Tema& t : ayuda_.temas())
            md += "- [" + t.claves.value(0) +
                  "](tema:" + QString::fromLatin1(QUrl::toPercentEncoding(t.claves.value(0))) +
                  ")\n";
        texto_->setMarkdown(md);
        const QSignalBlocker bloqueo(indice_);
        indice_->setCurrentItem(nullptr);
        return;
    }
    temaMostrado_ = tema->claves.value(0);
    texto_->setMarkdown(ArchivoAyuda::markdown(*tema));
    const QList<QListWidgetItem*> items = indice_->findItems(palabraClave, Qt::MatchExactly);
    const QList<QListWidgetItem*> propios =
        items.isEmpty() ? indice_->findItems(temaMostrado_, Qt::MatchExactly) : items;
    if (!propios.isEmpty() && indice_->currentItem() != propios.front()) {
        const QSignalBlocker bloqueo(indice_);
        indice_->setCurrentItem(propios.front());
    }
}

void MostrarAyuda(QWidget* origen, const QString& rutaHlp, const QString& palabraClave) {
    QWidget* ventana = origen ? origen->window() : nullptr;
    auto* ayuda = ventana ? ventana->findChild<VentanaAyuda*>(kNombreVentana) : nullptr;
    if (!ayuda) {
        // The formula pictures live in bin/, beside hlp/.
        const QString bin = rutaHlp.isEmpty() ? QString() : rutaHlp + QStringLiteral("../bin/");
        ayuda = new VentanaAyuda(ArchivoAyuda::leer(rutaHlp + QStringLiteral("kalnor.hlp")), bin,
                                 ventana);
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
