#include "Steps.h"
#include "Sums.h"
#include "TraceSteps.h"

#include <cmath>
#include <limits>
#include <numeric>

namespace kalnor::stats::detail {

Frequencies readFrequencies(const FrequencyList& n) {
    Frequencies f{n};
    f.sum = frequencySum(n);
    f.overflow = f.sum > std::numeric_limits<std::int32_t>::max() ||
                 f.sum < std::numeric_limits<std::int32_t>::min();
    return f;
}

std::optional<std::int64_t> total(ErrorRecord& err, const Frequencies& f) {
    if (err.failed())
        return std::nullopt;
    if (f.overflow) {
        err.set(ErrorCode::Overflow, "Desbordamiento (la suma de las frecuencias es demasiado "
                                     "grande)");
        return std::nullopt;
    }
    if (f.traza && !f.traza->N)
        f.traza->N = f.sum;
    return f.sum;
}

std::optional<DD> perObservation(ErrorRecord& err, DD sum, const Frequencies& f) {
    const auto N = total(err, f);
    if (!N)
        return std::nullopt;
    return quotient(err, sum, fromInt(*N));
}

double finish(ErrorRecord& err, DD value) {
    if (err.failed())
        return 0.0;
    if (!isFinite(value)) {
        err.set(ErrorCode::Overflow);
        return 0.0;
    }
    return value.hi + value.lo;
}

namespace {

DD meanStep(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    // The loop over the values was run while reading them: its sum covers
    // exactly the entries this loop reaches.
    const LoopStop stop = loopStop(x.size, {&x}, f.n.size());
    if (!isFinite(x.weightedSum)) {
        err.set(ErrorCode::Overflow);
        return {};
    }
    if (stop.early()) {
        err.set(stop.why);
        anotarFallo(f.traza, stop.why, stop.at, std::nullopt, TipoSuma::Valores);
        return {};
    }
    anotarSuma(f.traza, {.tipo = TipoSuma::Valores}, x.weightedSum, x, nullptr, f.n);
    const auto m = perObservation(err, x.weightedSum, f);
    if (!m)
        return {};
    // The mean of equal values is that value; keeping it exact makes every
    // deviation exactly 0 and the spread of a constant variable exactly 0.
    if (x.constant())
        return {x.min, 0.0};
    return *m;
}

} // namespace

DD mean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    if (!x.mean) {
        const DD m = meanStep(err, x, f);
        x.mean = NumericColumn::Memo{m, err};
        if (!err.failed())
            anotarValor(f.traza, Magnitud::Media, m, &x);
    }
    err = x.mean->after;
    return x.mean->value;
}

DD harmonicMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    const auto& n = f.n;
    const LoopStop stop = loopStop(x.size, {&x}, n.size());
    const auto s = sumaAnotada(err, stop, f.traza, TipoSuma::Inversas, x,
                               [&](auto products, std::size_t i, auto& acc) {
                                   const double v = x.values[i];
                                   if (v == 0)
                                       return ErrorCode::DivisionByZero;
                                   // n / v with the remainder of the division kept.
                                   const double m = n[i];
                                   const double q = m / v;
                                   const DD p = decltype(products)::twoProd(q, v);
                                   acc.add(DD{q, ((m - p.hi) - p.lo) / v});
                                   return ErrorCode::None;
                               });
    if (!s)
        return {};
    anotarSuma(f.traza, {.tipo = TipoSuma::Inversas}, *s, x, nullptr, n);
    const auto N = total(err, f);
    if (!N)
        return {};
    const auto h = quotient(err, fromInt(*N), *s);
    return h ? *h : DD{};
}

DD geometricMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    // Each value as m·2^e with m in [0.5, 1): the exponents are summed exactly
    // in integers and only the small logarithms of m in floating point, which
    // spares the result the rounding error of a large logarithm (ln 1e300 is
    // about 690; half an ulp of it would cost 13 digits' worth of accuracy).
    const auto& n = f.n;
    std::int64_t exponents = 0;
    const LoopStop stop = loopStop(x.size, {&x}, n.size());
    const auto s = sumaAnotada(
        err, stop, f.traza, TipoSuma::Logaritmos, x, [&](auto products, std::size_t i, auto& acc) {
            const double v = x.values[i];
            if (!(v > 0))
                return ErrorCode::InvalidArgument;
            int e = 0;
            const double m = std::frexp(v, &e);
            exponents += std::int64_t{n[i]} * e;
            acc.add(timesFrequency<decltype(products)>(DD{std::log(m), 0.0}, n[i]));
            return ErrorCode::None;
        });
    if (!s)
        return {};
    if (f.traza) { // Σ ln xᵢ·nᵢ = Σ ln mᵢ·nᵢ + E·ln 2
        constexpr DD kLn2{0.6931471805599453, 2.3190468138462996e-17};
        anotarSuma(f.traza, {.tipo = TipoSuma::Logaritmos}, add(*s, mul(fromInt(exponents), kLn2)),
                   x, nullptr, n);
    }
    const auto N = total(err, f);
    if (!N)
        return {};
    const auto l = quotient(err, *s, fromInt(*N));
    if (!l)
        return {};
    // 2^(E/N) = 2^q · 2^(r/N) with E = q·N + r, 0 <= r < |N|.
    std::int64_t q = exponents / *N;
    std::int64_t r = exponents % *N;
    if (r != 0 && ((r < 0) != (*N < 0))) {
        q -= 1;
        r += *N;
    }
    const double g = std::exp(l->hi) * (1.0 + l->lo) *
                     std::exp2(static_cast<double>(r) / static_cast<double>(*N));
    const double scaled =
        q > 4096 ? HUGE_VAL : (q < -4096 ? 0.0 : std::ldexp(g, static_cast<int>(q)));
    if (!std::isfinite(scaled)) {
        err.set(ErrorCode::Overflow);
        return {};
    }
    return {scaled, 0.0};
}

DD quadraticMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    const auto& n = f.n;
    const LoopStop stop = loopStop(x.size, {&x}, n.size());
    const auto s = sumaAnotada(
        err, stop, f.traza, TipoSuma::Cuadrados, x, [&](auto products, std::size_t i, auto& acc) {
            using P = decltype(products);
            acc.add(timesFrequency<P>(P::twoProd(x.values[i], x.values[i]), n[i]));
            return ErrorCode::None;
        });
    if (!s)
        return {};
    anotarSuma(f.traza, {.tipo = TipoSuma::Cuadrados}, *s, x, nullptr, n);
    const auto m = perObservation(err, *s, f);
    if (!m)
        return {};
    if (m->hi < 0) { // only with negative frequencies
        err.set(ErrorCode::InvalidArgument, "Argumento no válido (raíz cuadrada de un valor "
                                            "negativo)");
        return {};
    }
    return sqrt(*m);
}

namespace {

// Where quantile k of q falls: the first record whose cumulative frequency
// reaches k·N/q. Compared in integers, so no rounding can move it.
struct QuantilePlace {
    std::size_t i = 0;
    bool boundary = false;  // the cumulative frequency equals the position
    std::int64_t below = 0; // cumulative frequency before record i
    std::int64_t kN = 0;
};

std::optional<QuantilePlace> locate(ErrorRecord& err, std::int16_t k, std::int16_t q,
                                    const Frequencies& f) {
    const auto N = total(err, f);
    if (!N)
        return std::nullopt;
    if (q <= 0 || k < 0 || k > q) {
        err.set(ErrorCode::InvalidArgument,
                "Argumento no válido (el orden del cuantil va de 0 a " + std::to_string(q) + ")");
        return std::nullopt;
    }
    if (*N == 0) { // no observations
        err.set(ErrorCode::DivisionByZero);
        return std::nullopt;
    }
    QuantilePlace place;
    place.kN = std::int64_t{k} * *N;
    if (const auto at = firstReaching(f.n, q, place.kN)) {
        place.i = at->i;
        place.below = at->below;
        place.boundary = std::int64_t{q} * at->cumulative == place.kN;
        return place;
    }
    // Only reachable with negative frequencies.
    err.set(ErrorCode::IndexOutOfRange);
    return std::nullopt;
}

// Entry i of a list as a number; fails past its end or on a cell that is not
// one. Used by the mode routines too, so it runs whatever the record holds.
std::optional<double> entry(ErrorRecord& err, const ValueList& list, std::size_t i) {
    if (i >= list.size()) {
        err.set(ErrorCode::IndexOutOfRange);
        return std::nullopt;
    }
    ErrorCode why = ErrorCode::None;
    const auto v = cellNumber(list[i], why);
    if (!v)
        err.set(why);
    return v;
}

// The place of a quantile in the recorder, for the step to complete.
CuantilTraza* anotarCuantil(const Frequencies& f, std::int16_t k, std::int16_t q,
                            const QuantilePlace& place) {
    if (!f.traza)
        return nullptr;
    CuantilTraza c;
    c.k = k;
    c.q = q;
    c.N = f.sum;
    c.fila = place.i + 1;
    c.frontera = place.boundary;
    c.anterior = place.below;
    c.n = f.n[place.i];
    c.acumulada = place.below + c.n;
    f.traza->cuantiles.push_back(c);
    return &f.traza->cuantiles.back();
}

DD checked(ErrorRecord& err, DD v) {
    if (isFinite(v))
        return v;
    err.set(ErrorCode::Overflow);
    return {};
}

} // namespace

DD quantileDiscrete(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                    const Frequencies& f) {
    if (err.failed())
        return {};
    const auto place = locate(err, k, q, f);
    if (!place)
        return {};
    const auto a = entry(err, x, place->i);
    if (!a)
        return {};
    CuantilTraza* anotado = anotarCuantil(f, k, q, *place);
    if (anotado)
        anotado->inferior = anotado->primero = *a;
    if (!place->boundary)
        return {*a, 0.0};
    const auto b = entry(err, x, place->i + 1);
    if (!b)
        return {};
    if (anotado)
        anotado->segundo = *b;
    const DD s = twoSum(*a, *b);
    return checked(err, {s.hi * 0.5, s.lo * 0.5});
}

DD quantileContinuous(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                      const ValueList& ls, const Frequencies& f) {
    if (err.failed())
        return {};
    const auto place = locate(err, k, q, f);
    if (!place)
        return {};
    const std::size_t i = place->i;
    const auto lower = entry(err, li, i);
    if (!lower)
        return {};
    const auto upper = entry(err, ls, i);
    if (!upper)
        return {};
    CuantilTraza* anotado = anotarCuantil(f, k, q, *place);
    if (anotado) {
        anotado->clases = true;
        anotado->inferior = *lower;
        anotado->superior = *upper;
    }
    if (place->boundary) {
        // Midpoint of the two class marks: (Li + Ls + Li' + Ls') / 4.
        const auto nextLower = entry(err, li, i + 1);
        if (!nextLower)
            return {};
        const auto nextUpper = entry(err, ls, i + 1);
        if (!nextUpper)
            return {};
        if (anotado) {
            anotado->primero = toDouble(twoSum(*lower, *upper)) * 0.5;
            anotado->segundo = toDouble(twoSum(*nextLower, *nextUpper)) * 0.5;
        }
        const DD s = add(add(twoSum(*lower, *upper), DD{*nextLower, 0.0}), DD{*nextUpper, 0.0});
        return checked(err, {s.hi * 0.25, s.lo * 0.25});
    }
    // Li + ((k·N/q − N(i−1)) / n(i)) · width, the fraction taken exactly as
    // (k·N − q·N(i−1)) / (q·n(i)).
    const std::int64_t num = place->kN - std::int64_t{q} * place->below;
    const std::int64_t den = std::int64_t{q} * f.n[i];
    const auto fraction = quotient(err, fromInt(num), fromInt(den));
    if (!fraction) // only with negative frequencies
        return {};
    const DD width = twoSum(*upper, -*lower);
    return checked(err, add(DD{*lower, 0.0}, mul(*fraction, width)));
}

namespace {

// The record with the largest frequency (the last of equals), or nothing
// after writing `err` when there are no records.
struct ModalRecord {
    std::size_t p = 0;
    bool multimodal = false;
    std::size_t equal = 0; // records with that frequency
};

std::optional<ModalRecord> modalRecord(ErrorRecord& err, const FrequencyList& n) {
    if (n.empty()) {
        err.set(ErrorCode::IndexOutOfRange);
        return std::nullopt;
    }
    ModalRecord m;
    for (std::size_t i = 1; i < n.size(); ++i)
        if (n[i] >= n[m.p])
            m.p = i;
    std::size_t equal = 0;
    for (const std::int32_t v : n)
        equal += v == n[m.p] ? 1 : 0;
    m.multimodal = equal >= 2;
    m.equal = equal;
    return m;
}

const char* const kMultimodal = "Multimodal";

} // namespace

// The modal record in the recorder, for the step to complete.
ModaTraza* anotarModa(Traza* t, const FrequencyList& n, const ModalRecord& m) {
    if (!t)
        return nullptr;
    ModaTraza a;
    a.multimodal = m.multimodal;
    a.fila = m.p + 1;
    a.n = n[m.p];
    a.iguales = m.equal;
    t->moda = a;
    return &*t->moda;
}

CellValue modeDiscrete(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    const auto m = modalRecord(err, n);
    if (!m)
        return {};
    anotarModa(traza, n, *m);
    if (m->multimodal)
        return CellValue::text(kMultimodal);
    if (m->p >= x.size()) {
        err.set(ErrorCode::IndexOutOfRange);
        return {};
    }
    return x[m->p];
}

CellValue modeContinuous(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                         const FrequencyList& n, Traza* traza) {
    const auto m = modalRecord(err, n);
    if (!m)
        return {};
    ModaTraza* anotada = anotarModa(traza, n, *m);
    if (anotada)
        anotada->clases = true;
    if (m->multimodal)
        return CellValue::text(kMultimodal);
    const std::size_t p = m->p;
    // Beyond the first and the last class the frequency is 0, as textbooks
    // take it: a modal first class has Δ₁ = nₚ, a modal last class Δ₂ = nₚ.
    const std::int64_t before = p == 0 ? 0 : n[p - 1];
    const std::int64_t after = p + 1 >= n.size() ? 0 : n[p + 1];
    const std::int64_t d1 = std::int64_t{n[p]} - before;
    const std::int64_t d2 = std::int64_t{n[p]} - after;
    if (d1 + d2 == 0) { // a single class with no observations
        err.set(ErrorCode::DivisionByZero);
        return {};
    }
    const auto upper = entry(err, ls, p);
    if (!upper)
        return {};
    const auto lower = entry(err, li, p);
    if (!lower)
        return {};
    if (anotada) {
        anotada->antes = before;
        anotada->despues = after;
        anotada->delta1 = d1;
        anotada->delta2 = d2;
        anotada->inferior = *lower;
        anotada->superior = *upper;
    }
    const DD fraction = div(fromInt(d1), fromInt(d1 + d2));
    const DD width = twoSum(*upper, -*lower);
    const DD mode = add(DD{*lower, 0.0}, mul(fraction, width));
    if (!isFinite(mode)) {
        err.set(ErrorCode::Overflow);
        return {};
    }
    return CellValue::number(mode.hi + mode.lo);
}

std::optional<DD> median(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const Frequencies& f) {
    if (err.failed())
        return std::nullopt;
    std::optional<DD> me;
    switch (type) {
    case VariableType::Discrete:
        me = quantileDiscrete(err, 1, 2, x, f);
        break;
    case VariableType::Continuous:
        me = quantileContinuous(err, 1, 2, li, ls, f);
        break;
    case VariableType::Categorical:
        break;
    }
    if (me) {
        if (!err.failed())
            anotarValor(f.traza, Magnitud::Mediana, *me);
        return me;
    }
    err.set(ErrorCode::TypeMismatch, "No coinciden los tipos (una variable categórica no tiene "
                                     "mediana)");
    return std::nullopt;
}

CellValue mode(ErrorRecord& err, VariableType type, const ValueList& x, const ValueList& li,
               const ValueList& ls, const FrequencyList& n, Traza* traza) {
    if (err.failed())
        return {};
    switch (type) {
    case VariableType::Discrete:
        return modeDiscrete(err, x, n, traza);
    case VariableType::Continuous:
        return modeContinuous(err, li, ls, n, traza);
    case VariableType::Categorical:
        break;
    }
    err.set(ErrorCode::TypeMismatch, "No coinciden los tipos (una variable categórica no tiene "
                                     "moda numérica)");
    return {};
}

std::optional<double> number(ErrorRecord& err, const CellValue& cell) {
    if (err.failed())
        return std::nullopt;
    ErrorCode why = ErrorCode::None;
    const auto v = cellNumber(cell, why);
    if (!v)
        err.set(why);
    return v;
}

} // namespace kalnor::stats::detail
