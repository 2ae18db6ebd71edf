#pragma once

#include "stats/Kinds.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kalnor {

class Database;

// Appends the rows of a CSV text to the data table of `kind`. The first line
// names the fields ("Xi,ni", "LiX;LsX;ni" ...); a header with ';' means
// semicolon-separated with decimal comma, where a point groups thousands
// ("1.234,5"), unless its numbers show decimal points and no comma;
// otherwise comma-separated with decimal point. A frequency is written as a
// whole number. Text that is not UTF-8 is read as Windows-1252; lines end in
// LF, CR LF or CR. All rows go in one transaction: a bad line throws DbError
// "Línea N: ..." and nothing is written. Returns the rows added.
std::size_t CargarCsv(Database& db, const stats::KindInfo& kind, std::string_view texto);

// The first lines of a CSV text as CargarCsv splits them, for a look before
// anything is written: the header's fields, up to `maximo` rows and how many
// rows there are in all. Nothing is checked here; CargarCsv does that.
struct MuestraCsv {
    char separador = ',';
    std::vector<std::string> campos;
    std::vector<std::vector<std::string>> filas;
    std::size_t totalFilas = 0;
};
MuestraCsv LeerMuestraCsv(std::string_view texto, std::size_t maximo);

} // namespace kalnor
