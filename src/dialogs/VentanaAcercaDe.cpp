#include "VentanaAcercaDe.h"

#include "Dibujos.h"
#include "app/Version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#ifndef KALNOR_WEB
#define KALNOR_WEB "https://kalnor.example.org/"
#endif
#ifndef KALNOR_CORREO
#define KALNOR_CORREO "kalnor@example.org"
#endif

namespace kalnor {

namespace {

constexpr QSize kVista(360, 320); // the part of the credits picture in sight

ImagenPulsable* enlace(QWidget* padre, const char* nombre, const char* dibujado,
                       const char* consejo) {
    auto* imagen = new ImagenPulsable(padre);
    imagen->setObjectName(QString::fromLatin1(nombre));
    imagen->setPixmap(dibujo(QString::fromLatin1(dibujado), padre->devicePixelRatioF()));
    imagen->setToolTip(QString::fromUtf8(consejo));
    imagen->setCursor(Qt::PointingHandCursor);
    imagen->setAlignment(Qt::AlignCenter);
    return imagen;
}

} // namespace

QUrl VentanaAcercaDe::paginaWeb() {
    return QUrl(QStringLiteral(KALNOR_WEB));
}

QUrl VentanaAcercaDe::correo() {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(QStringLiteral(KALNOR_CORREO));
    url.setQuery(QStringLiteral("subject=Kalnor %1").arg(version()));
    return url;
}

VentanaAcercaDe::VentanaAcercaDe(QWidget* parent) : QDialog(parent), Timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("frm_AcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de Kalnor..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    // The credits picture moves inside a fixed frame that clips it.
    auto* marco = new QWidget(this);
    marco->setObjectName(QStringLiteral("marcoCreditos"));
    marco->setFixedSize(kVista);
    auto* imagen = new ImagenPulsable(marco);
    imagen->setObjectName(QStringLiteral("Image1"));
    imagen->setPixmap(dibujo(QStringLiteral("creditos"), devicePixelRatioF()));
    imagen->adjustSize();
    imagen->move(0, 0);
    Image1_ = imagen;
    connect(imagen, &ImagenPulsable::clicked, this, &VentanaAcercaDe::Command2_Click);

    auto* web = enlace(this, "Image2", "web", " Web ");
    auto* mail = enlace(this, "Image3", "correo", " e-mail ");
    Image2_ = web;
    Image3_ = mail;
    connect(web, &ImagenPulsable::clicked, this, [] { QDesktopServices::openUrl(paginaWeb()); });
    connect(mail, &ImagenPulsable::clicked, this, [] { QDesktopServices::openUrl(correo()); });

    Command1_ = new QPushButton(QStringLiteral("Créditos"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command2_ = new QPushButton(QStringLiteral("Ok"), this);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command2_->setDefault(true);
    connect(Command1_, &QPushButton::clicked, this, &VentanaAcercaDe::Command1_Click);
    connect(Command2_, &QPushButton::clicked, this, &VentanaAcercaDe::Command2_Click);

    auto* lado = new QVBoxLayout;
    lado->addWidget(web);
    lado->addWidget(mail);
    lado->addStretch(1);
    lado->addWidget(Command1_);
    lado->addWidget(Command2_);
    auto* todo = new QHBoxLayout(this);
    todo->addWidget(marco);
    todo->addLayout(lado);
    todo->setSizeConstraint(QLayout::SetFixedSize);

    Timer1_->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1_, &QTimer::timeout, this, &VentanaAcercaDe::Timer1_Timer);
    aplicar();
}

void VentanaAcercaDe::aplicar() {
    Image1_->move(0, creditos_.topEnPixeles());
    const int intervalo = creditos_.intervalo();
    if (intervalo == 0)
        Timer1_->stop();
    else if (!Timer1_->isActive() || Timer1_->interval() != intervalo)
        Timer1_->start(intervalo);
}

void VentanaAcercaDe::Timer1_Timer() {
    creditos_.Timer1_Timer();
    aplicar();
}

void VentanaAcercaDe::Command1_Click() {
    creditos_.Command1_Click();
    aplicar();
}

void VentanaAcercaDe::Command2_Click() {
    // The busy pointer lasts until the window behind is back.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Timer1_->stop();
    accept();
    if (QWidget* principal = parentWidget() ? parentWidget()->window() : nullptr)
        principal->show();
    QTimer::singleShot(0, qApp, [] {
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    });
}

void VentanaAcercaDe::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    QDialog::changeEvent(event);
}

} // namespace kalnor
