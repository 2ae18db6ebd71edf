#include "AccionesCsv.h"

#include "DialogoMuestraCsv.h"
#include "ImportacionCsv.h"
#include "app/CargaCsv.h"
#include "app/Documento.h"
#include "dialogs/Mensajes.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>

namespace kalnor {

namespace {
const QString kSinArchivo = QStringLiteral("No hay un archivo abierto.");
const QString kTitulo = QStringLiteral("¡ Error !");
} // namespace

AccionesCsv::AccionesCsv(Documento& documento, QWidget* parent)
    : QWidget(parent), documento_(documento),
      importar_(new QPushButton(QStringLiteral("Importar CSV"), this)),
      exportar_(new QPushButton(QStringLiteral("Exportar CSV"), this)) {
    importar_->setObjectName(QStringLiteral("cmdImportarCsv"));
    importar_->setToolTip(QStringLiteral(" Añadir filas desde un archivo CSV "));
    exportar_->setObjectName(QStringLiteral("cmdExportarCsv"));
    exportar_->setToolTip(QStringLiteral(" Guardar la tabla con sus columnas en CSV "));
    auto* capas = new QHBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->addWidget(importar_);
    capas->addWidget(exportar_);
    connect(importar_, &QPushButton::clicked, this, &AccionesCsv::alImportar);
    connect(exportar_, &QPushButton::clicked, this, &AccionesCsv::alExportar);
}

QString AccionesCsv::filtro(FormatoCsv formato) {
    return formato == FormatoCsv::PuntoYComa
               ? QStringLiteral("Hoja de cálculo en español: punto y coma, coma decimal (*.csv)")
               : QStringLiteral("Comas y punto decimal (*.csv)");
}

std::optional<QString> AccionesCsv::elegirCsvAbrir() {
    const QString ruta = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importar CSV"), carpeta_,
        QStringLiteral("Datos CSV (*.csv *.txt);;Todos los archivos (*)"));
    return ruta.isEmpty() ? std::nullopt : std::optional(ruta);
}

std::optional<std::pair<QString, FormatoCsv>> AccionesCsv::elegirCsvGuardar() {
    QFileDialog dialogo(this, QStringLiteral("Exportar CSV"), carpeta_);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("csv"));
    const QString espanol = filtro(FormatoCsv::PuntoYComa);
    dialogo.setNameFilters({espanol, filtro(FormatoCsv::Coma)});
    dialogo.selectNameFilter(espanol);
    if (!documento_.BaseActual.empty())
        dialogo.selectFile(
            QFileInfo(QString::fromStdString(documento_.BaseActual)).completeBaseName() +
            QStringLiteral(".csv"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    const FormatoCsv formato =
        dialogo.selectedNameFilter() == espanol ? FormatoCsv::PuntoYComa : FormatoCsv::Coma;
    return std::pair(dialogo.selectedFiles().front(), formato);
}

void AccionesCsv::alImportar() {
    if (!documento_.kind()) {
        error(kSinArchivo);
        return;
    }
    if (const auto ruta = elegirCsvAbrir())
        importarDesde(*ruta);
}

void AccionesCsv::alExportar() {
    if (!documento_.kind()) {
        error(kSinArchivo);
        return;
    }
    if (const auto eleccion = elegirCsvGuardar())
        exportarA(eleccion->first, eleccion->second);
}

bool AccionesCsv::importarDesde(const QString& ruta) {
    carpeta_ = QFileInfo(ruta).absolutePath();
    QString motivo;
    const auto texto = leerArchivoCsv(ruta, motivo);
    if (!texto) {
        error(motivo);
        return false;
    }
    const stats::KindInfo* kind = documento_.kind();
    if (!kind) {
        error(kSinArchivo);
        return false;
    }
    const MuestraCsv muestra = LeerMuestraCsv(*texto, DialogoMuestraCsv::kFilasMostradas);
    DialogoMuestraCsv dialogo(
        ruta, muestra, QString::fromLatin1(kind->code.data(), static_cast<int>(kind->code.size())),
        this);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    const ResultadoImportacion r = importarCsv(documento_, ruta, *texto);
    emit tablaCambiada();
    if (!r.hecho) {
        error(r.mensaje);
        return false;
    }
    aviso(r.mensaje);
    return true;
}

bool AccionesCsv::exportarA(const QString& ruta, FormatoCsv formato) {
    carpeta_ = QFileInfo(ruta).absolutePath();
    const QString motivo = exportarCsv(documento_, formato, ruta);
    if (!motivo.isEmpty()) {
        error(motivo);
        return false;
    }
    return true;
}

void AccionesCsv::error(const QString& texto) {
    mensajeError(this, texto, kTitulo);
}

void AccionesCsv::aviso(const QString& texto) {
    QMessageBox caja(QMessageBox::Information, QStringLiteral("Kalnor"), texto, QMessageBox::Ok,
                     this);
    caja.exec();
}

} // namespace kalnor
