#pragma once

#include "DoubleDouble.h"
#include "EngineLists.h"
#include "ErrorRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Cell values as they enter arithmetic, and a value list read as numbers once
// per routine so the measure loops run over plain doubles.
namespace kalnor::stats::detail {

// A number as is; a word that reads as a number is that number; an empty entry
// is 0. A word that does not read as a number sets `why` to TypeMismatch, a
// null to InvalidUseOfNull.
std::optional<double> cellNumber(const CellValue& cell, ErrorCode& why);

struct NumericColumn {
    // The entries before the first unreadable one (`readable` of them). Not
    // a vector: its zero-filling alone would cost as much as the reading.
    // Shared with the list's memo, which hands the same reading to the next
    // routine while the list stays unchanged.
    std::shared_ptr<const double[]> values;
    std::size_t readable = 0;
    std::size_t size = 0;            // length of the list
    ErrorCode why = ErrorCode::None; // what stops the reading at `readable`
    // The extremes of the values that carry weight (a frequency other than 0).
    double min = 0.0;
    double max = 0.0;
    // Σ x·n over the entries read and the frequencies there are: the sum the
    // mean is made of, taken while reading.
    DD weightedSum;

    // A step already taken on this column within the routine being run (with
    // its one frequency list): its result and the error record it left. A
    // step is only taken on a record without a failure, so handing back both
    // is the same as taking the step again.
    struct Memo {
        DD value;
        ErrorRecord after;
    };
    mutable std::optional<Memo> mean;
    mutable std::optional<Memo> variance;
    // Σ (x − x̄)^r·n for r = 0 … 4, those a pass over several sums took
    // ahead (centralSums[2] is the sum of squares of the variance).
    std::array<std::optional<DD>, 5> centralSums;

    bool complete() const { return readable == size; }
    // Every value that carries weight equal: then the mean is that value,
    // exactly, and every deviation from it exactly 0.
    bool constant() const { return complete() && min == max; }
};

// The list read as numbers with the frequencies `n`. Read once while both
// lists stay unchanged: later calls get the same reading (the values, their
// extremes and Σ x·n) with no step taken yet.
NumericColumn readColumn(const ValueList& list, const FrequencyList& n);

// What was read from a frequency list, kept with it while it is unchanged.
struct FrequencyMemo {
    std::int64_t sum = 0;
    // The cumulative frequency at the end of every block of kBlock records,
    // made on the first quantile asked; empty when some frequency is
    // negative (they do not grow then). A quantile searches the blocks by
    // halves and walks one block: a full cumulative list would cost eight
    // bytes a record of fresh memory after every sort.
    static constexpr std::size_t kBlock = 1024;
    std::optional<std::vector<std::int64_t>> blockEnds;
};
// The memo of `n`, made (with the sum of its frequencies) when it has none.
const FrequencyMemo& frequencyMemo(const FrequencyList& n);
// Σ n, taken once while `n` stays unchanged.
std::int64_t frequencySum(const FrequencyList& n);

// The first record whose cumulative frequency C satisfies q·C >= kN (q > 0),
// with C before it; nothing when no record does. For frequencies that do not
// decrease the cumulative list is searched by halves.
struct CumulativePlace {
    std::size_t i = 0;
    std::int64_t below = 0;      // cumulative frequency before record i
    std::int64_t cumulative = 0; // and at record i
};
std::optional<CumulativePlace> firstReaching(const FrequencyList& n, std::int64_t q,
                                             std::int64_t kN);

// What was read from a value list with one state of a frequency list.
struct ValueMemo {
    std::weak_ptr<FrequencyMemo> frequencies; // the state of the frequencies it was read with
    NumericColumn column;                     // without any step taken
};

// Where a loop over indexes [0, length) that reads the given columns and the
// frequencies first fails: at an unreadable entry, or past the end of a list
// that is too short. `at == length` when it runs through.
struct LoopStop {
    std::size_t at;
    std::size_t length;
    ErrorCode why = ErrorCode::None;

    bool early() const { return at < length; }
};
LoopStop loopStop(std::size_t length, std::initializer_list<const NumericColumn*> columns,
                  std::size_t frequencies);

} // namespace kalnor::stats::detail
