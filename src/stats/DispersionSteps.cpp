#include "Steps.h"
#include "Sums.h"
#include "TraceSteps.h"

namespace kalnor::stats::detail {

namespace {

template <class Pow>
std::optional<DD> powerSumWith(ErrorRecord& err, const NumericColumn& x, DD c,
                               const FrequencyList& n, Traza* traza, Pow pow) {
    const LoopStop stop = loopStop(x.size, {&x}, n.size());
    return sumaAnotada(err, stop, traza, TipoSuma::Potencias, x,
                       [&](auto products, std::size_t i, auto& acc) {
                           using P = decltype(products);
                           ErrorCode why = ErrorCode::None;
                           const DD t = pow(products, deviation(x.values[i], c), why);
                           if (why != ErrorCode::None)
                               return why;
                           acc.add(timesFrequency<P>(t, n[i]));
                           return ErrorCode::None;
                       });
}

void anotarPotencias(Traza* t, int r, DD c, DD sum, const NumericColumn& x,
                     const FrequencyList& n) {
    if (!t)
        return;
    SumaTraza s{.tipo = TipoSuma::Potencias};
    s.r = r;
    s.cx = toDouble(c);
    anotarSuma(t, s, sum, x, nullptr, n);
}

void setNegativeRoot(ErrorRecord& err) {
    err.set(ErrorCode::InvalidArgument, "Argumento no válido (raíz cuadrada de un valor negativo)");
}

} // namespace

std::optional<DD> powerSum(ErrorRecord& err, const NumericColumn& x, DD c, int r,
                           const FrequencyList& n, Traza* traza) {
    if (err.failed())
        return std::nullopt;
    // The common orders get a loop of their own with the power inlined.
    std::optional<DD> s;
    const bool small = withSmallOrder(r, [&](auto order) {
        s = powerSumWith(err, x, c, n, traza, [](auto products, DD d, ErrorCode&) {
            return smallPower<decltype(products), decltype(order)::value>(d);
        });
    });
    if (small)
        return s;
    return powerSumWith(err, x, c, n, traza,
                        [r](auto, DD d, ErrorCode& why) { return power(d, r, why); });
}

void prepareCentralSums(NumericColumn& x, const Frequencies& f, int r) {
    const std::size_t length = x.size;
    if (!x.complete() || f.n.size() < length || r < 3 || r > 4)
        return;
    ErrorRecord scratch; // the mean keeps the record it leaves for its callers
    const DD m = mean(scratch, x, f);
    struct Sums {
        DD squares, powers;
    };
    const Sums sums = withProducts([&](auto products) {
        using P = decltype(products);
        CompensatedSum squares, powers; // locals of the loop: kept in registers
        for (std::size_t i = 0; i < length; ++i) {
            const DD d = deviation(x.values[i], m);
            const DD d2 = squareTerm<P>(d);
            const std::int32_t n = f.n[i];
            squares.add(timesFrequency<P>(d2, n));
            powers.add(timesFrequency<P>(r == 3 ? productTerm<P>(d2, d) : squareTerm<P>(d2), n));
        }
        return Sums{squares.result(), powers.result()};
    });
    // A sum out of range is left to the ordinary pass, which reports it.
    if (isFinite(sums.squares))
        x.centralSums[2] = sums.squares;
    if (isFinite(sums.powers))
        x.centralSums[static_cast<std::size_t>(r)] = sums.powers;
}

namespace {

DD varianceStep(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    const auto N = total(err, f);
    if (!N)
        return {};
    const DD m = mean(err, x, f);
    const auto s = x.centralSums[2] ? x.centralSums[2] : powerSum(err, x, m, 2, f.n, f.traza);
    if (!s)
        return {};
    anotarPotencias(f.traza, 2, m, *s, x, f.n);
    const auto v = quotient(err, *s, fromInt(*N));
    return v.value_or(DD{});
}

} // namespace

DD variance(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    if (!x.variance) {
        const DD v = varianceStep(err, x, f);
        x.variance = NumericColumn::Memo{v, err};
        if (!err.failed())
            anotarValor(f.traza, Magnitud::Varianza, v, &x);
    }
    err = x.variance->after;
    return x.variance->value;
}

DD standardDeviation(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    const DD v = variance(err, x, f);
    if (v.hi < 0) { // only with negative frequencies
        setNegativeRoot(err);
        return {};
    }
    const DD s = sqrt(v);
    if (!err.failed())
        anotarValor(f.traza, Magnitud::DesviacionTipica, s, &x);
    return s;
}

DD quasiVariance(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    const auto N = total(err, f);
    if (!N)
        return {};
    const DD m = mean(err, x, f);
    const auto s = powerSum(err, x, m, 2, f.n, f.traza);
    if (!s)
        return {};
    anotarPotencias(f.traza, 2, m, *s, x, f.n);
    const auto v = quotient(err, *s, fromInt(*N - 1));
    return v.value_or(DD{});
}

namespace {

std::optional<DD> absoluteSum(ErrorRecord& err, const NumericColumn& x, DD c,
                              const FrequencyList& n, Traza* traza) {
    const LoopStop stop = loopStop(x.size, {&x}, n.size());
    const auto s = sumaAnotada(
        err, stop, traza, TipoSuma::Absolutas, x, [&](auto products, std::size_t i, auto& acc) {
            acc.add(timesFrequency<decltype(products)>(abs(deviation(x.values[i], c)), n[i]));
            return ErrorCode::None;
        });
    if (s && traza) {
        SumaTraza a{.tipo = TipoSuma::Absolutas};
        a.cx = toDouble(c);
        anotarSuma(traza, a, *s, x, nullptr, n);
    }
    return s;
}

} // namespace

DD meanDeviation(ErrorRecord& err, const NumericColumn& x, const Frequencies& f) {
    if (err.failed())
        return {};
    const DD m = mean(err, x, f);
    const auto s = absoluteSum(err, x, m, f.n, f.traza);
    if (!s)
        return {};
    const auto d = perObservation(err, *s, f);
    return d.value_or(DD{});
}

DD medianDeviation(ErrorRecord& err, VariableType type, const ValueList& cells,
                   const NumericColumn& x, const ValueList& li, const ValueList& ls,
                   const Frequencies& f) {
    if (err.failed())
        return {};
    const auto me = median(err, type, cells, li, ls, f);
    if (!me)
        return {};
    const auto s = absoluteSum(err, x, *me, f.n, f.traza);
    if (!s)
        return {};
    const auto d = perObservation(err, *s, f);
    return d.value_or(DD{});
}

DD centralMoment(ErrorRecord& err, const NumericColumn& x, const Frequencies& f, int r) {
    if (err.failed())
        return {};
    const DD m = mean(err, x, f);
    const auto N = total(err, f);
    if (!N)
        return {};
    const bool ahead = r >= 0 && r <= 4 && x.centralSums[static_cast<std::size_t>(r)];
    const auto s =
        ahead ? x.centralSums[static_cast<std::size_t>(r)] : powerSum(err, x, m, r, f.n, f.traza);
    if (!s)
        return {};
    anotarPotencias(f.traza, r, m, *s, x, f.n);
    const auto v = quotient(err, *s, fromInt(*N));
    if (v)
        anotarValor(f.traza, Magnitud::Momento, *v, &x);
    return v.value_or(DD{});
}

DD originMoment(ErrorRecord& err, const NumericColumn& x, const Frequencies& f, int r) {
    if (err.failed())
        return {};
    const auto N = total(err, f);
    if (!N)
        return {};
    const auto s = powerSum(err, x, DD{}, r, f.n, f.traza);
    if (!s)
        return {};
    anotarPotencias(f.traza, r, DD{}, *s, x, f.n);
    const auto v = quotient(err, *s, fromInt(*N));
    if (v)
        anotarValor(f.traza, Magnitud::Momento, *v, &x);
    return v.value_or(DD{});
}

} // namespace kalnor::stats::detail
