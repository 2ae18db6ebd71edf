#include "NumericColumn.h"

#include <algorithm>

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

NumericColumn readColumn(const ValueList& list) {
    NumericColumn c;
    c.size = list.size();
    c.values.reserve(list.size());
    for (const CellValue& cell : list) {
        // Numbers are by far the common case; keep their path short.
        double v;
        if (cell.isNumber()) {
            v = cell.asNumber();
        } else {
            const auto parsed = cellNumber(cell, c.why);
            if (!parsed)
                break;
            v = *parsed;
        }
        c.values.push_back(v);
    }
    if (!c.values.empty()) {
        const auto [lo, hi] = std::minmax_element(c.values.begin(), c.values.end());
        c.min = *lo;
        c.max = *hi;
    }
    return c;
}

LoopStop loopStop(std::size_t length, std::initializer_list<const NumericColumn*> columns,
                  std::size_t frequencies) {
    LoopStop stop{length, length};
    for (const NumericColumn* c : columns) {
        const ErrorCode why = c->complete() ? ErrorCode::IndexOutOfRange : c->why;
        if (c->values.size() < stop.at)
            stop = {c->values.size(), length, why};
    }
    if (frequencies < stop.at)
        stop = {frequencies, length, ErrorCode::IndexOutOfRange};
    return stop;
}

} // namespace kalnor::stats::detail
