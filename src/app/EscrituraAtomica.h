#pragma once

#include <QByteArrayView>
#include <QString>

namespace kalnor {

// The message for a file that cannot be written, with the reason.
QString noSeEscribe(const QString& ruta, const QString& motivo);

// Writes `bytes` to `ruta` through a temporary file renamed over it at the
// end, so a failure halfway leaves any earlier file as it was. Returns the
// message saying why it failed, or an empty string.
QString escribirAtomico(const QString& ruta, QByteArrayView bytes);

} // namespace kalnor
