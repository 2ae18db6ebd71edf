#include "Steps.h"
#include "Sums.h"
#include "TraceSteps.h"

namespace kalnor::stats::detail {

namespace {

template <class Term>
std::optional<DD> pairSumWith(ErrorRecord& err, const NumericColumn& x, const NumericColumn& y,
                              const FrequencyList& n, Traza* traza, Term term) {
    const LoopStop stop = loopStop(n.size(), {&x, &y}, n.size());
    return sumaAnotada(err, stop, traza, TipoSuma::PotenciasPar, x,
                       [&](auto products, std::size_t i, auto& acc) {
                           ErrorCode why = ErrorCode::None;
                           const DD t = term(products, x.values[i], y.values[i], why);
                           if (why != ErrorCode::None)
                               return why;
                           acc.add(timesFrequency<decltype(products)>(t, n[i]));
                           return ErrorCode::None;
                       });
}

} // namespace

std::optional<DD> pairPowerSum(ErrorRecord& err, const NumericColumn& x, DD cx, int r,
                               const NumericColumn& y, DD cy, int s, const FrequencyList& n,
                               Traza* traza) {
    if (err.failed())
        return std::nullopt;
    // The common orders get a loop of their own with the powers inlined.
    std::optional<DD> sum;
    bool small = false;
    withSmallOrder(r, [&](auto rOrder) {
        small = withSmallOrder(s, [&](auto sOrder) {
            sum = pairSumWith(
                err, x, y, n, traza, [&](auto products, double a, double b, ErrorCode&) {
                    using P = decltype(products);
                    return productTerm<P>(smallPower<P, decltype(rOrder)::value>(deviation(a, cx)),
                                          smallPower<P, decltype(sOrder)::value>(deviation(b, cy)));
                });
        });
    });
    if (small)
        return sum;
    return pairSumWith(err, x, y, n, traza, [&](auto, double a, double b, ErrorCode& why) {
        const DD pa = power(deviation(a, cx), r, why);
        if (why != ErrorCode::None)
            return DD{};
        const DD pb = power(deviation(b, cy), s, why);
        return mul(pa, pb);
    });
}

void anotarSumaPar(Traza* t, int r, DD cx, int s, DD cy, DD sum, const NumericColumn& x,
                   const NumericColumn& y, const FrequencyList& n) {
    if (!t)
        return;
    SumaTraza a{.tipo = TipoSuma::PotenciasPar};
    a.r = r;
    a.s = s;
    a.cx = toDouble(cx);
    a.cy = toDouble(cy);
    anotarSuma(t, a, sum, x, &y, n);
}

void prepareSecondMoments(Pair& pair, const Frequencies& f) {
    const NumericColumn& x = pair.x;
    const NumericColumn& y = pair.y;
    const std::size_t length = f.n.size();
    if (!x.complete() || !y.complete() || x.size != length || y.size != length)
        return;
    ErrorRecord scratch; // the means keep the record they leave for their callers
    const DD mx = mean(scratch, x, f);
    const DD my = mean(scratch, y, f);
    struct Sums {
        DD xx, yy, xy;
    };
    const Sums sums = withProducts([&](auto products) {
        using P = decltype(products);
        CompensatedSum sxx, syy, sxy; // locals of the loop: kept in registers
        for (std::size_t i = 0; i < length; ++i) {
            const DD dx = deviation(x.values[i], mx);
            const DD dy = deviation(y.values[i], my);
            const std::int32_t n = f.n[i];
            sxx.add(timesFrequency<P>(squareTerm<P>(dx), n));
            syy.add(timesFrequency<P>(squareTerm<P>(dy), n));
            sxy.add(timesFrequency<P>(productTerm<P>(dx, dy), n));
        }
        return Sums{sxx.result(), syy.result(), sxy.result()};
    });
    // A sum out of range is left to the ordinary pass, which reports it.
    if (isFinite(sums.xx))
        pair.x.centralSums[2] = sums.xx;
    if (isFinite(sums.yy))
        pair.y.centralSums[2] = sums.yy;
    if (isFinite(sums.xy))
        pair.crossSum = sums.xy;
}

DD covariance(ErrorRecord& err, const Pair& pair, const Frequencies& f) {
    if (err.failed())
        return {};
    const NumericColumn& x = pair.x;
    const NumericColumn& y = pair.y;
    // Reading the pairs comes first; the sum itself is taken about the means,
    // Σ(x − x̄)(y − ȳ)·n / N, which equals Σxy·n / N − x̄·ȳ without its
    // cancellation.
    const LoopStop stop = loopStop(f.n.size(), {&x, &y}, f.n.size());
    if (stop.early()) {
        err.set(stop.why);
        return {};
    }
    const auto N = total(err, f);
    if (!N)
        return {};
    const DD mx = mean(err, x, f);
    const DD my = mean(err, y, f);
    const auto s =
        pair.crossSum ? pair.crossSum : pairPowerSum(err, x, mx, 1, y, my, 1, f.n, f.traza);
    if (!s)
        return {};
    anotarSumaPar(f.traza, 1, mx, 1, my, *s, pair.x, pair.y, f.n);
    const auto c = quotient(err, *s, fromInt(*N));
    if (c)
        anotarValor(f.traza, Magnitud::Covarianza, *c);
    return c.value_or(DD{});
}

DD regressionSlope(ErrorRecord& err, const NumericColumn& on, const Pair& pair,
                   const Frequencies& f) {
    if (err.failed())
        return {};
    const DD s = standardDeviation(err, on, f);
    const DD c = covariance(err, pair, f);
    const auto b = quotient(err, c, square(s));
    return b.value_or(DD{});
}

} // namespace kalnor::stats::detail
