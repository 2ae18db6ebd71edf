#pragma once

// Answers the window's modal dialogs from a test: a dialog runs its own event
// loop, so the test's answer has to come from inside it.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace kalnor::prueba {

// Runs `accion` on the next modal dialog, from inside its event loop. The
// watch ends with `dueno`, when given, if no dialog came.
inline void alAparecer(QObject* dueno, std::function<void(QWidget*)> accion) {
    auto* reloj = new QTimer(dueno);
    reloj->setInterval(20);
    QObject::connect(reloj, &QTimer::timeout, [reloj, accion = std::move(accion)] {
        if (QWidget* dialogo = QApplication::activeModalWidget()) {
            reloj->stop();
            reloj->deleteLater();
            accion(dialogo);
        }
    });
    reloj->start();
}

inline void alAparecer(std::function<void(QWidget*)> accion) {
    alAparecer(nullptr, std::move(accion));
}

} // namespace kalnor::prueba
