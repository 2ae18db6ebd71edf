#pragma once

#include "ArchivoAyuda.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace kalnor {

// The help window: the keyword index on the left, the topic on the right.
class VentanaAyuda : public QDialog {
    Q_OBJECT
public:
    VentanaAyuda(ArchivoAyuda ayuda, QWidget* parent = nullptr);

    void mostrar(const QString& palabraClave);
    QString temaMostrado() const { return temaMostrado_; }

private:
    void filtrar(const QString& texto);

    ArchivoAyuda ayuda_;
    QLineEdit* filtro_;
    QListWidget* indice_;
    QTextBrowser* texto_;
    QString temaMostrado_;
};

} // namespace kalnor
