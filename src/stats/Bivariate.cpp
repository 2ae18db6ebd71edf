#include "Bivariate.h"

#include "NumericColumn.h"
#include "Steps.h"
#include "Sums.h"

namespace kalnor::stats {

using namespace detail;

namespace {

// Both variables read once, with the frequencies.
struct Reading {
    NumericColumn x;
    NumericColumn y;
    Frequencies f;
    Pair pair{x, y, std::nullopt};

    Reading(const ValueList& xs, const ValueList& ys, const FrequencyList& n)
        : x(readColumn(xs, n)), y(readColumn(ys, n)), f(readFrequencies(n)) {}
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
};

} // namespace

double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y,
                  const FrequencyList& n) {
    beginRoutine(err);
    Reading r(x, y, n);
    return finish(err, covariance(err, r.pair, r.f));
}

double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n) {
    beginRoutine(err);
    Reading r(x, y, n);
    prepareSecondMoments(r.pair, r.f);
    const DD sx = standardDeviation(err, r.x, r.f);
    const DD sy = standardDeviation(err, r.y, r.f);
    const DD c = covariance(err, r.pair, r.f);
    const auto q = quotient(err, c, mul(sy, sx));
    return q ? finish(err, *q) : 0.0;
}

double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    beginRoutine(err);
    Reading r(x, y, n);
    prepareSecondMoments(r.pair, r.f);
    return finish(err, regressionSlope(err, r.x, r.pair, r.f));
}

double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    beginRoutine(err);
    Reading r(x, y, n);
    prepareSecondMoments(r.pair, r.f);
    return finish(err, regressionSlope(err, r.y, r.pair, r.f));
}

double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point) {
    beginRoutine(err);
    Reading r(x, y, n);
    const DD mx = mean(err, r.x, r.f);
    const DD my = mean(err, r.y, r.f);
    const bool yOnX = direction == kYsobreX;
    if (!yOnX && direction != kXsobreY)
        return 0.0;
    prepareSecondMoments(r.pair, r.f);
    // Y sobre X: ȳ + (point − x̄)·b; X sobre Y: x̄ + (point − ȳ)·b.
    const DD b = regressionSlope(err, yOnX ? r.x : r.y, r.pair, r.f);
    const auto p = number(err, point);
    if (!p)
        return 0.0;
    const DD from = yOnX ? mx : my;
    const DD to = yOnX ? my : mx;
    return finish(err, add(to, mul(sub(DD{*p, 0.0}, from), b)));
}

double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s) {
    beginRoutine(err);
    Reading rd(x, y, n);
    const DD mx = mean(err, rd.x, rd.f);
    const DD my = mean(err, rd.y, rd.f);
    const auto N = total(err, rd.f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, rd.x, mx, r, rd.y, my, s, n);
    if (!sum)
        return 0.0;
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s) {
    beginRoutine(err);
    Reading rd(x, y, n);
    const auto N = total(err, rd.f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, rd.x, DD{}, r, rd.y, DD{}, s, n);
    if (!sum)
        return 0.0;
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

} // namespace kalnor::stats
