#pragma once

#include "Rutas.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class QLockFile;

namespace kalnor {

class Documento;
class InterfazComandos;

// The document commands of the main toolbar: new, open, save as, clear,
// sort, tally, about and exit. Works on the document and asks the window
// (InterfazComandos) for dialogs and messages, so it runs without widgets.
class ComandosArchivo : public QObject {
    Q_OBJECT
public:
    ComandosArchivo(Documento& documento, const Rutas& rutas, InterfazComandos& ui,
                    QObject* parent = nullptr);
    ~ComandosArchivo() override;

    // Dispatches a toolbar key ("botonNUEVA" ... "botonSALIR").
    void ejecutar(const QString& clave);

    void nueva();
    void abrir();
    void guardarComo();
    // The open distribution, notes included, into a file the user chooses,
    // which becomes the open one; also with no rows (the way out of a file
    // that refuses the notes). False when cancelled or failed.
    bool guardarCopia();
    // The open file read again after someone else wrote to it.
    void recargar();
    void borrar();
    void ordenar();
    void recuento();
    void acercaDe();
    void salir();

    // Opens `ruta` as the document; on failure says why and keeps the open
    // document. Every way of opening a file goes through here.
    bool abrirDistribucion(const QString& ruta);
    // The file named on the command line (the file manager's double click):
    // opened and shown in the table like the open key does; a file that
    // cannot be opened gives the usual message and leaves the window empty.
    bool abrirAlEmpezar(const QString& ruta);

    static QString rutaNueva(const Rutas& rutas) { return rutas.RutaDat + "Nueva.mdb"; }

    // The converter run for Access files (default: kalnor-cli beside the program).
    void setProgramaConversion(const QString& programa) { programaConversion_ = programa; }

private:
    void refrescar();      // recount, and re-read the active variable when there are rows
    bool sinDatos() const; // no file open or no rows
    void mostrarTabla();   // clear the display, reopen, lay out the columns
    bool nuevaTieneContenido(const QString& ruta);
    void reabrir(const std::string& base); // back to a document after a failure
    // The Kalnor copy of an Access file to open instead of it (converted now
    // or left by an earlier conversion); nullopt when there is none.
    std::optional<QString> copiaDeAccess(const QString& original);
    // While a file is open here a lock file beside it tells other Kalnors.
    static QString rutaCerrojo(const QString& archivo);
    void seguirCerrojo(); // the lock follows the open document
    // Whether `archivo` may be opened, and how, when another Kalnor has it.
    std::optional<bool> abrirSoloLectura(const QString& archivo);

    Documento& documento_;
    Rutas rutas_;
    InterfazComandos& ui_;
    QString programaConversion_;
    std::unique_ptr<QLockFile> cerrojo_; // held while its file is open here
    QString archivoCerrojo_;
};

} // namespace kalnor
