#pragma once

#include "app/CargaCsv.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace kalnor {

// The look at a CSV file before "Importar CSV" writes it: its fields, its
// first rows, how many rows it has and the separator found.
class DialogoMuestraCsv : public QDialog {
    Q_OBJECT
public:
    static constexpr std::size_t kFilasMostradas = 10;

    DialogoMuestraCsv(const QString& ruta, const MuestraCsv& muestra, const QString& tipo,
                      QWidget* parent = nullptr);

    QTableWidget* rejilla() const { return rejilla_; }
    QLabel* resumen() const { return resumen_; }

private:
    QTableWidget* rejilla_;
    QLabel* resumen_;
};

} // namespace kalnor
