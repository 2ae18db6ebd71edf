#pragma once

#include "DbError.h"

#include <string_view>

struct sqlite3;

namespace kalnor {

// Turns the last failure of `db` (result code `rc`) into a DbError whose
// Spanish text says what went wrong; SQLite's own text follows in brackets
// for whoever has to look into it.
[[noreturn]] void throwSqlite(sqlite3* db, int rc, std::string_view context = {});

} // namespace kalnor
