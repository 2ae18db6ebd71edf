// The two ways of taking exact products must give the same bits, so that the
// engine's results do not depend on the processor.
#include "stats/Products.h"

#include <gtest/gtest.h>

#include <random>

namespace kalnor::stats::detail {
namespace {

TEST(ExactProducts, SplittingGivesTheProductAndItsExactError) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    for (int i = 0; i < 100000; ++i) {
        const double a = std::ldexp(mantissa(rng), exponent(rng));
        const double b = std::ldexp(mantissa(rng), -exponent(rng) / 2);
        const DD p = PortableProducts::twoProd(a, b);
        ASSERT_EQ(p.hi, a * b);
        // The error is what fma finds: a·b − hi, exactly.
        ASSERT_EQ(p.lo, std::fma(a, b, -p.hi)) << a << " " << b;
        const double m = static_cast<double>(rng() % (1u << 26));
        const DD q = PortableProducts::twoProdSmall(a, m);
        ASSERT_EQ(q.hi, a * m);
        ASSERT_EQ(q.lo, std::fma(a, m, -q.hi)) << a << " " << m;
    }
}

} // namespace
} // namespace kalnor::stats::detail
