#include "Bivariate.h"

#include "NumericColumn.h"
#include "Steps.h"
#include "Sums.h"

namespace kalnor::stats {

using namespace detail;

double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y,
                  const FrequencyList& n) {
    return finish(err, covariance(err, readColumn(x), readColumn(y), readFrequencies(n)));
}

double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n) {
    const NumericColumn cx = readColumn(x);
    const NumericColumn cy = readColumn(y);
    const Frequencies f = readFrequencies(n);
    const DD sx = standardDeviation(err, cx, f);
    const DD sy = standardDeviation(err, cy, f);
    const DD c = covariance(err, cx, cy, f);
    const auto r = quotient(err, c, mul(sy, sx));
    return r ? finish(err, *r) : 0.0;
}

double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    const NumericColumn cx = readColumn(x);
    return finish(err, regressionSlope(err, cx, cx, readColumn(y), readFrequencies(n)));
}

double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    const NumericColumn cy = readColumn(y);
    return finish(err, regressionSlope(err, cy, readColumn(x), cy, readFrequencies(n)));
}

double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point) {
    const NumericColumn cx = readColumn(x);
    const NumericColumn cy = readColumn(y);
    const Frequencies f = readFrequencies(n);
    const DD mx = mean(err, cx, f);
    const DD my = mean(err, cy, f);
    const bool yOnX = direction == kYsobreX;
    if (!yOnX && direction != kXsobreY)
        return 0.0;
    // Y sobre X: ȳ + (point − x̄)·b; X sobre Y: x̄ + (point − ȳ)·b.
    const DD b = yOnX ? regressionSlope(err, cx, cx, cy, f) : regressionSlope(err, cy, cx, cy, f);
    ErrorCode why = ErrorCode::None;
    const auto p = cellNumber(point, why);
    if (!p) {
        err.set(why);
        return 0.0;
    }
    const DD from = yOnX ? mx : my;
    const DD to = yOnX ? my : mx;
    return finish(err, add(to, mul(sub(DD{*p, 0.0}, from), b)));
}

double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s) {
    const NumericColumn cx = readColumn(x);
    const NumericColumn cy = readColumn(y);
    const Frequencies f = readFrequencies(n);
    const DD mx = mean(err, cx, f);
    const DD my = mean(err, cy, f);
    const auto N = total(err, f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, cx, mx, r, cy, my, s, n);
    if (!sum)
        return 0.0;
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s) {
    const NumericColumn cx = readColumn(x);
    const NumericColumn cy = readColumn(y);
    const Frequencies f = readFrequencies(n);
    const auto N = total(err, f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, cx, DD{}, r, cy, DD{}, s, n);
    if (!sum)
        return 0.0;
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

} // namespace kalnor::stats
