#pragma once

struct sqlite3;

namespace kalnor {

// Checks every table and index of an open file against what Kalnor writes:
// the statement table ENUNCIADO and the data tables of the nine kinds with
// their fields of the expected types (or of no declared type, as other
// programs write them), ni with its CHECK (ni >= 0), further plain columns
// (derived REAL ones, TEXT ones from Access) and plain indexes over columns.
// Anything that would run code of the file's own when a row is read or
// written (generated columns, CHECK, DEFAULT, expression or partial
// indexes...) or that Kalnor cannot keep (WITHOUT ROWID, virtual tables) is
// refused with a DbError (code kUnsupported) that names it. Reads only the
// schema: no row of any table is touched.
void comprobarEsquema(sqlite3* db);

} // namespace kalnor
