#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kalnor::stats {

// A value copied out of a table cell. Keeps the field's own type: a number, a
// word, a null (empty cell in the file) or empty (nothing ever written there).
class CellValue {
public:
    enum class Kind { Empty, Null, Number, Text };

    CellValue() = default;
    static CellValue null();
    static CellValue number(double v);
    static CellValue text(std::string s);

    Kind kind() const;
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }

    // Preconditions: isNumber() / isText().
    double asNumber() const { return std::get<double>(value_); }
    const std::string& asText() const { return std::get<std::string>(value_); }
    // The number held, or nullptr: the short path for loops over many cells.
    const double* numberIf() const { return std::get_if<double>(&value_); }

    bool operator==(const CellValue& other) const = default;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, double, std::string> value_;
};

// Reads a word as a number: optional blanks, sign, digits with one decimal
// separator ('.' or ','), optional exponent. Anything else is not a number.
std::optional<double> parseNumber(std::string_view text);

} // namespace kalnor::stats
