#include "SumaExacta.h"

#include <cmath>
#include <limits>
#include <utility>

namespace kalnor {

void SumaExacta::limpiar() {
    parciales_.clear();
    desbordada_ = false;
}

void SumaExacta::sumar(double x) {
    if (desbordada_)
        return;
    if (!std::isfinite(x)) {
        desbordada_ = true;
        return;
    }
    // Shewchuk's grow-expansion: every partial is exact, none overlaps.
    std::size_t i = 0;
    for (double y : parciales_) {
        if (std::fabs(x) < std::fabs(y))
            std::swap(x, y);
        const double hi = x + y;
        const double lo = y - (hi - x);
        if (lo != 0)
            parciales_[i++] = lo;
        x = hi;
    }
    if (!std::isfinite(x)) {
        desbordada_ = true;
        return;
    }
    parciales_.resize(i);
    parciales_.push_back(x);
}

double SumaExacta::valor() const {
    if (desbordada_)
        return std::numeric_limits<double>::infinity();
    std::size_t n = parciales_.size();
    if (n == 0)
        return 0.0;
    double hi = parciales_[--n];
    double lo = 0;
    while (n > 0) {
        const double x = hi;
        const double y = parciales_[--n];
        hi = x + y;
        const double yr = hi - x;
        lo = y - yr;
        if (lo != 0)
            break;
    }
    // Round half to even when what is left lies exactly halfway.
    if (n > 0 && ((lo < 0 && parciales_[n - 1] < 0) || (lo > 0 && parciales_[n - 1] > 0))) {
        const double y = lo * 2;
        const double x = hi + y;
        const double yr = x - hi;
        if (y == yr)
            hi = x;
    }
    return hi;
}

} // namespace kalnor
