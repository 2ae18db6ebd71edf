#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace kalnor {

// Orders words as a Spanish reader expects: letter case and accents do not
// separate words ("árbol" sits beside "arbol", before "barco"), "ñ" comes
// after "n"; words that differ only in case or accents are then ordered by
// their bytes, so the order is total and the same on every machine.
int compareSpanish(std::string_view a, std::string_view b);

// A key whose byte order is the first step of compareSpanish (letters
// without case or accent): to sort many words, compare keys and break ties
// with the words' bytes.
std::string spanishSortKey(std::string_view word);

// Name of the collation registered on every connection.
inline constexpr const char* kSpanishCollation = "KALNOR_ES";
void registerSpanishCollation(sqlite3* db);

} // namespace kalnor
