#pragma once

#include "RecordSet.h"
#include "stats/EngineLists.h"
#include "stats/ErrorRecord.h"
#include "stats/Kinds.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>

namespace kalnor {

// The open distribution and the state every command shares: the document
// state, the two record sets and the engine lists. One per main window (or
// per command-line run).
class Documento : public QObject {
    Q_OBJECT
public:
    explicit Documento(QObject* parent = nullptr);

    // Document state.
    std::string BaseActual;        // path of the open file, empty when none
    std::string TipoDist;          // kind code of the open file
    std::int32_t NumRegistros = 0; // rows as last counted
    std::string VarActiva = "X";   // "X" or "Y"
    stats::ErrorRecord error;      // MensajeError / NumError
    stats::EngineLists listas;     // Valores, Frecuencias, ...

    RecordSet Data1; // the data table
    RecordSet Data2; // the statement table ENUNCIADO

    // Opens `base` all-or-nothing: on any failure (missing, not a
    // distribution, damaged ...) the error record says why, false is
    // returned and the previously open document stays exactly as it was.
    // How a file is opened: for writing when the file and its folder allow
    // it, or only for reading (nothing then edits it). ComoAntes: the file
    // open now, opened again, stays read-only when that was asked; any other
    // file is opened for writing when possible.
    enum class Acceso { ComoAntes, Escritura, SoloLectura };
    bool AbrirBase(const std::string& base, Acceso acceso = Acceso::ComoAntes);
    // The open file cannot be written: opened so, or the file or its folder
    // refuse writing. Measures, charts and exports still work.
    bool soloLectura() const { return soloLectura_; }
    // True, once, when another connection (another window or program) has
    // written to the open file since it was opened or last asked. Never
    // waits for a writer that holds the file: it is asked again later.
    bool cambiadoPorOtro();
    // Closes Data1 then Data2 (before the file is copied or changed).
    void CerrarBase();
    // Whether a read of the variable also takes the numbers the measures
    // work on (on by default): the first key pressed then finds them ready.
    // A command that only counts turns it off and holds less memory.
    void setLeerParaMedir(bool si) { leerParaMedir_ = si; }

    std::int32_t ContarRegistros(); // sets and returns NumRegistros
    // Fills the engine lists for TipoDist and VarActiva from Data1. A record
    // that cannot be read is reported in the error record (row and field);
    // returns false then.
    bool LeerVariable();
    // Re-queries Data1 ordered by `campo` (empty: the active variable's sort
    // field); failures go to the error record.
    void OrdenarDatos(const std::string& campo = {});
    // Merges runs of equal "Xi" in Data1's current order.
    void Recuento();

    const stats::KindInfo* kind() const; // nullptr when none open
    std::string Clase() const;           // CLASE of the open file ("" when none)
    std::string Tipo() const;            // TIPO of the open file
    std::string Enunciado() const;       // the statement (rich text)
    // Written to the file at once; on failure the error record says why.
    bool setEnunciado(const std::string& text);
    // The statement as the file holds it now (read again, not remembered).
    std::string EnunciadoEnArchivo();
    enum class Guardado { Hecho, CambiadoPorOtro, Fallo };
    // Writes the statement only while the file still holds `leido` (what was
    // read from it or last written to it); nullptr writes it regardless.
    // On Fallo the error record says why.
    Guardado guardarEnunciado(const std::string& texto, const std::string* leido);
    // What a read or a sort was made from; equal keys mean nothing changed.
    struct Origen {
        std::uint64_t enlace = 0;        // bumped at every re-bind of Data1
        unsigned long long revision = 0; // Data1's write counter
        std::string fuente;              // Data1's row source
        std::string tipo;
        std::string variable;
        bool operator==(const Origen&) const = default;
        // The same state of the same table, whichever variable was read.
        bool mismaTabla(const Origen& o) const {
            return enlace == o.enlace && revision == o.revision && fuente == o.fuente &&
                   tipo == o.tipo;
        }
    };
    // What `listas` hold now; none before a read and after a failed one.
    const std::optional<Origen>& lectura() const { return leido_; }

    // Sort field of the active variable ("Xi", "LiY" ...); "" when none.
    std::string campoOrden() const;
    bool esBidimensional() const { return Clase() == stats::kClaseBi; }

    // Adds / drops a double field of a table in a file. On failure returns
    // false with the description in `message` (the window shows it).
    static bool CrearCampo(const std::string& path, const std::string& table,
                           const std::string& field, std::string* message = nullptr);
    static bool BorrarCampo(const std::string& path, const std::string& table,
                            const std::string& field, std::string* message = nullptr);

signals:
    void abierto();                // a file was opened (or re-opened)
    void cerrado();                // Data1/Data2 closed
    void datosCambiados();         // rows, order or fields of Data1 changed
    void variableActivaCambiada(); // VarActiva switched (by the variable key)

private:
    struct ListasLeidas {
        std::optional<Origen> origen; // none: the buffers hold nothing usable
        stats::ValueList Valores, LimInf, LimSup;
        stats::FrequencyList Frecuencias;
    };
    Origen origenActual() const;
    // Opens for writing when possible; `soloLectura` says how it was opened.
    static std::shared_ptr<Database> abrirConAcceso(const std::string& ruta, bool& soloLectura);
    void anotarVersion();       // others' writes are counted from now
    bool sigueOrdenado() const; // Data1 unchanged since the last sort
    void anotarError(int code, std::string message);
    void olvidarLecturas();
    void compartirFrecuencias();
    void seguirOrden(const Origen& antes, const Placement& colocacion, const std::string& campo);
    std::string campoOrden(const std::string& variable) const;
    // `conocidas`, when given, are the table's frequencies as read already.
    bool leerDeTabla(stats::ValueList& valores, stats::FrequencyList& frecuencias,
                     stats::ValueList& limInf, stats::ValueList& limSup,
                     const stats::FrequencyList* conocidas = nullptr);

    std::uint64_t enlace_ = 0;
    std::optional<Origen> leido_;    // key of what `listas` holds
    ListasLeidas otra_;              // the read before the current one; its buffers are reused
    std::optional<Origen> ordenado_; // Data1 as the last sort left it
    bool leerParaMedir_ = true;
    bool soloLectura_ = false;
    bool soloLecturaPedida_ = false; // opened read-only by choice
    long long versionDatos_ = 0;     // others' commits as last counted
};

// A frequency cell as the measures take it: a whole number from 0 up to
// 2³¹ − 1. Nothing otherwise, and why in `motivo` ("es negativo («-7»)").
std::optional<std::int32_t> leerFrecuencia(const stats::CellValue& celda, std::string& motivo);

} // namespace kalnor
