#include "PanelPasos.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kalnor {

PanelPasos::PanelPasos(QWidget* parent) : QFrame(parent) {
    setObjectName("PanelPasos");
    setFrameShape(QFrame::StyledPanel);
    auto* caja = new QVBoxLayout(this);
    caja->setContentsMargins(8, 6, 8, 8);
    auto* titulo = new QLabel(QStringLiteral("Paso a paso"), this);
    titulo->setObjectName("tituloPasos");
    caja->addWidget(titulo);

    texto_ = new QTextBrowser(this);
    texto_->setObjectName("textoPasos");
    texto_->setOpenLinks(false);
    texto_->setPlaceholderText(
        QStringLiteral("Pulse una tecla de medida para ver cómo se obtiene el resultado."));
    caja->addWidget(texto_, 1);

    aNotas_ = new QPushButton(QStringLiteral("Pasos a notas"), this);
    aNotas_->setObjectName("PasosANotas");
    aNotas_->setToolTip(QStringLiteral(" Copia el desarrollo en las notas "));
    aNotas_->setEnabled(false);
    connect(aNotas_, &QPushButton::clicked, this, [this] {
        if (!lineas_.isEmpty())
            emit paraNotas(textoParaNotas(lineas_));
    });
    caja->addWidget(aNotas_);
}

void PanelPasos::mostrar(const QStringList& lineas) {
    if (lineas == lineas_)
        return;
    lineas_ = lineas;
    aNotas_->setEnabled(!lineas_.isEmpty());
    // Rich text only to set the result apart; every line is escaped, since
    // the working quotes words typed in the table.
    QString html;
    for (qsizetype i = 0; i < lineas_.size(); ++i) {
        const QString linea = lineas_[i].toHtmlEscaped();
        const bool ultima = i + 1 == lineas_.size();
        html += QStringLiteral("<p style=\"margin: 0 0 4px 0; white-space: pre-wrap\">%1</p>")
                    .arg(ultima ? QStringLiteral("<b>%1</b>").arg(linea) : linea);
    }
    texto_->setHtml(html);
}

QString PanelPasos::textoParaNotas(const QStringList& lineas) {
    return lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n");
}

} // namespace kalnor
