#include "VistaTabla.h"

#include "FormatoCelda.h"
#include "ModeloTabla.h"
#include "dialogs/Mensajes.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace kalnor {

VistaTabla::VistaTabla(ModeloTabla& modelo, QWidget* parent) : QTableView(parent), modelo_(modelo) {
    setObjectName(QStringLiteral("DBGrid1"));
    setModel(&modelo_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(true);
    setToolTip(QStringLiteral(" Tabla de la distribución: escriba los datos en la fila marcada "
                              "con * para añadir registros "));

    // Data are entered down a column: once the editor has closed, the next
    // record of the same column becomes current (not when Tab already moved
    // on to edit the next cell).
    connect(
        &modelo_, &ModeloTabla::celdaEscrita, this,
        [this](const QModelIndex& escrita) {
            if (state() != QAbstractItemView::EditingState &&
                escrita.row() + 1 < modelo_.rowCount())
                setCurrentIndex(modelo_.index(escrita.row() + 1, escrita.column()));
        },
        Qt::QueuedConnection);
    // Shown once the editor has closed, so the message is not nested in it.
    connect(
        &modelo_, &ModeloTabla::datoRechazado, this, [this] { avisarDatoErroneo(); },
        Qt::QueuedConnection);
    connect(
        &modelo_, &ModeloTabla::errorArchivo, this,
        [this](const QString& descripcion) { mensajeError(this, descripcion); },
        Qt::QueuedConnection);
}

QString VistaTabla::textoErrorDatos() {
    return QStringLiteral("Compruebe el Tipo de Datos:\n"
                          "\n"
                          "- Variable categórica : Palabra\n"
                          "- Variable Discreta o Continua: Número Real\n"
                          "- Limites Inferior o Superior: Número Real\n"
                          "- Frecuencia Absoluta: Número Natural");
}

void VistaTabla::avisarDatoErroneo(const QString& detalle) {
    QMessageBox caja(QMessageBox::Critical, QStringLiteral("¡ ERROR !"), textoErrorDatos(),
                     QMessageBox::Ok, this);
    if (!detalle.isEmpty())
        caja.setInformativeText(detalle);
    caja.exec();
}

void VistaTabla::MostrarColumnas() {
    const double dpi = logicalDpiX();
    for (int columna = 0; columna < modelo_.columnCount(); ++columna)
        setColumnWidth(columna, twipsAPixeles(anchoColumnaTwips(modelo_.campo(columna)), dpi));
    viewport()->update();
    setFocus();
    // The first column of the current row becomes current.
    const int fila = currentIndex().isValid() ? currentIndex().row() : 0;
    if (modelo_.rowCount() > 0)
        setCurrentIndex(modelo_.index(std::min(fila, modelo_.rowCount() - 1), 0));
}

void VistaTabla::copiar() {
    const QString texto = modelo_.textoDe(selectedIndexes());
    if (!texto.isEmpty())
        QApplication::clipboard()->setText(texto);
}

void VistaTabla::pegar() {
    if (!modelo_.editable())
        return;
    const QModelIndexList seleccion = selectedIndexes();
    QModelIndex esquina = currentIndex();
    for (const QModelIndex& i : seleccion)
        if (!esquina.isValid() || i.row() < esquina.row() ||
            (i.row() == esquina.row() && i.column() < esquina.column()))
            esquina = i;
    if (!esquina.isValid())
        return;
    QString motivo;
    if (!modelo_.pegar(esquina.row(), esquina.column(), QApplication::clipboard()->text(), &motivo))
        avisarDatoErroneo(motivo);
    setCurrentIndex(modelo_.index(esquina.row(), esquina.column()));
}

void VistaTabla::eliminarFilasSeleccionadas() {
    QList<int> filas;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (i.row() < modelo_.registros())
            filas.append(i.row());
    if (filas.isEmpty() || !modelo_.editable())
        return;
    const QString texto =
        filas.size() == 1
            ? QStringLiteral("¿ Desea borrar la fila seleccionada ?")
            : QStringLiteral("¿ Desea borrar las %1 filas seleccionadas ?").arg(filas.size());
    if (preguntaAtencion(this, texto))
        modelo_.eliminarFilas(filas);
}

void VistaTabla::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            copiar();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            pegar();
            return;
        }
        if (event->key() == Qt::Key_Delete && !selectionModel()->selectedRows().isEmpty()) {
            eliminarFilasSeleccionadas();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void VistaTabla::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit ayudaPedida(QStringLiteral("Tabla de Distribución"));
        return;
    }
    QTableView::mousePressEvent(event);
}

} // namespace kalnor
