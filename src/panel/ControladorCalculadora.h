#pragma once

#include "EstadoCalculadora.h"
#include "PasoAPaso.h"
#include "Pistas.h"
#include "Preguntas.h"
#include "Selectores.h"
#include "app/Documento.h"
#include "stats/Kinds.h"
#include "stats/Trace.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace kalnor {

// The calculator's logic: every key and selector of the "CAL" tab works on
// the open document and leaves what the panel must show in `estado()`.
// Widgets, tests and the command-line tool drive the same handlers.
class ControladorCalculadora : public QObject {
    Q_OBJECT
public:
    ControladorCalculadora(Documento& documento, QString rutaBin, QObject* parent = nullptr);

    const EstadoCalculadora& estado() const { return estado_; }
    // The working of the last press, the formula first and the displayed
    // result last; empty before any press and when the press shows nothing.
    QStringList pasos() const;
    // Whether presses note their working (on by default); off, pasos() stays
    // empty and a press costs what it did before the working existed.
    void setAnotarPasos(bool si) { anotarPasos_ = si; }
    // The items of each list (filled by Comenzar).
    const QStringList& items(Selector s) const { return items_[static_cast<std::size_t>(s)]; }

    // Who answers the regression line's question and shows the notices; with
    // none, the question gets no answer and the notice is dropped.
    void setPreguntaValor(PreguntaValor* pregunta) { pregunta_ = pregunta; }
    void setAviso(AvisoUsuario* aviso) { aviso_ = aviso; }
    // Decimal separator of the display (the system's by default).
    void setLocale(const QLocale& locale) { locale_ = locale; }
    const QLocale& locale() const { return locale_; }

    void Comenzar();
    void limpiarDisplay();

    void cmdTECLA_Click(int Index);
    void cmdTECLAm_Click(int Index);
    void cmdTECLAbi_Click(int Index);
    void cmd_Muestra_Click();
    void cmdVARIABLE_Click();
    void cmd_Cls_Click();

    void cboCUARTILES_Click(int posicion) { seleccionar(Selector::CUARTILES, posicion); }
    void cboQUINTILES_Click(int posicion) { seleccionar(Selector::QUINTILES, posicion); }
    void cboDECILES_Click(int posicion) { seleccionar(Selector::DECILES, posicion); }
    void cboPERCENTILES_Click(int posicion) { seleccionar(Selector::PERCENTILES, posicion); }
    void cboMOMorigen_Click(int posicion) { seleccionar(Selector::MOMorigen, posicion); }
    void cboMOMcentral_Click(int posicion) { seleccionar(Selector::MOMcentral, posicion); }
    void cboMOMorigenBI_Click(int posicion) { seleccionar(Selector::MOMorigenBI, posicion); }
    void cboMOMcentralBI_Click(int posicion) { seleccionar(Selector::MOMcentralBI, posicion); }
    // A pick of item `posicion` (0-based) in any list.
    void seleccionar(Selector s, int posicion);

    // The pointer is over a key: its formula picture (a picture file that is
    // missing leaves the one shown).
    void cmdTECLA_MouseMove(int Index) { mostrarFormula(FilaTeclas::TECLA, Index); }
    void cmdTECLAm_MouseMove(int Index) { mostrarFormula(FilaTeclas::TECLAm, Index); }
    void cmdTECLAbi_MouseMove(int Index) { mostrarFormula(FilaTeclas::TECLAbi, Index); }
    void cmd_Muestra_MouseMove() { mostrarFormula(FilaTeclas::Muestra, 0); }
    void mostrarFormula(FilaTeclas fila, int indice);
    // The right button on `control`: the help keyword to look up. A control
    // without a keyword of its own asks for the last one again.
    QString MouseDown(const QString& control);
    // The result was dropped on the notes target: the line to write at the
    // notes' caret, or none (a failure shown, no measure named, or a name
    // too long, which is shown as a failure).
    std::optional<QString> Image4_DragDrop();

    // A file command failed: its description blinks and the display shows
    // "¡ Error N".
    void mostrarErrorComando(const QString& descripcion, int numero);
    // The column commands: the sum in SUMATORIO, and a failure's text
    // blinking in the message line (the display keeps its value).
    void mostrarSumatorio(const QString& texto);
    void mostrarAviso(const QString& texto);
    // The open file changed: class and kind labels, the variable key.
    void documentoAbierto();

    static inline const QString kNoHayDatos = QStringLiteral("No hay datos suficientes");
    static inline const QString kNoHayDatosBi =
        QStringLiteral("No hay datos suficientes o Dist. Unidimensional");
    static inline const QString kNoHayDatosMomBi =
        QStringLiteral("No hay datos suficientes, o la Distr. es Unidimensional");

signals:
    void cambiado();       // estado() changed
    void ocupado(bool si); // a sort is running: the window shows the wait pointer

private:
    // Runs a handler; a failure of the database layer shows as a failure.
    void ejecutar(const std::function<void()>& manejador);
    // Recount and, with rows, read (sorted first when asked). False when the
    // table could not be read or sorted: the reason is kept in fallo_.
    bool leer(bool ordenar);
    bool preparar(bool ordenar, const QString& sinDatos, const char* imagen = nullptr);
    void cambiarVariable(); // cmdVARIABLE_Click without the notification
    void ponerVariable(const QString& var);
    bool leerAmbasVariables();
    bool esBidimensional() const;
    stats::VariableType tipoActivo() const;
    double cuantil(std::int16_t k, std::int16_t q, stats::VariableType tipo);
    void semiIntercuartilico(stats::VariableType tipo);
    void rectaRegresion();
    void mostrarResultado(double v);
    // A press of `medida` begins: its working is noted from here on.
    void empezarPaso(Medida medida);
    void redactarPasos();
    void explicarGini(); // the working of the key that only gives notice
    // Where the engine notes the working of this press: none when off.
    stats::Traza* anotar(stats::Traza* t = nullptr) {
        return anotarPasos_ ? (t ? t : &traza_) : nullptr;
    }
    void mostrarFallo(const QString& mensaje);
    void mostrarSinValor(); // "?" without a message
    void cargarImagen(const char* nombre);
    void seleccionarCuantil(Selector s, int posicion);
    void seleccionarMomento(Selector s, int posicion);
    void seleccionarMomentoBi(Selector s, int posicion);

    Documento& doc_;
    QString rutaBin_;
    QLocale locale_;
    PreguntaValor* pregunta_ = nullptr;
    AvisoUsuario* aviso_ = nullptr;
    EstadoCalculadora estado_;
    std::array<QStringList, kNumSelectores> items_;
    QString fallo_;       // why the last read or sort failed
    QString ultimaClave_; // help keyword of the last right-button press
    // The working of the press being run (none: the press shows none).
    std::optional<DatosPaso> paso_;
    stats::Traza traza_;
    stats::Traza traza2_; // the third quartile of the semi-interquartile range
    mutable QStringList pasos_;
    mutable std::optional<DatosPaso> pendiente_; // a working noted but not written yet
    QStringList pasosGini_;
    // The reads ValoresX and ValoresY were copied from.
    std::optional<Documento::Origen> copiaX_,
        copiaY_; // the Gini key's working, which has no display
    bool anotarPasos_ = true;
};

} // namespace kalnor
