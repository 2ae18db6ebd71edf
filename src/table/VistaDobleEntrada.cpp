#include "VistaDobleEntrada.h"

#include "TablaDobleEntrada.h"
#include "app/Documento.h"
#include "app/EscrituraAtomica.h"
#include "app/Version.h"

#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kalnor {

VistaDobleEntrada::VistaDobleEntrada(Documento& documento, QWidget* parent)
    : QWidget(parent), documento_(documento), titulo_(new QLabel(this)),
      tabla_(new QTableWidget(this)),
      exportar_(new QPushButton(QStringLiteral("Exportar CSV…"), this)) {
    setObjectName(QStringLiteral("VistaDobleEntrada"));
    tabla_->setObjectName(QStringLiteral("TablaDobleEntrada"));
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    tabla_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    exportar_->setToolTip(QStringLiteral(" Guardar la tabla de doble entrada como CSV "));

    auto* barra = new QHBoxLayout;
    barra->addWidget(titulo_, 1);
    barra->addWidget(exportar_);
    auto* capas = new QVBoxLayout(this);
    capas->addLayout(barra);
    capas->addWidget(tabla_, 1);

    connect(exportar_, &QPushButton::clicked, this, &VistaDobleEntrada::pedirExportar);
    connect(&documento_, &Documento::abierto, this, &VistaDobleEntrada::actualizar);
    connect(&documento_, &Documento::datosCambiados, this, &VistaDobleEntrada::actualizar);
    connect(&documento_, &Documento::cerrado, this, &VistaDobleEntrada::actualizar);
    actualizar();
}

void VistaDobleEntrada::actualizar() {
    pendiente_ = true;
    if (isVisible())
        leer();
}

void VistaDobleEntrada::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (pendiente_)
        leer();
}

void VistaDobleEntrada::leer() {
    pendiente_ = false;
    std::string motivo;
    const auto t = leerTablaDobleEntrada(documento_, motivo);
    tabla_->clear();
    exportar_->setEnabled(t.has_value());
    if (!t) {
        tabla_->setRowCount(0);
        tabla_->setColumnCount(0);
        titulo_->setText(QString::fromStdString(motivo));
        return;
    }
    // A table of continuous raw data can have a value per row on both sides.
    constexpr std::uint64_t kCeldasMaximas = 250'000;
    if (t->totalCasillas() > kCeldasMaximas) {
        tabla_->setRowCount(0);
        tabla_->setColumnCount(0);
        const bool exportable = t->totalCasillas() <= TablaDobleEntrada::kCasillasCsv;
        exportar_->setEnabled(exportable);
        titulo_->setText(
            QStringLiteral("La tabla tendría %1 × %2 casillas: agrupe los valores en "
                           "clases%3.")
                .arg(t->filas.size())
                .arg(t->columnas.size())
                .arg(exportable ? QStringLiteral(" o use «Exportar CSV…»") : QString()));
        return;
    }
    titulo_->setText(QStringLiteral("Filas: X · columnas: Y · casillas: nᵢⱼ · marginales: nᵢ· y "
                                    "n·ⱼ · en la esquina: N"));
    const QLocale locale;
    const int filas = static_cast<int>(t->filas.size());
    const int columnas = static_cast<int>(t->columnas.size());
    tabla_->setRowCount(filas + 1);
    tabla_->setColumnCount(columnas + 1);
    QStringList cabeceraY;
    for (const auto& c : t->columnas)
        cabeceraY << TablaDobleEntrada::encabezado(c, locale);
    cabeceraY << QStringLiteral("nᵢ·");
    QStringList cabeceraX;
    for (const auto& f : t->filas)
        cabeceraX << TablaDobleEntrada::encabezado(f, locale);
    cabeceraX << QStringLiteral("n·ⱼ");
    tabla_->setHorizontalHeaderLabels(cabeceraY);
    tabla_->setVerticalHeaderLabels(cabeceraX);

    QFont negrita = font();
    negrita.setBold(true);
    const auto poner = [&](int fila, int columna, std::int64_t valor, bool marginal) {
        auto* celda = new QTableWidgetItem(locale.toString(static_cast<qlonglong>(valor)));
        celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (marginal)
            celda->setFont(negrita);
        tabla_->setItem(fila, columna, celda);
    };
    auto casilla = t->casillas.begin();
    for (int i = 0; i < filas; ++i) {
        for (int j = 0; j < columnas; ++j) {
            std::int64_t n = 0;
            if (casilla != t->casillas.end() && casilla->fila == std::size_t(i) &&
                casilla->columna == std::size_t(j))
                n = (casilla++)->n;
            poner(i, j, n, false);
        }
        poner(i, columnas, t->marginalX[i], true);
    }
    for (int j = 0; j < columnas; ++j)
        poner(filas, j, t->marginalY[j], true);
    poner(filas, columnas, t->N, true);
    tabla_->resizeColumnsToContents();
}

bool VistaDobleEntrada::exportar(const QString& ruta, QString& motivo) const {
    std::string porque;
    const auto t = leerTablaDobleEntrada(documento_, porque);
    if (!t) {
        motivo = QString::fromStdString(porque);
        return false;
    }
    const std::optional<std::string> csv = t->csv(porque);
    if (!csv) {
        motivo = QString::fromStdString(porque);
        return false;
    }
    motivo =
        escribirAtomico(ruta, QByteArrayView(csv->data(), static_cast<qsizetype>(csv->size())));
    return motivo.isEmpty();
}

void VistaDobleEntrada::pedirExportar() {
    const QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exportar la tabla de doble entrada"),
        QStringLiteral("tabla_doble_entrada.csv"), QStringLiteral("CSV (*.csv)"));
    if (ruta.isEmpty())
        return;
    QString motivo;
    if (!exportar(ruta, motivo))
        QMessageBox::warning(this, QStringLiteral("Kalnor v.%1").arg(versionConComa()), motivo);
}

} // namespace kalnor
