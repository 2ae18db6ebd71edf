#pragma once

#include <QString>

class QWidget;

namespace kalnor {

// The program's message boxes: refusals (critical icon, OK) and questions
// ("¡ Atención !", exclamation icon, Yes/No with No as default).
void mensajeError(QWidget* parent, const QString& texto, const QString& titulo = "¡ Error !");
bool preguntaAtencion(QWidget* parent, const QString& texto);

} // namespace kalnor
