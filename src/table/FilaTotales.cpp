#include "FilaTotales.h"

#include "FormatoCelda.h"
#include "ModeloTabla.h"
#include "VistaTabla.h"
#include "app/Documento.h"
#include "panel/FormatoResultado.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

namespace kalnor {

FilaTotales::FilaTotales(Documento& documento, ModeloTabla& modelo, VistaTabla& tabla,
                         QWidget* parent)
    : QWidget(parent), documento_(documento), modelo_(modelo), tabla_(tabla) {
    setObjectName(QStringLiteral("filaTotales"));
    setToolTip(QStringLiteral(" Suma de cada columna numérica "));
    connect(&modelo_, &QAbstractItemModel::modelReset, this, &FilaTotales::recalcular);
    connect(&modelo_, &QAbstractItemModel::rowsInserted, this, &FilaTotales::recalcular);
    connect(&modelo_, &QAbstractItemModel::rowsRemoved, this, &FilaTotales::recalcular);
    connect(&modelo_, &ModeloTabla::celdaCambiada, this,
            [this](int columna, const stats::CellValue& antes, const stats::CellValue& despues) {
                if (!pendiente_)
                    totales_.cambiar(columna, antes, despues);
                update();
            });
    // Lined up with the grid's columns wherever they are.
    connect(tabla_.horizontalHeader(), &QHeaderView::sectionResized, this,
            qOverload<>(&QWidget::update));
    connect(tabla_.horizontalHeader(), &QHeaderView::geometriesChanged, this,
            qOverload<>(&QWidget::update));
    connect(tabla_.horizontalScrollBar(), &QScrollBar::valueChanged, this,
            qOverload<>(&QWidget::update));
    recalcular();
}

void FilaTotales::recalcular() {
    pendiente_ = true;
    update();
}

void FilaTotales::alDia() const {
    if (!pendiente_)
        return;
    totales_.recalcular(documento_.Data1, documento_.kind());
    pendiente_ = false;
}

const TotalesColumnas& FilaTotales::totales() const {
    alDia();
    return totales_;
}

QString FilaTotales::texto(int columna) const {
    alDia();
    const std::optional<double> suma = totales_.suma(columna);
    if (!suma)
        return {};
    // The display's own format, so a total never reads otherwise than
    // "Sumar la columna" (a sum that rounds to zero is "0.0", not "-0.0").
    const std::string campo = modelo_.campo(columna);
    return campo == "ni" ? formatoEntero(*suma, modelo_.locale())
                         : formatoResultado(*suma, modelo_.locale());
}

QSize FilaTotales::sizeHint() const {
    return {100, fontMetrics().height() + 10};
}

void FilaTotales::paintEvent(QPaintEvent*) {
    alDia();
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.window());
    const QHeaderView* cabecera = tabla_.horizontalHeader();
    const int izquierda = tabla_.frameWidth() + tabla_.verticalHeader()->width();
    const int alto = height();

    QFont negrita = font();
    negrita.setBold(true);
    p.setFont(negrita);
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(QRect(0, 0, izquierda, alto), Qt::AlignCenter, QStringLiteral("Σ"));

    const int ancho = tabla_.frameWidth() + tabla_.viewport()->width();
    p.setClipRect(QRect(izquierda, 0, ancho - tabla_.frameWidth(), alto));
    for (int c = 0; c < totales_.columnas(); ++c) {
        const int x = izquierda + cabecera->sectionViewportPosition(c);
        const int w = cabecera->sectionSize(c);
        if (x + w < izquierda || x > izquierda + ancho)
            continue;
        const QRect celda(x, 1, w, alto - 2);
        p.fillRect(celda, pal.base());
        p.setPen(pal.color(QPalette::Mid));
        p.drawRect(celda.adjusted(0, 0, -1, -1));
        p.setPen(pal.color(QPalette::Text));
        p.drawText(celda.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight, texto(c));
    }
}

} // namespace kalnor
