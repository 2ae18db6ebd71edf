#pragma once

#include <stdexcept>
#include <string>

namespace kalnor::access {

// A refusal while reading or converting an Access file; the text is a
// Spanish description meant for the user.
class ErrorAccess : public std::runtime_error {
public:
    explicit ErrorAccess(const std::string& mensaje) : std::runtime_error(mensaje) {}
};

} // namespace kalnor::access
