#pragma once

#include <QObject>
#include <QTimer>

namespace kalnor {

// Decides when edited notes are written: shortly after typing stops, and
// during long typing at least every `maximo` ms, so a crash never loses more
// than that. guardarYa() writes at once (before the document goes away).
class AutoGuardado : public QObject {
    Q_OBJECT
public:
    explicit AutoGuardado(QObject* parent = nullptr, int pausa = 500, int maximo = 1500);

    bool pendiente() const { return pendiente_; }
    bool suspendido() const { return suspendido_; }

public slots:
    void cambio();    // the text changed
    void guardarYa(); // emits guardar() now when something is pending
    void olvidar();   // the pending change is no longer wanted
    // While the file refuses the text (a failed write, notes changed by
    // someone else) changes stay pending without being written by
    // themselves: each attempt could wait for the file's lock, and the user
    // decides. guardarYa() still writes.
    void suspender();
    void reanudar();

signals:
    void guardar();

private:
    QTimer pausa_;
    QTimer maximo_;
    bool pendiente_ = false;
    bool suspendido_ = false;
};

} // namespace kalnor
