#pragma once

#include <QString>
#include <QStringList>

namespace kalnor {

class ControladorCalculadora;

// Where a report is written: the notes at their caret in the window, the
// standard output in the command-line tool.
class DestinoInforme {
public:
    virtual ~DestinoInforme() = default;
    virtual void insertar(const QString& texto, bool negrita) = 0;
};

// The summary reports of the notes tab (cboRESUMEN): each presses the
// calculator's keys in a fixed order, exactly as a user would, and writes
// a heading and one line per measure with what the display then shows.
class InformeResumen {
public:
    static inline const QString kTooltip = QStringLiteral(" Parámetros Estadísticos ");
    static QStringList items();

    // "- name  ....  result" + CRLF, the dots filling name and dots to 30.
    static QString lineaMedida(const QString& nombre, const QString& resultado);
    // The heading of report `informe` (0 to 3) with the active-variable caption.
    static QString cabecera(int informe, const QString& variableActiva);

    // Writes report `posicion`; a position without report writes nothing.
    // Returns the number of measure lines written (-1: no report).
    static int cboRESUMEN_Click(ControladorCalculadora& calculadora, int posicion,
                                DestinoInforme& destino);
};

} // namespace kalnor
