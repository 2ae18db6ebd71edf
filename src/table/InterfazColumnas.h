#pragma once

#include <QString>

namespace kalnor {

// What the column commands ask of the window: message boxes, the busy
// pointer and progress of a long fill, the grid's layout and the notes. The
// DAT tab implements it; tests and kalnor-cli use stand-ins.
class InterfazColumnas {
public:
    virtual ~InterfazColumnas() = default;

    // A message box with an OK button. With a title: a refusal, critical
    // icon; without one: the program's plain notice.
    virtual void mensaje(const QString& texto, const QString& titulo = {}) = 0;
    virtual void ocupado(bool siNo) = 0;
    // A fill of `total` records has written `hechos` (shown only for long ones).
    virtual void progreso(int hechos, int total) = 0;
    // MostrarColumnas: widths and formats, the grid focused on its first column.
    virtual void mostrarColumnas() = 0;
    // Puts `linea` at the caret of the notes, and on the clipboard.
    virtual void pegarEnNotas(const QString& linea) = 0;
};

} // namespace kalnor
