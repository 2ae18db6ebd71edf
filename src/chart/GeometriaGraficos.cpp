#include "GeometriaGraficos.h"

#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/NumericColumn.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kalnor::grafico {

namespace {

using stats::ErrorCode;
using stats::ErrorRecord;
using stats::FrequencyList;
using stats::ValueList;
using stats::VariableType;

std::string fila(std::size_t i) {
    return "la fila " + std::to_string(i + 1);
}

std::optional<double> numero(ErrorRecord& err, const ValueList& lista, std::size_t i) {
    if (i >= lista.size()) {
        err.set(ErrorCode::IndexOutOfRange);
        return std::nullopt;
    }
    ErrorCode why = ErrorCode::None;
    const auto v = stats::detail::cellNumber(lista[i], why);
    if (!v)
        err.set(why, stats::describe(why) + " en " + fila(i));
    return v;
}

// The records in ascending order of the variable, read as numbers once: the
// order the quantile routines need and the charts draw in.
struct Ordenada {
    std::vector<std::size_t> fila; // record in the table
    std::vector<double> valor;     // xᵢ, or the class mark
    std::vector<double> li, ls;    // classes only
    FrequencyList n;
    // The same, as engine lists.
    ValueList x, cli, cls;
};

std::optional<Ordenada> ordenar(ErrorRecord& err, VariableType tipo, const ValueList& x,
                                const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    err.clear();
    if (tipo == VariableType::Categorical) {
        err.set(ErrorCode::TypeMismatch, "Una variable categórica no tiene este gráfico: sus "
                                         "valores son palabras, no números");
        return std::nullopt;
    }
    if (n.empty()) {
        err.set(ErrorCode::IndexOutOfRange, "La tabla está vacía");
        return std::nullopt;
    }
    const bool clases = tipo == VariableType::Continuous;
    struct Registro {
        std::size_t fila;
        double clave, inf, sup;
    };
    std::vector<Registro> r;
    r.reserve(n.size());
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (n[i] < 0) {
            err.set(ErrorCode::InvalidArgument, "Frecuencia negativa en " + fila(i));
            return std::nullopt;
        }
        if (clases) {
            const auto a = numero(err, li, i);
            if (!a)
                return std::nullopt;
            const auto b = numero(err, ls, i);
            if (!b)
                return std::nullopt;
            r.push_back({i, *a, *a, *b});
        } else {
            const auto v = numero(err, x, i);
            if (!v)
                return std::nullopt;
            r.push_back({i, *v, *v, *v});
        }
    }
    std::stable_sort(r.begin(), r.end(),
                     [](const Registro& a, const Registro& b) { return a.clave < b.clave; });
    Ordenada o;
    for (const Registro& e : r) {
        o.fila.push_back(e.fila);
        o.n.push_back(n[e.fila]);
        if (clases) {
            o.li.push_back(e.inf);
            o.ls.push_back(e.sup);
            o.valor.push_back((e.inf + e.sup) / 2);
            o.cli.push_back(stats::CellValue::number(e.inf));
            o.cls.push_back(stats::CellValue::number(e.sup));
        } else {
            o.valor.push_back(e.clave);
        }
        o.x.push_back(stats::CellValue::number(o.valor.back()));
    }
    return o;
}

std::int64_t total(const FrequencyList& n) {
    return std::accumulate(n.begin(), n.end(), std::int64_t{0});
}

// Quantile k of q as the calculator's keys compute it on sorted lists.
std::optional<double> cuantil(ErrorRecord& err, VariableType tipo, const Ordenada& o,
                              std::int16_t k, std::int16_t q) {
    const double v = tipo == VariableType::Continuous
                         ? stats::CuantilContinuo(err, k, q, o.cli, o.cls, o.n)
                         : stats::CuantilDiscreto(err, k, q, o.x, o.n);
    if (err.failed())
        return std::nullopt;
    return v;
}

} // namespace

std::optional<Histograma> histograma(ErrorRecord& err, VariableType tipo, const ValueList& li,
                                     const ValueList& ls, const FrequencyList& n) {
    if (tipo != VariableType::Continuous) {
        err.set(ErrorCode::TypeMismatch, "Un histograma necesita una variable agrupada en "
                                         "clases; para valores se dibuja el diagrama de barras");
        return std::nullopt;
    }
    const auto o = ordenar(err, tipo, {}, li, ls, n);
    if (!o)
        return std::nullopt;
    Histograma h;
    const double a1 = o->ls[0] - o->li[0];
    for (std::size_t i = 0; i < o->n.size(); ++i) {
        const double a = o->ls[i] - o->li[i];
        if (!(a > 0)) {
            err.set(ErrorCode::InvalidArgument,
                    "La clase de " + fila(o->fila[i]) + " no tiene amplitud positiva");
            return std::nullopt;
        }
        // Widths typed as 0.1 or 0.3 differ in their last bits only.
        if (std::abs(a - a1) > 1e-9 * std::max(std::abs(a), std::abs(a1)))
            h.densidad = true;
    }
    for (std::size_t i = 0; i < o->n.size(); ++i) {
        const double a = o->ls[i] - o->li[i];
        h.barras.push_back(
            {o->li[i], o->ls[i], h.densidad ? o->n[i] / a : double(o->n[i]), o->n[i]});
    }
    h.ejeY = h.densidad ? kEjeDensidad : kEjeFrecuencia;
    return h;
}

std::optional<std::vector<Punto>> poligono(ErrorRecord& err, VariableType tipo, const ValueList& x,
                                           const ValueList& li, const ValueList& ls,
                                           const FrequencyList& n) {
    std::vector<Punto> p;
    if (tipo == VariableType::Continuous) {
        const auto h = histograma(err, tipo, li, ls, n);
        if (!h)
            return std::nullopt;
        const Rectangulo& primera = h->barras.front();
        const Rectangulo& ultima = h->barras.back();
        const double a1 = primera.derecha - primera.izquierda;
        const double ak = ultima.derecha - ultima.izquierda;
        p.push_back({(primera.izquierda + primera.derecha) / 2 - a1, 0.0});
        for (const Rectangulo& r : h->barras)
            p.push_back({(r.izquierda + r.derecha) / 2, r.altura});
        p.push_back({(ultima.izquierda + ultima.derecha) / 2 + ak, 0.0});
        return p;
    }
    const auto o = ordenar(err, tipo, x, li, ls, n);
    if (!o)
        return std::nullopt;
    const std::size_t k = o->valor.size();
    const double antes = k > 1 ? o->valor[1] - o->valor[0] : 1.0;
    const double despues = k > 1 ? o->valor[k - 1] - o->valor[k - 2] : 1.0;
    p.push_back({o->valor[0] - (antes > 0 ? antes : 1.0), 0.0});
    for (std::size_t i = 0; i < k; ++i)
        p.push_back({o->valor[i], double(o->n[i])});
    p.push_back({o->valor[k - 1] + (despues > 0 ? despues : 1.0), 0.0});
    return p;
}

std::optional<Ojiva> ojiva(ErrorRecord& err, VariableType tipo, const ValueList& x,
                           const ValueList& li, const ValueList& ls, const FrequencyList& n,
                           bool porcentaje) {
    const auto o = ordenar(err, tipo, x, li, ls, n);
    if (!o)
        return std::nullopt;
    const std::int64_t N = total(o->n);
    if (N == 0) {
        err.set(ErrorCode::DivisionByZero, "No hay observaciones: N = 0");
        return std::nullopt;
    }
    const auto altura = [&](std::int64_t acumulada) {
        return porcentaje ? 100.0 * double(acumulada) / double(N) : double(acumulada);
    };
    Ojiva g;
    g.porcentaje = porcentaje;
    g.escalonada = tipo != VariableType::Continuous;
    std::int64_t acumulada = 0;
    if (g.escalonada) {
        for (std::size_t i = 0; i < o->n.size(); ++i) {
            g.puntos.push_back({o->valor[i], altura(acumulada)});
            acumulada += o->n[i];
            g.puntos.push_back({o->valor[i], altura(acumulada)});
        }
    } else {
        g.puntos.push_back({o->li[0], 0.0});
        for (std::size_t i = 0; i < o->n.size(); ++i) {
            acumulada += o->n[i];
            g.puntos.push_back({o->ls[i], altura(acumulada)});
        }
    }
    for (std::int16_t k = 1; k <= 3; ++k)
        if (const auto q = cuantil(err, tipo, *o, k, 4))
            g.cuartiles.push_back({*q, porcentaje ? 25.0 * k : double(N) * k / 4});
    err.clear();
    return g;
}

std::optional<Caja> caja(ErrorRecord& err, VariableType tipo, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    const auto o = ordenar(err, tipo, x, li, ls, n);
    if (!o)
        return std::nullopt;
    Caja c;
    const auto q1 = cuantil(err, tipo, *o, 1, 4);
    const auto me = q1 ? cuantil(err, tipo, *o, 1, 2) : std::nullopt;
    const auto q3 = me ? cuantil(err, tipo, *o, 3, 4) : std::nullopt;
    if (!q3)
        return std::nullopt;
    c.q1 = *q1;
    c.mediana = *me;
    c.q3 = *q3;
    const double margen = 1.5 * (c.q3 - c.q1);
    const double bajo = c.q1 - margen;
    const double alto = c.q3 + margen;
    c.bigoteInferior = c.q1;
    c.bigoteSuperior = c.q3;
    bool primero = true;
    for (std::size_t i = 0; i < o->valor.size(); ++i) {
        if (o->n[i] == 0)
            continue;
        const double v = o->valor[i];
        if (v < bajo || v > alto) {
            c.atipicos.push_back(v);
            continue;
        }
        if (primero)
            c.bigoteInferior = std::min(v, c.q1);
        c.bigoteSuperior = std::max(v, c.q3);
        primero = false;
    }
    const bool clases = tipo == VariableType::Continuous;
    c.minimo = clases ? o->li.front() : o->valor.front();
    c.maximo = clases ? o->ls.back() : o->valor.back();
    return c;
}

std::optional<Nube> nube(ErrorRecord& err, const ValueList& x, const ValueList& y,
                         const FrequencyList& n) {
    err.clear();
    Nube g;
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (n[i] <= 0)
            continue;
        const auto a = numero(err, x, i);
        if (!a)
            return std::nullopt;
        const auto b = numero(err, y, i);
        if (!b)
            return std::nullopt;
        g.puntos.push_back({*a, *b, n[i]});
    }
    const double mx = stats::MediaAritmetica(err, x, n);
    if (err.failed())
        return std::nullopt;
    const double my = stats::MediaAritmetica(err, y, n);
    if (err.failed())
        return std::nullopt;
    g.centro = {mx, my};
    const auto optativo = [&err](double v) -> std::optional<double> {
        if (err.failed())
            return std::nullopt;
        return v;
    };
    g.pendienteYX = optativo(stats::CoefRegresionX(err, x, y, n));
    if (g.pendienteYX)
        g.ordenadaYX = my - *g.pendienteYX * mx;
    g.pendienteXY = optativo(stats::CoefRegresionY(err, x, y, n));
    if (g.pendienteXY)
        g.ordenadaXY = mx - *g.pendienteXY * my;
    g.r = optativo(stats::CoefCorrelacion(err, x, y, n));
    err.clear();
    return g;
}

} // namespace kalnor::grafico
