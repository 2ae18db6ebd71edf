#pragma once

#include "ControlGrafico.h"
#include "EstadoGraficos.h"
#include "GraficoAula.h"
#include "app/Rutas.h"
#include "stats/EngineLists.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>

namespace kalnor {

class CalculadoraEscritorio;
class Documento;

// One button of Toolbar3.
// A classroom chart's button, after the three above.
struct BotonAula {
    const char* clave;
    const char* texto;
    const char* consejo;
    TipoAula tipo;
};

struct BotonGrafico {
    const char* clave;
    const char* texto;
    std::int32_t tipo;      // GraphType; 0 for the calculator button
    const char* estilos[4]; // items of cboESTILO for this type
};

// The logic of the chart tab: Toolbar3's buttons, the three option lists and
// the click on the chart, working on the open document and on Graph1. The
// tab, the tests and the command-line tool drive the same handlers.
class ControladorGraficos : public QObject {
    Q_OBJECT
public:
    static constexpr int kPestanaGraficos = 3;

    ControladorGraficos(Documento& documento, Rutas rutas, QObject* parent = nullptr);
    ~ControladorGraficos() override;

    static std::span<const BotonGrafico> botones();
    static std::span<const BotonAula> botonesAula();

    ControlGrafico& Graph1() { return graph1_; }
    const ControlGrafico& Graph1() const { return graph1_; }
    const EstadoGraficos& estado() const { return estado_; }
    // The classroom chart shown, if one is (instead of Graph1's).
    const std::optional<GraficoAula>& aula() const { return aula_; }

    // The calculator panel's display reset, run by every button.
    void setLimpiarDisplay(std::function<void()> limpiar) { limpiarDisplay_ = std::move(limpiar); }
    // Who starts and closes the desktop's calculator; none: the button does nothing.
    void setCalculadora(CalculadoraEscritorio* calculadora) { calculadora_ = calculadora; }

    // Start-up and every open: empty lists (and, on open, an empty chart).
    void Comenzar();
    void BorrarCboGraf();
    void PintarGrafico(const stats::ValueList& Etiquetas, const stats::FrequencyList& Datos);
    void Toolbar3_ButtonClick(const QString& clave);
    void cboESTILO_Click(int posicion);
    void cboPALETA_Click(int posicion);
    void cboREJILLA_Click(int posicion);
    // Writes the chart image: "grafico.png" beside the open distribution, or
    // in the distributions' folder when that one cannot be written. Returns
    // the file written, empty on failure (the error record says why).
    QString Graph1_Click();

    // Label a chart point gets for a cell: numbers and numeric texts in full,
    // other words by their first three characters.
    static EtiquetaGrafico etiquetaDe(const stats::CellValue& valor);

    static inline const QString kImagen = QStringLiteral("grafico.png");

signals:
    void cambiado();                  // estado() changed
    void pestanaPedida(int indice);   // bring this tab to the front
    void aviso(const QString& texto); // a line for the status bar

private:
    void ejecutar(const std::function<void()>& manejador);
    void dibujarTipo(const BotonGrafico& boton);
    void dibujarAula(TipoAula tipo);
    void redibujarAula();
    void titulos();
    void opcion(int lista, int posicion, const std::function<void(int)>& aplicar);
    bool escribirEn(const QString& carpeta);

    Documento& doc_;
    Rutas rutas_;
    ControlGrafico graph1_;
    EstadoGraficos estado_;
    std::function<void()> limpiarDisplay_;
    CalculadoraEscritorio* calculadora_ = nullptr;
    std::optional<GraficoAula> aula_;
};

} // namespace kalnor
