#pragma once

#include "TotalesColumnas.h"

#include <QWidget>

namespace kalnor {

class Documento;
class ModeloTabla;
class VistaTabla;

// The fixed row "Σ" under the grid: the sum of every numeric column, lined
// up with the grid's columns and formatted like its cells. It follows every
// change of the table: a cell edit by itself, anything else by a rescan.
class FilaTotales : public QWidget {
    Q_OBJECT
public:
    FilaTotales(Documento& documento, ModeloTabla& modelo, VistaTabla& tabla,
                QWidget* parent = nullptr);

    const TotalesColumnas& totales() const;
    // What the row shows under column `columna` ("" for none).
    QString texto(int columna) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Several resets in a row (reopen, sort, lay out) cost one rescan: it
    // is made when the row is next read or painted.
    void recalcular();
    void alDia() const;

    Documento& documento_;
    ModeloTabla& modelo_;
    VistaTabla& tabla_;
    mutable TotalesColumnas totales_;
    mutable bool pendiente_ = true;
};

} // namespace kalnor
