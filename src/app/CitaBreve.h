#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace kalnor {

// What a message quotes from a file, a CSV line, a pasted cell or a field
// name: at most `maximo` characters, the rest replaced by "…". A cell may
// hold megabytes, and a message must stay readable and quick to show.
inline constexpr std::size_t kCitaMaxima = 60;
std::string citaBreve(std::string_view texto, std::size_t maximo = kCitaMaxima);
QString citaBreve(const QString& texto, std::size_t maximo = kCitaMaxima);

} // namespace kalnor
