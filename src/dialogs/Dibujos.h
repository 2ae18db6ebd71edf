#pragma once

#include <QLabel>
#include <QPixmap>

namespace kalnor {

// One of the program's own pictures (":/dibujos/NOMBRE.svg") drawn at its
// natural size, sharp on high-density screens.
QPixmap dibujo(const QString& nombre, qreal escala);

// A picture that answers a left click, as the windows' pictures do.
class ImagenPulsable : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace kalnor
