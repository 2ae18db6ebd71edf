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

    Reading(const ValueList& xs, const ValueList& ys, const FrequencyList& n, Traza* traza)
        : x(readColumn(xs, n)), y(readColumn(ys, n)), f(readFrequencies(n, traza)) {
        if (traza)
            traza->columnaY = &y;
    }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
};

} // namespace

namespace anotado {

double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y, const FrequencyList& n,
                  Traza* traza) {
    beginRoutine(err);
    Reading r(x, y, n, traza);
    return finish(err, covariance(err, r.pair, r.f));
}

} // namespace anotado

double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y,
                  const FrequencyList& n) {
    return anotado::Covarianza(err, x, y, n, nullptr);
}

namespace anotado {

double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    Reading r(x, y, n, traza);
    prepareSecondMoments(r.pair, r.f);
    const DD sx = standardDeviation(err, r.x, r.f);
    const DD sy = standardDeviation(err, r.y, r.f);
    const DD c = covariance(err, r.pair, r.f);
    const auto q = quotient(err, c, mul(sy, sx));
    return q ? finish(err, *q) : 0.0;
}

} // namespace anotado

double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n) {
    return anotado::CoefCorrelacion(err, x, y, n, nullptr);
}

namespace anotado {

double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    Reading r(x, y, n, traza);
    prepareSecondMoments(r.pair, r.f);
    return finish(err, regressionSlope(err, r.x, r.pair, r.f));
}

} // namespace anotado

double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    return anotado::CoefRegresionX(err, x, y, n, nullptr);
}

namespace anotado {

double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    Reading r(x, y, n, traza);
    prepareSecondMoments(r.pair, r.f);
    return finish(err, regressionSlope(err, r.y, r.pair, r.f));
}

} // namespace anotado

double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n) {
    return anotado::CoefRegresionY(err, x, y, n, nullptr);
}

namespace anotado {

double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point,
                      Traza* traza) {
    beginRoutine(err);
    Reading r(x, y, n, traza);
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

} // namespace anotado

double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point) {
    return anotado::RectaRegresion(err, x, y, n, direction, point, nullptr);
}

namespace anotado {

double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s, Traza* traza) {
    beginRoutine(err);
    Reading rd(x, y, n, traza);
    const DD mx = mean(err, rd.x, rd.f);
    const DD my = mean(err, rd.y, rd.f);
    const auto N = total(err, rd.f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, rd.x, mx, r, rd.y, my, s, n, traza);
    if (!sum)
        return 0.0;
    anotarSumaPar(traza, r, mx, s, my, *sum, rd.x, rd.y, n);
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

} // namespace anotado

double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s) {
    return anotado::MomentoCentralBi(err, x, y, n, r, s, nullptr);
}

namespace anotado {

double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s, Traza* traza) {
    beginRoutine(err);
    Reading rd(x, y, n, traza);
    const auto N = total(err, rd.f);
    if (!N)
        return 0.0;
    const auto sum = pairPowerSum(err, rd.x, DD{}, r, rd.y, DD{}, s, n, traza);
    if (!sum)
        return 0.0;
    anotarSumaPar(traza, r, DD{}, s, DD{}, *sum, rd.x, rd.y, n);
    const auto m = quotient(err, *sum, fromInt(*N));
    return m ? finish(err, *m) : 0.0;
}

} // namespace anotado

double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s) {
    return anotado::MomentoOrigenBi(err, x, y, n, r, s, nullptr);
}

} // namespace kalnor::stats
