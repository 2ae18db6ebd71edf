#include "Dispersion.h"

#include "Central.h"
#include "NumericColumn.h"
#include "Steps.h"
#include "Sums.h"
#include "TraceSteps.h"

namespace kalnor::stats {

using namespace detail;

namespace anotado {

double Varianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, variance(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double Varianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::Varianza(err, x, n, nullptr);
}

namespace anotado {

double DesviacionTipica(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                        Traza* traza) {
    beginRoutine(err);
    return finish(err, standardDeviation(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double DesviacionTipica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::DesviacionTipica(err, x, n, nullptr);
}

namespace anotado {

double CuasiVarianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, quasiVariance(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double CuasiVarianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::CuasiVarianza(err, x, n, nullptr);
}

namespace anotado {

double DesviacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, meanDeviation(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double DesviacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::DesviacionMedia(err, x, n, nullptr);
}

namespace anotado {

double DesviacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n,
                         Traza* traza) {
    beginRoutine(err);
    return finish(
        err, medianDeviation(err, type, x, readColumn(x, n), li, ls, readFrequencies(n, traza)));
}

} // namespace anotado

double DesviacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    return anotado::DesviacionMediana(err, type, x, li, ls, n, nullptr);
}

namespace anotado {

double CoefVariacionPearson(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                            Traza* traza) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    const DD s = standardDeviation(err, col, f);
    const DD m = mean(err, col, f);
    const auto cv = quotient(err, s, abs(m));
    return cv ? finish(err, *cv) : 0.0;
}

} // namespace anotado

double CoefVariacionPearson(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::CoefVariacionPearson(err, x, n, nullptr);
}

namespace anotado {

double CoefVariacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                          Traza* traza) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    const DD d = meanDeviation(err, col, f);
    const DD m = mean(err, col, f);
    const auto cv = quotient(err, d, abs(m));
    return cv ? finish(err, *cv) : 0.0;
}

} // namespace anotado

double CoefVariacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::CoefVariacionMedia(err, x, n, nullptr);
}

namespace anotado {

double CoefVariacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                            const ValueList& li, const ValueList& ls, const FrequencyList& n,
                            Traza* traza) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    const auto me = median(err, type, x, li, ls, f);
    if (!me)
        return 0.0;
    // The deviation takes the median again on its own.
    const DD d = medianDeviation(err, type, x, col, li, ls, f);
    const auto cv = quotient(err, d, abs(*me));
    return cv ? finish(err, *cv) : 0.0;
}

} // namespace anotado

double CoefVariacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                            const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    return anotado::CoefVariacionMediana(err, type, x, li, ls, n, nullptr);
}

namespace anotado {

double AsimetriaPearson(ErrorRecord& err, VariableType type, const ValueList& x,
                        const ValueList& li, const ValueList& ls, const FrequencyList& n,
                        Traza* traza) {
    beginRoutine(err);
    const NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    const DD m = mean(err, col, f);
    const DD s = standardDeviation(err, col, f);
    // "Multimodal" is a word, so it fails here like a category would.
    const auto mo = number(err, mode(err, type, x, li, ls, n, traza));
    if (!mo)
        return 0.0;
    anotarValor(traza, Magnitud::Moda, DD{*mo, 0.0});
    const auto a = quotient(err, sub(m, DD{*mo, 0.0}), s);
    return a ? finish(err, *a) : 0.0;
}

} // namespace anotado

double AsimetriaPearson(ErrorRecord& err, VariableType type, const ValueList& x,
                        const ValueList& li, const ValueList& ls, const FrequencyList& n) {
    return anotado::AsimetriaPearson(err, type, x, li, ls, n, nullptr);
}

namespace anotado {

double AsimetriaFisher(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    prepareCentralSums(col, f, 3);
    const DD m3 = centralMoment(err, col, f, 3);
    const DD s = standardDeviation(err, col, f);
    const auto g = quotient(err, m3, mul(square(s), s));
    return g ? finish(err, *g) : 0.0;
}

} // namespace anotado

double AsimetriaFisher(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::AsimetriaFisher(err, x, n, nullptr);
}

namespace anotado {

double CoefCurtosis(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    NumericColumn col = readColumn(x, n);
    const Frequencies f = readFrequencies(n, traza);
    prepareCentralSums(col, f, 4);
    const DD m4 = centralMoment(err, col, f, 4);
    const DD s = standardDeviation(err, col, f);
    const auto k = quotient(err, m4, square(square(s)));
    return k ? finish(err, sub(*k, DD{3.0, 0.0})) : 0.0;
}

} // namespace anotado

double CoefCurtosis(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::CoefCurtosis(err, x, n, nullptr);
}

namespace anotado {

double MomentoCentral(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r,
                      Traza* traza) {
    beginRoutine(err);
    return finish(err, centralMoment(err, readColumn(x, n), readFrequencies(n, traza), r));
}

} // namespace anotado

double MomentoCentral(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                      std::int16_t r) {
    return anotado::MomentoCentral(err, x, n, r, nullptr);
}

namespace anotado {

double MomentoOrigen(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r,
                     Traza* traza) {
    beginRoutine(err);
    return finish(err, originMoment(err, readColumn(x, n), readFrequencies(n, traza), r));
}

} // namespace anotado

double MomentoOrigen(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r) {
    return anotado::MomentoOrigen(err, x, n, r, nullptr);
}

} // namespace kalnor::stats
