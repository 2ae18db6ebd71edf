#pragma once

#include <QWidget>

class QLabel;
class QHBoxLayout;

namespace kalnor {

class Documento;
class ModeloTabla;
class VistaTabla;

// The "DAT" tab: the caption, the kind of the open distribution and the
// grid. The column commands add their controls to barraColumnas().
class PestanaDatos : public QWidget {
    Q_OBJECT
public:
    explicit PestanaDatos(Documento& documento, QWidget* parent = nullptr);

    ModeloTabla& modelo() const { return *modelo_; }
    VistaTabla& tabla() const { return *tabla_; }
    QHBoxLayout* barraColumnas() const { return barraColumnas_; }

    // Re-reads the table and lays its columns out (MostrarColumnas).
    void MostrarColumnas();

signals:
    void ayudaPedida(const QString& palabraClave);

private:
    void mostrarTipo();

    Documento& documento_;
    ModeloTabla* modelo_;
    VistaTabla* tabla_;
    QLabel* tipo_;
    QHBoxLayout* barraColumnas_;
};

} // namespace kalnor
