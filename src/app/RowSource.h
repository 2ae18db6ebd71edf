#pragma once

#include <optional>
#include <string>

namespace kalnor {

// The row sources a record set accepts: "SELECT * FROM table" with an
// optional "ORDER BY field [ASC|DESC]"; names bare, in [brackets], "quotes"
// or `backquotes`.
struct RowSource {
    std::string table;
    std::optional<std::string> orderField;
    bool descending = false;

    // Throws DbError with a Spanish message on anything else.
    static RowSource parse(const std::string& sql);
};

} // namespace kalnor
