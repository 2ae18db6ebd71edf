#pragma once

#include "stats/Kinds.h"

#include <string>
#include <vector>

namespace kalnor {

// The layout of a distribution file: the statement table ENUNCIADO and one
// data table per kind, named by its code.

// Base fields of a kind's data table, in table order ("Xi", "ni" ...).
std::vector<std::string> camposDatos(const stats::KindInfo& kind);
// True for the fields that hold words (categorical Xi / Yi).
bool esCampoDePalabras(const stats::KindInfo& kind, const std::string& campo);
// CREATE TABLE statement of a kind's empty data table (STRICT column types).
std::string esquemaTablaDatos(const stats::KindInfo& kind);

// Writes a new template file at `destPath` from the schema SQL (which
// creates ENUNCIADO and the data tables). Throws DbError.
void CrearPlantilla(const std::string& schemaSql, const std::string& destPath);

// Makes a new distribution at `destPath`: a copy of the template with the
// statement row filled (TIPO, CLASE, empty statement); overwrites an existing
// file only when the whole copy succeeded. Adds the data table of a kind the
// template lacks. Throws DbError with a Spanish description.
void CrearNueva(const std::string& templatePath, const std::string& destPath,
                const std::string& tipoText, const std::string& claseText);

} // namespace kalnor
