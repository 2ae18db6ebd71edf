#pragma once

#include <string>
#include <string_view>

namespace kalnor {

// Orders words as a Spanish reader expects: letter case and accents do not
// separate words ("árbol" sits beside "arbol", before "barco") and "ñ" comes
// after "n". The key's bytes compare in that order; words with equal keys
// are then ordered by their own bytes, so the order is total and the same on
// every machine.
std::string spanishSortKey(std::string_view word);

} // namespace kalnor
