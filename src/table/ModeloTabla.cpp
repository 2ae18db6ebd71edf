#include "ModeloTabla.h"

#include "FormatoCelda.h"
#include "app/CitaBreve.h"
#include "app/DbError.h"
#include "app/Documento.h"

#include <algorithm>
#include <optional>

namespace kalnor {

namespace {

// Splits a block copied from a spreadsheet: lines by newline (CR LF or LF),
// cells by tab; the newline after the last line is not a row.
QList<QStringList> partirBloque(QString bloque) {
    bloque.replace("\r\n", "\n");
    bloque.replace('\r', '\n');
    if (bloque.endsWith('\n'))
        bloque.chop(1);
    QList<QStringList> filas;
    if (bloque.isEmpty())
        return filas;
    for (const QString& linea : bloque.split('\n'))
        filas.append(linea.split('\t'));
    return filas;
}

} // namespace

ModeloTabla::ModeloTabla(Documento& documento, QObject* parent)
    : QAbstractTableModel(parent), documento_(documento) {
    connect(&documento_, &Documento::abierto, this, &ModeloTabla::recargar);
    connect(&documento_, &Documento::cerrado, this, &ModeloTabla::recargar);
    connect(&documento_, &Documento::datosCambiados, this, &ModeloTabla::recargar);
    recargar();
}

void ModeloTabla::recargar() {
    beginResetModel();
    vista_ = documento_.Data1.isOpen() ? documento_.Data1.Clone() : RecordSet();
    endResetModel();
}

int ModeloTabla::registros() const {
    return vista_.isOpen() ? vista_.RecordCount() : 0;
}

int ModeloTabla::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !vista_.isOpen())
        return 0;
    return registros() + 1;
}

int ModeloTabla::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !vista_.isOpen())
        return 0;
    return static_cast<int>(vista_.FieldNames().size());
}

std::string ModeloTabla::campo(int columna) const {
    if (!vista_.isOpen() || columna < 0 || columna >= columnCount())
        return {};
    return vista_.FieldNames()[static_cast<std::size_t>(columna)];
}

QVariant ModeloTabla::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= registros())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool palabra =
            tipoDeCampo(documento_.kind(), campo(index.column())) == TipoCampo::Palabra;
        return QVariant::fromValue(Qt::AlignVCenter | (palabra ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    try {
        vista_.setAbsolutePosition(index.row());
        const stats::CellValue valor = vista_.Field(index.column());
        if (role == Qt::EditRole)
            return textoCopia(valor, locale_);
        return textoCelda(valor, campo(index.column()), locale_);
    } catch (const DbError&) {
        return {};
    }
}

QVariant ModeloTabla::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(campo(section));
    return section < registros() ? QVariant(section + 1) : QVariant(QStringLiteral("*"));
}

Qt::ItemFlags ModeloTabla::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (!editable())
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ModeloTabla::editable() const {
    return !documento_.soloLectura();
}

bool ModeloTabla::escribirFila(int fila,
                               const std::vector<std::pair<int, stats::CellValue>>& valores) {
    if (fila < registros()) {
        vista_.setAbsolutePosition(fila);
        vista_.Edit();
    } else {
        vista_.AddNew();
    }
    for (const auto& [columna, valor] : valores)
        vista_.SetField(columna, valor);
    vista_.Update();
    return true;
}

void ModeloTabla::resincronizar(const QString& descripcion) {
    // A refused write may leave the cached rows out of step with the file:
    // read the document again from the file.
    const std::string base = documento_.BaseActual;
    if (!base.empty())
        documento_.AbrirBase(base);
    recargar();
    emit errorArchivo(descripcion);
}

bool ModeloTabla::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !vista_.isOpen() || !editable())
        return false;
    const QString texto = value.toString();
    const int fila = index.row();
    const bool nueva = fila >= registros();
    if (nueva && texto.trimmed().isEmpty())
        return false; // nothing typed into the empty row: no record
    const auto valor =
        convertirEntrada(texto, tipoDeCampo(documento_.kind(), campo(index.column())));
    if (!valor) {
        emit datoRechazado(index, texto);
        return false;
    }
    stats::CellValue antes;
    stats::CellValue despues;
    try {
        if (nueva) {
            beginInsertRows({}, fila + 1, fila + 1);
        } else {
            vista_.setAbsolutePosition(fila);
            antes = vista_.Field(index.column());
        }
        escribirFila(fila, {{index.column(), *valor}});
        if (nueva) {
            endInsertRows();
            documento_.ContarRegistros();
        } else {
            despues = vista_.Field(index.column()); // as the file took it
        }
    } catch (const DbError& e) {
        if (nueva)
            endInsertRows();
        resincronizar(QString::fromStdString(e.what()));
        return false;
    }
    if (!nueva)
        emit celdaCambiada(index.column(), antes, despues);
    emit dataChanged(index, index);
    emit celdaEscrita(index);
    return true;
}

bool ModeloTabla::eliminarFilas(QList<int> filas) {
    if (!vista_.isOpen() || !editable())
        return false;
    std::sort(filas.begin(), filas.end(), std::greater<>());
    filas.erase(std::unique(filas.begin(), filas.end()), filas.end());
    filas.removeIf([this](int f) { return f < 0 || f >= registros(); });
    if (filas.isEmpty())
        return false;
    try {
        Database::Transaction transaccion(*vista_.database());
        for (const int fila : filas) {
            vista_.setAbsolutePosition(fila);
            vista_.Delete();
        }
        transaccion.commit();
    } catch (const DbError& e) {
        resincronizar(QString::fromStdString(e.what()));
        return false;
    }
    recargar();
    documento_.ContarRegistros();
    return true;
}

QString ModeloTabla::textoDe(const QModelIndexList& celdas) const {
    if (celdas.isEmpty())
        return {};
    int arriba = celdas.front().row(), abajo = arriba;
    int izquierda = celdas.front().column(), derecha = izquierda;
    for (const QModelIndex& c : celdas) {
        arriba = std::min(arriba, c.row());
        abajo = std::max(abajo, c.row());
        izquierda = std::min(izquierda, c.column());
        derecha = std::max(derecha, c.column());
    }
    abajo = std::min(abajo, registros() - 1);
    QStringList lineas;
    for (int fila = arriba; fila <= abajo; ++fila) {
        QStringList celdasFila;
        vista_.setAbsolutePosition(fila);
        for (int columna = izquierda; columna <= derecha; ++columna)
            celdasFila.append(textoCopia(vista_.Field(columna), locale_));
        lineas.append(celdasFila.join('\t'));
    }
    return lineas.isEmpty() ? QString() : lineas.join('\n') + '\n';
}

bool ModeloTabla::pegar(int fila, int columna, const QString& bloque, QString* motivo) {
    auto rechazar = [motivo](const QString& texto) {
        if (motivo)
            *motivo = texto;
        return false;
    };
    if (!vista_.isOpen())
        return rechazar(QStringLiteral("No hay un archivo abierto."));
    if (!editable())
        return rechazar(QStringLiteral("El archivo está abierto en solo lectura."));
    const QList<QStringList> filas = partirBloque(bloque);
    if (filas.isEmpty())
        return rechazar(QStringLiteral("El portapapeles no contiene datos."));
    fila = std::clamp(fila, 0, registros());

    // Check every cell before anything is written.
    std::vector<std::vector<std::pair<int, stats::CellValue>>> valores;
    for (int i = 0; i < filas.size(); ++i) {
        const QStringList& celdas = filas[i];
        if (columna + celdas.size() > columnCount())
            return rechazar(QStringLiteral("El bloque tiene %1 columnas y no cabe en la tabla "
                                           "a partir de la columna «%2».")
                                .arg(celdas.size())
                                .arg(citaBreve(QString::fromStdString(campo(columna)))));
        auto& registro = valores.emplace_back();
        for (int j = 0; j < celdas.size(); ++j) {
            const std::string nombre = campo(columna + j);
            const auto valor = convertirEntrada(celdas[j], tipoDeCampo(documento_.kind(), nombre));
            if (!valor)
                return rechazar(
                    QStringLiteral("Línea %1 del bloque, columna «%2»: «%3» no "
                                   "es un dato válido para esa columna.")
                        .arg(i + 1)
                        .arg(citaBreve(QString::fromStdString(nombre)), citaBreve(celdas[j])));
            registro.emplace_back(columna + j, *valor);
        }
    }

    try {
        Database::Transaction transaccion(*vista_.database());
        for (std::size_t i = 0; i < valores.size(); ++i)
            escribirFila(fila + static_cast<int>(i), valores[i]);
        transaccion.commit();
    } catch (const DbError& e) {
        resincronizar(QString::fromStdString(e.what()));
        return rechazar(QString::fromStdString(e.what()));
    }
    recargar();
    documento_.ContarRegistros();
    return true;
}

} // namespace kalnor
