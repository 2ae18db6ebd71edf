#include "Central.h"

#include "NumericColumn.h"
#include "Steps.h"

#include <limits>
#include <numeric>
#include <optional>

namespace kalnor::stats {

using namespace detail;

std::int32_t TotalFrecuencias(ErrorRecord& err, const FrequencyList& n) {
    beginRoutine(err);
    const auto N = total(err, readFrequencies(n));
    return N ? static_cast<std::int32_t>(*N) : 0;
}

namespace anotado {

double MediaAritmetica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, mean(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double MediaAritmetica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::MediaAritmetica(err, x, n, nullptr);
}

namespace anotado {

double MediaArmonica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, harmonicMean(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double MediaArmonica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::MediaArmonica(err, x, n, nullptr);
}

namespace anotado {

double MediaGeometrica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, geometricMean(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double MediaGeometrica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::MediaGeometrica(err, x, n, nullptr);
}

namespace anotado {

double MediaCuadratica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, quadraticMean(err, readColumn(x, n), readFrequencies(n, traza)));
}

} // namespace anotado

double MediaCuadratica(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::MediaCuadratica(err, x, n, nullptr);
}

namespace {

// Cells compared as they are held: numbers by value, words as text, every
// number before every word; an empty entry stands for 0 among numbers and for
// "" among words. Neither may be null.
int compareCells(const CellValue& a, const CellValue& b) {
    auto rank = [](const CellValue& c) { return c.isText() ? 1 : 0; };
    if (a.isNumber() && b.isNumber())
        return a.asNumber() < b.asNumber() ? -1 : (a.asNumber() > b.asNumber() ? 1 : 0);
    if (a.isEmpty() && b.isEmpty())
        return 0;
    if (a.isEmpty())
        return -compareCells(b, a);
    if (b.isEmpty()) {
        if (a.isNumber())
            return a.asNumber() < 0 ? -1 : (a.asNumber() > 0 ? 1 : 0);
        return a.asText().empty() ? 0 : 1;
    }
    if (rank(a) != rank(b))
        return rank(a) < rank(b) ? -1 : 1;
    const int c = a.asText().compare(b.asText());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The extreme of the list: the later record wins ties. `larger` picks the
// maximum. A null cell has no place in the order and fails the routine.
double extreme(ErrorRecord& err, const ValueList& x, bool larger) {
    if (x.empty()) {
        err.set(ErrorCode::IndexOutOfRange);
        return 0.0;
    }
    if (x[0].isNull()) {
        err.set(ErrorCode::InvalidUseOfNull);
        return 0.0;
    }
    std::size_t p = 0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        const CellValue& c = x[i];
        if (c.isNumber() && x[p].isNumber()) {
            const double v = c.asNumber();
            const double best = x[p].asNumber();
            if (larger ? v >= best : v <= best)
                p = i;
            continue;
        }
        if (c.isNull()) {
            err.set(ErrorCode::InvalidUseOfNull);
            return 0.0;
        }
        const int order = compareCells(c, x[p]);
        if (larger ? order >= 0 : order <= 0)
            p = i;
    }
    ErrorCode why = ErrorCode::None;
    const auto v = cellNumber(x[p], why);
    if (!v) {
        err.set(why);
        return 0.0;
    }
    return *v;
}

} // namespace

double Maximo(ErrorRecord& err, const ValueList& x) {
    return extreme(err, x, true);
}

double Minimo(ErrorRecord& err, const ValueList& x) {
    return extreme(err, x, false);
}

namespace anotado {

double CuantilDiscreto(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                       const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, quantileDiscrete(err, k, q, x, readFrequencies(n, traza)));
}

} // namespace anotado

double CuantilDiscreto(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                       const FrequencyList& n) {
    return anotado::CuantilDiscreto(err, k, q, x, n, nullptr);
}

namespace anotado {

double CuantilContinuo(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                       const ValueList& ls, const FrequencyList& n, Traza* traza) {
    beginRoutine(err);
    return finish(err, quantileContinuous(err, k, q, li, ls, readFrequencies(n, traza)));
}

} // namespace anotado

double CuantilContinuo(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                       const ValueList& ls, const FrequencyList& n) {
    return anotado::CuantilContinuo(err, k, q, li, ls, n, nullptr);
}

namespace anotado {

CellValue ModaDiscreta(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza) {
    return modeDiscrete(err, x, n, traza);
}

} // namespace anotado

CellValue ModaDiscreta(ErrorRecord& err, const ValueList& x, const FrequencyList& n) {
    return anotado::ModaDiscreta(err, x, n, nullptr);
}

namespace anotado {

CellValue ModaContinua(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                       const FrequencyList& n, Traza* traza) {
    return modeContinuous(err, li, ls, n, traza);
}

} // namespace anotado

CellValue ModaContinua(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                       const FrequencyList& n) {
    return anotado::ModaContinua(err, li, ls, n, nullptr);
}

} // namespace kalnor::stats
