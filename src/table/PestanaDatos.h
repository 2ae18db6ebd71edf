#pragma once

#include "InterfazColumnas.h"

#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QProgressBar;

namespace kalnor {

class AccionesCsv;
class ControladorCalculadora;
class ControladorColumnas;
class Documento;
class FilaTotales;
class ModeloTabla;
class VistaTabla;

// The "DAT" tab: the caption, the kind of the open distribution, the grid
// with its totals row, and the column commands (the list cboSUMATORIOS, the
// labels lblColumnas and SUMATORIO, the header menu mnuFLOTANTEppal).
class PestanaDatos : public QWidget, private InterfazColumnas {
    Q_OBJECT
public:
    explicit PestanaDatos(Documento& documento, QWidget* parent = nullptr);
    ~PestanaDatos() override;

    ModeloTabla& modelo() const { return *modelo_; }
    VistaTabla& tabla() const { return *tabla_; }
    FilaTotales& filaTotales() const { return *totales_; }
    QHBoxLayout* barraColumnas() const { return barraColumnas_; }
    AccionesCsv& csv() const { return *csv_; }

    // The column commands work with the calculator's display (cleared on
    // the way, SUMATORIO, the message line); until then they are hidden.
    void activarColumnas(ControladorCalculadora& calculadora);
    ControladorColumnas* columnas() const { return columnas_; }
    QComboBox* cboSUMATORIOS() const { return lista_; }
    QLabel* lblColumnas() const { return lblColumnas_; }
    QLabel* SUMATORIO() const { return sumatorio_; }
    QMenu* mnuFLOTANTEppal() const { return menu_; }

    // Re-reads the table and lays its columns out (MostrarColumnas).
    void MostrarColumnas();

signals:
    void ayudaPedida(const QString& palabraClave);
    // "Sumar y añadir a notas": the line for the notes' caret.
    void lineaParaNotas(const QString& linea);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // InterfazColumnas
    void mensaje(const QString& texto, const QString& titulo) override;
    void ocupado(bool siNo) override;
    void progreso(int hechos, int total) override;
    void mostrarColumnas() override;
    void pegarEnNotas(const QString& linea) override;

    void mostrarTipo();
    void mostrarEstado();
    void DBGrid1_HeadClick(int ColIndex);

    Documento& documento_;
    ModeloTabla* modelo_;
    VistaTabla* tabla_;
    FilaTotales* totales_;
    QLabel* tipo_;
    AccionesCsv* csv_;
    QHBoxLayout* barraColumnas_;
    ControladorCalculadora* calculadora_ = nullptr;
    ControladorColumnas* columnas_ = nullptr;
    QLabel* lblColumnas_ = nullptr;
    QComboBox* lista_ = nullptr;
    QLabel* sumatorio_ = nullptr;
    QProgressBar* progreso_ = nullptr;
    QMenu* menu_ = nullptr;
};

} // namespace kalnor
