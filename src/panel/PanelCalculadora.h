#pragma once

#include <QString>
#include <QWidget>

namespace kalnor {

class Documento;
struct Rutas;

// The "CAL" tab: measure keys, quantile and moment selectors, the result
// display and its labels. The main window embeds it and forwards the few
// things the file commands need.
class PanelCalculadora : public QWidget {
    Q_OBJECT
public:
    PanelCalculadora(Documento& documento, const Rutas& rutas, QWidget* parent = nullptr);
    ~PanelCalculadora() override;

    void limpiarDisplay();
    // A file command failed: the description in the error label and
    // "¡ Error N" in the display.
    void mostrarErrorComando(const QString& descripcion, int numero);
};

} // namespace kalnor
