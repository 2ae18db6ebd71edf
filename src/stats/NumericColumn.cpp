#include "NumericColumn.h"

#include "Sums.h"
#include "TwoHalves.h"

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

// Locals of a reading pass, returned at its end: kept in registers.
struct Pass {
    std::size_t readable = 0; // where the pass stopped
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    DD sum;
    ErrorCode why = ErrorCode::None;
};

// Reads entries [begin, end) into `values` until one is unreadable.
Pass readPart(const ValueList& list, const FrequencyList& n, double* values, std::size_t begin,
              std::size_t end) {
    const std::size_t weighted = std::min(list.size(), n.size());
    return withProducts([&](auto products) {
        Pass p;
        CompensatedSum sum;
        std::size_t i = begin;
        for (; i < end; ++i) {
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
}

NumericColumn read(const ValueList& list, const FrequencyList& n) {
    NumericColumn c;
    c.size = list.size();
    const std::shared_ptr<double[]> values = std::make_shared_for_overwrite<double[]>(list.size());
    c.values = values;
    // A big list is read in two halves at once; the second counts only
    // when the first ran through, as one pass from the start would.
    Pass parts[2];
    std::size_t half = list.size();
    const bool halves = overHalves(list.size(), [&](int h, std::size_t begin, std::size_t end) {
        parts[h] = readPart(list, n, values.get(), begin, end);
        if (h == 0)
            half = end;
    });
    Pass pass = parts[0];
    if (halves && pass.readable == half) {
        const Pass& more = parts[1];
        pass.readable = more.readable;
        pass.why = more.why;
        pass.lo = std::min(pass.lo, more.lo);
        pass.hi = std::max(pass.hi, more.hi);
        CompensatedSum both;
        both.add(pass.sum);
        both.add(more.sum);
        pass.sum = both.result();
    }
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

} // namespace kalnor::stats::detail

namespace kalnor::stats {

void readAhead(const ValueList& values, const FrequencyList& n) {
    detail::readColumn(values, n);
}

WhatWasRead takeReading(ValueList& values, FrequencyList& n) {
    WhatWasRead r{values.memo(), n.memo(), values.size()};
    values.forget();
    n.forget();
    return r;
}

void keepReading(WhatWasRead earlier, const ValueList& values, const FrequencyList& n) {
    using namespace detail;
    const std::shared_ptr<FrequencyMemo>& frequencies = earlier.frequencies;
    if (!frequencies || n.size() != values.size() || values.size() != earlier.size)
        return;
    auto moved = std::make_shared<FrequencyMemo>();
    moved->sum = frequencies->sum; // the cumulative frequencies do change
    n.remember(moved);
    const std::shared_ptr<ValueMemo>& read = earlier.values;
    if (!read || read->frequencies.lock() != frequencies || !read->column.complete())
        return;
    // The earlier numbers' memory is written over when nothing else holds
    // them: a big table then asks for no fresh memory.
    std::shared_ptr<double[]> numbers;
    if (read.use_count() == 1 && read->column.values.use_count() == 1)
        numbers = std::const_pointer_cast<double[]>(read->column.values);
    else
        numbers = std::make_shared_for_overwrite<double[]>(values.size());
    bool whole[2] = {true, true};
    overHalves(values.size(), [&](int h, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (const double* number = values[i].numberIf()) {
                numbers[i] = *number;
            } else {
                ErrorCode why = ErrorCode::None;
                const auto parsed = cellNumber(values[i], why);
                if (!parsed) {
                    whole[h] = false;
                    return;
                }
                numbers[i] = *parsed;
            }
        }
    });
    if (!whole[0] || !whole[1])
        return; // not the entries that were read
    NumericColumn c;
    c.values = numbers;
    c.size = c.readable = values.size();
    c.min = read->column.min;
    c.max = read->column.max;
    c.weightedSum = read->column.weightedSum;
    values.remember(std::make_shared<ValueMemo>(ValueMemo{moved, std::move(c)}));
}

} // namespace kalnor::stats

namespace kalnor::stats::detail {

std::optional<CumulativePlace> firstReaching(const FrequencyList& n, std::int64_t q,
                                             std::int64_t kN) {
    constexpr std::size_t kBlock = FrequencyMemo::kBlock;
    FrequencyMemo& memo = memoOf(n);
    if (!memo.blockEnds) {
        std::vector<std::int64_t> ends;
        ends.reserve(n.size() / kBlock + 1);
        std::int64_t running = 0;
        bool grows = true;
        for (std::size_t begin = 0; begin < n.size(); begin += kBlock) {
            const std::size_t end = std::min(n.size(), begin + kBlock);
            std::int64_t sum = 0;
            std::int32_t least = 0;
            for (std::size_t i = begin; i < end; ++i) {
                sum += n[i];
                least = std::min(least, n[i]);
            }
            grows = grows && least >= 0;
            running += sum;
            ends.push_back(running);
        }
        if (!grows)
            ends.clear();
        memo.blockEnds = std::move(ends);
    }
    const std::vector<std::int64_t>& ends = *memo.blockEnds;
    std::size_t from = 0;
    std::int64_t running = 0;
    if (!ends.empty()) {
        // Growing: q·C grows too, so the block holding the first record that
        // reaches kN is found by halves, and that record within it.
        const auto at = std::partition_point(ends.begin(), ends.end(),
                                             [&](std::int64_t c) { return q * c < kN; });
        if (at == ends.end())
            return std::nullopt;
        const auto block = static_cast<std::size_t>(at - ends.begin());
        from = block * kBlock;
        running = block > 0 ? ends[block - 1] : 0;
    }
    for (std::size_t i = from; i < n.size(); ++i) {
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
