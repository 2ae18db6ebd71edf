#pragma once

#include <stdexcept>
#include <string>

namespace kalnor {

// A failure of the database layer, with a Spanish description for the user.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& message, int code = 3000)
        : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

} // namespace kalnor
