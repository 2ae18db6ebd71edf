#include "ImportacionCsv.h"

#include "app/CargaCsv.h"
#include "app/DbError.h"
#include "app/Documento.h"

#include <QFile>

#include <string>

namespace kalnor {

std::optional<std::string> leerArchivoCsv(const QString& ruta, QString& mensaje) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        mensaje = QStringLiteral("no se puede leer ") + ruta;
        return std::nullopt;
    }
    return archivo.readAll().toStdString();
}

ResultadoImportacion importarCsv(Documento& documento, const QString& nombre,
                                 std::string_view texto) {
    const stats::KindInfo* kind = documento.kind();
    if (!kind)
        return {false, 0, QStringLiteral("No hay un archivo abierto.")};
    const std::string base = documento.BaseActual;
    const auto db = documento.Data1.database();
    documento.CerrarBase();
    ResultadoImportacion resultado;
    try {
        resultado.filas = CargarCsv(*db, *kind, texto);
        resultado.hecho = true;
        resultado.mensaje =
            QStringLiteral("Cargadas %1 filas en %2")
                .arg(resultado.filas)
                .arg(QString::fromLatin1(kind->code.data(), static_cast<int>(kind->code.size())));
    } catch (const DbError& e) {
        resultado.mensaje = nombre + QStringLiteral(": ") + QString::fromUtf8(e.what()) +
                            QStringLiteral("; no se ha escrito nada");
    }
    if (!documento.AbrirBase(base)) {
        resultado.hecho = false;
        resultado.mensaje = QString::fromStdString(documento.error.MensajeError);
    }
    return resultado;
}

} // namespace kalnor
