#include "CellValue.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <string>
#include <variant>

namespace kalnor::stats {

CellValue CellValue::null() {
    CellValue v;
    v.number_ = std::bit_cast<double>(kNullBits);
    return v;
}

CellValue CellValue::number(double d) {
    CellValue v;
    const auto b = std::bit_cast<std::uint64_t>(d);
    v.number_ = b == kEmptyBits || b == kNullBits ? std::numeric_limits<double>::quiet_NaN() : d;
    return v;
}

CellValue CellValue::text(std::string s) {
    CellValue v;
    v.text_ = std::make_unique<std::string>(std::move(s));
    return v;
}

void CellValue::wrongKind() {
    throw std::bad_variant_access();
}

bool CellValue::operator==(const CellValue& other) const {
    const Kind k = kind();
    if (k != other.kind())
        return false;
    switch (k) {
    case Kind::Number:
        return number_ == other.number_;
    case Kind::Text:
        return *text_ == *other.text_;
    default:
        return true;
    }
}

std::optional<double> parseNumber(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    // Accept a decimal comma as well as a point, but only one separator. A
    // short word is copied on the stack: reading a long list allocates nothing.
    constexpr std::size_t kShort = 64;
    char small[kShort];
    std::string large;
    char* s = small;
    if (text.size() > kShort) {
        large.assign(text);
        s = large.data();
    } else {
        text.copy(small, text.size());
    }
    const std::size_t size = text.size();
    bool sawSeparator = false;
    for (std::size_t i = 0; i < size; ++i) {
        if (s[i] == ',' || s[i] == '.') {
            if (sawSeparator)
                return std::nullopt;
            sawSeparator = true;
            s[i] = '.';
        }
    }
    const char* first = s;
    const char* last = s + size;
    // One optional sign, then a digit or the separator: this keeps out "inf",
    // "nan" and a second sign, which from_chars would otherwise take.
    const char* body = (*first == '+' || *first == '-') ? first + 1 : first;
    if (body == last || !(isDigit(*body) || *body == '.'))
        return std::nullopt;
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

} // namespace kalnor::stats
