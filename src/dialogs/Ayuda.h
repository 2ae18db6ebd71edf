#pragma once

#include <QString>

class QWidget;

namespace kalnor {

// Shows the help window of `origen`'s top-level window at the topic of
// `palabraClave` from the help file `rutaHlp` + "kalnor.hlp". One help
// window per main window; it stays open until closed.
void MostrarAyuda(QWidget* origen, const QString& rutaHlp, const QString& palabraClave);

// Closes that help window if it is open.
void CerrarAyuda(QWidget* origen);

} // namespace kalnor
