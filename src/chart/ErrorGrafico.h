#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kalnor {

// A property of the chart refused a value, or the chart could not do what it
// was asked. The handlers turn it into the error record.
class ErrorGrafico : public std::runtime_error {
public:
    // Classic run-time numbering, as the rest of the error record.
    static constexpr std::int16_t kDesbordamiento = 6;
    static constexpr std::int16_t kValorNoValido = 380;
    static constexpr std::int16_t kNoSePuedeEscribir = 75;

    ErrorGrafico(std::int16_t numero, const std::string& mensaje)
        : std::runtime_error(mensaje), numero_(numero) {}
    std::int16_t numero() const { return numero_; }

private:
    std::int16_t numero_;
};

} // namespace kalnor
