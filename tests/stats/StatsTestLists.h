#pragma once

#include "stats/EngineLists.h"
#include "stats/ErrorRecord.h"

#include <initializer_list>
#include <string>
#include <variant>

// Short ways to write the engine's lists in tests.
namespace kalnor::stats::testing {

using Cell = std::variant<double, const char*>;

inline ValueList values(std::initializer_list<double> xs) {
    ValueList list;
    for (double x : xs)
        list.push_back(CellValue::number(x));
    return list;
}

inline ValueList cells(std::initializer_list<Cell> xs) {
    ValueList list;
    for (const Cell& c : xs) {
        if (const double* d = std::get_if<double>(&c))
            list.push_back(CellValue::number(*d));
        else
            list.push_back(CellValue::text(std::get<const char*>(c)));
    }
    return list;
}

inline FrequencyList freqs(std::initializer_list<std::int32_t> ns) {
    return FrequencyList(ns);
}

inline ErrorCode code(const ErrorRecord& err) {
    return static_cast<ErrorCode>(err.NumError);
}

} // namespace kalnor::stats::testing
