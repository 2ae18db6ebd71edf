#include "VentanaLogo.h"

#include "Dibujos.h"
#include "app/Version.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace kalnor {

VentanaLogo::VentanaLogo(std::function<void()> mostrarPrincipal, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      mostrarPrincipal_(std::move(mostrarPrincipal)), Label1_(new QLabel(this)),
      Timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("frm_LOGO"));
    setWindowTitle(QStringLiteral("Kalnor"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("Image1"));
    imagen->setPixmap(dibujo(QStringLiteral("logo"), devicePixelRatioF()));
    imagen->adjustSize();
    setFixedSize(imagen->size());

    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setText(QStringLiteral("Versión %1 - ßeta").arg(version()));
    Label1_->setStyleSheet(QStringLiteral("color: #ffb703; font-weight: bold;"));
    Label1_->adjustSize();
    Label1_->move(width() - Label1_->width() - 18, height() - Label1_->height() - 18);
    Label1_->raise(); // over the picture

    if (const QScreen* pantalla = QApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    ocupado_ = true;
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setSingleShot(true);
    connect(Timer1_, &QTimer::timeout, this, &VentanaLogo::Timer1_Timer);
    Timer1_->start(kEspera);
}

VentanaLogo::~VentanaLogo() {
    normal();
}

void VentanaLogo::normal() {
    if (ocupado_) {
        ocupado_ = false;
        QApplication::restoreOverrideCursor();
    }
}

void VentanaLogo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        normal();
    QWidget::changeEvent(event);
}

void VentanaLogo::Timer1_Timer() {
    // Paint the picture before the main window's construction takes the thread.
    QApplication::processEvents();
    normal();
    if (mostrarPrincipal_)
        mostrarPrincipal_();
    close();
}

} // namespace kalnor
