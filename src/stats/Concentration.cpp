#include "Concentration.h"

#include "DoubleDouble.h"
#include "NumericColumn.h"

#include <algorithm>
#include <string>

namespace kalnor::stats {

using namespace detail;

namespace {

std::string fila(std::size_t i) {
    return "la fila " + std::to_string(i + 1);
}

// The value of record i: xᵢ, or the mark (Liᵢ + Lsᵢ) / 2 of its class.
std::optional<double> valorDe(ErrorRecord& err, VariableType type, const ValueList& x,
                              const ValueList& li, const ValueList& ls, std::size_t i) {
    const auto leer = [&](const ValueList& lista) -> std::optional<double> {
        if (i >= lista.size()) {
            err.set(ErrorCode::IndexOutOfRange);
            return std::nullopt;
        }
        ErrorCode why = ErrorCode::None;
        const auto v = cellNumber(lista[i], why);
        if (!v)
            err.set(why, describe(why) + " en " + fila(i));
        return v;
    };
    if (type == VariableType::Discrete)
        return leer(x);
    const auto inf = leer(li);
    if (!inf)
        return std::nullopt;
    const auto sup = leer(ls);
    if (!sup)
        return std::nullopt;
    return toDouble(mul(twoSum(*inf, *sup), 0.5));
}

} // namespace

std::optional<Concentracion> IndiceGini(ErrorRecord& err, VariableType type, const ValueList& x,
                                        const ValueList& li, const ValueList& ls,
                                        const FrequencyList& n) {
    err.clear();
    if (type == VariableType::Categorical) {
        err.set(ErrorCode::TypeMismatch, "Una variable categórica no tiene curva de Lorenz ni "
                                         "índice de Gini");
        return std::nullopt;
    }
    Concentracion c;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (n[i] < 0) {
            err.set(ErrorCode::InvalidArgument,
                    "El índice de Gini necesita frecuencias no negativas: " + fila(i) +
                        " tiene nᵢ = " + std::to_string(n[i]));
            return std::nullopt;
        }
        if (n[i] == 0)
            continue;
        const auto v = valorDe(err, type, x, li, ls, i);
        if (!v)
            return std::nullopt;
        if (*v < 0) {
            err.set(ErrorCode::InvalidArgument,
                    "El índice de Gini necesita valores no negativos: " + fila(i) +
                        " tiene un valor negativo");
            return std::nullopt;
        }
        c.puntos.push_back({i + 1, *v, n[i], 0, 0.0, 0.0});
        total += n[i];
    }
    if (total == 0) {
        err.set(ErrorCode::DivisionByZero, "No hay observaciones: N = 0");
        return std::nullopt;
    }
    // Sorted by the value; equal values keep the table's order.
    std::stable_sort(c.puntos.begin(), c.puntos.end(),
                     [](const PuntoLorenz& a, const PuntoLorenz& b) { return a.valor < b.valor; });

    DD suma{0.0, 0.0};
    for (const PuntoLorenz& punto : c.puntos)
        suma = add(suma, twoProd(punto.valor, static_cast<double>(punto.n)));
    if (!isFinite(suma)) {
        err.set(ErrorCode::Overflow);
        return std::nullopt;
    }
    if (isZero(suma)) {
        err.set(ErrorCode::DivisionByZero,
                "El índice de Gini necesita un total positivo: la suma Σxᵢ·nᵢ es 0");
        return std::nullopt;
    }

    const DD N = fromInt(total);
    std::int64_t acumulada = 0;
    DD parcial{0.0, 0.0};
    DD sumaP{0.0, 0.0};
    DD diferencias{0.0, 0.0};
    for (std::size_t i = 0; i < c.puntos.size(); ++i) {
        PuntoLorenz& punto = c.puntos[i];
        acumulada += punto.n;
        parcial = add(parcial, twoProd(punto.valor, static_cast<double>(punto.n)));
        punto.acumulada = acumulada;
        const DD p = div(fromInt(acumulada), N);
        const DD q = div(parcial, suma);
        punto.p = toDouble(p);
        punto.q = toDouble(q);
        if (i + 1 < c.puntos.size()) {
            sumaP = add(sumaP, p);
            diferencias = add(diferencias, sub(p, q));
        }
    }
    c.puntos.back().p = 1.0; // exactly, whatever the rounding of the last share
    c.puntos.back().q = 1.0;
    c.sumaP = toDouble(sumaP);
    c.sumaDiferencias = toDouble(diferencias);
    c.indice = isZero(sumaP) ? 0.0 : toDouble(div(diferencias, sumaP));
    return c;
}

} // namespace kalnor::stats
