#pragma once

#include <cstdint>
#include <string>

namespace kalnor::stats {

// Failure codes shown after "¡ Error ". The numbers follow the classic
// run-time error numbering that teachers' worksheets quote.
enum class ErrorCode : std::int16_t {
    None = 0,
    InvalidArgument = 5, // e.g. logarithm of a value that is not positive
    Overflow = 6,        // frequency sum beyond 32 bits, result out of range
    IndexOutOfRange = 9, // next value or class does not exist
    DivisionByZero = 11,
    TypeMismatch = 13,       // a word where a number goes
    InvalidUseOfNull = 94,   // an empty cell where a number goes
    UnreadableRecord = 3021, // a record LeerVariable cannot read
    Database = 3000,         // failure reported by the database layer
};

// Spanish description of a code ("División por cero" ...).
std::string describe(ErrorCode code);

// The module-wide error record: description and code of the last failure.
struct ErrorRecord {
    std::string MensajeError;
    std::int16_t NumError = 0;

    void clear() {
        MensajeError.clear();
        NumError = 0;
    }
    void set(ErrorCode code) { set(code, describe(code)); }
    void set(ErrorCode code, std::string message) {
        MensajeError = std::move(message);
        NumError = static_cast<std::int16_t>(code);
    }
    bool failed() const { return NumError != 0; }
};

} // namespace kalnor::stats
