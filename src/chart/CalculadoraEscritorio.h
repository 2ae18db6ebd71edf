#pragma once

namespace kalnor {

// The desktop's calculator as the chart toolbar sees it. Failures are thrown
// (std::exception) and end in the error record.
class CalculadoraEscritorio {
public:
    virtual ~CalculadoraEscritorio() = default;
    // Closes any calculator window already open, then starts a new one.
    virtual void abrir() = 0;
    // Closes the calculator this program started, if any.
    virtual void cerrar() = 0;
};

} // namespace kalnor
