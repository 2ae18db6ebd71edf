#pragma once

#include "cWindows.h"
#include "chart/CalculadoraEscritorio.h"

#include <QStringList>

#include <functional>
#include <memory>

class QProcess;

namespace kalnor {

// The desktop's own calculator, started from the chart toolbar: the first of
// the known calculator programs found on the PATH. Before starting it, any
// window titled "Calculadora" is asked to close; on exit it is asked again.
class CalculadoraGenerica : public CalculadoraEscritorio {
public:
    struct Opciones {
        QStringList programas{"gnome-calculator", "kcalc",         "galculator",
                              "mate-calc",        "qalculate-gtk", "xcalc"};
        QStringList carpetas; // where to look for them; empty: the PATH
        // The display the window list reads; empty: the desktop's.
        std::function<std::unique_ptr<ConexionX>()> conectar;
    };

    CalculadoraGenerica();
    explicit CalculadoraGenerica(Opciones opciones);
    ~CalculadoraGenerica() override;

    void abrir() override;
    void cerrar() override;

    // The calculator started by this object is still running.
    bool enMarcha() const;
    qint64 pid() const;

private:
    void terminarPropia();

    Opciones opciones_;
    std::unique_ptr<cWindows> ventanas_; // made by each abrir(), kept until cerrar()
    std::unique_ptr<QProcess> proceso_;
};

} // namespace kalnor
