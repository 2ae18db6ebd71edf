#pragma once

#include "ComandosArchivo.h"
#include "Documento.h"
#include "InterfazComandos.h"
#include "Rutas.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QTabWidget;
class QTimer;
class QToolBar;

namespace kalnor {

class CalculadoraGenerica;
class EditorNotas;
class PanelCalculadora;
class PestanaGraficos;
class PestanaDatos;

// frm_PPAL: the tabs (calculator, table, notes, charts), the document
// toolbar and the status bar. The commands live in ComandosArchivo; this
// class only lays the window out and answers the commands' questions.
class VentanaPrincipal : public QMainWindow, private InterfazComandos {
    Q_OBJECT
public:
    explicit VentanaPrincipal(const Rutas& rutas, QWidget* parent = nullptr);
    ~VentanaPrincipal() override;

    Documento& documento() { return documento_; }
    ComandosArchivo& comandos() { return comandos_; }
    const Rutas& rutas() const { return rutas_; }
    QTabWidget* SSTab1() const { return pestanas_; }
    PestanaDatos& datos() const { return *datos_; }
    EditorNotas& notas() const { return *notas_; }
    PanelCalculadora& calculadora() const { return *calculadora_; }
    PestanaGraficos& graficos() const { return *graficos_; }
    QToolBar* Toolbar1() const { return barra_; }
    QLabel* panelEstado(int indice) const; // 1 to 4

    void MostrarAyuda(const QString& palabraClave);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // InterfazComandos
    std::optional<QString> elegirArchivoAbrir(const QString& carpeta) override;
    std::optional<QString> elegirArchivoGuardar(const QString& carpeta) override;
    const stats::KindInfo* elegirNuevaDistribucion() override;
    void mensajeError(const QString& texto, const QString& titulo) override;
    bool preguntar(const QString& texto) override;
    void ocupado(bool siNo) override;
    void avisar(const QString& texto) override;
    void guardarNotas() override;
    bool dejarDocumento() override;
    void notasSiguenA(const QString& ruta) override;
    AnteOtroKalnor otroKalnorLoTiene(const QString& archivo, const QString& quien) override;
    void limpiarDisplay() override;
    void mostrarErrorComando(const QString& descripcion, int numero) override;
    void mostrarColumnas() override;
    void seleccionarPestana(int indice) override;
    void mostrarAcercaDe() override;
    void salir() override;

    void crearBarra();
    void crearEstado();
    void SSTab1_Click(int indice);
    void actualizarHora();
    // Editing controls off and «Solo lectura» shown while the file is read-only.
    void mostrarAcceso();
    // Another window or program wrote to the open file: read it again.
    void comprobarCambios();

    Rutas rutas_;
    Documento documento_;
    ComandosArchivo comandos_;
    QTabWidget* pestanas_;
    PanelCalculadora* calculadora_;
    PestanaDatos* datos_;
    EditorNotas* notas_;
    PestanaGraficos* graficos_;
    QToolBar* barra_ = nullptr;
    std::array<QLabel*, 4> estado_{};
    QTimer* reloj_ = nullptr;
    QLabel* soloLectura_ = nullptr; // «Solo lectura» in the status bar
    QString titulo_;                // the window title with nothing added
    int ocupados_ = 0;
    // The desktop calculator the chart toolbar starts; closed again on exit.
    std::unique_ptr<CalculadoraGenerica> calculadoraGenerica_;
};

} // namespace kalnor
