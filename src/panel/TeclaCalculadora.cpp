#include "TeclaCalculadora.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QResizeEvent>

#include <algorithm>

namespace kalnor {

TeclaCalculadora::TeclaCalculadora(QWidget* parent) : QPushButton(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoDefault(false);
}

namespace {
// Hints follow the surrounding text, not the key's own (grown) face.
int altoTexto(const QWidget& w) {
    return QFontMetrics(w.parentWidget() ? w.parentWidget()->font() : w.font()).height();
}
} // namespace

QSize TeclaCalculadora::sizeHint() const {
    const int alto = altoTexto(*this);
    return {alto * 4, static_cast<int>(alto * 2.4)};
}

QSize TeclaCalculadora::minimumSizeHint() const {
    const int alto = altoTexto(*this);
    return {alto * 3, static_cast<int>(alto * 1.9)};
}

void TeclaCalculadora::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    // Faces are drawn 72 x 44: keep that shape inside the key.
    const int alto = std::max(8, event->size().height() * 3 / 4);
    const int ancho = std::min(event->size().width() * 4 / 5, alto * 72 / 44);
    setIconSize({ancho, ancho * 44 / 72});
    if (icon().isNull()) {
        QFont f = font();
        f.setPixelSize(std::max(10, event->size().height() * 2 / 5));
        setFont(f);
    }
}

void TeclaCalculadora::keyPressEvent(QKeyEvent* event) {
    int dFila = 0;
    int dColumna = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dColumna = -1;
        break;
    case Qt::Key_Right:
        dColumna = 1;
        break;
    case Qt::Key_Up:
        dFila = -1;
        break;
    case Qt::Key_Down:
        dFila = 1;
        break;
    default:
        QPushButton::keyPressEvent(event);
        return;
    }
    auto* rejilla = parentWidget() ? qobject_cast<QGridLayout*>(parentWidget()->layout()) : nullptr;
    const int indice = rejilla ? rejilla->indexOf(this) : -1;
    if (indice < 0) {
        QPushButton::keyPressEvent(event);
        return;
    }
    int fila = 0, columna = 0, filas = 0, columnas = 0;
    rejilla->getItemPosition(indice, &fila, &columna, &filas, &columnas);
    // The nearest key in that direction that can take the focus.
    for (fila += dFila, columna += dColumna;
         fila >= 0 && columna >= 0 && fila < rejilla->rowCount() &&
         columna < rejilla->columnCount();
         fila += dFila, columna += dColumna) {
        QLayoutItem* item = rejilla->itemAtPosition(fila, columna);
        if (item && item->widget() && item->widget()->isEnabled()) {
            item->widget()->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace kalnor
