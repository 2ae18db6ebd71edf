#include "AutoGuardado.h"

namespace kalnor {

AutoGuardado::AutoGuardado(QObject* parent, int pausa, int maximo) : QObject(parent) {
    pausa_.setSingleShot(true);
    pausa_.setInterval(pausa);
    maximo_.setSingleShot(true);
    maximo_.setInterval(maximo);
    connect(&pausa_, &QTimer::timeout, this, &AutoGuardado::guardarYa);
    connect(&maximo_, &QTimer::timeout, this, &AutoGuardado::guardarYa);
}

void AutoGuardado::cambio() {
    pendiente_ = true;
    if (suspendido_)
        return;
    pausa_.start(); // restarts with every keystroke
    if (!maximo_.isActive())
        maximo_.start(); // does not restart: bounds the wait while typing
}

void AutoGuardado::guardarYa() {
    if (!pendiente_)
        return;
    olvidar();
    emit guardar();
}

void AutoGuardado::olvidar() {
    pendiente_ = false;
    pausa_.stop();
    maximo_.stop();
}

void AutoGuardado::suspender() {
    suspendido_ = true;
    pausa_.stop();
    maximo_.stop();
}

void AutoGuardado::reanudar() {
    suspendido_ = false;
    if (pendiente_)
        cambio();
}

} // namespace kalnor
