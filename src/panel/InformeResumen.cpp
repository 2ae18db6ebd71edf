#include "InformeResumen.h"

#include "ControladorCalculadora.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <vector>

namespace kalnor {

namespace {

constexpr int kAnchoNombre = 30;
const QString kFinLinea = QStringLiteral("\r\n");

using Pulsacion = std::function<void(ControladorCalculadora&)>;

Pulsacion tecla(int i) {
    return [i](ControladorCalculadora& c) { c.cmdTECLA_Click(i); };
}
Pulsacion teclaM(int i) {
    return [i](ControladorCalculadora& c) { c.cmdTECLAm_Click(i); };
}
Pulsacion teclaBi(int i) {
    return [i](ControladorCalculadora& c) { c.cmdTECLAbi_Click(i); };
}
Pulsacion cuartil(int posicion) {
    return [posicion](ControladorCalculadora& c) { c.cboCUARTILES_Click(posicion); };
}

std::vector<Pulsacion> pulsaciones(int informe) {
    switch (informe) {
    case 0:
        return {[](ControladorCalculadora& c) { c.cmd_Muestra_Click(); },
                tecla(0),
                tecla(1),
                tecla(2),
                tecla(3),
                teclaM(0),
                teclaM(1),
                cuartil(0),
                cuartil(2)};
    case 1:
        return {tecla(5),  tecla(6),  tecla(7),  tecla(8), tecla(9),  tecla(12),
                tecla(13), tecla(14), tecla(15), tecla(4), tecla(17), tecla(18)};
    case 2:
        return {tecla(10), tecla(11), tecla(19)};
    case 3:
        // The regression key twice gives both coefficients, in the order of
        // the variable then active.
        return {teclaBi(0), teclaBi(1), teclaBi(2), teclaBi(2)};
    default:
        return {};
    }
}

} // namespace

QStringList InformeResumen::items() {
    return {QStringLiteral("Medidas de Tendencia Central"), QStringLiteral("Medidas de Dispersión"),
            QStringLiteral("Medidas de Asimetría"), QStringLiteral("Análisis Bivariante")};
}

QString InformeResumen::lineaMedida(const QString& nombre, const QString& resultado) {
    // A name too long for the column gets no dots rather than a broken line.
    const qsizetype puntos = std::max<qsizetype>(0, kAnchoNombre - nombre.size());
    return QStringLiteral("- ") + nombre + QStringLiteral("  ") + QString(puntos, '.') +
           QStringLiteral("  ") + resultado + kFinLinea;
}

QString InformeResumen::cabecera(int informe, const QString& variableActiva) {
    static const std::array<const char*, 4> kTitulos{
        " MEDIDAS DE TENDENCIA CENTRAL ", " MEDIDAS DE DISPERSIÓN ", " MEDIDAS DE ASIMETRÍA ",
        " ANÁLISIS BIVARIANTE (X, Y) "};
    if (informe < 0 || informe > 3)
        return {};
    const QString titulo = QString::fromUtf8(kTitulos[static_cast<std::size_t>(informe)]);
    if (informe == 3)
        return kFinLinea + QStringLiteral("===") + titulo + QStringLiteral("===") + kFinLinea;
    return kFinLinea + QStringLiteral("===") + titulo + '(' + variableActiva +
           QStringLiteral(") ") + QStringLiteral("===") + kFinLinea;
}

int InformeResumen::cboRESUMEN_Click(ControladorCalculadora& calculadora, int posicion,
                                     DestinoInforme& destino) {
    const std::vector<Pulsacion> medidas = pulsaciones(posicion);
    if (medidas.empty())
        return -1;
    int escritas = 0;
    // A failure while writing ends the report; what was written stays.
    try {
        destino.insertar(cabecera(posicion, calculadora.estado().lbl_Mensaje[4]), true);
        for (const Pulsacion& pulsar : medidas) {
            pulsar(calculadora);
            const EstadoCalculadora& e = calculadora.estado();
            destino.insertar(lineaMedida(e.lbl_Mensaje[5], e.RESULTADO), false);
            ++escritas;
        }
    } catch (const std::exception&) {
    }
    return escritas;
}

} // namespace kalnor
