#include "ListaResumen.h"

#include "ControladorCalculadora.h"
#include "InformeResumen.h"
#include "notes/EditorNotas.h"

#include <QApplication>
#include <QTextEdit>

namespace kalnor {

namespace {

class Notas : public DestinoInforme {
public:
    explicit Notas(EditorNotas& notas) : notas_(notas) {}
    void insertar(const QString& texto, bool negrita) override { notas_.insertar(texto, negrita); }

private:
    EditorNotas& notas_;
};

// The wait pointer for as long as the report runs.
class Espera {
public:
    Espera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Espera() { QApplication::restoreOverrideCursor(); }
    Espera(const Espera&) = delete;
    Espera& operator=(const Espera&) = delete;
};

} // namespace

ListaResumen::ListaResumen(ControladorCalculadora& calculadora, EditorNotas& notas, QWidget* parent)
    : QComboBox(parent), calculadora_(calculadora), notas_(notas) {
    setObjectName(QStringLiteral("cboRESUMEN"));
    setToolTip(InformeResumen::kTooltip);
    setAccessibleName(QStringLiteral("Parámetros Estadísticos"));
    setPlaceholderText(QStringLiteral("Parámetros Estadísticos"));
    addItems(InformeResumen::items());
    setCurrentIndex(-1);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this, &ListaResumen::cboRESUMEN_Click);
}

void ListaResumen::cboRESUMEN_Click(int posicion) {
    const Espera espera;
    notas_.caja()->setFocus();
    Notas destino(notas_);
    InformeResumen::cboRESUMEN_Click(calculadora_, posicion, destino);
}

} // namespace kalnor
