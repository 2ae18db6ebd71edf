#include "Rutas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kalnor {

namespace {

QString withSlash(const QString& dir) {
    const QString clean = QDir::cleanPath(dir);
    return clean.endsWith('/') ? clean : clean + '/';
}

// Copies the shipped examples into a new per-user folder, once.
void seedExamples(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList({"*.mdb"}, QDir::Files)) {
        const QString target = to + name;
        if (!QFileInfo::exists(target) && QFile::copy(source.filePath(name), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
    }
}

} // namespace

Rutas Rutas::desdePrograma(const QString& programDir) {
    const QString base = withSlash(programDir);
    QString data;
    if (QFileInfo::exists(base + "bin/kalnor.ini")) {
        // Run from the build tree (or a copied, writable program folder).
        if (QFileInfo(base).isWritable())
            return {base + "dat/", base + "hlp/", base + "bin/"};
        data = base; // a read-only program folder that carries its own files
    } else {
        // Installed: program files under share/, distributions per user.
        data = withSlash(QStringLiteral(KALNOR_DATA_DIR));
        if (!QFileInfo::exists(data + "bin/kalnor.ini"))
            data = withSlash(base + "../share/kalnor");
    }
    QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + "/.local/share";
    const QString dat = withSlash(user + "/kalnor/dat");
    if (!QFileInfo::exists(dat))
        seedExamples(data + "dat/", dat);
    return {dat, data + "hlp/", data + "bin/", data};
}

bool Rutas::esInstalada(const QString& carpeta) const {
    if (RutaInstalada.isEmpty() || carpeta.isEmpty())
        return false;
    const QString raiz = QFileInfo(RutaInstalada).canonicalFilePath();
    const QString ruta = QFileInfo(carpeta).canonicalFilePath();
    return !raiz.isEmpty() && (ruta == raiz || ruta.startsWith(raiz + '/'));
}

} // namespace kalnor
