#include "TeclaCalculadora.h"

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

} // namespace kalnor
