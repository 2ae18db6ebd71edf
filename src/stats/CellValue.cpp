#include "CellValue.h"

#include <cctype>
#include <charconv>
#include <string>

namespace kalnor::stats {

CellValue CellValue::null() {
    CellValue v;
    v.value_ = NullTag{};
    return v;
}

CellValue CellValue::number(double d) {
    CellValue v;
    v.value_ = d;
    return v;
}

CellValue CellValue::text(std::string s) {
    CellValue v;
    v.value_ = std::move(s);
    return v;
}

CellValue::Kind CellValue::kind() const {
    switch (value_.index()) {
    case 0:
        return Kind::Empty;
    case 1:
        return Kind::Null;
    case 2:
        return Kind::Number;
    default:
        return Kind::Text;
    }
}

std::optional<double> parseNumber(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    // Accept a decimal comma as well as a point, but only one separator.
    std::string s(text);
    bool sawSeparator = false;
    for (char& c : s) {
        if (c == ',' || c == '.') {
            if (sawSeparator)
                return std::nullopt;
            sawSeparator = true;
            c = '.';
        }
    }
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+')
        ++first;
    if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.' ||
                           (*first == '-' && first + 1 != last)))
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

} // namespace kalnor::stats
