#pragma once

#include "stats/Kinds.h"

#include <QString>

#include <optional>

namespace kalnor {

// What the file commands ask of the window: dialogs, messages, the busy
// pointer and the views that follow the document. The main window implements
// it; tests use a scripted stand-in.
class InterfazComandos {
public:
    virtual ~InterfazComandos() = default;

    // File dialogs; nullopt when cancelled.
    virtual std::optional<QString> elegirArchivoAbrir(const QString& carpeta) = 0;
    virtual std::optional<QString> elegirArchivoGuardar(const QString& carpeta) = 0;
    // The new-distribution dialog; nullptr when cancelled.
    virtual const stats::KindInfo* elegirNuevaDistribucion() = 0;

    virtual void mensajeError(const QString& texto, const QString& titulo) = 0;
    virtual bool preguntar(const QString& texto) = 0; // "¡ Atención !", No by default
    virtual void ocupado(bool siNo) = 0;              // busy pointer
    // A short notice that needs no answer (message box and status bar).
    virtual void avisar(const QString& texto) = 0;

    // Before the open document goes away (another file, a new one, exit):
    // pending notes reach the file; when some cannot, the user decides
    // (save a copy, give them up, or stay). False: stay.
    virtual bool dejarDocumento() {
        guardarNotas();
        return true;
    }
    // The document is being saved under `ruta`: notes the open file does not
    // hold go into the copy. Empty: the copy failed and they stay.
    virtual void notasSiguenA(const QString& ruta) { (void)ruta; }
    // The file is held open by another Kalnor (`quien` says which).
    enum class AnteOtroKalnor { AbrirIgual, SoloLectura, Cancelar };
    virtual AnteOtroKalnor otroKalnorLoTiene(const QString& archivo, const QString& quien) {
        (void)archivo;
        (void)quien;
        return AnteOtroKalnor::AbrirIgual;
    }

    // Views.
    virtual void guardarNotas() = 0; // pending notes reach the file
    virtual void limpiarDisplay() = 0;
    virtual void mostrarErrorComando(const QString& descripcion, int numero) = 0;
    virtual void mostrarColumnas() = 0;
    virtual void seleccionarPestana(int indice) = 0;
    virtual void mostrarAcercaDe() = 0;
    virtual void salir() = 0;
};

} // namespace kalnor
