#pragma once

#include <QTableView>

namespace kalnor {

class ModeloTabla;

// The grid DBGrid1 over ModeloTabla: data are typed down a column, wrong
// values are refused with the program's own message, rows are deleted,
// copied and pasted with the usual keys.
class VistaTabla : public QTableView {
    Q_OBJECT
public:
    explicit VistaTabla(ModeloTabla& modelo, QWidget* parent = nullptr);

    // Widths from the field names, then the focus on the first column.
    void MostrarColumnas();

    void copiar();
    void pegar();
    void eliminarFilasSeleccionadas();

    static QString textoErrorDatos();

signals:
    void ayudaPedida(const QString& palabraClave);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void avisarDatoErroneo(const QString& detalle = {});

    ModeloTabla& modelo_;
};

} // namespace kalnor
