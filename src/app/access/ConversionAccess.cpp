#include "ConversionAccess.h"

#include "ImportadorAccess.h"

#include "app/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace kalnor::access {

namespace {

// Set in the converter's environment by convert().
constexpr char kVariableConversor[] = "KALNOR_CONVERSOR_ACCESS";

ConversionAccess::Resultado fracaso(QString mensaje) {
    return {false, {}, std::move(mensaje), {}};
}

QString nombreCopia(const QString& original) {
    return QFileInfo(original).completeBaseName() + QStringLiteral(" (Kalnor).mdb");
}

bool carpetaEscribible(const QString& carpeta) {
    const QFileInfo info(carpeta);
    if (!info.isDir() || !info.isWritable())
        return false;
    // isWritable() trusts permission bits; a read-only mount says otherwise.
    QFile prueba(QDir(carpeta).filePath(QStringLiteral(".kalnor-escritura")));
    if (!prueba.open(QIODevice::WriteOnly))
        return false;
    prueba.close();
    prueba.remove();
    return true;
}

// The last message kalnor-cli wrote ("kalnor-cli: ..."); the reader library
// may have written warnings of its own before it.
QString mensajeDelProceso(const QByteArray& salida) {
    const QString texto = QString::fromUtf8(salida);
    const QString prefijo = QStringLiteral("kalnor-cli: ");
    QString mensaje;
    for (const QString& linea : texto.split('\n', Qt::SkipEmptyParts))
        if (linea.startsWith(prefijo))
            mensaje = linea.mid(prefijo.size()).trimmed();
    return mensaje;
}

} // namespace

ConversionAccess::ConversionAccess(QString programa, std::chrono::milliseconds limite)
    : programa_(std::move(programa)), limite_(limite) {
    if (programa_.isEmpty()) {
        const QString junto = QCoreApplication::instance()
                                  ? QCoreApplication::applicationDirPath() + "/kalnor-cli"
                                  : QString();
        programa_ =
            !junto.isEmpty() && QFileInfo::exists(junto) ? junto : QStringLiteral("kalnor-cli");
    }
}

bool ConversionAccess::enProcesoConversor() {
    return qEnvironmentVariableIsSet(kVariableConversor);
}

bool ConversionAccess::esArchivoAccess(const QString& ruta) {
    return Database::isAccessFile(QFile::encodeName(ruta).toStdString());
}

QString ConversionAccess::rutaCopia(const QString& original, const QString& rutaDat,
                                    bool escribible) {
    const QFileInfo info(original);
    const QString carpeta = escribible ? info.absolutePath() : rutaDat;
    return QDir::cleanPath(QDir(carpeta).filePath(nombreCopia(original)));
}

QString ConversionAccess::rutaCopia(const QString& original, const QString& rutaDat) {
    return rutaCopia(original, rutaDat, carpetaEscribible(QFileInfo(original).absolutePath()));
}

QString ConversionAccess::copiaExistente(const QString& original, const QString& rutaDat) {
    for (const bool junto : {true, false}) {
        const QString ruta = rutaCopia(original, rutaDat, junto);
        if (QFileInfo(ruta).isFile())
            return ruta;
    }
    return {};
}

ConversionAccess::Resultado
ConversionAccess::convertir(const QString& original, const QString& copia, bool reemplazar) const {
    const QString nombre = QFileInfo(original).fileName();
    if (QFileInfo::exists(copia) && !reemplazar)
        return fracaso(QStringLiteral("Ya existe la copia convertida %1.").arg(copia));

    QStringList argumentos{QStringLiteral("importar"), original, copia};
    if (reemplazar)
        argumentos << QStringLiteral("--forzar");
    QProcess proceso;
    proceso.setProgram(programa_);
    proceso.setArguments(argumentos);
    proceso.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QString::fromLatin1(kVariableConversor), QStringLiteral("1"));
    proceso.setProcessEnvironment(entorno);
    proceso.start(QIODevice::ReadOnly);
    if (!proceso.waitForStarted(10000))
        return fracaso(QStringLiteral("No se pudo iniciar el conversor de archivos Access (%1): %2")
                           .arg(programa_, proceso.errorString()));

    const auto limpiar = [&] { ImportadorAccess::limpiarTemporal(copia.toStdString()); };
    if (!proceso.waitForFinished(static_cast<int>(limite_.count()))) {
        proceso.kill();
        proceso.waitForFinished(5000);
        limpiar();
        return fracaso(
            QStringLiteral("La conversión de «%1» no terminó en %2 segundos y se ha "
                           "detenido: el archivo puede estar dañado. No se ha modificado "
                           "nada.")
                .arg(nombre)
                .arg(std::max<qint64>(1, limite_.count() / 1000)));
    }
    if (proceso.exitStatus() == QProcess::CrashExit) {
        limpiar();
        return fracaso(
            QStringLiteral("El lector de archivos Access se detuvo de forma inesperada al "
                           "convertir «%1»: el archivo está dañado o no se admite. No se ha "
                           "modificado nada.")
                .arg(nombre));
    }
    if (proceso.exitCode() != 0) {
        limpiar();
        const QString detalle = mensajeDelProceso(proceso.readAllStandardError());
        return fracaso(
            QStringLiteral("No se pudo convertir «%1»: %2")
                .arg(nombre, detalle.isEmpty()
                                 ? QStringLiteral("el conversor terminó con el código %1.")
                                       .arg(proceso.exitCode())
                                 : detalle));
    }
    // The summary line is short; a reader that chatters is not repeated.
    const QString resumen =
        QString::fromUtf8(proceso.readAllStandardOutput().right(4096)).trimmed();
    return {true, copia,
            QStringLiteral("«%1» es un archivo de Access: se ha abierto su copia convertida %2 "
                           "(el original no se ha modificado).")
                .arg(nombre, copia),
            resumen.section('\n', -1)};
}

} // namespace kalnor::access
