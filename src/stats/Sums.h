#pragma once

#include "DoubleDouble.h"
#include "ErrorRecord.h"
#include "NumericColumn.h"
#include "Products.h"

#include <cstdint>
#include <optional>
#include <type_traits>

// The weighted sums every measure is made of, in double-double.
namespace kalnor::stats::detail {

// x - m, with the rounding error of the subtraction kept. Not renormalized:
// |lo| may slightly exceed half an ulp of hi, which the products below and
// the compensated sum take as it is.
inline DD deviation(double x, DD m) {
    DD t = twoSum(x, -m.hi);
    t.lo -= m.lo;
    return t;
}

// The helpers below take the products to use (Products.h) as P.

// d² without the final renormalization, for the sums.
template <class P> inline DD squareTerm(DD d) {
    DD p = P::twoProd(d.hi, d.hi);
    p.lo += 2.0 * d.hi * d.lo;
    return p;
}

// a·b without the final renormalization, for the sums.
template <class P> inline DD productTerm(DD a, DD b) {
    DD p = P::twoProd(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return p;
}

template <class P> inline DD timesFrequency(DD t, std::int32_t n) {
    if (n == 1)
        return t;
    const double m = n;
    constexpr std::int32_t kSmall = 1 << 26;
    DD p = (n < kSmall && n > -kSmall) ? P::twoProdSmall(t.hi, m) : P::twoProd(t.hi, m);
    p.lo += t.lo * m;
    return p;
}

inline DD square(DD d) {
    DD p = twoProd(d.hi, d.hi);
    p.lo += 2.0 * d.hi * d.lo;
    return fastTwoSum(p.hi, p.lo);
}

// d^r for an integer r; 0^0 is 1. A zero base under a negative exponent sets
// `why` to DivisionByZero.
inline DD power(DD d, int r, ErrorCode& why) {
    switch (r) {
    case 0:
        return {1.0, 0.0};
    case 1:
        return d;
    case 2:
        return square(d);
    case 3:
        return mul(square(d), d);
    case 4:
        return square(square(d));
    default:
        break;
    }
    if (r > 0)
        return powi(d, static_cast<unsigned>(r));
    if (isZero(d)) {
        why = ErrorCode::DivisionByZero;
        return {};
    }
    return div(DD{1.0, 0.0}, powi(d, static_cast<unsigned>(-r)));
}

// d^R for a small order known when compiling, without renormalizing.
template <class P, int R> inline DD smallPower(DD d) {
    static_assert(R >= 0 && R <= 4);
    if constexpr (R == 0)
        return {1.0, 0.0};
    else if constexpr (R == 1)
        return d;
    else if constexpr (R == 2)
        return squareTerm<P>(d);
    else if constexpr (R == 3)
        return productTerm<P>(squareTerm<P>(d), d);
    else
        return squareTerm<P>(squareTerm<P>(d));
}

// Calls f(std::integral_constant<int, r>) for r = 0 … 4, and returns false
// for any other order.
template <class F> bool withSmallOrder(int r, F&& f) {
    switch (r) {
    case 0:
        f(std::integral_constant<int, 0>{});
        return true;
    case 1:
        f(std::integral_constant<int, 1>{});
        return true;
    case 2:
        f(std::integral_constant<int, 2>{});
        return true;
    case 3:
        f(std::integral_constant<int, 3>{});
        return true;
    case 4:
        f(std::integral_constant<int, 4>{});
        return true;
    default:
        return false;
    }
}

// Σ term(i, acc) over the indexes a loop reaches. The loop fails at `stop`
// (an unreadable entry or a short list) or at the first index whose term
// returns a failure code; a sum that leaves the range of doubles before that
// point fails with Overflow. Writes `err` and returns nothing on failure;
// nothing at once after an earlier failure.
template <class Term>
std::optional<DD> sumTerms(ErrorRecord& err, const LoopStop& stop, Term&& term) {
    if (err.failed())
        return std::nullopt;
    struct Outcome {
        DD sum;
        ErrorCode why;
    };
    // term(products, i, acc) adds term i to acc, or returns why it fails.
    const Outcome o = withProducts([&](auto products) {
        CompensatedSum acc;
        ErrorCode why = ErrorCode::None;
        for (std::size_t i = 0; i < stop.at; ++i) {
            why = term(products, i, acc);
            if (why != ErrorCode::None)
                break;
        }
        return Outcome{acc.result(), why};
    });
    if (!isFinite(o.sum)) {
        err.set(ErrorCode::Overflow);
        return std::nullopt;
    }
    ErrorCode why = o.why;
    if (why == ErrorCode::None && stop.early())
        why = stop.why;
    if (why != ErrorCode::None) {
        err.set(why);
        return std::nullopt;
    }
    return o.sum;
}

// a / b, failing on a zero divisor or a result out of range; nothing at once
// after an earlier failure.
inline std::optional<DD> quotient(ErrorRecord& err, DD a, DD b) {
    if (err.failed())
        return std::nullopt;
    if (isZero(b)) {
        err.set(ErrorCode::DivisionByZero);
        return std::nullopt;
    }
    const DD q = div(a, b);
    if (!isFinite(q)) {
        err.set(ErrorCode::Overflow);
        return std::nullopt;
    }
    return q;
}

} // namespace kalnor::stats::detail
