#pragma once

#include <QFrame>
#include <QString>

#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace kalnor {

// A coloured bar above a view that keeps saying something the user must not
// miss (the notes are not saved, the file is read-only ...) until it no
// longer holds, with the buttons that answer it.
class BarraAviso : public QFrame {
    Q_OBJECT
public:
    enum class Nivel { Informacion, Problema };
    struct Boton {
        QString nombre; // object name, for the keyboard's and the tests' sake
        QString texto;
        std::function<void()> accion;
    };

    explicit BarraAviso(QWidget* parent = nullptr);

    // Shows `texto` with these buttons (replacing what was shown).
    void mostrar(Nivel nivel, const QString& texto, const std::vector<Boton>& botones);
    void ocultar();
    QString texto() const;

private:
    QLabel* texto_;
    QHBoxLayout* botones_;
};

} // namespace kalnor
