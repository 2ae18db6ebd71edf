#pragma once

#include <vector>

namespace kalnor {

// The sum of many doubles without rounding on the way: the terms are kept
// as non-overlapping partial sums and rounded once, to the nearest double,
// when the value is asked for. Taking a term away again is exact too, so a
// sum kept up to date term by term always equals the sum made afresh.
class SumaExacta {
public:
    void sumar(double x);
    void restar(double x) { sumar(-x); }
    void limpiar();
    // The exact sum rounded to the nearest double; infinite when a partial
    // sum left the range of doubles (then it stays so until limpiar()).
    double valor() const;
    bool desbordada() const { return desbordada_; }

private:
    std::vector<double> parciales_;
    bool desbordada_ = false;
};

} // namespace kalnor
