#pragma once

// The attribute values and styles the statement's sanitiser keeps: each one
// checked against what the notes editor writes, numbers clamped, and links
// and pictures only of kinds that load nothing.

#include <string>
#include <string_view>

namespace kalnor::enunciado {

// The value an allowed attribute keeps; empty when it is left out.
std::string valorAtributo(std::string_view nombre, std::string_view valor);
// A style attribute with only the declarations that are allowed.
std::string estilo(std::string_view valor);

} // namespace kalnor::enunciado
