#include "VentanaAutor.h"

#include "Dibujos.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace kalnor {

VentanaAutor::VentanaAutor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAUTOR"));
    setWindowTitle(QStringLiteral("Kalnor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    auto* imagen = new ImagenPulsable(this);
    imagen->setObjectName(QStringLiteral("Image1"));
    imagen->setPixmap(dibujo(QStringLiteral("autor"), devicePixelRatioF()));
    imagen->setCursor(Qt::PointingHandCursor);
    Image1_ = imagen;
    connect(imagen, &ImagenPulsable::clicked, this, &QDialog::accept);
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(imagen);
    todo->setSizeConstraint(QLayout::SetFixedSize);
}

void VentanaAutor::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    QDialog::changeEvent(event);
}

ClicsPanelAutor::ClicsPanelAutor(QWidget* panel) : QObject(panel), panel_(panel) {
    setObjectName(QStringLiteral("clicsPanelAutor"));
    panel->installEventFilter(this);
}

bool ClicsPanelAutor::eventFilter(QObject* objeto, QEvent* event) {
    if (objeto == panel_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && contador_.contar()) {
        // Opened after the click is over, not from inside its delivery.
        QTimer::singleShot(0, panel_, [this] {
            VentanaAutor ventana(panel_->window());
            ventana.exec();
        });
    }
    return QObject::eventFilter(objeto, event);
}

} // namespace kalnor
