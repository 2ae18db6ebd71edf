#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kalnor::stats {

// A value copied out of a table cell. Keeps the field's own type: a number, a
// word, a null (empty cell in the file) or empty (nothing ever written there).
// Sixteen bytes: the engine holds one per row of a table, so a million-row
// list must not cost more than the numbers it carries. Empty and null are
// two NaNs no arithmetic produces; a word lives on the heap.
class CellValue {
public:
    enum class Kind { Empty, Null, Number, Text };

    CellValue() = default;
    CellValue(const CellValue& other)
        : number_(other.number_),
          text_(other.text_ ? std::make_unique<std::string>(*other.text_) : nullptr) {}
    CellValue(CellValue&& other) noexcept
        : number_(std::exchange(other.number_, std::bit_cast<double>(kEmptyBits))),
          text_(std::move(other.text_)) {}
    CellValue& operator=(const CellValue& other) {
        if (this != &other)
            *this = CellValue(other);
        return *this;
    }
    CellValue& operator=(CellValue&& other) noexcept {
        number_ = std::exchange(other.number_, std::bit_cast<double>(kEmptyBits));
        text_ = std::move(other.text_);
        return *this;
    }
    ~CellValue() = default;

    static CellValue null();
    static CellValue number(double v);
    static CellValue text(std::string s);

    Kind kind() const {
        if (text_)
            return Kind::Text;
        const std::uint64_t b = bits();
        if (b == kEmptyBits)
            return Kind::Empty;
        return b == kNullBits ? Kind::Null : Kind::Number;
    }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }

    // Preconditions: isNumber() / isText(); otherwise std::bad_variant_access.
    double asNumber() const {
        if (const double* d = numberIf())
            return *d;
        wrongKind();
    }
    const std::string& asText() const {
        if (!text_)
            wrongKind();
        return *text_;
    }
    // The number held, or nullptr: the short path for loops over many cells.
    const double* numberIf() const {
        const std::uint64_t b = bits();
        return text_ || b == kEmptyBits || b == kNullBits ? nullptr : &number_;
    }

    bool operator==(const CellValue& other) const;

private:
    // Quiet NaNs with payloads of their own; a number with either pattern is
    // stored as the default NaN instead (a NaN's payload carries no meaning).
    static constexpr std::uint64_t kEmptyBits = 0x7ff8'0000'4b41'4c01ULL;
    static constexpr std::uint64_t kNullBits = 0x7ff8'0000'4b41'4c02ULL;

    [[noreturn]] static void wrongKind();
    std::uint64_t bits() const { return std::bit_cast<std::uint64_t>(number_); }

    double number_ = std::bit_cast<double>(kEmptyBits);
    std::unique_ptr<std::string> text_; // set exactly when a word is held
};

// Reads a word as a number: optional blanks, sign, digits with one decimal
// separator ('.' or ','), optional exponent. Anything else is not a number.
std::optional<double> parseNumber(std::string_view text);

} // namespace kalnor::stats
