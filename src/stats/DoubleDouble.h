#pragma once

#include <cmath>
#include <cstdint>

// Double-double arithmetic: a value held as the unevaluated sum hi + lo of two
// doubles, about 32 significant digits. The engine sums and divides in it so
// that the double it finally returns has lost nothing to rounding on the way.
// Relies on strict IEEE evaluation (no fused or reassociated operations: the
// library is built with -ffp-contract=off).
namespace kalnor::stats::detail {

struct DD {
    double hi = 0.0;
    double lo = 0.0;
};

inline bool isFinite(DD a) {
    return std::isfinite(a.hi) && std::isfinite(a.lo);
}
inline double toDouble(DD a) {
    return a.hi + a.lo;
}

// s + e == a + b exactly.
inline DD twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    const double e = (a - (s - bb)) + (b - bb);
    return {s, e};
}

// As twoSum, valid when |a| >= |b| or a == 0.
inline DD fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// Splits a into two halves of 26 bits each, a == hi + lo (Veltkamp).
inline DD split(double a) {
    constexpr double kSplitter = 134217729.0; // 2^27 + 1
    const double c = kSplitter * a;
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// p + e == a * b exactly (Dekker), given the halves of both factors.
inline DD twoProd(double a, DD as, double b, DD bs) {
    const double p = a * b;
    const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, e};
}

inline DD twoProd(double a, double b) {
#if defined(__FMA__) || defined(__aarch64__)
    const double p = a * b;
    return {p, std::fma(a, b, -p)};
#else
    return twoProd(a, split(a), b, split(b));
#endif
}

// a * m exactly for an integer |m| < 2^26, which needs no split of m.
inline DD twoProdSmall(double a, double m) {
    const DD as = split(a);
    const double p = a * m;
    return {p, (as.hi * m - p) + as.lo * m};
}

inline DD normalize(DD a) {
    return twoSum(a.hi, a.lo);
}

inline DD add(DD a, DD b) {
    DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = fastTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return fastTwoSum(s.hi, s.lo);
}

inline DD neg(DD a) {
    return {-a.hi, -a.lo};
}
inline DD sub(DD a, DD b) {
    return add(a, neg(b));
}
inline DD abs(DD a) {
    return a.hi < 0 || (a.hi == 0 && a.lo < 0) ? neg(a) : a;
}

inline DD mul(DD a, double b) {
    DD p = twoProd(a.hi, b);
    p.lo += a.lo * b;
    return fastTwoSum(p.hi, p.lo);
}

inline DD mul(DD a, DD b) {
    DD p = twoProd(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return fastTwoSum(p.hi, p.lo);
}

// Precondition: b != 0.
inline DD div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    DD r = sub(a, mul(b, q1));
    const double q2 = r.hi / b.hi;
    r = sub(r, mul(b, q2));
    const double q3 = r.hi / b.hi;
    return add(fastTwoSum(q1, q2), DD{q3, 0.0});
}

// Precondition: a >= 0.
inline DD sqrt(DD a) {
    if (a.hi == 0)
        return {};
    const double x = std::sqrt(a.hi);
    const DD r = sub(a, twoProd(x, x));
    return fastTwoSum(x, r.hi / (2.0 * x));
}

// a^r for r >= 0 (a^0 == 1, also for a == 0).
inline DD powi(DD a, unsigned r) {
    DD result{1.0, 0.0};
    while (r != 0) {
        if (r & 1u)
            result = mul(result, a);
        r >>= 1;
        if (r != 0)
            a = mul(a, a);
    }
    return result;
}

inline DD fromInt(std::int64_t v) {
    const double hi = static_cast<double>(v);
    // For |v| < 2^53 the difference is exact and 0.
    return {hi, static_cast<double>(v - static_cast<std::int64_t>(hi))};
}

inline bool isZero(DD a) {
    return a.hi == 0 && a.lo == 0;
}

// Running sum whose rounding errors are kept aside and added back at the end:
// as accurate as summing in twice the precision.
class CompensatedSum {
public:
    void add(double v) {
        const DD t = twoSum(s_, v);
        s_ = t.hi;
        c_ += t.lo;
    }
    void add(DD v) {
        add(v.hi);
        c_ += v.lo;
    }
    DD result() const { return twoSum(s_, c_); }

private:
    double s_ = 0.0;
    double c_ = 0.0;
};

} // namespace kalnor::stats::detail
