#pragma once

#include <string>
#include <string_view>

namespace kalnor {

// A text as one CSV field: quoted, with inner quotes doubled, only when it
// holds a separator (comma or semicolon, as Spanish spreadsheets use), a
// quote or a line break.
std::string campoCsv(std::string_view texto);

// A UTF-8 text as a JSON string literal, quotes included.
std::string cadenaJson(std::string_view texto);

} // namespace kalnor
