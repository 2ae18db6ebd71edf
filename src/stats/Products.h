#pragma once

#include "DoubleDouble.h"

#include <utility>

// Exact products for the measure loops, in two builds of the same code: one
// with Dekker's splitting, which runs on any processor, and one with the fused
// multiply-add instruction, chosen at run time where the processor has it.
// Both give the same bits (an exact product has one rounding error); the
// second is about a third faster on the long loops.
namespace kalnor::stats::detail {

struct PortableProducts {
    static DD twoProd(double a, double b) { return detail::twoProd(a, split(a), b, split(b)); }
    // a·m for an integer |m| < 2^26, which needs no split of m.
    static DD twoProdSmall(double a, double m) { return detail::twoProdSmall(a, m); }
};

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define KALNOR_FUSED_PRODUCTS 1

struct FusedProducts {
    static DD twoProd(double a, double b) {
        const double p = a * b;
        return {p, __builtin_fma(a, b, -p)};
    }
    static DD twoProdSmall(double a, double m) { return twoProd(a, m); }
};

inline bool processorHasFma() {
    static const bool has = __builtin_cpu_supports("fma");
    return has;
}

// Everything `f` calls is compiled into this function with the instruction
// available (flatten inlines the whole call tree).
template <class F> __attribute__((target("fma"), flatten)) inline auto callFused(F& f) {
    return f(FusedProducts{});
}
#endif

// Runs f(products) with the fastest exact products the processor offers;
// `f` takes the products type as a tag and uses its static members.
template <class F> auto withProducts(F&& f) {
#ifdef KALNOR_FUSED_PRODUCTS
    if (processorHasFma())
        return callFused(f);
#endif
    return f(PortableProducts{});
}

} // namespace kalnor::stats::detail
