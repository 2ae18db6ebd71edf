#include "NumericColumn.h"

#include "Sums.h"

#include <algorithm>
#include <limits>

namespace kalnor::stats::detail {

std::optional<double> cellNumber(const CellValue& cell, ErrorCode& why) {
    switch (cell.kind()) {
    case CellValue::Kind::Number:
        return cell.asNumber();
    case CellValue::Kind::Empty:
        return 0.0;
    case CellValue::Kind::Text:
        if (const auto v = parseNumber(cell.asText()))
            return v;
        why = ErrorCode::TypeMismatch;
        return std::nullopt;
    case CellValue::Kind::Null:
        break;
    }
    why = ErrorCode::InvalidUseOfNull;
    return std::nullopt;
}

NumericColumn readColumn(const ValueList& list, const FrequencyList& n) {
    NumericColumn c;
    c.size = list.size();
    c.values = std::make_unique_for_overwrite<double[]>(list.size());
    double lo = list.empty() ? 0.0 : std::numeric_limits<double>::infinity();
    double hi = -lo;
    CompensatedSum sum;
    const std::size_t weighted = std::min(list.size(), n.size());
    std::size_t i = 0;
    for (; i < list.size(); ++i) {
        // Numbers are by far the common case; keep their path short.
        double v;
        if (const double* number = list[i].numberIf()) {
            v = *number;
        } else {
            const auto parsed = cellNumber(list[i], c.why);
            if (!parsed)
                break;
            v = *parsed;
        }
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        c.values[i] = v;
        if (i < weighted)
            sum.add(timesFrequency(DD{v, 0.0}, n[i]));
    }
    c.readable = i;
    c.min = lo;
    c.max = hi;
    c.weightedSum = sum.result();
    return c;
}

LoopStop loopStop(std::size_t length, std::initializer_list<const NumericColumn*> columns,
                  std::size_t frequencies) {
    LoopStop stop{length, length};
    for (const NumericColumn* c : columns) {
        const ErrorCode why = c->complete() ? ErrorCode::IndexOutOfRange : c->why;
        if (c->readable < stop.at)
            stop = {c->readable, length, why};
    }
    if (frequencies < stop.at)
        stop = {frequencies, length, ErrorCode::IndexOutOfRange};
    return stop;
}

} // namespace kalnor::stats::detail
