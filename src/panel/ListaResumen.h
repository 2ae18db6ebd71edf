#pragma once

#include <QComboBox>

namespace kalnor {

class ControladorCalculadora;
class EditorNotas;

// cboRESUMEN on the notes tab: picking a report writes it at the notes'
// caret, pressing the calculator's keys through its controller.
class ListaResumen : public QComboBox {
    Q_OBJECT
public:
    ListaResumen(ControladorCalculadora& calculadora, EditorNotas& notas,
                 QWidget* parent = nullptr);

    void cboRESUMEN_Click(int posicion);

private:
    ControladorCalculadora& calculadora_;
    EditorNotas& notas_;
};

} // namespace kalnor
