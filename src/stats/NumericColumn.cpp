#include "NumericColumn.h"

#include "Sums.h"

#include <algorithm>
#include <limits>
#include <numeric>

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

namespace {

FrequencyMemo& memoOf(const FrequencyList& n) {
    if (!n.memo()) {
        auto memo = std::make_shared<FrequencyMemo>();
        memo->sum = std::accumulate(n.begin(), n.end(), std::int64_t{0});
        n.remember(std::move(memo));
    }
    return *n.memo();
}

NumericColumn read(const ValueList& list, const FrequencyList& n) {
    NumericColumn c;
    c.size = list.size();
    const std::shared_ptr<double[]> values = std::make_shared_for_overwrite<double[]>(list.size());
    c.values = values;
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
            values[i] = v;
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

} // namespace

const FrequencyMemo& frequencyMemo(const FrequencyList& n) {
    return memoOf(n);
}

std::int64_t frequencySum(const FrequencyList& n) {
    return memoOf(n).sum;
}

NumericColumn readColumn(const ValueList& list, const FrequencyList& n) {
    memoOf(n);
    const std::shared_ptr<FrequencyMemo>& frequencies = n.memo();
    if (const auto& memo = list.memo(); memo && memo->frequencies.lock() == frequencies)
        return memo->column;
    NumericColumn c = read(list, n);
    list.remember(std::make_shared<ValueMemo>(ValueMemo{frequencies, c}));
    return c;
}

std::optional<CumulativePlace> firstReaching(const FrequencyList& n, std::int64_t q,
                                             std::int64_t kN) {
    FrequencyMemo& memo = memoOf(n);
    if (!memo.cumulative) {
        std::vector<std::int64_t> cumulative;
        cumulative.reserve(n.size());
        std::int64_t running = 0;
        bool grows = true;
        for (const std::int32_t f : n) {
            grows = grows && f >= 0;
            running += f;
            cumulative.push_back(running);
        }
        if (!grows)
            cumulative.clear();
        memo.cumulative = std::move(cumulative);
    }
    const std::vector<std::int64_t>& cumulative = *memo.cumulative;
    if (cumulative.size() == n.size()) {
        // Growing: q·C grows too, so the first record reaching kN is found by halves.
        const auto at = std::partition_point(cumulative.begin(), cumulative.end(),
                                             [&](std::int64_t c) { return q * c < kN; });
        if (at == cumulative.end())
            return std::nullopt;
        const auto i = static_cast<std::size_t>(at - cumulative.begin());
        return CumulativePlace{i, i > 0 ? cumulative[i - 1] : 0, *at};
    }
    std::int64_t running = 0;
    for (std::size_t i = 0; i < n.size(); ++i) {
        const std::int64_t below = running;
        running += n[i];
        if (q * running >= kN)
            return CumulativePlace{i, below, running};
    }
    return std::nullopt;
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
