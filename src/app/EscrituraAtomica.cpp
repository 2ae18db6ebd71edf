#include "EscrituraAtomica.h"

#include <QSaveFile>

namespace kalnor {

QString noSeEscribe(const QString& ruta, const QString& motivo) {
    return QStringLiteral("No se puede escribir «%1»: %2").arg(ruta, motivo);
}

QString escribirAtomico(const QString& ruta, QByteArrayView bytes) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return noSeEscribe(ruta, archivo.errorString());
    // A short write (a full disk) must not be committed as the whole file.
    if (archivo.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString motivo = archivo.errorString();
        archivo.cancelWriting();
        return noSeEscribe(ruta, motivo);
    }
    if (!archivo.commit())
        return noSeEscribe(ruta, archivo.errorString());
    return {};
}

} // namespace kalnor
