#include "IconosAula.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kalnor {

namespace {

const QColor kAzul(0x2b, 0x5e, 0xa7);
const QColor kRojo(0xc0, 0x39, 0x2b);
const QColor kTinta(0x20, 0x20, 0x20);

void barras(QPainter& p, bool juntas) {
    const int alturas[] = {6, 12, 16, 10, 5};
    for (int i = 0; i < 5; ++i) {
        const int ancho = juntas ? 4 : 3;
        p.fillRect(QRect(2 + i * 4, 21 - alturas[i], ancho, alturas[i]), kAzul);
    }
}

void poligono(QPainter& p) {
    p.setPen(QPen(kRojo, 1.6));
    const QPointF puntos[] = {{1, 21}, {4, 15}, {8, 9}, {12, 5}, {16, 11}, {20, 16}, {23, 21}};
    p.drawPolyline(puntos, 7);
}

} // namespace

QIcon iconoAula(TipoAula tipo) {
    QPixmap imagen(24, 24);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kTinta, 1));
    p.drawLine(1, 22, 23, 22);
    switch (tipo) {
    case TipoAula::Histograma:
        barras(p, true);
        break;
    case TipoAula::Poligono:
        poligono(p);
        break;
    case TipoAula::HistogramaPoligono:
        barras(p, true);
        poligono(p);
        break;
    case TipoAula::Ojiva: {
        p.setPen(QPen(kAzul, 1.8));
        QPainterPath s;
        s.moveTo(2, 21);
        s.cubicTo(10, 21, 12, 3, 22, 3);
        p.drawPath(s);
        break;
    }
    case TipoAula::Nube:
        p.setPen(Qt::NoPen);
        p.setBrush(kAzul);
        for (const QPointF c : {QPointF(5, 17), QPointF(9, 14), QPointF(12, 12), QPointF(16, 8),
                                QPointF(19, 6), QPointF(8, 18), QPointF(15, 11)})
            p.drawEllipse(c, 1.8, 1.8);
        p.setPen(QPen(kRojo, 1.4));
        p.drawLine(2, 20, 22, 4);
        break;
    case TipoAula::Lorenz: {
        p.setPen(QPen(kTinta, 1, Qt::DashLine));
        p.drawLine(2, 21, 22, 3);
        p.setPen(QPen(kRojo, 1.8));
        QPainterPath s;
        s.moveTo(2, 21);
        s.cubicTo(14, 21, 19, 15, 22, 3);
        p.drawPath(s);
        break;
    }
    case TipoAula::Caja:
        p.setPen(QPen(kTinta, 1.4));
        p.drawLine(2, 12, 7, 12);
        p.drawLine(17, 12, 22, 12);
        p.setBrush(QColor(0x9d, 0xc3, 0xe6));
        p.drawRect(QRectF(7, 7, 10, 10));
        p.setPen(QPen(kTinta, 2));
        p.drawLine(11, 7, 11, 17);
        break;
    }
    p.end();
    return QIcon(imagen);
}

} // namespace kalnor
