#pragma once

#include <QString>

#include <optional>

namespace kalnor {

// The rows of keys of the calculator, told apart by an index within each.
enum class FilaTeclas {
    TECLA,   // cmdTECLA(0) ... cmdTECLA(19)
    TECLAm,  // cmdTECLAm(0) median, cmdTECLAm(1) mode
    TECLAbi, // cmdTECLAbi(0) ... cmdTECLAbi(3)
    Muestra, // cmd_Muestra (index ignored)
};

// The formula picture (file name in the pictures folder) shown while the
// pointer is over a key. `tipo` is the kind text of the open distribution
// and `caraVariable` the face of the variable key, which choose between the
// two pictures of the mode and regression keys. No value: the picture stays.
std::optional<QString> imagenTecla(FilaTeclas fila, int indice, const QString& tipo,
                                   const QString& caraVariable);

// Every formula picture file the calculator can load (keys and selectors).
QStringList imagenesFormulas();

// The help keyword of a control by its name ("cmdTECLA(4)", "Image1",
// "lbl_Mensaje(0)" ...). Empty for a control without one of its own.
QString claveAyuda(const QString& control);

// Every control name that has a help keyword.
QStringList controlesConAyuda();

} // namespace kalnor
