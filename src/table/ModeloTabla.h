#pragma once

#include "app/RecordSet.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QModelIndexList>

namespace kalnor {

class Documento;

// The data table of the open distribution as the grid sees it: one column
// per field in the table's order, one row per record plus an empty row at
// the end for a new record. Reads go straight to the record set (nothing is
// copied); every edit is written to the file at once.
class ModeloTabla : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloTabla(Documento& documento, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    std::string campo(int columna) const;
    int registros() const; // rows without the empty one at the end
    // False while the open file is read-only: nothing is written then.
    bool editable() const;

    // Deletes the given records in one transaction; all or nothing.
    bool eliminarFilas(QList<int> filas);
    // The rectangle that holds `celdas`, tab-separated, one line per row.
    QString textoDe(const QModelIndexList& celdas) const;
    // Pastes a tab-separated block with its top-left corner at (fila,
    // columna), adding records as needed. Every cell is checked first; one
    // bad cell refuses the whole block (description in `motivo`).
    bool pegar(int fila, int columna, const QString& bloque, QString* motivo = nullptr);

    void setLocale(const QLocale& locale) { locale_ = locale; }
    const QLocale& locale() const { return locale_; }

public slots:
    // Follows the document's record set again (after it was reopened,
    // re-sorted or closed).
    void recargar();

signals:
    // A cell was written (the view moves down after it).
    void celdaEscrita(const QModelIndex& index);
    // A cell of an existing record went from `antes` to `despues` (the
    // totals follow it without summing the whole column again).
    void celdaCambiada(int columna, const stats::CellValue& antes, const stats::CellValue& despues);
    // The value typed does not fit the column: nothing was written.
    void datoRechazado(const QModelIndex& index, const QString& texto);
    // The file refused a write; the table was re-read from the file.
    void errorArchivo(const QString& descripcion);

private:
    bool escribirFila(int fila, const std::vector<std::pair<int, stats::CellValue>>& valores);
    void resincronizar(const QString& descripcion);

    Documento& documento_;
    mutable RecordSet vista_; // a clone of Data1: shares its rows, keeps its own position
    QLocale locale_;
};

} // namespace kalnor
