#include "CalculoColumna.h"

#include <cmath>

namespace kalnor {

namespace {

using stats::CellValue;
using stats::ErrorCode;

// A cell as an operand: a number, nothing (an empty cell) or a failure.
struct Operando {
    double valor = 0;
    bool vacio = false;
    ErrorCode fallo = ErrorCode::None;
    const std::string* campo = nullptr;
};

Operando leer(const CellValue& celda, const std::string& campo) {
    if (const double* v = celda.numberIf())
        return {*v, false, ErrorCode::None, &campo};
    if (celda.isText()) {
        if (const auto v = stats::parseNumber(celda.asText()))
            return {*v, false, ErrorCode::None, &campo};
        return {0, false, ErrorCode::TypeMismatch, &campo};
    }
    return {0, true, ErrorCode::None, &campo};
}

Operando valorDe(const OrigenValor& o, std::size_t i) {
    if (o.valor)
        return i < o.valor->size() ? leer((*o.valor)[i], o.campo) : Operando{0, true};
    if (!o.inferior || !o.superior || i >= o.inferior->size() || i >= o.superior->size())
        return {0, true};
    const Operando a = leer((*o.inferior)[i], o.campo);
    if (a.fallo != ErrorCode::None)
        return a;
    const Operando b = leer((*o.superior)[i], o.campo);
    if (b.fallo != ErrorCode::None)
        return b;
    if (a.vacio || b.vacio)
        return {0, true, ErrorCode::None, &o.campo};
    return {(a.valor + b.valor) / 2, false, ErrorCode::None, &o.campo};
}

} // namespace

ValoresColumna calcularColumna(const EntradaColumna& e) {
    using O = Operacion;
    ValoresColumna out;
    const std::size_t filas = e.ni ? e.ni->size() : 0;
    out.valores.reserve(filas);
    static const std::string kNi = "ni";
    const double N = e.N;
    double acumulado = 0; // running sum of the frequencies: exact for counts

    for (std::size_t i = 0; i < filas; ++i) {
        const auto fallar = [&](ErrorCode codigo, const std::string* campo) {
            out.fallo = FalloColumna{i, codigo, campo ? *campo : std::string()};
        };
        const Operando n = leer((*e.ni)[i], kNi);
        if (n.fallo != ErrorCode::None) {
            fallar(n.fallo, n.campo);
            break;
        }
        const O op = e.operacion;
        const bool usaValor = op != O::Acumulada && op != O::Relativa &&
                              op != O::RelativaPorciento && op != O::AcumuladaRelativa &&
                              op != O::AcumuladaPorciento;
        Operando x;
        if (usaValor) {
            x = valorDe(e.x, i);
            if (x.fallo != ErrorCode::None) {
                fallar(x.fallo, x.campo);
                break;
            }
        }
        std::optional<double> r; // none: the record's result is empty
        ErrorCode fallo = ErrorCode::None;
        const std::string* culpable = nullptr;
        const double d = x.valor - e.m;
        switch (op) {
        case O::Marca:
            if (!x.vacio)
                r = x.valor;
            break;
        case O::Acumulada:
        case O::AcumuladaRelativa:
        case O::AcumuladaPorciento:
            if (n.vacio) {
                fallo = ErrorCode::InvalidUseOfNull;
                culpable = &kNi;
                break;
            }
            acumulado += n.valor;
            if (op == O::Acumulada)
                r = acumulado;
            else if (N == 0)
                fallo = ErrorCode::DivisionByZero;
            else
                // The cumulative count over N, not a running sum of
                // quotients: the last record is exactly 1 (or 100).
                r = op == O::AcumuladaRelativa ? acumulado / N : acumulado * 100 / N;
            break;
        case O::Relativa:
        case O::RelativaPorciento:
            if (n.vacio)
                break;
            if (N == 0)
                fallo = ErrorCode::DivisionByZero;
            else
                r = op == O::Relativa ? n.valor / N : n.valor * 100 / N;
            break;
        case O::PorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = x.valor * n.valor;
            break;
        case O::Cuadrado:
            if (!x.vacio)
                r = x.valor * x.valor;
            break;
        case O::CuadradoPorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = x.valor * x.valor * n.valor;
            break;
        case O::Cubo:
            if (!x.vacio)
                r = x.valor * x.valor * x.valor;
            break;
        case O::CuboPorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = x.valor * x.valor * x.valor * n.valor;
            break;
        case O::Desviacion:
            if (!x.vacio)
                r = d;
            break;
        case O::DesviacionPorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = d * n.valor;
            break;
        case O::Desviacion2PorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = d * d * n.valor;
            break;
        case O::Desviacion3PorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = d * d * d * n.valor;
            break;
        case O::DesviacionAbsoluta:
            if (!x.vacio)
                r = std::fabs(d);
            break;
        case O::DesviacionAbsolutaPorFrecuencia:
            if (!x.vacio && !n.vacio)
                r = std::fabs(d) * n.valor;
            break;
        case O::FrecuenciaEntreValor:
            if (x.vacio || n.vacio)
                break;
            if (x.valor == 0) {
                fallo = ErrorCode::DivisionByZero;
                culpable = x.campo;
            } else {
                r = n.valor / x.valor;
            }
            break;
        case O::Logaritmo:
        case O::FrecuenciaPorLogaritmo:
            if (x.vacio) {
                fallo = ErrorCode::InvalidUseOfNull;
                culpable = x.campo;
            } else if (!(x.valor > 0)) {
                fallo = ErrorCode::InvalidArgument;
                culpable = x.campo;
            } else if (op == O::Logaritmo) {
                r = std::log10(x.valor);
            } else if (!n.vacio) {
                r = std::log10(x.valor) * n.valor;
            }
            break;
        case O::Conjunta: {
            const Operando y = valorDe(e.y, i);
            if (y.fallo != ErrorCode::None) {
                fallo = y.fallo;
                culpable = y.campo;
            } else if (!x.vacio && !y.vacio && !n.vacio) {
                r = x.valor * y.valor * n.valor;
            }
            break;
        }
        }
        if (fallo == ErrorCode::None && r && !std::isfinite(*r))
            fallo = ErrorCode::Overflow;
        if (fallo != ErrorCode::None) {
            fallar(fallo, culpable);
            break;
        }
        out.valores.push_back(r ? CellValue::number(*r) : CellValue::null());
    }
    return out;
}

} // namespace kalnor
