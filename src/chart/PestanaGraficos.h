#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QPushButton;
class QToolBar;

namespace kalnor {

class CalculadoraEscritorio;
class ControladorGraficos;
class Documento;
class VistaGrafico;
struct Rutas;

// The "GRF" tab: the style, palette and grid lists above the chart Graph1,
// and the chart toolbar Toolbar3 that the main window places beside its own.
class PestanaGraficos : public QWidget {
    Q_OBJECT
public:
    PestanaGraficos(Documento& documento, const Rutas& rutas, QWidget* parent = nullptr);
    ~PestanaGraficos() override;

    ControladorGraficos& controlador() { return *controlador_; }
    VistaGrafico& grafico() { return *grafico_; }
    QToolBar* Toolbar3() const { return barra_; }
    QComboBox* lista(int indice) const; // 0 style, 1 palette, 2 grid
    QPushButton* botonGuardar() const { return guardar_; }
    QPushButton* botonCopiar() const { return copiar_; }
    // Writes the chart shown to `ruta` (PNG or SVG by its name); a failure
    // is told through aviso().
    bool guardarComo(const QString& ruta);
    QPushButton* botonInforme() const { return informe_; }
    // Writes the informe of the open distribution with the chart shown.
    bool exportarInformeA(const QString& ruta);

signals:
    void pestanaPedida(int indice);
    void aviso(const QString& texto);

private:
    void mostrarEstado();
    QString pedirRutaImagen();

    Documento& documento_;
    ControladorGraficos* controlador_; // child QObject
    VistaGrafico* grafico_ = nullptr;
    QToolBar* barra_ = nullptr;
    std::array<QComboBox*, 3> listas_{};
    QPushButton* guardar_ = nullptr;
    QPushButton* copiar_ = nullptr;
    QPushButton* informe_ = nullptr;
};

} // namespace kalnor
