#pragma once

#include "CatalogoColumnas.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kalnor {

class ControladorCalculadora;
class Documento;
class InterfazColumnas;

// What the column controls of the DAT tab show. The widgets only mirror it.
struct EstadoColumnas {
    QStringList cboSUMATORIOS; // the entries of the active variable's list
    int seleccion = -1;        // the entry chosen last, -1 for none
    QString lblColumnas = "Columnas: X";
    std::optional<double> suma; // the last sum shown, at full precision
};

// The derived columns of the distribution table and the commands on a
// column: adding one from the list and filling it, deleting, sorting by and
// summing a column. Works on the open document and the calculator's display
// (cleared on the way, holding SUMATORIO and the message line); the window,
// the tests and kalnor-cli drive the same handlers.
class ControladorColumnas : public QObject {
    Q_OBJECT
public:
    ControladorColumnas(Documento& documento, ControladorCalculadora& calculadora,
                        InterfazColumnas& ui, QObject* parent = nullptr);

    const EstadoColumnas& estado() const { return estado_; }
    // The header clicked last: its index and its field.
    std::int16_t ColumnaActual() const { return ColumnaActual_; }
    const std::string& CampoActual() const { return CampoActual_; }
    void setLocale(const QLocale& locale) { locale_ = locale; }

    void ListaColumnas(const QString& Variable);
    // A pick in the list: `posicion` is the entry's index (-1: none).
    void cboSUMATORIOS_Click(int posicion);
    // Add the field `campo` (a trimmed entry) and fill it: X list, Y list.
    void CalcularColumnas(const std::string& campo);
    void CalcularColumnasY(const std::string& campo);

    void DBGrid1_HeadClick(int ColIndex);
    void mnuEliminarCol_Click();
    void mnuOrdenarCol_Click();
    void mnuSumarCol_Click();
    void mnuSumarColNot_Click();

    // The same commands on a field named directly (kalnor-cli).
    void eliminarCampo(const std::string& campo);
    // Sums `campo` as "Sumar la columna" does; false (with the reason in the
    // document's error record) when nothing could be shown.
    bool sumarCampo(const std::string& campo);

    // The line "Sumar y añadir a notas" puts into the notes.
    static QString lineaNotas(const QString& campo, const QString& suma);

    static inline const QString kTituloAnadir = QStringLiteral("¡ Error al Añadir Columnas !");
    static inline const QString kTituloEliminar = QStringLiteral("¡ Error al Eliminar Columnas !");
    static inline const QString kNoHayDatos =
        QStringLiteral("No hay un archivo abierto o\nNo hay datos suficientes");
    static inline const QString kProtegida =
        QStringLiteral("Esta columna NO puede eliminarse,\nforma parte de los datos.");
    static inline const QString kSoloContinua =
        QStringLiteral("Solo calculable en variable continua");

signals:
    void cambiado(); // estado() changed

private:
    // Close, add the field, clear the display, reopen, lay out, count and
    // read. False when the file could not be opened again.
    bool anadirCampo(const std::string& campo);
    void calcular(const std::string& campo, bool deY);
    void rellenar(const ColumnaDerivada& columna, const std::string& campo, bool deY);
    bool sumar(const std::string& campo);
    void ejecutar(const std::function<void()>& manejador);
    std::string campoEn(int columna) const;

    Documento& doc_;
    ControladorCalculadora& calculadora_;
    InterfazColumnas& ui_;
    QLocale locale_;
    EstadoColumnas estado_;
    std::int16_t ColumnaActual_ = -1;
    std::string CampoActual_;
    bool leido_ = false; // the add sequence read the variable
};

} // namespace kalnor
