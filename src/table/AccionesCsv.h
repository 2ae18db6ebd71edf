#pragma once

#include "ExportacionCsv.h"

#include <QWidget>

#include <optional>

class QPushButton;

namespace kalnor {

class Documento;

// The DAT tab's "Importar CSV" and "Exportar CSV" keys with their dialogs;
// the work itself is importarCsv / exportarCsv.
class AccionesCsv : public QWidget {
    Q_OBJECT
public:
    explicit AccionesCsv(Documento& documento, QWidget* parent = nullptr);

    QPushButton* botonImportar() const { return importar_; }
    QPushButton* botonExportar() const { return exportar_; }

    // The names of the two conventions in the save dialog's type list.
    static QString filtro(FormatoCsv formato);

    // After the file is chosen: the preview, then the rows written (true).
    bool importarDesde(const QString& ruta);
    // After the file and the convention are chosen.
    bool exportarA(const QString& ruta, FormatoCsv formato);

signals:
    void tablaCambiada(); // rows were added: the grid lays itself out again

protected:
    // The file dialogs (tests answer them).
    virtual std::optional<QString> elegirCsvAbrir();
    virtual std::optional<std::pair<QString, FormatoCsv>> elegirCsvGuardar();

private:
    void alImportar();
    void alExportar();
    void error(const QString& texto);
    void aviso(const QString& texto);

    Documento& documento_;
    QPushButton* importar_;
    QPushButton* exportar_;
    QString carpeta_; // the folder of the last CSV, for the next dialog
};

} // namespace kalnor
