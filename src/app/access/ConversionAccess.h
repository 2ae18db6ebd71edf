#pragma once

#include <QString>

#include <chrono>

namespace kalnor::access {

// Opening an Access distribution: it is never modified; a converted copy
// "NOMBRE (Kalnor).mdb" is written by `kalnor-cli importar`, run as a child
// process with a time limit, so a damaged or hostile file that makes the
// reader crash or hang only costs a message. `kalnor-cli importar` run by a
// user goes through here too.
class ConversionAccess {
public:
    struct Resultado {
        bool ok = false;
        QString copia;   // the converted file (when ok)
        QString mensaje; // Spanish: what happened, for the status bar or a message box
        QString resumen; // what the converter wrote out (when ok): kind and rows
    };

    // True in the converter's own process: `kalnor-cli importar` started by
    // convert() reads the file itself instead of starting another child.
    static bool enProcesoConversor();

    // `programa`: path of kalnor-cli (empty: beside the running program).
    explicit ConversionAccess(QString programa = {},
                              std::chrono::milliseconds limite = std::chrono::seconds(30));

    // True when the file's header says Access (Jet or ACE).
    static bool esArchivoAccess(const QString& ruta);

    // Where the copy of `original` goes: beside it, or in `rutaDat` when the
    // original's folder cannot be written.
    static QString rutaCopia(const QString& original, const QString& rutaDat);
    static QString rutaCopia(const QString& original, const QString& rutaDat,
                             bool carpetaEscribible);
    // The copy an earlier conversion left (beside the original or in
    // `rutaDat`), or empty when there is none.
    static QString copiaExistente(const QString& original, const QString& rutaDat);

    // Converts `original` into `copia`. An existing `copia` is replaced only
    // when `reemplazar` (ask the user first). Whatever fails, no partial copy
    // is left behind and the original stays as it was.
    Resultado convertir(const QString& original, const QString& copia, bool reemplazar) const;

private:
    QString programa_;
    std::chrono::milliseconds limite_;
};

} // namespace kalnor::access
