#pragma once

// A throw-away program folder for the window tests: bin/ with the template,
// dat/ with the example distributions and hlp/ with the help file, copied
// from the build tree.

#include "app/Database.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "app/Rutas.h"
#include "stats/Kinds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace kalnor::prueba {

class EntornoKalnor {
public:
    EntornoKalnor() {
        const QDir raiz(dir_.path());
        for (const char* sub : {"bin", "dat", "hlp"})
            raiz.mkpath(QString::fromLatin1(sub));
        const QString build = QStringLiteral(KALNOR_BUILD_DIR);
        QFile::copy(build + "/bin/kalnor.ini", dir_.path() + "/bin/kalnor.ini");
        QFile::copy(build + "/hlp/kalnor.hlp", dir_.path() + "/hlp/kalnor.hlp");
        const QDir ejemplos(build + "/dat");
        for (const QString& nombre : ejemplos.entryList({"*.mdb"}, QDir::Files))
            QFile::copy(ejemplos.filePath(nombre), dir_.path() + "/dat/" + nombre);
        rutas_ = {dir_.path() + "/dat/", dir_.path() + "/hlp/", dir_.path() + "/bin/"};
    }

    const Rutas& rutas() const { return rutas_; }
    QString ejemplo(const QString& nombre) const { return rutas_.RutaDat + nombre; }
    QString plantilla() const { return rutas_.RutaBin + "kalnor.ini"; }

    // A new distribution of `codigo` at dat/`nombre` with the given rows,
    // each a list of values in the table's field order.
    QString crear(const QString& nombre, const char* codigo,
                  const std::vector<std::vector<stats::CellValue>>& filas = {}) const {
        const stats::KindInfo* kind = stats::kindByCode(codigo);
        const QString ruta = rutas_.RutaDat + nombre;
        CrearNueva(plantilla().toStdString(), ruta.toStdString(), std::string(kind->tipo),
                   std::string(kind->bivariate ? stats::kClaseBi : stats::kClaseUni));
        if (!filas.empty()) {
            Documento doc;
            doc.AbrirBase(ruta.toStdString());
            for (const auto& fila : filas) {
                doc.Data1.AddNew();
                for (std::size_t i = 0; i < fila.size(); ++i)
                    doc.Data1.SetField(static_cast<int>(i), fila[i]);
                doc.Data1.Update();
            }
        }
        return ruta;
    }

private:
    QTemporaryDir dir_;
    Rutas rutas_;
};

inline stats::CellValue num(double v) {
    return stats::CellValue::number(v);
}
inline stats::CellValue txt(const char* s) {
    return stats::CellValue::text(s);
}

} // namespace kalnor::prueba
