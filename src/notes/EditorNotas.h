#pragma once

#include "AutoGuardado.h"

#include <QWidget>

#include <string>
#include <vector>

class QHBoxLayout;
class QTextEdit;
class QToolButton;

namespace kalnor {

class AccionesNotas;
class BarraAviso;
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
    // Says above the notes what keeps them from the file and how to go on.
    BarraAviso* aviso() const { return aviso_; }

    // The box holds text the file does not: not written yet, refused by the
    // file, or held back because someone else changed the stored notes.
    bool sinGuardar() const;
    // The text the file does not hold is given up: the stored notes return.
    void descartar();
    // The document is being saved under `ruta`: text the open file does not
    // hold goes into that copy once it opens. Empty: the copy failed and the
    // text stays with the file it came from.
    void trasladarA(const std::string& ruta);

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
    // The user wants the distribution, with these notes, in another file.
    void guardarComoPedido();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void cargar();    // the open file's notes into the box
    void escribir();  // the box into the open file
    void alAbrirse(); // the document was opened or opened again
    enum class Estado { AlDia, Fallo, Conflicto };
    void ponerEstado(Estado estado, const QString& motivo = {});
    void mostrarAviso();

    Documento& documento_;
    QTextEdit* caja_;
    QHBoxLayout* barra_ = nullptr;
    AccionesNotas* acciones_ = nullptr;
    AutoGuardado autoGuardado_;
    BarraAviso* aviso_ = nullptr;
    std::vector<QWidget*> edicion_; // the controls that change the text
    std::string rutaCargada_;       // file whose notes the box holds
    std::string guardado_;          // the notes as the file held them when last read or written
    Estado estado_ = Estado::AlDia;
    QString motivo_; // why the last write failed
    // A copy of the document the text goes into regardless of its notes,
    // and the file the text came from until it is written there.
    std::string forzarEn_;
    std::string origenTraslado_;
};

} // namespace kalnor
