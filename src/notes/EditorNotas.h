#pragma once

#include "AutoGuardado.h"

#include <QWidget>

#include <string>

class QHBoxLayout;
class QTextEdit;
class QToolButton;

namespace kalnor {

class AccionesNotas;
class Documento;

// The "NOT" tab: the statement and notes of the open distribution
// (RichTextBox1), its row of edit buttons (cmdNotas) and the font button
// (cmdLETRA). What is typed reaches the file by itself shortly after.
class EditorNotas : public QWidget {
    Q_OBJECT
public:
    explicit EditorNotas(Documento& documento, QWidget* parent = nullptr);

    QTextEdit* caja() const { return caja_; }
    AccionesNotas& acciones() const { return *acciones_; }

    // Inserts `texto` at the caret (replacing the selection) and leaves it on
    // the clipboard.
    void PegarEnNotas(const QString& texto);
    // Inserts `texto` at the caret (replacing the selection), bold or not,
    // leaving the clipboard alone; what is typed next is not bold.
    void insertar(const QString& texto, bool negrita);
    // A control of another tab's logic that works on the notes (the summary
    // reports' list), placed in the row of edit buttons.
    void ponerEnBarra(QWidget* control);
    // Font of the selection (or of what is typed next): the normal font, or
    // the one chosen in the font dialog.
    void letraINI(bool normal, const QFont& elegida = {}, const QColor& color = Qt::black);

public slots:
    void guardar(); // pending notes to the file now
    void cmdNotas_Click(int indice);
    void cmdLETRA_Click();

signals:
    // The right button on the notes' picture asks for their help topic.
    void ayudaPedida(const QString& palabraClave);
    // The notes could not be written to the file (read-only, removed ...).
    void errorAlGuardar(const QString& descripcion);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void cargar();   // the open file's notes into the box
    void escribir(); // the box into the open file

    Documento& documento_;
    QTextEdit* caja_;
    QHBoxLayout* barra_ = nullptr;
    AccionesNotas* acciones_ = nullptr;
    AutoGuardado autoGuardado_;
    std::string rutaCargada_; // file whose notes the box holds
};

} // namespace kalnor
