#include "DialogoMuestraCsv.h"

#include "app/CitaBreve.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kalnor {

namespace {
QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

DialogoMuestraCsv::DialogoMuestraCsv(const QString& ruta, const MuestraCsv& muestra,
                                     const QString& tipo, QWidget* parent)
    : QDialog(parent), rejilla_(new QTableWidget(this)), resumen_(new QLabel(this)) {
    setObjectName(QStringLiteral("dlgMuestraCsv"));
    setWindowTitle(QStringLiteral("Importar CSV"));
    resize(560, 380);

    const QString separacion = muestra.separador == ';'
                                   ? QStringLiteral("punto y coma y coma decimal")
                                   : QStringLiteral("comas y punto decimal");
    resumen_->setObjectName(QStringLiteral("lblMuestraCsv"));
    resumen_->setWordWrap(true);
    resumen_->setText(
        QStringLiteral("«%1»: %2 filas (%3) para añadir a la tabla %4.%5")
            .arg(QFileInfo(ruta).fileName())
            .arg(muestra.totalFilas)
            .arg(separacion, tipo)
            .arg(muestra.totalFilas > muestra.filas.size()
                     ? QStringLiteral("\nSe muestran las %1 primeras.").arg(muestra.filas.size())
                     : QString()));

    rejilla_->setObjectName(QStringLiteral("rejillaMuestraCsv"));
    rejilla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rejilla_->setColumnCount(static_cast<int>(muestra.campos.size()));
    QStringList cabecera;
    for (const std::string& c : muestra.campos)
        cabecera << qs(citaBreve(c));
    rejilla_->setHorizontalHeaderLabels(cabecera);
    rejilla_->setRowCount(static_cast<int>(muestra.filas.size()));
    for (std::size_t f = 0; f < muestra.filas.size(); ++f)
        for (std::size_t c = 0; c < muestra.filas[f].size(); ++c)
            rejilla_->setItem(static_cast<int>(f), static_cast<int>(c),
                              new QTableWidgetItem(qs(citaBreve(muestra.filas[f][c]))));
    rejilla_->horizontalHeader()->setStretchLastSection(true);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importar"));
    botones->button(QDialogButtonBox::Ok)->setEnabled(muestra.totalFilas > 0);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* capas = new QVBoxLayout(this);
    capas->addWidget(resumen_);
    capas->addWidget(rejilla_, 1);
    capas->addWidget(botones);
}

} // namespace kalnor
