#pragma once

#include "DoubleDouble.h"
#include "EngineLists.h"
#include "ErrorRecord.h"
#include "Kinds.h"
#include "NumericColumn.h"
#include "Trace.h"

#include <cstdint>
#include <optional>

// The measure routines on lists already read as numbers. Each step does what
// the public routine of the same meaning does, in the same order, but keeps
// its result in double-double so the routines built on it lose no precision.
// A failed step writes `err` and gives 0 (the modes: an empty value). A step
// given a record that already holds a failure does nothing and gives 0: so
// within one routine the first failure stands, and nothing computed from the
// 0 of a failed step can be reported as a result or as a later failure.
namespace kalnor::stats::detail {

// Starts a public routine built on the steps. A failure still in the record
// is an earlier routine's, which the routine's own TotalFrecuencias would
// clear anyway (every path of these routines reaches it or fails first); it
// goes now, so every failure the steps meet from here on is this routine's.
inline void beginRoutine(ErrorRecord& err) {
    err.clear();
}

// The frequency list with its sum taken once.
struct Frequencies {
    const FrequencyList& n;
    std::int64_t sum = 0;
    bool overflow = false; // the sum does not fit in 32 bits
    // Where the steps of the routine note their working; none: not noted.
    Traza* traza = nullptr;
};
Frequencies readFrequencies(const FrequencyList& n);
inline Frequencies readFrequencies(const FrequencyList& n, Traza* traza) {
    Frequencies f = readFrequencies(n);
    f.traza = traza;
    return f;
}

// One call of TotalFrecuencias within a routine: N; nothing after an overflow
// (err written) or after an earlier failure of the routine, which it keeps.
// A routine stops when it gets nothing.
std::optional<std::int64_t> total(ErrorRecord& err, const Frequencies& f);
// A sum over the records divided by N, N taken by one call of `total`.
std::optional<DD> perObservation(ErrorRecord& err, DD sum, const Frequencies& f);

// Central measures.
DD mean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD harmonicMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD geometricMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD quadraticMean(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD quantileDiscrete(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                    const Frequencies& f);
DD quantileContinuous(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                      const ValueList& ls, const Frequencies& f);
// The mode routines themselves: like ModaDiscreta and ModaContinua they never
// clear the record, so they run whatever it holds. Use `mode` within a routine.
CellValue modeDiscrete(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                       Traza* traza = nullptr);
CellValue modeContinuous(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                         const FrequencyList& n, Traza* traza = nullptr);

// The mode of the active variable by its type; an empty value (err written)
// for a categorical variable, which has no numeric mode.
CellValue mode(ErrorRecord& err, VariableType type, const ValueList& x, const ValueList& li,
               const ValueList& ls, const FrequencyList& n, Traza* traza = nullptr);

// A cell as a number (see cellNumber); nothing (err written) when it is not one.
std::optional<double> number(ErrorRecord& err, const CellValue& cell);

// The median of the active variable by its type; nothing (err written) for a
// categorical variable, which has no median.
std::optional<DD> median(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const Frequencies& f);

// Dispersion and shape.
DD variance(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD standardDeviation(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD quasiVariance(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD meanDeviation(ErrorRecord& err, const NumericColumn& x, const Frequencies& f);
DD medianDeviation(ErrorRecord& err, VariableType type, const ValueList& cells,
                   const NumericColumn& x, const ValueList& li, const ValueList& ls,
                   const Frequencies& f);
DD centralMoment(ErrorRecord& err, const NumericColumn& x, const Frequencies& f, int r);
DD originMoment(ErrorRecord& err, const NumericColumn& x, const Frequencies& f, int r);

// For a complete list, takes the sums of squares and of the r-th powers (r 3
// or 4) about the mean in one pass, for `variance` and `centralMoment` to use
// instead of a pass each. Changes no error record.
void prepareCentralSums(NumericColumn& x, const Frequencies& f, int r);

// Two variables read as numbers, with the sum of products about the means
// when it was taken ahead.
struct Pair {
    NumericColumn& x;
    NumericColumn& y;
    std::optional<DD> crossSum; // Σ (x − x̄)(y − ȳ)·n
};

// For two complete lists as long as the frequency list, takes the sums of
// squares and of products about the means in one pass, for the steps below
// and `variance` to use instead of a pass each. Changes no error record.
void prepareSecondMoments(Pair& pair, const Frequencies& f);

DD covariance(ErrorRecord& err, const Pair& pair, const Frequencies& f);
// Covariance over the variance of `on` (x or y of the pair).
DD regressionSlope(ErrorRecord& err, const NumericColumn& on, const Pair& pair,
                   const Frequencies& f);

// Σ (x − cx)^r·n over the value list, and Σ (x − cx)^r·(y − cy)^s·n over
// the frequency list. Write `err` on failure.
std::optional<DD> powerSum(ErrorRecord& err, const NumericColumn& x, DD cx, int r,
                           const FrequencyList& n, Traza* traza = nullptr);
std::optional<DD> pairPowerSum(ErrorRecord& err, const NumericColumn& x, DD cx, int r,
                               const NumericColumn& y, DD cy, int s, const FrequencyList& n,
                               Traza* traza = nullptr);

// Notes Σ (x − cx)^r·(y − cy)^s·n in the recorder, when there is one.
void anotarSumaPar(Traza* t, int r, DD cx, int s, DD cy, DD sum, const NumericColumn& x,
                   const NumericColumn& y, const FrequencyList& n);

// The double a routine returns: 0 whenever the error record holds a failure
// at its end, and an Overflow failure instead of a value out of range.
double finish(ErrorRecord& err, DD value);

} // namespace kalnor::stats::detail
