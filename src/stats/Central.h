#pragma once

#include "EngineLists.h"
#include "ErrorRecord.h"
#include "Trace.h"

#include <cstdint>

// Central and position measures. Every routine writes `err` when it fails and
// then returns 0 (the mode routines: an empty CellValue).
namespace kalnor::stats {

// Clears `err`, then returns the sum of the frequencies (N).
std::int32_t TotalFrecuencias(ErrorRecord& err, const FrequencyList& n);

double MediaAritmetica(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double MediaArmonica(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double MediaGeometrica(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double MediaCuadratica(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double Maximo(ErrorRecord& err, const ValueList& x);
double Minimo(ErrorRecord& err, const ValueList& x);

// Quantile k of q; the records must be in ascending order of the variable.
// The position k·N/q is compared exactly with the cumulative frequencies.
// Fails with no observations (N = 0), with k outside 0 … q, and past the last
// record (quantile q of q without a record of frequency 0 after it).
double CuantilDiscreto(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                       const FrequencyList& n);
double CuantilContinuo(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                       const ValueList& ls, const FrequencyList& n);

// A number or word as the list holds it, or the text "Multimodal".
CellValue ModaDiscreta(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
CellValue ModaContinua(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                       const FrequencyList& n);

// The same routines noting their working in `traza` (none: not noted). In a
// namespace of their own, so the names above still name one function each.
namespace anotado {
double MediaAritmetica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double MediaArmonica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double MediaGeometrica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double MediaCuadratica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double CuantilDiscreto(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& x,
                       const FrequencyList& n, Traza* traza);
double CuantilContinuo(ErrorRecord& err, std::int16_t k, std::int16_t q, const ValueList& li,
                       const ValueList& ls, const FrequencyList& n, Traza* traza);
CellValue ModaDiscreta(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
CellValue ModaContinua(ErrorRecord& err, const ValueList& li, const ValueList& ls,
                       const FrequencyList& n, Traza* traza);

} // namespace anotado

} // namespace kalnor::stats
