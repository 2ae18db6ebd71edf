#pragma once

#include "EngineLists.h"
#include "ErrorRecord.h"
#include "Kinds.h"
#include "Trace.h"

#include <cstdint>

// Dispersion and shape measures and the one-variable moments. `type` is the
// type of the active variable: it decides how the median and the mode are
// taken (discrete or by classes; a categorical variable fails).
namespace kalnor::stats {

double Varianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double DesviacionTipica(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double CuasiVarianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double DesviacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double DesviacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n);
double CoefVariacionPearson(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double CoefVariacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double CoefVariacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                            const ValueList& li, const ValueList& ls, const FrequencyList& n);
double AsimetriaPearson(ErrorRecord& err, VariableType type, const ValueList& x,
                        const ValueList& li, const ValueList& ls, const FrequencyList& n);
double AsimetriaFisher(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double CoefCurtosis(ErrorRecord& err, const ValueList& x, const FrequencyList& n);
double MomentoCentral(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r);
double MomentoOrigen(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r);

// The same routines noting their working in `traza` (none: not noted). In a
// namespace of their own, so the names above still name one function each.
namespace anotado {
double Varianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double DesviacionTipica(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double CuasiVarianza(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double DesviacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double DesviacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                         const ValueList& li, const ValueList& ls, const FrequencyList& n,
                         Traza* traza);
double CoefVariacionPearson(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                            Traza* traza);
double CoefVariacionMedia(ErrorRecord& err, const ValueList& x, const FrequencyList& n,
                          Traza* traza);
double CoefVariacionMediana(ErrorRecord& err, VariableType type, const ValueList& x,
                            const ValueList& li, const ValueList& ls, const FrequencyList& n,
                            Traza* traza);
double AsimetriaPearson(ErrorRecord& err, VariableType type, const ValueList& x,
                        const ValueList& li, const ValueList& ls, const FrequencyList& n,
                        Traza* traza);
double AsimetriaFisher(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double CoefCurtosis(ErrorRecord& err, const ValueList& x, const FrequencyList& n, Traza* traza);
double MomentoCentral(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r,
                      Traza* traza);
double MomentoOrigen(ErrorRecord& err, const ValueList& x, const FrequencyList& n, std::int16_t r,
                     Traza* traza);

} // namespace anotado

} // namespace kalnor::stats
