#pragma once

#include <string_view>

namespace kalnor {

// SQLite's own rule for names of tables and fields: equal but for the case
// of ASCII letters.
inline bool sameSqlName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace kalnor
