#pragma once

#include "stats/Kinds.h"

#include <cstddef>
#include <string_view>

namespace kalnor {

class Database;

// Appends the rows of a CSV text to the data table of `kind`. The first line
// names the fields ("Xi,ni", "LiX;LsX;ni" ...); a header with ';' means
// semicolon-separated with decimal comma, otherwise comma-separated with
// decimal point. All rows go in one transaction: a bad line throws DbError
// "Línea N: ..." and nothing is written. Returns the rows added.
std::size_t CargarCsv(Database& db, const stats::KindInfo& kind, std::string_view texto);

} // namespace kalnor
