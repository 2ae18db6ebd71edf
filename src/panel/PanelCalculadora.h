#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kalnor {

class ControladorCalculadora;
class PanelPasos;
class Documento;
struct Rutas;

// The "CAL" tab: measure keys, quantile and moment selectors, the result
// display and its labels. The main window embeds it and forwards the few
// things the file commands need.
class PanelCalculadora : public QWidget {
    Q_OBJECT
public:
    PanelCalculadora(Documento& documento, const Rutas& rutas, QWidget* parent = nullptr);
    ~PanelCalculadora() override;

    void limpiarDisplay();
    // A file command failed: the description in the error label and
    // "¡ Error N" in the display.
    void mostrarErrorComando(const QString& descripcion, int numero);

    // The logic behind the keys (tests and the window's reports drive it).
    ControladorCalculadora& controlador() { return *controlador_; }

signals:
    // The result was dropped on its target: the line for the notes.
    void lineaParaNotas(const QString& linea);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    class Dialogos;
    void aplicarEscala(double escala);
    void construir();
    QWidget* construirPantalla();
    QWidget* construirTeclado();
    QWidget* construirSelectores();
    void mostrarEstado();
    void parpadear();
    void pasarPor(const QString& control); // the pointer is over a control
    void arrastrarResultado();
    void mostrarImagen(const QString& ruta);

    ControladorCalculadora* controlador_; // child QObject
    std::unique_ptr<Dialogos> dialogos_;
    QString imagenCargada_;
    QString rutaHlp_;
    QPoint inicioArrastre_; // where the left button went down on the result
    QFont letraBase_;       // the font the panel was made with
    double escala_ = 0.0;   // text size over letraBase_

    QLabel* resultado_ = nullptr;
    std::array<QLabel*, 6> mensajes_{};
    QLabel* imagen_ = nullptr;
    QPushButton* variable_ = nullptr;
    QPushButton* recta_ = nullptr;
    QPushButton* verPasos_ = nullptr;
    PanelPasos* pasos_ = nullptr;
    std::array<QComboBox*, 8> selectores_{};
    QTimer* timer_ = nullptr;
};

} // namespace kalnor
