#include "DestinoResultado.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QStyle>

namespace kalnor {

DestinoResultado::DestinoResultado(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("Image4"));
    setToolTip(QStringLiteral(" Arrastre el resultado hasta aquí "));
    setAccessibleName(QStringLiteral("Llevar el resultado a las notas"));
    setAcceptDrops(true);
    setAlignment(Qt::AlignCenter);
    const QIcon icono = QIcon::fromTheme(QStringLiteral("document-edit"),
                                         style()->standardIcon(QStyle::SP_FileDialogContentsView));
    setPixmap(icono.pixmap(32, 32));
    setMinimumSize(44, 44);
}

QMimeData* DestinoResultado::datosArrastre(const QString& resultado) {
    auto* datos = new QMimeData;
    datos->setData(kTipo, resultado.toUtf8());
    datos->setText(resultado);
    return datos;
}

void DestinoResultado::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kTipo)) {
        event->acceptProposedAction();
        resaltar(true);
    }
}

void DestinoResultado::dragLeaveEvent(QDragLeaveEvent* event) {
    resaltar(false);
    QLabel::dragLeaveEvent(event);
}

void DestinoResultado::dropEvent(QDropEvent* event) {
    resaltar(false);
    if (!event->mimeData()->hasFormat(kTipo))
        return;
    event->acceptProposedAction();
    emit soltado();
}

void DestinoResultado::resaltar(bool si) {
    setProperty("resaltado", si);
    style()->unpolish(this);
    style()->polish(this);
}

} // namespace kalnor
