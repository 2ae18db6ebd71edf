#pragma once

#include "NumericColumn.h"
#include "Sums.h"
#include "Trace.h"

#include <algorithm>

// How the steps fill a recorder. Every helper does nothing without one, so a
// routine run without a recorder pays a branch and no more.
namespace kalnor::stats::detail {

inline constexpr std::size_t kTerminosMostrados = 3;
static_assert(2 * kTerminosMostrados <= TerminosTraza::kCapacidad);

// Records a sum the step took over the rows of x (and y), and the terms to
// show: all of them when few, else the first and the last ones.
inline void anotarSuma(Traza* t, SumaTraza s, DD valor, const NumericColumn& x,
                       const NumericColumn* y, const FrequencyList& n) {
    if (!t)
        return;
    s.valor = valor.hi + valor.lo;
    s.deY = y == nullptr && &x == t->columnaY;
    const std::size_t filas = std::min({x.readable, n.size(), y ? y->readable : x.readable});
    s.terminos = filas;
    const auto termino = [&](std::size_t i) {
        return TerminoTraza{i + 1, x.values[i], y ? y->values[i] : 0.0, n[i]};
    };
    if (filas <= 2 * kTerminosMostrados) {
        for (std::size_t i = 0; i < filas; ++i)
            s.primeros.push_back(termino(i));
    } else {
        for (std::size_t i = 0; i < kTerminosMostrados; ++i)
            s.primeros.push_back(termino(i));
        for (std::size_t i = filas - kTerminosMostrados + 1; i < filas; ++i)
            s.ultimos.push_back(termino(i));
    }
    t->sumas.push_back(std::move(s));
}

inline void anotarValor(Traza* t, Magnitud que, DD valor, const NumericColumn* de = nullptr) {
    if (t)
        t->valores.push_back({que, valor.hi + valor.lo, de && de == t->columnaY});
}

// The first failure a record is to blame for stands.
inline void anotarFallo(Traza* t, ErrorCode codigo, std::size_t indice, std::optional<double> valor,
                        std::optional<TipoSuma> enSuma) {
    if (t && !t->fallo)
        t->fallo = FalloTraza{codigo, indice + 1, valor, enSuma};
}

// sumTerms, noting in the recorder the record at which the sum fails: the
// record whose term fails, or the unreadable entry the loop stops at.
template <class Term>
std::optional<DD> sumaAnotada(ErrorRecord& err, const LoopStop& stop, Traza* t, TipoSuma tipo,
                              const NumericColumn& x, Term&& term) {
    if (!t)
        return sumTerms(err, stop, term);
    if (err.failed())
        return std::nullopt;
    std::optional<std::size_t> donde;
    ErrorCode porQue = ErrorCode::None;
    const auto s = sumTerms(err, stop, [&](auto products, std::size_t i, auto& acc) {
        const ErrorCode why = term(products, i, acc);
        if (why != ErrorCode::None) {
            donde = i;
            porQue = why;
        }
        return why;
    });
    if (!s) {
        if (donde)
            anotarFallo(t, porQue, *donde, x.values[*donde], tipo);
        else if (stop.early())
            anotarFallo(t, stop.why, stop.at, std::nullopt, tipo);
    }
    return s;
}

} // namespace kalnor::stats::detail
