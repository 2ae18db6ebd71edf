#pragma once

#include <QString>

#include <optional>

namespace kalnor {

// Asks the user for a value (the regression line's point). The window
// answers with an input box, the command-line tool with its option. No value
// (or an empty one) means the user gave none.
class PreguntaValor {
public:
    virtual ~PreguntaValor() = default;
    virtual std::optional<QString> pedir(const QString& titulo, const QString& prompt) = 0;
};

// Shows a notice the user only acknowledges (a message box in the window).
class AvisoUsuario {
public:
    virtual ~AvisoUsuario() = default;
    virtual void avisar(const QString& titulo, const QString& texto) = 0;
};

} // namespace kalnor
