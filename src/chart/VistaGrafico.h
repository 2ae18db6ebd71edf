#pragma once

#include "DibujoGrafico.h"

#include <QChartView>
#include <QLocale>

namespace kalnor {

// Graph1 on screen: a chart view that redraws when the control asks and
// writes what it shows. A click on it is the chart's click notification.
class VistaGrafico : public QChartView, public DibujoGrafico {
    Q_OBJECT
public:
    explicit VistaGrafico(QWidget* parent = nullptr);
    ~VistaGrafico() override;

    void borrar() override;
    void dibujar(const ControlGrafico& grafico) override;
    bool escribirImagen(const ControlGrafico& grafico, const QString& ruta) override;
    void dibujarAula(const GraficoAula& grafico) override;

signals:
    void pulsado();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void cambiarGrafico(QChart* nuevo);
};

} // namespace kalnor
