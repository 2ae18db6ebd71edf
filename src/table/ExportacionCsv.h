#pragma once

#include <QString>

#include <string>

namespace kalnor {

class Documento;

// How "Exportar CSV" writes numbers and separates fields: what a Spanish
// spreadsheet expects (';' and decimal comma) or the international form
// (',' and decimal point). `kalnor-cli cargar` and "Importar CSV" read both.
enum class FormatoCsv { PuntoYComa, Coma };

// The data table as shown (its order, its derived columns), one header line
// naming the fields, numbers exact (shortest text that reads back the same).
std::string tablaCsv(const Documento& documento, FormatoCsv formato);

// Writes tablaCsv to `ruta` in one go (the old file stays whole on failure).
// Returns the message of the failure, empty when written.
QString exportarCsv(const Documento& documento, FormatoCsv formato, const QString& ruta);

} // namespace kalnor
