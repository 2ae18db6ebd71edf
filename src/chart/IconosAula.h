#pragma once

#include "GraficoAula.h"

#include <QIcon>

namespace kalnor {

// A small picture of each classroom chart for its button, drawn here so that
// it looks the same whatever the icon theme.
QIcon iconoAula(TipoAula tipo);

} // namespace kalnor
