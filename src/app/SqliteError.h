#pragma once

#include "DbError.h"

#include <string_view>

struct sqlite3;

namespace kalnor {

// Turns the last failure of `db` (result code `rc`) into a DbError whose
// Spanish text says what went wrong (naming the field when a value breaks a
// rule of the table); SQLite's own text follows in brackets only when there
// is no plainer explanation.
[[noreturn]] void throwSqlite(sqlite3* db, int rc, std::string_view context = {});

} // namespace kalnor
