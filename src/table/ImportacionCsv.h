#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalnor {

class Documento;

// "Importar CSV" of the DAT tab without its dialogs: the rows of a CSV text
// appended to the open distribution by the same code, rules and messages
// as `kalnor-cli cargar`. All or nothing: a bad line leaves the file as it
// was. The document is reopened afterwards so every view re-reads it.
struct ResultadoImportacion {
    bool hecho = false;
    std::size_t filas = 0;
    QString mensaje; // "Cargadas N filas en DIS" or why nothing was written
};

// `nombre` names the source in the messages (the path the user chose).
ResultadoImportacion importarCsv(Documento& documento, const QString& nombre,
                                 std::string_view texto);

// The file's bytes; nullopt with `mensaje` saying so when it cannot be read.
std::optional<std::string> leerArchivoCsv(const QString& ruta, QString& mensaje);

} // namespace kalnor
