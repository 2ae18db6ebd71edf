#pragma once

#include "EngineLists.h"
#include "ErrorRecord.h"
#include "Trace.h"

#include <cstdint>
#include <string_view>

// Measures of a two-variable distribution on ValoresX, ValoresY and the
// joint frequencies.
namespace kalnor::stats {

inline constexpr std::string_view kYsobreX = "Y sobre X";
inline constexpr std::string_view kXsobreY = "X sobre Y";

double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y, const FrequencyList& n);
double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n);
double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n);
double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n);
// Value of the line "Y sobre X" or "X sobre Y" at `point` (a number, or a
// word that reads as one); any other direction gives 0.
double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point);
double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s);
double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s);

// The same routines noting their working in `traza` (none: not noted). In a
// namespace of their own, so the names above still name one function each.
namespace anotado {
double Covarianza(ErrorRecord& err, const ValueList& x, const ValueList& y, const FrequencyList& n,
                  Traza* traza);
double CoefCorrelacion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, Traza* traza);
double CoefRegresionX(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, Traza* traza);
double CoefRegresionY(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, Traza* traza);
double RectaRegresion(ErrorRecord& err, const ValueList& x, const ValueList& y,
                      const FrequencyList& n, std::string_view direction, const CellValue& point,
                      Traza* traza);
double MomentoCentralBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                        const FrequencyList& n, std::int16_t r, std::int16_t s, Traza* traza);
double MomentoOrigenBi(ErrorRecord& err, const ValueList& x, const ValueList& y,
                       const FrequencyList& n, std::int16_t r, std::int16_t s, Traza* traza);

} // namespace anotado

} // namespace kalnor::stats
