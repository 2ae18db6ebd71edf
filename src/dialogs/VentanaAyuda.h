#pragma once

#include "ArchivoAyuda.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace kalnor {

// The help window: the keyword index on the left (filtered by keyword and
// by the topics' text), the topic on the right with links to others, and
// back and forward through the topics seen.
class VentanaAyuda : public QDialog {
    Q_OBJECT
public:
    // `rutaImagenes`: folder of the formula pictures the topics show.
    VentanaAyuda(ArchivoAyuda ayuda, const QString& rutaImagenes = {}, QWidget* parent = nullptr);

    void mostrar(const QString& palabraClave);
    QString temaMostrado() const { return temaMostrado_; }
    QTextBrowser* texto() const { return texto_; }
    QListWidget* indice() const { return indice_; }
    void filtrar(const QString& texto);
    void atras();
    void adelante();

private:
    void ensenar(const QString& palabraClave); // without touching the history
    void actualizarBotones();

    ArchivoAyuda ayuda_;
    QLineEdit* filtro_;
    QListWidget* indice_;
    QTextBrowser* texto_;
    QToolButton* atras_;
    QToolButton* adelante_;
    QString temaMostrado_;
    QStringList historial_;
    int posicion_ = -1;
};

} // namespace kalnor
