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
    // Locals of the loop, returned at its end: kept in registers.
    struct Pass {
        std::size_t readable = 0;
        double lo = std::numeric_limits<double>::infinity();
        double hi = -std::numeric_limits<double>::infinity();
        DD sum;
        ErrorCode why = ErrorCode::None;
    };
    const std::size_t weighted = std::min(list.size(), n.size());
    const Pass pass = withProducts([&](auto products) {
        Pass p;
        CompensatedSum sum;
        std::size_t i = 0;
        for (; i < list.size(); ++i) {
            // Numbers are by far the common case; keep their path short.
            double v;
            if (const double* number = list[i].numberIf()) {
                v = *number;
            } else {
                const auto parsed = cellNumber(list[i], p.why);
                if (!parsed)
                    break;
                v = *parsed;
            }
            c.values[i] = v;
            if (i < weighted && n[i] != 0) {
                p.lo = std::min(p.lo, v);
                p.hi = std::max(p.hi, v);
                sum.add(timesFrequency<decltype(products)>(DD{v, 0.0}, n[i]));
            }
        }
        p.readable = i;
        p.sum = sum.result();
        return p;
    });
    c.readable = pass.readable;
    c.why = pass.why;
    c.min = pass.lo;
    c.max = pass.hi;
    c.weightedSum = pass.sum;
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
