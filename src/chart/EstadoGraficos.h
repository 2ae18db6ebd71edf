#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace kalnor {

// What the chart tab's three option lists show. The widgets only mirror it.
struct EstadoGraficos {
    QStringList cboESTILO;
    QStringList cboPALETA;
    QStringList cboREJILLA;
    // Shown selection of each list (style, palette, grid); -1 for none.
    std::array<int, 3> seleccion{-1, -1, -1};
};

// Texts of the chart tab.
namespace textos_grafico {
inline const QString kEtiquetaEstilo = QStringLiteral("Estilo :");
inline const QString kEtiquetaPaleta = QStringLiteral("Paleta :");
inline const QString kEtiquetaRejilla = QStringLiteral("Rejilla :");
inline const QString kConsejoEstilo = QStringLiteral(" Estilo ");
inline const QString kConsejoPaleta = QStringLiteral(" Paleta ");
// The grid list has always carried the style list's tip.
inline const QString kConsejoRejilla = QStringLiteral(" Estilo ");
} // namespace textos_grafico

} // namespace kalnor
