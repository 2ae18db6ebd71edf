#pragma once

#include "ExportacionNotas.h"

#include <QWidget>

#include <optional>
#include <utility>

class QPrinter;
class QTextDocument;
class QToolButton;

namespace kalnor {

class Documento;

// The NOT tab's "Exportar" (PDF, HTML, ODT) and "Imprimir" keys with their
// dialogs; the work itself is exportarNotas / imprimirNotas.
class AccionesNotas : public QWidget {
    Q_OBJECT
public:
    AccionesNotas(const QTextDocument& notas, const Documento& documento,
                  QWidget* parent = nullptr);

    QToolButton* botonExportar() const { return exportar_; }
    QToolButton* botonImprimir() const { return imprimir_; }

    static QString filtro(FormatoNotas formato);

    // After the file is chosen; a failure is told in a message box.
    bool exportarA(const QString& ruta, FormatoNotas formato);
    // The title of the exported document: the distribution's file name.
    QString titulo() const;

protected:
    // The dialogs (tests answer them).
    virtual std::optional<std::pair<QString, FormatoNotas>> elegirArchivoExportar();
    virtual bool elegirImpresora(QPrinter& impresora);

private:
    void alExportar();
    void alImprimir();

    const QTextDocument& notas_;
    const Documento& documento_;
    QToolButton* exportar_;
    QToolButton* imprimir_;
    QString carpeta_;
};

} // namespace kalnor
