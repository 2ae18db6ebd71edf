#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kalnor {

class Documento;
struct TablaDobleEntrada;

// The joint distribution of a two-variable table as a read-only two-way
// table with its marginals, kept current with the grid; exportable as CSV.
class VistaDobleEntrada : public QWidget {
    Q_OBJECT
public:
    explicit VistaDobleEntrada(Documento& documento, QWidget* parent = nullptr);

    QTableWidget& tabla() const { return *tabla_; }
    // Writes the table as CSV; false (and the reason) when it cannot.
    bool exportar(const QString& ruta, QString& motivo) const;

public slots:
    // Re-reads the table now when shown, or when it is next shown.
    void actualizar();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void leer();
    void pedirExportar();

    Documento& documento_;
    QLabel* titulo_;
    QTableWidget* tabla_;
    QPushButton* exportar_;
    bool pendiente_ = true;
};

} // namespace kalnor
