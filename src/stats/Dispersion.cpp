#include "Dispersion.h"

#include "Central.h"
#include "NumericColumn.h"
#include "Steps.h"
#include "Sums.h"

namespace kalnor::stats {

using namespace detail;

double Varianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    return finish(err, variance(err, readColumn(x, n), readFrequencies(n)));
}

double DesviacionTipica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    return finish(err, standardDeviation(err, readColumn(x, n), readFrequencies(n)));
}

double CuasiVarianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    return finish(err, quasiVariance(err, readColumn(x, n), readFrequencies(n)));
}

double DesviacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    return finish(err, meanDeviation(err, readColumn(x, n), readFrequencies(n)));
}

double DesviacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    beginRoutine(err);
    return finish(err, medianDeviation(err, type, x, readColumn(x, n), li, ls, readFrequencies(n)));
}

double CoefVariacionPearson(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    const DD s = standardDeviation(err, col, f);
    const DD m = mean(err, col, f);
    const auto cv = quotient(err, s, abs(m));
    return cv ? finish(err, *cv) : 0.0;
}

double CoefVariacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    const DD d = meanDeviation(err, col, f);
    const DD m = mean(err, col, f);
    const auto cv = quotient(err, d, abs(m));
    return cv ? finish(err, *cv) : 0.0;
}

double CoefVariacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                            const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    const auto me = median(err, type, x, li, ls, f);
    if (!me)
        return 0.0;
    // The deviation takes the median again on its own.
    const DD d = medianDeviation(err, type, x, col, li, ls, f);
    const auto cv = quotient(err, d, abs(*me));
    return cv ? finish(err, *cv) : 0.0;
}

double AsimetriaPearson(ErrorRecord& err, VariableType type, const ValueList& x,
                        const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    const DD m = mean(err, col, f);
    const DD s = standardDeviation(err, col, f);
    // "Multimodal" is a word, so it fails here like a category would.
    const auto mo = number(err, mode(err, type, x, li, ls, n));
    if (!mo)
        return 0.0;
    const auto a = quotient(err, sub(m, DD{*mo, 0.0}), s);
    return a ? finish(err, *a) : 0.0;
}

double AsimetriaFisher(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    prepareCentralSums(col, f, 3);
    const DD m3 = centralMoment(err, col, f, 3);
    const DD s = standardDeviation(err, col, f);
    const auto g = quotient(err, m3, mul(square(s), s));
    return g ? finish(err, *g) : 0.0;
}

double CoefCurtosis(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    beginRoutine(err);
    NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n);
    prepareCentralSums(col, f, 4);
    const DD m4 = centralMoment(err, col, f, 4);
    const DD s = standardDeviation(err, col, f);
    const auto k = quotient(err, m4, square(square(s)));
    return k ? finish(err, sub(*k, DD{3.0, 0.0})) : 0.0;
}

double MomentoCentral(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                      std::int16_t r) {
    beginRoutine(err);
    return finish(err, centralMoment(err, readColumn(x, n), readFrequencies(n), r));
}

double MomentoOrigen(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r) {
    beginRoutine(err);
    return finish(err, originMoment(err, readColumn(x, n), readFrequencies(n), r));
}

} // namespace kalnor::stats
