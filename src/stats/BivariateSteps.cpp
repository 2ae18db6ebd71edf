#include "Steps.h"
#include "Sums.h"

namespace kalnor::stats::detail {

namespace {

template <class Term>
std::optional<DD> pairSumWith(ErrorRecord& err, const NumericColumn& x, const NumericColumn& y,
                              const FrequencyList& n, Term term) {
    return sumTerms(err, loopStop(n.size(), {&x, &y}, n.size()), [&](std::size_t i, auto& acc) {
        ErrorCode why = ErrorCode::None;
        const DD t = term(x.values[i], y.values[i], why);
        if (why != ErrorCode::None)
            return why;
        acc.add(timesFrequency(t, n[i]));
        return ErrorCode::None;
    });
}

} // namespace

std::optional<DD> pairPowerSum(ErrorRecord& err, const NumericColumn& x, DD cx, int r,
                               const NumericColumn& y, DD cy, int s, const FrequencyList& n) {
    if (r == 1 && s == 1)
        return pairSumWith(err, x, y, n, [&](double a, double b, ErrorCode&) {
            return mul(deviation(a, cx), deviation(b, cy));
        });
    return pairSumWith(err, x, y, n, [&](double a, double b, ErrorCode& why) {
        const DD pa = power(deviation(a, cx), r, why);
        if (why != ErrorCode::None)
            return DD{};
        const DD pb = power(deviation(b, cy), s, why);
        return mul(pa, pb);
    });
}

DD covariance(ErrorRecord& err, const NumericColumn& x, const NumericColumn& y,
              const Frequencies& f) {
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
    const auto s = pairPowerSum(err, x, mx, 1, y, my, 1, f.n);
    if (!s)
        return {};
    const auto c = quotient(err, *s, fromInt(*N));
    return c ? done(err, *c) : DD{};
}

DD regressionSlope(ErrorRecord& err, const NumericColumn& on, const NumericColumn& x,
                   const NumericColumn& y, const Frequencies& f) {
    const DD s = standardDeviation(err, on, f);
    const DD c = covariance(err, x, y, f);
    const auto b = quotient(err, c, square(s));
    return b ? done(err, *b) : DD{};
}

} // namespace kalnor::stats::detail
