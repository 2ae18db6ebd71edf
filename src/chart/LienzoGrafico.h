#pragma once

#include "DibujoGrafico.h"

#include <QImage>
#include <QLocale>
#include <QSize>

namespace kalnor {

// Draws Graph1 offscreen: the command-line tool and the tests write charts
// without a window through it.
class LienzoGrafico : public DibujoGrafico {
public:
    explicit LienzoGrafico(QSize tamano = {800, 600}, QLocale locale = QLocale())
        : tamano_(tamano), locale_(std::move(locale)) {}

    void borrar() override { imagen_ = QImage(); }
    void dibujar(const ControlGrafico& grafico) override;
    bool escribirImagen(const ControlGrafico& grafico, const QString& ruta) override;
    void dibujarAula(const GraficoAula& grafico) override;

    // The last drawing (null before the first one and after a clear).
    const QImage& imagen() const { return imagen_; }

private:
    QSize tamano_;
    QLocale locale_;
    QImage imagen_;
};

} // namespace kalnor
