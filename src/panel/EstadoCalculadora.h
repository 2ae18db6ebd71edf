#pragma once

#include "Selectores.h"

#include <QString>

#include <array>
#include <optional>

namespace kalnor {

// What the calculator panel shows. The widgets only mirror it.
struct EstadoCalculadora {
    QString RESULTADO = "0";
    // lbl_Mensaje(0) error text, (1) CLASE, (2) TIPO, (3) message, (4) active
    // variable, (5) name of the measure.
    std::array<QString, 6> lbl_Mensaje{{{}, {}, {}, {}, "var. X", {}}};
    QString Image1;                  // full path of the formula picture
    int Timer1Interval = 0;          // blinking of lbl_Mensaje(0): 500 ms or stopped
    QString cmdVARIABLE = "X";       // the variable key's face
    bool cmdVARIABLEEnabled = false; // only for two-variable distributions
    QString cmdTECLAbi3 = "X|Y";     // the regression line key's caption
    QString SUMATORIO = "0";
    QString lblColumnas = "Columnas: X";
    std::array<int, kNumSelectores> seleccion{-1, -1, -1, -1, -1, -1, -1, -1};
    // The number last shown, at full precision (none for texts and failures).
    std::optional<double> valor;
};

} // namespace kalnor
